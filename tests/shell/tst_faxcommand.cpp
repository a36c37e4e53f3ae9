// SPDX-License-Identifier: GPL-3.0-or-later
// `tavrint --fax` and `--attach` run as a script would run them, against the
// test HylaFAX server: what each fax left in the server's queue, what the
// program printed, its exit status, and the send log.

#include "../poppler.h"
#include "../testfiles.h"
#include "../testpdfs.h"
#include "../testrig.h"

#include "platform/cp932.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {
struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Three customers of the text file: with a number, without, and with one no
// fax could dial (the seventh field is the fax number).
const char kCustomers[] = "ALPHACO,PA,DA,100,ADDRA,TEL-A,03-1111-2222\r\n"
                          "BRAVOCO,PB,DB,200,ADDRB,TEL-B,\r\n"
                          "CHARLIECO,PC,DC,300,ADDRC,TEL-C,03-12ab\r\n";
} // namespace

class TestFaxCommand : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void attachedToThePdf_data();
    void attachedToThePdf();
    void oneFax();
    void everyCustomerWithANumber();
    void refusedBeforeAnythingGoes_data();
    void refusedBeforeAnythingGoes();
    void sentButNotLogged();

private:
    Run run(const QStringList &arguments, const QString &faxServer = QString());
    QStringList logRows() const;
    int queued() const;

    std::unique_ptr<ProgramDir> m_dir;
    QString m_server;
    QString m_spool;
};

void TestFaxCommand::init()
{
    const QString binary = QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint");
    if (!QFileInfo::exists(binary))
        SKIP_MISSING_RIG("the program is not built");
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        SKIP_MISSING_RIG("poppler-utils are not installed");
    m_server = qEnvironmentVariable("TAVRINT_FAXSERVER");
    m_spool = qEnvironmentVariable("TAVRINT_HYLAFAX_SPOOL");
    if (m_server.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("sendfax")).isEmpty())
        SKIP_MISSING_RIG("no fax server (scripts/hylafax-test-server.sh) or no sendfax");
    m_dir = std::make_unique<ProgramDir>();
    QVERIFY(QFile::copy(binary, m_dir->path(QStringLiteral("tavrint"))));
    m_dir->writeFile(QStringLiteral("smpl1.txt"), QByteArray(kCustomers));
    m_dir->writeFile(QStringLiteral("Data/1本文.txt"),
                     cp932::encode(QStringLiteral("送信枚数：本状を含め《枚数》枚")));
    m_dir->writeFile(QStringLiteral("doc.pdf"), testpdfs::pages(3));
}

Run TestFaxCommand::run(const QStringList &arguments, const QString &faxServer)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->programDir());
    env.insert(QStringLiteral("FAXSERVER"), faxServer.isEmpty() ? m_server : faxServer);
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir->programDir());
    p.start(m_dir->path(QStringLiteral("tavrint")), arguments);
    Run result;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return result;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        result.exitCode = p.exitCode();
    result.out = QString::fromUtf8(p.readAllStandardOutput());
    result.err = QString::fromUtf8(p.readAllStandardError());
    return result;
}

QStringList TestFaxCommand::logRows() const
{
    QStringList rows = QString::fromUtf8(m_dir->readFile(QStringLiteral("送付記録.csv")))
                           .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

int TestFaxCommand::queued() const
{
    return static_cast<int>(QDir(m_spool + QStringLiteral("/sendq"))
                                .entryList({QStringLiteral("q*")}, QDir::Files)
                                .size());
}

void TestFaxCommand::attachedToThePdf_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("pages");

    QTest::newRow("the letter and a document")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                       QStringLiteral("--attach"), QStringLiteral("doc.pdf")}
        << 4;
    QTest::newRow("the same document twice")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                       QStringLiteral("--attach"), QStringLiteral("doc.pdf"),
                       QStringLiteral("--attach=doc.pdf")}
        << 7;
    QTest::newRow("every customer, each with the document")
        << QStringList{QStringLiteral("--pdf"),       QStringLiteral("out.pdf"),
                       QStringLiteral("--customers"), QStringLiteral("txt"),
                       QStringLiteral("--attach"),    QStringLiteral("doc.pdf")}
        << 12;
}

void TestFaxCommand::attachedToThePdf()
{
    QFETCH(QStringList, arguments);
    const Run r = run(arguments);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString pdf = m_dir->path(QStringLiteral("out.pdf"));
    QTEST(poppler::pageCount(pdf), "pages");
    QVERIFY(poppler::pageText(pdf, 2).contains(QStringLiteral("ATTACHEDPAGE1")));
}

void TestFaxCommand::oneFax()
{
    const int before = queued();
    const Run r = run({QStringLiteral("--fax"), QStringLiteral("03-1234-5678"),
                       QStringLiteral("--attach"), QStringLiteral("doc.pdf")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    static const QRegularExpression sent(QStringLiteral("^sent 0312345678 job (\\d+)"));
    const QRegularExpressionMatch match = sent.match(r.out);
    QVERIFY2(match.hasMatch(), qPrintable(r.out));
    QCOMPARE(queued(), before + 1);
    const QString q =
        QString::fromUtf8(readAll(m_spool + QStringLiteral("/sendq/q") + match.captured(1)));
    QVERIFY2(q.contains(QStringLiteral("\nnumber:0312345678\n")), qPrintable(q));
    // The document the server holds is the cover and the 3 pages behind it.
    static const QRegularExpression document(QStringLiteral("(docq/doc[^\\s]+)"));
    const QString doc = document.match(q).captured(1);
    QCOMPARE(poppler::pageCount(m_spool + u'/' + doc), 4);
    QVERIFY(poppler::pageText(m_spool + u'/' + doc, 1).contains(QStringLiteral("本状を含め4枚")));
    const QStringList rows = logRows();
    QCOMPARE(rows.size(), 1);
    QVERIFY2(rows.first().contains(QStringLiteral(",FAX,")) &&
                 rows.first().endsWith(QStringLiteral("/") + match.captured(1)),
             qPrintable(rows.first()));
}

void TestFaxCommand::everyCustomerWithANumber()
{
    const int before = queued();
    const Run r =
        run({QStringLiteral("--fax"), QStringLiteral("--customers"), QStringLiteral("txt")});
    // Customers without a usable number are passed over; the run is done.
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).startsWith(QStringLiteral("sent 0311112222 job ")), qPrintable(r.out));
    QVERIFY2(lines.at(1).startsWith(QStringLiteral("skipped")) &&
                 lines.at(1).contains(QStringLiteral("BRAVOCO")),
             qPrintable(r.out));
    QVERIFY2(lines.at(2).startsWith(QStringLiteral("skipped")) &&
                 lines.at(2).contains(QStringLiteral("CHARLIECO")),
             qPrintable(r.out));
    QCOMPARE(queued(), before + 1);
    QCOMPARE(logRows().size(), 1);
}

void TestFaxCommand::refusedBeforeAnythingGoes_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("server"); // empty: the test server
    QTest::addColumn<QString>("says");

    QTest::newRow("the server is down")
        << QStringList{QStringLiteral("--fax"), QStringLiteral("0312345678")}
        << QStringLiteral("localhost:1") << QStringLiteral("FAXサーバー");
    QTest::newRow("every customer, the server down")
        << QStringList{QStringLiteral("--fax"), QStringLiteral("--customers"),
                       QStringLiteral("txt")}
        << QStringLiteral("localhost:1") << QStringLiteral("FAXサーバー");
    QTest::newRow("no fax number")
        << QStringList{QStringLiteral("--fax"), QStringLiteral("03-12ab")} << QString()
        << QStringLiteral("使えない文字");
    QTest::newRow("a document that is not there")
        << QStringList{QStringLiteral("--fax"), QStringLiteral("0312345678"),
                       QStringLiteral("--attach"), QStringLiteral("gone.pdf")}
        << QString() << QStringLiteral("gone.pdf");
    QTest::newRow("a PDF with a document that is not there")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                       QStringLiteral("--attach"), QStringLiteral("gone.pdf")}
        << QString() << QStringLiteral("gone.pdf");
    QTest::newRow("a number and every customer")
        << QStringList{QStringLiteral("--fax"), QStringLiteral("03"), QStringLiteral("--customers"),
                       QStringLiteral("txt")}
        << QString() << QStringLiteral("give no number");
    QTest::newRow("no number at all")
        << QStringList{QStringLiteral("--fax")} << QString() << QStringLiteral("needs a number");
}

void TestFaxCommand::refusedBeforeAnythingGoes()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, server);
    QFETCH(QString, says);
    const int before = queued();
    const Run r = run(arguments, server);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    QCOMPARE(queued(), before);
    QVERIFY(logRows().isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->path(QStringLiteral("out.pdf"))));
}

void TestFaxCommand::sentButNotLogged()
{
    // The log's name taken by a folder: the fax went, and the status says
    // its row did not.
    QDir().mkpath(m_dir->path(QStringLiteral("送付記録.csv")));
    const Run r = run({QStringLiteral("--fax"), QStringLiteral("0312345678")});
    QCOMPARE(r.exitCode, 3);
    QVERIFY2(r.out.startsWith(QStringLiteral("sent 0312345678 job ")), qPrintable(r.out));
    QVERIFY2(r.err.contains(QStringLiteral("send log")), qPrintable(r.err));
}

QTEST_MAIN(TestFaxCommand)
#include "tst_faxcommand.moc"

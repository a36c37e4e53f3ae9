// SPDX-License-Identifier: GPL-3.0-or-later
// `tavrint --pdf FILE --letter NAME` run as a script would run it, in a
// program directory holding the sample letters and a current letter of its
// own: the PDF is the named letter, read back with poppler's tools, and the
// current letter's files stay as they were.

#include "../poppler.h"
#include "../testfiles.h"
#include "../testrig.h"

#include "platform/cp932.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {
struct Run
{
    int exitCode = -1;
    QString err;
};

// Every file below the program directory but the PDFs and the send log,
// with its bytes.
QMap<QString, QByteArray> letterFiles(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.endsWith(QLatin1String(".pdf")) && !path.endsWith(QLatin1String(".csv")))
            files.insert(path, readAll(path));
    }
    return files;
}
} // namespace

class TestLetterOption : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void printsTheNamedLetter_data();
    void printsTheNamedLetter();
    void noSuchLetter_data();
    void noSuchLetter();

private:
    Run run(const QStringList &arguments);
    QString pdf() const { return m_dir->path(QStringLiteral("out.pdf")); }
    std::unique_ptr<ProgramDir> m_dir;
};

void TestLetterOption::init()
{
    const QString binary = QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint");
    if (!QFileInfo::exists(binary))
        SKIP_MISSING_RIG("the program is not built");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        SKIP_MISSING_RIG("poppler-utils are not installed");
    m_dir = std::make_unique<ProgramDir>();
    QVERIFY(QFile::copy(binary, m_dir->path(QStringLiteral("tavrint"))));
    // The samples as the launcher places them, and a current letter of its own.
    for (const QFileInfo &sample : QDir(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/Letters"))
                                       .entryInfoList({QStringLiteral("*.ini")}))
        m_dir->writeFile(QStringLiteral("Letters/") + sample.fileName(),
                         readAll(sample.absoluteFilePath()));
    m_dir->writeFile(QStringLiteral("Data/1本文.txt"), cp932::encode(u8("今の本文")));
    m_dir->writeFile(QStringLiteral("Data/5標題.txt"), cp932::encode(u8("今の標題")));
    m_dir->writeFile(QStringLiteral("Init/tavrint38.ini"), "[tavrint]\r\nFormTop=10\r\n");
}

Run TestLetterOption::run(const QStringList &arguments)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->programDir());
    p.setProcessEnvironment(env);
    p.start(m_dir->path(QStringLiteral("tavrint")), arguments);
    Run result;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return result;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        result.exitCode = p.exitCode();
    result.err = QString::fromUtf8(p.readAllStandardError());
    return result;
}

void TestLetterOption::printsTheNamedLetter_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QStringList>("printed"); // lines of the page
    QTest::newRow("見積書送付") << u8("見積書送付")
                                << QStringList{u8("御見積書のご送付"), u8("以上")};
    QTest::newRow("請求書送付") << u8("請求書送付") << QStringList{u8("ご請求書のご送付")};
    QTest::newRow("資料送付") << u8("資料送付") << QStringList{u8("資料のご送付")};
    // Its date in 和暦; the year depends on the day the test runs.
    QTest::newRow("契約書送付") << u8("契約書送付")
                                << QStringList{u8("契約書のご送付"), u8("令和")};
}

void TestLetterOption::printsTheNamedLetter()
{
    QFETCH(QString, letter);
    QFETCH(QStringList, printed);
    const QMap<QString, QByteArray> before = letterFiles(m_dir->programDir());
    const Run r = run({QStringLiteral("--pdf"), pdf(), QStringLiteral("--letter"), letter});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString text = poppler::pageText(pdf(), 1);
    for (const QString &line : printed)
        QVERIFY2(text.contains(line), qPrintable(text));
    QVERIFY2(!text.contains(u8("今の標題")), qPrintable(text));
    // The current letter and the named ones are as they were.
    QCOMPARE(letterFiles(m_dir->programDir()), before);
}

void TestLetterOption::noSuchLetter_data()
{
    QTest::addColumn<QString>("setup"); // what the program directory lacks or holds
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("says");
    const QStringList unknown = {QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                                 QStringLiteral("--letter"), u8("納品書送付")};
    QTest::newRow("unknown name") << QString() << unknown
                                  << QStringList{u8("納品書送付"), u8("見積書送付"),
                                                 u8("請求書送付"), u8("資料送付"),
                                                 u8("契約書送付")};
    QTest::newRow("no letters at all")
        << u8("no Letters") << unknown << QStringList{u8("holds no letters")};
    QTest::newRow("damaged letter")
        << u8("damaged")
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                       QStringLiteral("--letter"), u8("見積書送付")}
        << QStringList{u8("壊れています"), u8("見積書送付.ini")};
    QTest::newRow("a path is no name")
        << QString()
        << QStringList{QStringLiteral("--pdf"), QStringLiteral("out.pdf"),
                       QStringLiteral("--letter"), u8("../Init/tavrint38")}
        << QStringList{u8("../Init/tavrint38")};
    QTest::newRow("without --pdf")
        << QString() << QStringList{QStringLiteral("--letter"), u8("見積書送付")}
        << QStringList{QStringLiteral("--letter is used with --pdf")};
}

void TestLetterOption::noSuchLetter()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, says);
    if (setup == QLatin1String("no Letters"))
        QVERIFY(QDir(m_dir->path(QStringLiteral("Letters"))).removeRecursively());
    if (setup == QLatin1String("damaged"))
        m_dir->writeFile(u8("Letters/見積書送付.ini"), QByteArray("\x82\xa0[Letter]"));
    for (QString &argument : arguments) {
        if (argument == QLatin1String("out.pdf"))
            argument = pdf();
    }
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    for (const QString &text : says)
        QVERIFY2(r.err.contains(text), qPrintable(r.err));
    QVERIFY(!QFile::exists(pdf()));
}

QTEST_GUILESS_MAIN(TestLetterOption)
#include "tst_letteroption.moc"

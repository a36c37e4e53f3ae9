// SPDX-License-Identifier: GPL-3.0-or-later
// Every way a letter leaves, without a window: what it writes or prints,
// the send log's rows it leaves at a fixed clock, and what a failure leaves.

#include "customers/addressblock.h"
#include "customers/customertable.h"
#include "letter/lettermodel.h"
#include "platform/clock.h"
#include "platform/fontsubstitution.h"
#include "print/letteroutput.h"
#include "print/sendlog.h"

#include "../poppler.h"
#include "../testfiles.h"
#include "../testpdfs.h"
#include "../testrig.h"
#include "printedjobs.h"

#include <QtTest>

#include <memory>

class TestLetterOutput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pdfs_data();
    void pdfs();
    void failedPdfLeavesNothing_data();
    void failedPdfLeavesNothing();
    void sendLogThatCannotBeWritten();
    void pdfEachStopsBetweenLetters_data();
    void pdfEachStopsBetweenLetters();
    void prints_data();
    void prints();
    void documentsFollowTheCover_data();
    void documentsFollowTheCover();
    void badDocumentStopsEveryWayOut_data();
    void badDocumentStopsEveryWayOut();
    void faxNumbers_data();
    void faxNumbers();
    void faxThroughHylaFax();
    void faxToEveryCustomerWithANumber();
    void faxServerDownSendsNothing();
    void faxThroughACupsQueue();
    void printsWithTheProgramsCalibration();

private:
    QStringList logRows() const;
    // A document of `pages` pages attached to the letter, whose body then
    // says how many pages go.
    QString attach(int pages);
    static fax::Service hylaFax(const QString &host)
    {
        return {fax::Kind::HylaFax, host, QString()};
    }
    letteroutput::Customers customers(int count) const
    {
        return {m_table, count, addressblock::Layout::Text};
    }

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<LetterModel> m_letter;
    CustomerTable m_table;
};

namespace {
const QDateTime kAt(QDate(2027, 3, 6), QTime(10, 11, 12));
const QString kTitle = QStringLiteral("見積書送付のご案内");

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}
} // namespace

void TestLetterOutput::initTestCase()
{
    fontsubstitution::install();
    // Three customers in the columns the text file fills (company 0,
    // person 1).
    const QStringList companies = {QStringLiteral("株式会社　山田商事"), QStringLiteral("佐藤工業"),
                                   QStringLiteral("鈴木物産")};
    for (int row = 0; row < companies.size(); ++row) {
        m_table.setCell(0, row, companies[row]);
        m_table.setCell(1, row, QStringLiteral("担当%1").arg(row + 1));
        // The fax column: a number, none, and one no fax could dial.
        m_table.setCell(
            6, row,
            QStringList{QStringLiteral("03-1111-2222"), QString(), QStringLiteral("03-12ab")}.at(
                row));
    }
    m_table.setRowCount(static_cast<int>(companies.size()));
}

void TestLetterOutput::init()
{
    Clock::setInstance(kAt);
    m_dir = std::make_unique<ProgramDir>();
    m_letter = std::make_unique<LetterModel>(m_dir->programDir(), QStringLiteral("tavrint"),
                                             ScreenMetrics{1366, 768, 96});
    m_letter->load(kAt.date(), nullptr);
    m_letter->setText(boxtable::kAddresseeBox, QStringLiteral("山田様"));
    m_letter->setText(boxtable::indexOf(boxtable::Role::Title), kTitle);
}

void TestLetterOutput::cleanup()
{
    Clock::resetInstance();
    m_letter.reset();
    m_dir.reset();
}

QStringList TestLetterOutput::logRows() const
{
    QString log = QString::fromUtf8(m_dir->readFile(QString::fromUtf8(sendlog::kFileName)));
    QStringList rows = log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (!rows.isEmpty())
        rows.removeFirst(); // the header
    return rows;
}

void TestLetterOutput::pdfs_data()
{
    QTest::addColumn<int>("customers");          // 0: the letter alone
    QTest::addColumn<QStringList>("addressees"); // each page's, in order

    QTest::newRow("the letter") << 0 << QStringList{QStringLiteral("山田様")};
    QTest::newRow("a merge of three")
        << 3
        << QStringList{QStringLiteral("山田商事"), QStringLiteral("佐藤工業"),
                       QStringLiteral("鈴木物産")};
}

void TestLetterOutput::pdfs()
{
    QFETCH(int, customers);
    QFETCH(QStringList, addressees);
    const QString path = m_dir->path(QStringLiteral("out/letter.pdf"));
    QDir().mkpath(QFileInfo(path).absolutePath());

    const letteroutput::Outcome outcome =
        customers == 0 ? letteroutput::savePdf(*m_letter, path)
                       : letteroutput::saveMergedPdf(*m_letter, this->customers(customers), path);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome->destination, QFileInfo(path).absoluteFilePath());
    QCOMPARE(outcome->letters, addressees.size());
    QVERIFY(outcome->logged.ok());

    QCOMPARE(poppler::pageCount(path), addressees.size());
    const QStringList rows = logRows();
    QCOMPARE(rows.size(), addressees.size());
    for (int page = 0; page < addressees.size(); ++page) {
        QVERIFY(poppler::pageText(path, page + 1).contains(addressees[page]));
        // The clock's time, the method, the letter's heading, the file.
        QVERIFY2(rows[page].startsWith(QStringLiteral("2027-03-06 10:11:12,PDF,")),
                 qPrintable(rows[page]));
        QVERIFY2(rows[page].contains(addressees[page]), qPrintable(rows[page]));
        QVERIFY(rows[page].contains(kTitle));
        QVERIFY(rows[page].endsWith(QFileInfo(path).absoluteFilePath()));
    }
}

void TestLetterOutput::failedPdfLeavesNothing_data()
{
    QTest::addColumn<bool>("merge");
    QTest::addColumn<bool>("stopped"); // the user stopped the run
    QTest::addColumn<QString>("relative");

    QTest::newRow("no such folder") << false << false << QStringLiteral("missing/letter.pdf");
    QTest::newRow("a merge into no such folder")
        << true << false << QStringLiteral("missing/all.pdf");
    QTest::newRow("a merge stopped") << true << true << QStringLiteral("all.pdf");
}

void TestLetterOutput::failedPdfLeavesNothing()
{
    QFETCH(bool, merge);
    QFETCH(bool, stopped);
    QFETCH(QString, relative);
    const QString path = m_dir->path(relative);
    int begun = 0;
    letteroutput::Progress progress;
    progress.reached = [&begun](qsizetype) { ++begun; };
    progress.keepGoing = [&begun, stopped] { return !stopped || begun < 2; };

    const letteroutput::Outcome outcome =
        merge ? letteroutput::saveMergedPdf(*m_letter, customers(3), path, progress)
              : letteroutput::savePdf(*m_letter, path);
    QVERIFY(!outcome.ok());
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QFileInfo::exists(m_dir->path(QString::fromUtf8(sendlog::kFileName))));
}

void TestLetterOutput::sendLogThatCannotBeWritten()
{
    // The log's name taken by a folder: the PDF is written all the same, and
    // the outcome says the rows are missing.
    QDir().mkpath(m_dir->path(QString::fromUtf8(sendlog::kFileName)));
    const QString path = m_dir->path(QStringLiteral("letter.pdf"));
    const letteroutput::Outcome outcome = letteroutput::savePdf(*m_letter, path);
    QVERIFY(outcome.ok());
    QCOMPARE(poppler::pageCount(path), 1);
    QVERIFY(!outcome->logged.ok());
    QVERIFY2(outcome->logged.error().contains(QStringLiteral("に書き込めません")),
             qPrintable(outcome->logged.error()));
}

void TestLetterOutput::pdfEachStopsBetweenLetters_data()
{
    QTest::addColumn<int>("stopAt"); // the letter (0-based) at which the user stops; -1: never
    QTest::addColumn<QStringList>("files");

    const QStringList all = {u8("0001_株式会社　山田商事.pdf"), u8("0002_佐藤工業.pdf"),
                             u8("0003_鈴木物産.pdf")};
    QTest::newRow("all three") << -1 << all;
    QTest::newRow("stopped at the second") << 1 << all.mid(0, 1);
    QTest::newRow("stopped at the first") << 0 << QStringList();
}

void TestLetterOutput::pdfEachStopsBetweenLetters()
{
    QFETCH(int, stopAt);
    QFETCH(QStringList, files);
    const QString folder = m_dir->path(QStringLiteral("each"));
    QVERIFY(QDir().mkpath(folder));
    qsizetype current = -1;
    letteroutput::Progress progress;
    progress.reached = [&current](qsizetype index) { current = index; };
    progress.keepGoing = [&current, stopAt] { return stopAt < 0 || current < stopAt; };

    const letteroutput::Outcome outcome =
        letteroutput::savePdfEach(*m_letter, customers(3), folder, progress);
    QCOMPARE(outcome.ok(), stopAt < 0);
    // Each letter whole under its name or not there at all, nothing aside.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
    const QStringList rows = logRows();
    QCOMPARE(rows.size(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        QCOMPARE(poppler::pageCount(folder + QLatin1Char('/') + files[i]), 1);
        QVERIFY2(
            rows[i].endsWith(QFileInfo(folder + QLatin1Char('/') + files[i]).absoluteFilePath()),
            qPrintable(rows[i]));
    }
}

void TestLetterOutput::prints_data()
{
    QTest::addColumn<int>("customers");
    QTest::addColumn<int>("pages");

    QTest::newRow("the letter") << 0 << 1;
    QTest::newRow("a merge of two, one job") << 2 << 2;
}

void TestLetterOutput::prints()
{
    QFETCH(int, customers);
    QFETCH(int, pages);
    const QString out = env("TAVRINT_CUPS_OUT");
    if (env("CUPS_SERVER").isEmpty() || out.isEmpty())
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");
    const QStringList before = printedjobs::jobs(out);

    // Two jobs in the same second of the clock are told apart by name.
    documentname::JobNamer names;
    (void)names.next(kAt);
    const letteroutput::Outcome outcome =
        customers == 0 ? letteroutput::print(*m_letter, names)
                       : letteroutput::printMerged(*m_letter, this->customers(customers), names);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome->letters, pages);
    QVERIFY(!outcome->destination.isEmpty());

    const QString job = printedjobs::waitForNewJob(out, before);
    QVERIFY(!job.isEmpty());
    const QString info = poppler::run(QStringLiteral("pdfinfo"), {job});
    QVERIFY2(info.contains(QStringLiteral("Tavrint 2027-03-06 10:11:12 (2)")), qPrintable(info));
    QCOMPARE(poppler::pageCount(job), pages);
    const QStringList rows = logRows();
    QCOMPARE(rows.size(), pages);
    for (const QString &row : rows) {
        QVERIFY2(row.startsWith(QStringLiteral("2027-03-06 10:11:12,印刷,")), qPrintable(row));
        QVERIFY(row.endsWith(outcome->destination));
    }
}

QString TestLetterOutput::attach(int pages)
{
    const QString path = m_dir->path(QStringLiteral("見積書.pdf"));
    testpdfs::write(path, testpdfs::pages(pages));
    m_letter->setAttachments({path}, 0);
    m_letter->setText(0, QStringLiteral("送信枚数：本状を含め《枚数》枚"));
    return path;
}

void TestLetterOutput::documentsFollowTheCover_data()
{
    QTest::addColumn<bool>("print");
    QTest::newRow("a PDF") << false;
    QTest::newRow("a print job") << true;
}

void TestLetterOutput::documentsFollowTheCover()
{
    QFETCH(bool, print);
    const QString out = env("TAVRINT_CUPS_OUT");
    if (print && (env("CUPS_SERVER").isEmpty() || out.isEmpty()))
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");
    attach(3);
    QString pdf = m_dir->path(QStringLiteral("letter.pdf"));
    const QStringList before = print ? printedjobs::jobs(out) : QStringList();
    documentname::JobNamer names;
    const letteroutput::Outcome outcome =
        print ? letteroutput::print(*m_letter, names) : letteroutput::savePdf(*m_letter, pdf);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    if (print)
        pdf = printedjobs::waitForNewJob(out, before);

    // One document: the cover, then the attachment's pages as they were.
    QCOMPARE(poppler::pageCount(pdf), 4);
    const QString cover = poppler::pageText(pdf, 1);
    QVERIFY2(cover.contains(QStringLiteral("山田様")), qPrintable(cover));
    QVERIFY2(cover.contains(QStringLiteral("本状を含め4枚")), qPrintable(cover));
    for (int page = 2; page <= 4; ++page)
        QVERIFY(
            poppler::pageText(pdf, page).contains(QStringLiteral("ATTACHEDPAGE%1").arg(page - 1)));
    QCOMPARE(logRows().size(), 1);
}

void TestLetterOutput::badDocumentStopsEveryWayOut_data()
{
    QTest::addColumn<int>("way");          // 0 PDF, 1 merged PDF, 2 print, 3 fax
    QTest::addColumn<QByteArray>("bytes"); // empty: the file is gone
    QTest::addColumn<QString>("why");

    const QByteArray good = testpdfs::pages(2);
    const struct
    {
        const char *name;
        QByteArray bytes;
        QString why;
    } files[] = {{"missing", QByteArray(), QStringLiteral("見つかりません")},
                 {"damaged", good.left(good.size() / 2), QStringLiteral("壊れています")},
                 {"not a PDF", QByteArray("text"), QStringLiteral("PDFではありません")}};
    const char *ways[] = {"PDF", "merged PDF", "print", "fax"};
    for (int way = 0; way < 4; ++way)
        for (const auto &file : files)
            QTest::addRow("%s: %s", ways[way], file.name) << way << file.bytes << file.why;
}

void TestLetterOutput::badDocumentStopsEveryWayOut()
{
    QFETCH(int, way);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    const QString attached = attach(1);
    if (bytes.isEmpty())
        QFile::remove(attached);
    else
        QVERIFY(testpdfs::write(attached, bytes));
    const QString out = env("TAVRINT_CUPS_OUT");
    const QStringList jobsBefore = out.isEmpty() ? QStringList() : printedjobs::jobs(out);
    const QString pdf = m_dir->path(QStringLiteral("letter.pdf"));
    documentname::JobNamer names;

    letteroutput::Outcome outcome = fail(QString());
    switch (way) {
    case 0:
        outcome = letteroutput::savePdf(*m_letter, pdf);
        break;
    case 1:
        outcome = letteroutput::saveMergedPdf(*m_letter, customers(3), pdf);
        break;
    case 2:
        outcome = letteroutput::print(*m_letter, names);
        break;
    default:
        // A server that is not there: the document is refused before.
        outcome = letteroutput::fax(*m_letter, QStringLiteral("0312345678"),
                                    hylaFax(QStringLiteral("localhost:1")));
        break;
    }
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.error().contains(why) && outcome.error().contains(attached),
             qPrintable(outcome.error()));
    QVERIFY(!QFileInfo::exists(pdf));
    QVERIFY(logRows().isEmpty());
    if (!out.isEmpty())
        QCOMPARE(printedjobs::jobs(out), jobsBefore);
}

void TestLetterOutput::faxNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dialled"); // empty: refused

    QTest::newRow("hyphens") << QStringLiteral("03-1234-5678") << QStringLiteral("0312345678");
    QTest::newRow("parentheses and blanks")
        << QStringLiteral("(03) 1234 5678") << QStringLiteral("0312345678");
    QTest::newRow("full-width, as typed in Japanese")
        << QStringLiteral("０３－１２３４－５６７８") << QStringLiteral("0312345678");
    QTest::newRow("international")
        << QStringLiteral("+81 3 1234 5678") << QStringLiteral("0081312345678");
    QTest::newRow("letters") << QStringLiteral("03-12ab") << QString();
    QTest::newRow("an extension mark") << QStringLiteral("03-1234 内線5") << QString();
    QTest::newRow("nothing") << QString() << QString();
    QTest::newRow("only hyphens") << QStringLiteral("---") << QString();
    QTest::newRow("a plus inside") << QStringLiteral("03+12") << QString();
    QTest::newRow("a shell's semicolon") << QStringLiteral("03;rm -rf") << QString();
}

void TestLetterOutput::faxNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, dialled);
    const Result<QString> number = fax::dialledNumber(typed);
    QCOMPARE(number.ok(), !dialled.isEmpty());
    if (number)
        QCOMPARE(*number, dialled);
    else
        QVERIFY(!number.error().isEmpty());
}

namespace {
// The HylaFAX test server's queued job `id`: its number and its document's pages.
struct QueuedFax
{
    QString number;
    int pages = -1;
};
QueuedFax queued(const QString &spool, const QString &id)
{
    QueuedFax job;
    const QString q = QString::fromUtf8(readAll(spool + QStringLiteral("/sendq/q") + id, {}));
    static const QRegularExpression number(QStringLiteral("^number:(.*)$"),
                                           QRegularExpression::MultilineOption);
    job.number = number.match(q).captured(1);
    static const QRegularExpression document(QStringLiteral("^!?pdf:[^:]*:[^:]*:(docq/[^\\s]+)$"),
                                             QRegularExpression::MultilineOption);
    const QString doc = document.match(q).captured(1);
    if (!doc.isEmpty())
        job.pages = poppler::pageCount(spool + u'/' + doc);
    return job;
}
} // namespace

void TestLetterOutput::faxThroughHylaFax()
{
    const QString server = env("TAVRINT_FAXSERVER");
    if (server.isEmpty())
        SKIP_MISSING_RIG("no fax server (scripts/hylafax-test-server.sh)");
    attach(3);
    const letteroutput::Outcome outcome =
        letteroutput::fax(*m_letter, QStringLiteral("03-1234-5678"), hylaFax(server));
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome->faxes.size(), 1);
    const QueuedFax job = queued(env("TAVRINT_HYLAFAX_SPOOL"), outcome->faxes.first().jobId);
    QCOMPARE(job.number, QStringLiteral("0312345678"));
    QCOMPARE(job.pages, 4);
    // The row says where to follow the job, and the server knows it.
    const QStringList rows = logRows();
    QCOMPARE(rows.size(), 1);
    const QString reference =
        QStringLiteral("hylafax://%1/%2").arg(server, outcome->faxes.first().jobId);
    QVERIFY2(rows.first().startsWith(QStringLiteral("2027-03-06 10:11:12,FAX,山田様,")),
             qPrintable(rows.first()));
    QVERIFY2(rows.first().endsWith(QStringLiteral("0312345678 ") + reference),
             qPrintable(rows.first()));
    QCOMPARE(fax::statesOf({reference}).value(reference), QStringLiteral("待機中"));
}

void TestLetterOutput::faxToEveryCustomerWithANumber()
{
    const QString server = env("TAVRINT_FAXSERVER");
    if (server.isEmpty())
        SKIP_MISSING_RIG("no fax server (scripts/hylafax-test-server.sh)");
    const letteroutput::Outcome outcome =
        letteroutput::faxMerged(*m_letter, customers(3), hylaFax(server));
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QVERIFY(outcome->stoppedBy.isEmpty());
    QCOMPARE(outcome->faxes.size(), 1);
    QCOMPARE(outcome->faxes.first().number, QStringLiteral("0311112222"));
    QCOMPARE(outcome->faxes.first().addressee, QStringLiteral("株式会社　山田商事"));
    // The others are named, with why.
    QCOMPARE(outcome->skipped.size(), 2);
    QVERIFY2(outcome->skipped.at(0).contains(QStringLiteral("佐藤工業")) &&
                 outcome->skipped.at(0).contains(QStringLiteral("ありません")),
             qPrintable(outcome->skipped.at(0)));
    QVERIFY2(outcome->skipped.at(1).contains(QStringLiteral("鈴木物産")) &&
                 outcome->skipped.at(1).contains(QStringLiteral("使えない文字")),
             qPrintable(outcome->skipped.at(1)));
    QCOMPARE(queued(env("TAVRINT_HYLAFAX_SPOOL"), outcome->faxes.first().jobId).number,
             QStringLiteral("0311112222"));
    QCOMPARE(logRows().size(), 1);
}

void TestLetterOutput::faxServerDownSendsNothing()
{
    // Nothing listens on port 1 of this machine.
    const letteroutput::Outcome outcome = letteroutput::fax(*m_letter, QStringLiteral("0312345678"),
                                                            hylaFax(QStringLiteral("localhost:1")));
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.error().contains(QStringLiteral("FAXサーバー")), qPrintable(outcome.error()));
    QVERIFY(logRows().isEmpty());
    const letteroutput::Outcome merged =
        letteroutput::faxMerged(*m_letter, customers(3), hylaFax(QStringLiteral("localhost:1")));
    QVERIFY(!merged.ok());
    QVERIFY(logRows().isEmpty());
}

void TestLetterOutput::faxThroughACupsQueue()
{
    const QString out = env("TAVRINT_CUPS_FAX_OUT");
    if (env("CUPS_SERVER").isEmpty() || out.isEmpty())
        SKIP_MISSING_RIG("no test fax queue (scripts/cups-test-printer.sh)");
    attach(2);
    const QStringList before = printedjobs::jobs(out);
    const letteroutput::Outcome outcome =
        letteroutput::fax(*m_letter, QStringLiteral("(03) 9876-5432"),
                          {fax::Kind::CupsQueue, QString(), QStringLiteral("tavrint-fax")});
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    const QString job = printedjobs::waitForNewJob(out, before);
    QVERIFY(!job.isEmpty());
    QCOMPARE(poppler::pageCount(job), 3);
    // The queue's backend was handed the number as the job option.
    QString options = QString::fromUtf8(
        readAll(QString(job).replace(QStringLiteral(".pdf"), QStringLiteral(".options"))));
    QVERIFY2(options.split(u' ').contains(QStringLiteral("phone=0398765432")), qPrintable(options));
    QVERIFY(logRows().first().contains(QStringLiteral("cups://tavrint-fax/") +
                                       outcome->faxes.first().jobId));
}

void TestLetterOutput::printsWithTheProgramsCalibration()
{
    const QString out = env("TAVRINT_CUPS_OUT");
    if (env("CUPS_SERVER").isEmpty() || out.isEmpty())
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");
    documentname::JobNamer names;
    const auto addresseeX = [&]() -> std::optional<double> {
        const QStringList before = printedjobs::jobs(out);
        const letteroutput::Outcome outcome = letteroutput::print(*m_letter, names);
        if (!outcome)
            return std::nullopt;
        const QString job = printedjobs::waitForNewJob(out, before);
        // The words outlive the pointer into them.
        const QList<printedjobs::Word> words = printedjobs::wordsOf(job);
        const printedjobs::Word *word = printedjobs::find(words, QStringLiteral("山田様"));
        return word ? std::optional(word->xMin) : std::nullopt;
    };
    const std::optional<double> plain = addresseeX();
    QVERIFY(plain);
    QVERIFY(!QFileInfo::exists(m_dir->path(QStringLiteral("Init/calibration.ini"))));

    // The default queue calibrated 3.0 mm to the right in the program's file.
    m_dir->writeFile(QStringLiteral("Init/calibration.ini"), "tavrint-pdf=30,0,1000\r\n");
    const std::optional<double> shifted = addresseeX();
    QVERIFY(shifted);
    QVERIFY2(qAbs(*shifted - *plain - 3.0 * 72 / 25.4) < 0.2 * 72 / 25.4,
             qPrintable(QStringLiteral("%1 -> %2").arg(*plain).arg(*shifted)));

    // A file edited into nonsense: no sheet, no row, a message naming it.
    m_dir->writeFile(QStringLiteral("Init/calibration.ini"), "tavrint-pdf=30,0,5\r\n");
    const QStringList before = printedjobs::jobs(out);
    const int rows = static_cast<int>(logRows().size());
    const letteroutput::Outcome refused = letteroutput::print(*m_letter, names);
    QVERIFY(!refused.ok());
    QVERIFY2(refused.error().contains(QStringLiteral("calibration.ini")),
             qPrintable(refused.error()));
    QCOMPARE(logRows().size(), rows);
    QTest::qWait(500);
    QCOMPARE(printedjobs::jobs(out), before);
}

QTEST_MAIN(TestLetterOutput)
#include "tst_letteroutput.moc"

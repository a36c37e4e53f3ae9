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
    void printsWithTheProgramsCalibration();

private:
    QStringList logRows() const;
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
        const printedjobs::Word *word =
            printedjobs::find(printedjobs::wordsOf(job), QStringLiteral("山田様"));
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

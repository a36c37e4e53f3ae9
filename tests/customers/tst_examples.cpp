// SPDX-License-Identifier: GPL-3.0-or-later
// The sample customer files that installing places beside the program: what
// the repository holds is what its script writes, the readers take them
// without an error, and the text file and the workbook name the same people.

#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "customers/workbookreader.h"

#include "../testrig.h"
#include "fixturescript.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "customerreadcheck.h"

namespace {
QString example(const char *name)
{
    return QStringLiteral(TAVRINT_SOURCE_DIR "/examples/") + QLatin1String(name);
}
QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// The text reader turns half-width spaces into ideographic ones; the
// workbook keeps them. Compared as a user would read them.
QString spacesAlike(QString text)
{
    return text.replace(QChar(0x3000), QLatin1Char(' '));
}
constexpr int kCustomers = 12;
} // namespace

class TestExamples : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void scriptWritesWhatIsCommitted_data();
    void scriptWritesWhatIsCommitted();
    void textFileIsCrLfCodePage932();
    void quotedCommaStaysInItsField();
    void textAndWorkbookNameSamePeople_data();
    void textAndWorkbookNameSamePeople();
    void mergeWorkbookHasHeaderThenCustomers();

private:
    QTemporaryDir m_generated;
    CustomerTable m_text;
    CustomerTable m_book;
};

void TestExamples::initTestCase()
{
    const QString perl = QStandardPaths::findExecutable(QStringLiteral("perl"));
    if (perl.isEmpty())
        SKIP_MISSING_RIG("perl is not installed");
    const QString failed = runFixtureScript("make-examples.pl", m_generated.path());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));

    const auto text = textcustomerreader::read(example("smpl1.txt"), 1, m_text);
    QCOMPARE(kindOf(text), ReadKind::Read);
    QCOMPARE(countOf(text), kCustomers);
    const auto book = workbookreader::read(example("smpl2.xls"), 1, m_book, QLocale::c());
    QVERIFY2(book.ok(), qPrintable(book.error()));
    QCOMPARE(countOf(book), kCustomers);
}

void TestExamples::scriptWritesWhatIsCommitted_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("customer text file") << QStringLiteral("smpl1.txt");
    QTest::newRow("customer workbook") << QStringLiteral("smpl2.xls");
    QTest::newRow("merge workbook") << QStringLiteral("smpl3.xls");
}

void TestExamples::scriptWritesWhatIsCommitted()
{
    QFETCH(QString, name);
    const QByteArray committed = bytesOf(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/") + name);
    QVERIFY(!committed.isEmpty());
    QVERIFY2(committed == bytesOf(m_generated.filePath(name)),
             "run scripts/make-examples.pl examples and commit the result");
}

void TestExamples::textFileIsCrLfCodePage932()
{
    const QByteArray bytes = bytesOf(example("smpl1.txt"));
    QCOMPARE(bytes.count("\r\n"), kCustomers);
    QCOMPARE(bytes.count('\n'), kCustomers);
    QCOMPARE(bytes.count('\r'), kCustomers);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF")); // no UTF-8 mark
    QVERIFY(!bytes.contains("\xE6\xA0\xAA"));   // 株 in UTF-8 would be these bytes
}

void TestExamples::quotedCommaStaysInItsField()
{
    // Row 2's department and row 5's address hold commas inside quotes; the
    // field after them must still be in its own column.
    QCOMPARE(m_text.cell(2, 2), QStringLiteral("物流部,第二課"));
    QCOMPARE(m_text.cell(3, 2), QStringLiteral("〒060-0001"));
    QCOMPARE(spacesAlike(m_text.cell(4, 5)),
             QStringLiteral("大阪府大阪市北区梅田1-1-1, 梅田ビル8F"));
    QVERIFY(m_text.cell(5, 5).startsWith(QLatin1String("06-")));
}

void TestExamples::textAndWorkbookNameSamePeople_data()
{
    QTest::addColumn<int>("textColumn");
    QTest::addColumn<int>("bookColumn");
    // The four lines of the addressee block in each layout.
    QTest::newRow("company, line 1") << 0 << 1;
    QTest::newRow("department, line 2") << 2 << 3;
    QTest::newRow("person, line 3") << 1 << 2;
    QTest::newRow("address, line 4") << 4 << 7;
}

void TestExamples::textAndWorkbookNameSamePeople()
{
    QFETCH(int, textColumn);
    QFETCH(int, bookColumn);
    for (int row = 0; row < kCustomers; ++row) {
        const QString text = spacesAlike(m_text.cell(textColumn, row));
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(row)));
        QCOMPARE(text, spacesAlike(m_book.cell(bookColumn, row)));
    }
}

void TestExamples::mergeWorkbookHasHeaderThenCustomers()
{
    CustomerTable merge;
    const auto result = workbookreader::read(example("smpl3.xls"), 1, merge, QLocale::c());
    QVERIFY2(result.ok(), qPrintable(result.error()));
    QCOMPARE(countOf(result), kCustomers + 1);
    QCOMPARE(merge.cell(2, 0), QStringLiteral("担当者名"));
    QCOMPARE(merge.cell(2, 1), m_book.cell(2, 0));
}

QTEST_GUILESS_MAIN(TestExamples)
#include "tst_examples.moc"

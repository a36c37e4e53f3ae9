// SPDX-License-Identifier: GPL-3.0-or-later
// The send log: rows as a spreadsheet reads them, appended and never
// rewritten, and a log that cannot be written left as it was.

#include "print/sendlog.h"

#include "../testfiles.h"

#include <QTest>

using sendlog::Entry;
using sendlog::Method;

namespace {
const QDateTime kAt(QDate(2026, 12, 9), QTime(14, 5, 9));
const QByteArray kBom("\xEF\xBB\xBF");
} // namespace

class TestSendLog : public QObject
{
    Q_OBJECT
private slots:
    void row_data();
    void row();
    void firstLine_data();
    void firstLine();
    void appendedJobByJob();
    void logThatCannotBeWrittenStaysAsItWas();
};

void TestSendLog::row_data()
{
    QTest::addColumn<QString>("addressee");
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("row");
    QTest::newRow("plain") << u8("株式会社　山田商事") << int(Method::Print)
                           << u8("2026-12-09 14:05:09,印刷,株式会社　山田商事,標題,q\r\n");
    QTest::newRow("a comma is quoted")
        << u8("物流部,第二課") << int(Method::Pdf)
        << u8("2026-12-09 14:05:09,PDF,\"物流部,第二課\",標題,q\r\n");
    QTest::newRow("quotes are doubled")
        << u8("\"A\" 社") << int(Method::Pdf)
        << u8("2026-12-09 14:05:09,PDF,\"\"\"A\"\" 社\",標題,q\r\n");
    QTest::newRow("a line break is quoted")
        << u8("a\r\nb") << int(Method::Pdf) << u8("2026-12-09 14:05:09,PDF,\"a\r\nb\",標題,q\r\n");
    QTest::newRow("empty") << QString() << int(Method::Print)
                           << u8("2026-12-09 14:05:09,印刷,,標題,q\r\n");
}

void TestSendLog::row()
{
    QFETCH(QString, addressee);
    QFETCH(int, method);
    QFETCH(QString, row);
    QCOMPARE(sendlog::row({kAt, Method(method), addressee, u8("標題"), u8("q")}), row);
}

void TestSendLog::firstLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("block") << u8("株式会社　山田商事\r\n営業部\r\n  山田　様")
                           << u8("株式会社　山田商事");
    QTest::newRow("blanks around") << u8("  FAX送付のご案内　\r\n") << u8("FAX送付のご案内");
    QTest::newRow("lone LF") << u8("a\nb") << u8("a");
    QTest::newRow("empty box") << QString() << QString();
}

void TestSendLog::firstLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(sendlog::firstLine(text), line);
}

void TestSendLog::appendedJobByJob()
{
    ProgramDir dir;
    QVERIFY(
        sendlog::append(dir.programDir(), {{kAt, Method::Print, u8("A社"), u8("t"), u8("pdf")}}));
    const QByteArray first = dir.readFile(u8("送付記録.csv"));
    QCOMPARE(first, kBom + (sendlog::headerRow() +
                            sendlog::row({kAt, Method::Print, u8("A社"), u8("t"), u8("pdf")}))
                               .toUtf8());
    // A merge's letters come as one job; the rows before stay byte for byte.
    const QList<Entry> merge = {{kAt, Method::Pdf, u8("B社"), u8("t"), u8("/x/all.pdf")},
                                {kAt, Method::Pdf, u8("C社"), u8("t"), u8("/x/all.pdf")}};
    QVERIFY(sendlog::append(dir.programDir(), merge));
    const QByteArray both = dir.readFile(u8("送付記録.csv"));
    QVERIFY(both.startsWith(first));
    QCOMPARE(both.mid(first.size()), (sendlog::row(merge[0]) + sendlog::row(merge[1])).toUtf8());
    QCOMPARE(both.count(kBom), 1);
    // A job of no letters adds nothing.
    QVERIFY(sendlog::append(dir.programDir(), {}));
    QCOMPARE(dir.readFile(u8("送付記録.csv")), both);
}

void TestSendLog::logThatCannotBeWrittenStaysAsItWas()
{
    // A folder that does not exist cannot hold the log. (A read-only log is
    // tried as an ordinary user, through the window, in tst_fieldsendtoend.)
    ProgramDir dir;
    const Result<void> appended = sendlog::append(
        dir.path(u8("missing/")), {{kAt, Method::Print, u8("A"), u8("t"), u8("q")}});
    QVERIFY(!appended);
    QVERIFY(appended.error().contains(u8("送付記録.csv に書き込めません")));
}

QTEST_APPLESS_MAIN(TestSendLog)
#include "tst_sendlog.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/datestyle.h"
#include "letter/lettermodel.h"
#include "letter/settingsfile.h"
#include "platform/clock.h"
#include "platform/cp932.h"

#include "../testfiles.h"

#include <QTest>

class TestDateStyle : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::resetInstance(); }
    void japanese_data();
    void japanese();
    void western();
    void dateField_data();
    void dateField();
    void storedWithTheLetter_data();
    void storedWithTheLetter();
};

void TestDateStyle::japanese_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("written");
    QTest::newRow("today") << QDate(2026, 12, 10) << u8("令和8年12月10日");
    QTest::newRow("first day of 令和") << QDate(2019, 5, 1) << u8("令和元年5月1日");
    QTest::newRow("last day of 平成") << QDate(2019, 4, 30) << u8("平成31年4月30日");
    QTest::newRow("first day of 平成") << QDate(1989, 1, 8) << u8("平成元年1月8日");
    QTest::newRow("last day of 昭和") << QDate(1989, 1, 7) << u8("昭和64年1月7日");
    QTest::newRow("平成元年 ends with its calendar year")
        << QDate(1989, 12, 31) << u8("平成元年12月31日");
    QTest::newRow("平成2年 from New Year") << QDate(1990, 1, 1) << u8("平成2年1月1日");
    QTest::newRow("first day of 昭和") << QDate(1926, 12, 25) << u8("昭和元年12月25日");
    QTest::newRow("last day of 大正") << QDate(1926, 12, 24) << u8("大正15年12月24日");
    QTest::newRow("first day of 大正") << QDate(1912, 7, 30) << u8("大正元年7月30日");
    QTest::newRow("last day of 明治") << QDate(1912, 7, 29) << u8("明治45年7月29日");
    QTest::newRow("first day of 明治") << QDate(1868, 10, 23) << u8("明治元年10月23日");
    QTest::newRow("before 明治: 西暦") << QDate(1868, 10, 22) << u8("1868年10月22日");
}

void TestDateStyle::japanese()
{
    QFETCH(QDate, date);
    QFETCH(QString, written);
    QCOMPARE(datestyle::format(date, datestyle::Style::Japanese), written);
}

void TestDateStyle::western()
{
    QCOMPARE(datestyle::format(QDate(2019, 5, 1), datestyle::Style::Western), u8("2019年05月01日"));
}

void TestDateStyle::dateField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("printed");
    const int western = int(datestyle::Style::Western);
    const int japanese = int(datestyle::Style::Japanese);
    QTest::newRow("西暦") << u8("送付日 《日付》") << western << u8("送付日 2019年05月01日");
    QTest::newRow("和暦") << u8("送付日 《日付》") << japanese << u8("送付日 令和元年5月1日");
    QTest::newRow("twice") << u8("《日付》/《日付》") << japanese
                           << u8("令和元年5月1日/令和元年5月1日");
    QTest::newRow("beside a customer field, which prints empty")
        << u8("《日付》《会社名》") << japanese << u8("令和元年5月1日");
    QTest::newRow("a bracket without its partner stays")
        << u8("《日付") << japanese << u8("《日付");
}

// What is printed takes today from the clock, in the letter's style.
void TestDateStyle::dateField()
{
    QFETCH(QString, typed);
    QFETCH(int, style);
    QFETCH(QString, printed);
    ProgramDir dir;
    Clock::setInstance(QDate(2019, 5, 1));
    LetterModel letter(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    letter.setDateStyle(datestyle::Style(style), Clock::today());
    letter.setText(0, typed);
    QCOMPARE(letter.printedText(0), printed);
    QCOMPARE(letter.box(0).text, typed); // the box keeps the field as typed
}

void TestDateStyle::storedWithTheLetter_data()
{
    QTest::addColumn<QByteArray>("stored");  // the key line in the file, or none
    QTest::addColumn<int>("chosen");         // the style the user leaves it in
    QTest::addColumn<QString>("boxD");       // box D after the start
    QTest::addColumn<QByteArray>("written"); // the key line after the close, or none
    const int western = int(datestyle::Style::Western);
    const int japanese = int(datestyle::Style::Japanese);
    QTest::newRow("untouched: no key")
        << QByteArray() << -1 << u8("2019年04月30日") << QByteArray();
    QTest::newRow("和暦 chosen") << QByteArray() << japanese << u8("2019年04月30日")
                                 << cp932::encode(u8("DateStyle=和暦"));
    QTest::newRow("和暦 kept") << cp932::encode(u8("DateStyle=和暦")) << -1 << u8("平成31年4月30日")
                               << cp932::encode(u8("DateStyle=和暦"));
    QTest::newRow("back to 西暦 is written")
        << cp932::encode(u8("DateStyle=和暦")) << western << u8("平成31年4月30日")
        << cp932::encode(u8("DateStyle=西暦"));
    QTest::newRow("unknown value reads as 西暦")
        << QByteArray("DateStyle=Gregorian") << -1 << u8("2019年04月30日")
        << cp932::encode(u8("DateStyle=西暦"));
}

void TestDateStyle::storedWithTheLetter()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, chosen);
    QFETCH(QString, boxD);
    QFETCH(QByteArray, written);
    ProgramDir dir;
    const QString ini = QStringLiteral("Init/tavrint38.ini");
    const QByteArray before =
        "[tavrint]\r\nFormTop=10\r\n" + (stored.isEmpty() ? QByteArray() : stored + "\r\n");
    dir.writeFile(ini, before);
    LetterModel letter(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    letter.load(QDate(2019, 4, 30), nullptr);
    QCOMPARE(letter.box(3).text, boxD);
    if (chosen >= 0)
        letter.setDateStyle(datestyle::Style(chosen), QDate(2019, 4, 30));
    QVERIFY(letter.saveLayout().ok());

    const QByteArray after = dir.readFile(ini);
    const QList<QByteArray> lines = after.split('\n');
    const auto styleLines = std::count_if(lines.cbegin(), lines.cend(), [](const QByteArray &line) {
        return line.startsWith("DateStyle=");
    });
    if (written.isEmpty()) {
        QCOMPARE(styleLines, 0);
    } else {
        QCOMPARE(styleLines, 1);
        QVERIFY2(after.contains(QByteArray(written + "\r\n")), after.constData());
    }
    // The close's own file (the recovery copy) holds the same.
    const recoverycopy::Files files = letter.closeFiles();
    QCOMPARE(files.first().bytes, after);
}

QTEST_GUILESS_MAIN(TestDateStyle)
#include "tst_datestyle.moc"

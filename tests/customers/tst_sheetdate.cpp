// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/sheetdate.h"
#include "customers/xlsxsheet.h"

#include <QTest>

using sheetdate::Kind;

class TestSheetDate : public QObject
{
    Q_OBJECT
private slots:
    void formatCode_data();
    void formatCode();
    void builtIn_data();
    void builtIn();
    void serial_data();
    void serial();
    void duration_data();
    void duration();
    void column_data();
    void column();
};

void TestSheetDate::formatCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<Kind>("kind");

    QTest::newRow("General") << u"General"_qs << Kind::Number;
    QTest::newRow("decimal") << u"0.00"_qs << Kind::Number;
    QTest::newRow("scientific") << u"0.00E+00"_qs << Kind::Number;
    QTest::newRow("red negatives") << u"#,##0;[Red]-#,##0"_qs << Kind::Number;
    QTest::newRow("quoted letters") << u"0\" days\""_qs << Kind::Number;
    QTest::newRow("escaped letter") << u"0\\h"_qs << Kind::Number;
    QTest::newRow("yen with locale") << u"[$¥-411]#,##0"_qs << Kind::Number;
    QTest::newRow("slash date") << u"yyyy/mm/dd"_qs << Kind::Date;
    QTest::newRow("month only") << u"mmm"_qs << Kind::Date;
    QTest::newRow("Japanese era") << u"[$-411]ggge\"年\"m\"月\"d\"日\""_qs << Kind::Date;
    QTest::newRow("kanji date") << u"yyyy\"年\"m\"月\"d\"日\""_qs << Kind::Date;
    QTest::newRow("hours and minutes") << u"h:mm"_qs << Kind::Time;
    QTest::newRow("minutes and seconds") << u"mm:ss"_qs << Kind::Time;
    QTest::newRow("AM/PM") << u"h:mm AM/PM"_qs << Kind::Time;
    QTest::newRow("elapsed hours") << u"[h]:mm:ss"_qs << Kind::Time;
    QTest::newRow("date and time") << u"yyyy/mm/dd hh:mm:ss"_qs << Kind::DateTime;
    QTest::newRow("month and minutes") << u"m/d h:mm"_qs << Kind::DateTime;
}

void TestSheetDate::formatCode()
{
    QFETCH(QString, code);
    QFETCH(Kind, kind);
    QCOMPARE(sheetdate::kindOfCode(code), kind);
}

void TestSheetDate::builtIn_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<Kind>("kind");

    QTest::newRow("0 General") << 0 << Kind::Number;
    QTest::newRow("4 #,##0.00") << 4 << Kind::Number;
    QTest::newRow("14 short date") << 14 << Kind::Date;
    QTest::newRow("20 h:mm") << 20 << Kind::Time;
    QTest::newRow("22 date and time") << 22 << Kind::DateTime;
    QTest::newRow("31 Japanese year month day") << 31 << Kind::Date;
    QTest::newRow("32 Japanese hours minutes") << 32 << Kind::Time;
    QTest::newRow("49 text") << 49 << Kind::Number;
}

void TestSheetDate::builtIn()
{
    QFETCH(int, id);
    QFETCH(Kind, kind);
    QCOMPARE(sheetdate::kindOfBuiltIn(id), kind);
}

void TestSheetDate::serial_data()
{
    QTest::addColumn<double>("serial");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("system1904");
    QTest::addColumn<QString>("text");

    QTest::newRow("2024-03-05") << 45356.0 << Kind::Date << false << u"2024-03-05"_qs;
    QTest::newRow("day 1 is 1900-01-01") << 1.0 << Kind::Date << false << u"1900-01-01"_qs;
    QTest::newRow("day 59 is 1900-02-28") << 59.0 << Kind::Date << false << u"1900-02-28"_qs;
    QTest::newRow("day 60 is the false leap day")
        << 60.0 << Kind::Date << false << u"1900-02-29"_qs;
    QTest::newRow("day 61 is 1900-03-01") << 61.0 << Kind::Date << false << u"1900-03-01"_qs;
    QTest::newRow("1904 system") << 43894.0 << Kind::Date << true << u"2024-03-05"_qs;
    QTest::newRow("date and time")
        << 45356.5730324074 << Kind::DateTime << false << u"2024-03-05 13:45:10"_qs;
    QTest::newRow("time only") << 0.5730324074 << Kind::Time << false << u"13:45:10"_qs;
    QTest::newRow("a second before midnight rounds up")
        << 45356.99999999 << Kind::DateTime << false << u"2024-03-06 00:00:00"_qs;
    QTest::newRow("9999-12-31") << 2958465.0 << Kind::Date << false << u"9999-12-31"_qs;
}

void TestSheetDate::serial()
{
    QFETCH(double, serial);
    QFETCH(Kind, kind);
    QFETCH(bool, system1904);
    QFETCH(QString, text);
    QCOMPARE(sheetdate::serialText(serial, kind, system1904), std::optional<QString>(text));
}

void TestSheetDate::duration_data()
{
    QTest::addColumn<QString>("duration");
    QTest::addColumn<QString>("text");

    QTest::newRow("hours minutes seconds") << u"PT13H45M10S"_qs << u"13:45:10"_qs;
    QTest::newRow("leading zeros") << u"PT07H05M00S"_qs << u"07:05:00"_qs;
    QTest::newRow("fraction of a second") << u"PT01H00M09.6S"_qs << u"01:00:10"_qs;
    QTest::newRow("past a day wraps") << u"PT25H00M00S"_qs << u"01:00:00"_qs;
    QTest::newRow("not a duration") << u"13:45"_qs << QString();
    QTest::newRow("unit without digits") << u"PTH"_qs << QString();
    QTest::newRow("digits without a unit") << u"PT12"_qs << QString();
    QTest::newRow("days beyond any count")
        << u"P"_qs + u"999999999D"_qs.repeated(20000) << QString();
}

void TestSheetDate::duration()
{
    QFETCH(QString, duration);
    QFETCH(QString, text);
    const std::optional<QString> result = sheetdate::durationText(duration);
    QCOMPARE(result.value_or(QString()), text);
}

void TestSheetDate::column_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<int>("column");

    QTest::newRow("A1") << u"A1"_qs << 0;
    QTest::newRow("H200") << u"H200"_qs << 7;
    QTest::newRow("AA3") << u"AA3"_qs << 26;
    QTest::newRow("XFD1, the last") << u"XFD1"_qs << 16383;
    QTest::newRow("no letters") << u"12"_qs << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TestSheetDate::column()
{
    QFETCH(QString, reference);
    QFETCH(int, column);
    QCOMPARE(xlsxsheet::columnOf(reference), column);
}

QTEST_APPLESS_MAIN(TestSheetDate)
#include "tst_sheetdate.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Fields in box texts: which names are fields, what fills them, and what
// stays as typed.

#include "letter/letterfields.h"

#include "../testfiles.h"

#include <QTest>

class TestLetterFields : public QObject
{
    Q_OBJECT
private slots:
    void fill_data();
    void fill();
};

void TestLetterFields::fill_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("customer");
    QTest::addColumn<QString>("filled");
    QTest::addColumn<bool>("hasFields");
    QTest::newRow("no fields") << u8("拝啓") << true << u8("拝啓") << false;
    QTest::newRow("fax and telephone")
        << u8("FAX: 《FAX》 / TEL: 《電話》") << true << u8("FAX: 03-1 / TEL: 03-2") << true;
    QTest::newRow("every field once")
        << u8("《番号》《会社名》《担当者》《部署》《郵便番号》《電話》《FAX》《住所》") << true
        << u8("7山田商事山田様営業部〒10003-203-1東京") << true;
    QTest::newRow("a field twice, across lines")
        << u8("《会社名》\r\n《会社名》") << true << u8("山田商事\r\n山田商事") << true;
    QTest::newRow("no customer: known fields print as nothing")
        << u8("FAX 《FAX》 様") << false << u8("FAX  様") << true;
    QTest::newRow("an unknown name stays as typed")
        << u8("《不明》《FAX》") << true << u8("《不明》03-1") << true;
    QTest::newRow("a field of the customer's table that is empty")
        << u8("[《郵便番号》]") << true << u8("[〒100]") << true;
    QTest::newRow("brackets without their partner stay")
        << u8("《FAX 》 《 》》《") << true << u8("《FAX 》 《 》》《") << false;
    QTest::newRow("the innermost pair is the field")
        << u8("《《FAX》》") << true << u8("《03-1》") << true;
    QTest::newRow("ASCII angle brackets are no field")
        << u8("<<FAX>>") << true << u8("<<FAX>>") << false;
}

void TestLetterFields::fill()
{
    QFETCH(QString, text);
    QFETCH(bool, customer);
    QFETCH(QString, filled);
    QFETCH(bool, hasFields);
    const letterfields::Values values = {
        {u8("番号"), u8("7")},      {u8("会社名"), u8("山田商事")}, {u8("担当者"), u8("山田様")},
        {u8("部署"), u8("営業部")}, {u8("郵便番号"), u8("〒100")},  {u8("電話"), u8("03-2")},
        {u8("FAX"), u8("03-1")},    {u8("住所"), u8("東京")}};
    QCOMPARE(letterfields::fill(text, customer ? &values : nullptr), filled);
    QCOMPARE(letterfields::hasFields(text), hasFields);
}

QTEST_APPLESS_MAIN(TestLetterFields)
#include "tst_letterfields.moc"

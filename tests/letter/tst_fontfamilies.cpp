// SPDX-License-Identifier: GPL-3.0-or-later
// The families the font chooser lists.

#include "letter/fontfamilies.h"

#include <QTest>

class TestFontFamilies : public QObject
{
    Q_OBJECT
private slots:
    void eachFamilyOnce_data();
    void eachFamilyOnce();
};

void TestFontFamilies::eachFamilyOnce_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("two foundries of one family")
        << QStringList{"C059 [UKWN]", "C059 [urw]", "IPAMincho"}
        << QStringList{"C059", "IPAMincho"};
    QTest::newRow("a tag with a blank in it")
        << QStringList{"D050000L [URW ]", "D050000L [urw]"} << QStringList{"D050000L"};
    QTest::newRow("a family by itself and by foundry")
        << QStringList{"Nimbus Sans", "Nimbus Sans [urw]"} << QStringList{"Nimbus Sans"};
    QTest::newRow("order kept, Japanese names untouched")
        << QStringList{"IPAPGothic", "ＭＳ Ｐ明朝", "DejaVu Sans"}
        << QStringList{"IPAPGothic", "ＭＳ Ｐ明朝", "DejaVu Sans"};
    QTest::newRow("brackets that are part of the name stay")
        << QStringList{"[Brackets]", "Foo[1]"} << QStringList{"[Brackets]", "Foo[1]"};
}

void TestFontFamilies::eachFamilyOnce()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, shown);
    QCOMPARE(fontfamilies::shown(installed), shown);
}

QTEST_APPLESS_MAIN(TestFontFamilies)
#include "tst_fontfamilies.moc"

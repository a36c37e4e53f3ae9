// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the PDFs written one per customer.

#include "print/pdffilename.h"

#include <QTest>

class TestPdfFileName : public QObject
{
    Q_OBJECT
private slots:
    void forCustomer_data();
    void forCustomer();
    void longCompanyFits();
};

void TestPdfFileName::forCustomer_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("name");

    QTest::newRow("ideographic space kept")
        << 3 << 12 << u"株式会社　山田商事"_qs << u"0003_株式会社　山田商事.pdf"_qs;
    QTest::newRow("slash and backslash") << 1 << 12 << u"A/B\\C"_qs << u"0001_A_B_C.pdf"_qs;
    QTest::newRow("what Windows forbids")
        << 2 << 12 << u"a:b*c?d\"e<f>g|h"_qs << u"0002_a_b_c_d_e_f_g_h.pdf"_qs;
    QTest::newRow("line break and tab")
        << 4 << 12 << u"上\r\n下\t横"_qs << u"0004_上__下_横.pdf"_qs;
    QTest::newRow("dots and blanks at the ends")
        << 5 << 12 << u" ..山田商事.. "_qs << u"0005_山田商事.pdf"_qs;
    QTest::newRow("a company of dots alone") << 6 << 12 << u".."_qs << u"0006.pdf"_qs;
    QTest::newRow("no company") << 7 << 12 << QString() << u"0007.pdf"_qs;
    QTest::newRow("more rows than four digits")
        << 42 << 12345 << u"佐藤工業"_qs << u"00042_佐藤工業.pdf"_qs;
    QTest::newRow("a row past 9999") << 10000 << 10000 << u"X"_qs << u"10000_X.pdf"_qs;
}

void TestPdfFileName::forCustomer()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(QString, company);
    QFETCH(QString, name);
    QCOMPARE(pdffilename::forCustomer(row, count, company), name);
}

void TestPdfFileName::longCompanyFits()
{
    // Three bytes a character in UTF-8: cut on a character, never inside.
    const QString name = pdffilename::forCustomer(1, 12, QString(300, QChar(0x5c71)));
    QVERIFY(name.toUtf8().size() <= pdffilename::kMaxNameBytes);
    QVERIFY(name.startsWith(u"0001_山山"_qs));
    QVERIFY(name.endsWith(u"山.pdf"_qs));
    QCOMPARE(QString::fromUtf8(name.toUtf8()), name);
}

QTEST_APPLESS_MAIN(TestPdfFileName)
#include "tst_pdffilename.moc"

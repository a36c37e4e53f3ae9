// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/textcharset.h"

#include <QTest>

using textcharset::Charset;

class TestTextCharset : public QObject
{
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void validUtf8_data();
    void validUtf8();
};

void TestTextCharset::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Charset>("charset");
    QTest::addColumn<QString>("text");

    // 株式会社 as UTF-8 and as code page 932.
    const QByteArray utf8Company("\xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE");
    const QByteArray sjisCompany("\x8A\x94\x8E\xAE\x89\xEF\x8E\xD0");
    const QString company = QString::fromUtf8("株式会社");

    QTest::newRow("UTF-8 with the mark, the mark dropped")
        << QByteArray("\xEF\xBB\xBF") + utf8Company + ",a\r\n"
        << Charset::Utf8 << company + u",a\r\n"_qs;
    QTest::newRow("UTF-8 without the mark")
        << utf8Company + ",a" << Charset::Utf8 << company + u",a"_qs;
    QTest::newRow("the mark alone") << QByteArray("\xEF\xBB\xBF") << Charset::Utf8 << QString();
    QTest::newRow("the mark before plain ASCII") << QByteArray("\xEF\xBB\xBF"
                                                               "a,b")
                                                 << Charset::Utf8 << u"a,b"_qs;
    QTest::newRow("pure ASCII reads as code page 932")
        << QByteArray("a,b\r\n") << Charset::Cp932 << u"a,b\r\n"_qs;
    QTest::newRow("empty file") << QByteArray() << Charset::Cp932 << QString();
    QTest::newRow("code page 932 kanji")
        << sjisCompany + ",a" << Charset::Cp932 << company + u",a"_qs;
    // ｶﾌﾞｼｷｶﾞｲｼｬ: single bytes 0xA1 to 0xDF, most of them no UTF-8 lead.
    QTest::newRow("code page 932 half-width kana")
        << QByteArray("\xB6\xCC\xDE\xBC\xB7\xB6\xDE\xB2\xBC\xAC") << Charset::Cp932
        << QString::fromUtf8("ｶﾌﾞｼｷｶﾞｲｼｬ");
    // ｿ (0x83 0x5C) has the trail byte "\", which no UTF-8 sequence can hold.
    QTest::newRow("code page 932 with a 0x5C trail byte")
        << QByteArray("\x83\x5C,x") << Charset::Cp932 << QString::fromUtf8("ソ,x");
    // ﾒｰﾙｱ is valid UTF-8 by accident (two two-byte sequences): the rule
    // takes UTF-8, and what the letter cannot hold shows as "?".
    QTest::newRow("code page 932 kana that happen to be valid UTF-8")
        << QByteArray("\xD2\xB0\xD9\xB1") << Charset::Utf8 << u"??"_qs;
    QTest::newRow("the same kana beside a kanji stay code page 932")
        << QByteArray("\xD2\xB0\xD9\xB1,") + sjisCompany << Charset::Cp932
        << QString::fromUtf8("ﾒｰﾙｱ,株式会社");
    QTest::newRow("NUL ends the text before a broken byte")
        << QByteArray("\xE3\x81\x82\0\xFF", 5) << Charset::Utf8 << QString::fromUtf8("あ");
    QTest::newRow("a character code page 932 lacks becomes ?") << QByteArray("a\xF0\x9F\x98\x80"
                                                                             "b")
                                                               << Charset::Utf8 << u"a?b"_qs;
    QTest::newRow("broken bytes after the mark become ?") << QByteArray("\xEF\xBB\xBF"
                                                                        "a\xFF"
                                                                        "b")
                                                          << Charset::Utf8 << u"a?b"_qs;
    QTest::newRow("UTF-8 cut inside a character is code page 932")
        << QByteArray("\xE3\x81") << Charset::Cp932 << QString::fromUtf8("縺");
}

void TestTextCharset::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Charset, charset);
    QFETCH(QString, text);
    QCOMPARE(textcharset::detect(bytes), charset);
    QCOMPARE(textcharset::decode(bytes), text);
}

void TestTextCharset::validUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");

    QTest::newRow("ASCII") << QByteArray("abc") << true;
    QTest::newRow("two-byte") << QByteArray("\xC3\xA9") << true;
    QTest::newRow("three-byte") << QByteArray("\xE3\x81\x82") << true;
    QTest::newRow("four-byte") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("highest code point") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("overlong two-byte slash") << QByteArray("\xC0\xAF") << false;
    QTest::newRow("overlong three-byte") << QByteArray("\xE0\x80\xAF") << false;
    QTest::newRow("overlong four-byte") << QByteArray("\xF0\x80\x80\xAF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("lone continuation") << QByteArray("\x80") << false;
    QTest::newRow("lead at the end") << QByteArray("a\xE3") << false;
    QTest::newRow("lead then ASCII") << QByteArray("\xE3"
                                                   "ab")
                                     << false;
    QTest::newRow("0xFF") << QByteArray("\xFF") << false;
}

void TestTextCharset::validUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(textcharset::isValidUtf8(bytes), valid);
}

QTEST_APPLESS_MAIN(TestTextCharset)
#include "tst_textcharset.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp932.h"
#include "platform/errorreport.h"

#include <QTest>

class TestCp932 : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void unencodable_data();
    void unencodable();
    void nulEndsText();
    void invalidBytesSurvive_data();
    void invalidBytesSurvive();
    void everySingleAndPairSurvives();
    void lineBreaks_data();
    void lineBreaks();
    void splitLines_data();
    void splitLines();
    void errorText_data();
    void errorText();
};

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // 0x5C as a trail byte must never turn into a backslash or split.
    QTest::newRow("ソ 表 能 (0x5C trail bytes)")
        << QByteArray("\x83\x5c\x20\x95\x5c\x20\x94\x5c") << QStringLiteral("ソ 表 能");
    QTest::newRow("backslash stays a backslash") << QByteArray("C:\\x") << QStringLiteral("C:\\x");
    QTest::newRow("half-width kana") << QByteArray("\xb1\xb2\xb3\xdf") << QStringLiteral("ｱｲｳﾟ");
    QTest::newRow("wave dash as Windows writes it")
        << QByteArray("\x81\x60") << QStringLiteral("～");
    QTest::newRow("full-width minus") << QByteArray("\x81\x7c") << QStringLiteral("－");
    QTest::newRow("ideographic space") << QByteArray("\x81\x40") << QStringLiteral("\u3000");
    QTest::newRow("MS P明朝 default face")
        << QByteArray("MS P\x96\xbe\x92\xa9") << QStringLiteral("MS P明朝");
    QTest::newRow("ＭＳ Ｐ明朝") << QByteArray("\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9")
                                 << QStringLiteral("ＭＳ Ｐ明朝");
    QTest::newRow("NEC special ①") << QByteArray("\x87\x40") << QStringLiteral("①");
    // Single bytes Windows maps outside the usual ranges.
    QTest::newRow("0x80 is U+0080") << QByteArray("a\x80") << QStringLiteral("a\u0080");
    QTest::newRow("0xA0 is U+F8F0") << QByteArray("\xa0") << QStringLiteral("\uf8f0");
    QTest::newRow("0xFD 0xFE 0xFF are U+F8F1 to U+F8F3")
        << QByteArray("\xfd\xfe\xff") << QStringLiteral("\uf8f1\uf8f2\uf8f3");
    QTest::newRow("user-defined area F040") << QByteArray("\xf0\x40") << QStringLiteral("\ue000");
}

void TestCp932::invalidBytesSurvive_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("readable"); // what must still read as text around them
    QTest::newRow("lone lead byte at the end") << QByteArray("ab\x82") << QStringLiteral("ab");
    QTest::newRow("lead byte before a line break")
        << QByteArray("\x88\r\nx") << QStringLiteral("\r\nx");
    QTest::newRow("lead byte before a space (bad trail)")
        << QByteArray("\x95 z") << QStringLiteral(" z");
    QTest::newRow("lead byte before 0x7F") << QByteArray("\x81\x7f") << QStringLiteral("\x7f");
    QTest::newRow("unassigned pair 85 40") << QByteArray("\x85\x40!") << QStringLiteral("!");
    QTest::newRow("unassigned pair EB A0 before a kanji")
        << QByteArray("\xeb\xa0\x8e\x52") << QStringLiteral("山");
    QTest::newRow("lead byte before 0xFD") << QByteArray("\x90\xfd") << QStringLiteral("\uf8f1");
    QTest::newRow("unassigned pair, then a character")
        << QByteArray("\xa0\x85\x9f\x81\x40") << QStringLiteral("\uf8f0");
    QTest::newRow("lead byte as the trail of a lead byte")
        << QByteArray("\x81\x81\x40") << QStringLiteral("\uff1d@");
}

void TestCp932::invalidBytesSurvive()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, readable);
    const QString text = cp932::decode(bytes);
    QVERIFY2(text.contains(readable), qPrintable(text));
    QVERIFY(!text.contains(QChar(0xfffd)));
    QCOMPARE(cp932::representable(text), text);
    QCOMPARE(cp932::encode(text), bytes);
}

void TestCp932::everySingleAndPairSurvives()
{
    // Every one- and two-byte sequence without NUL or line break comes back
    // as it was, apart from the pairs Windows itself writes differently
    // (NEC-selected IBM duplicates), which must come back as the pair
    // Windows writes.
    int rewritten = 0;
    for (int first = 1; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            if (first == '\r' || first == '\n' || second == '\r' || second == '\n' || second == 0)
                continue;
            const char raw[2] = {char(first), char(second)};
            const QByteArray bytes(raw, 2);
            const QString text = cp932::decode(bytes);
            const QByteArray back = cp932::encode(text);
            if (back == bytes)
                continue;
            ++rewritten;
            QCOMPARE(text.size(), 1); // only whole characters are rewritten
            QCOMPARE(cp932::decode(back), text);
        }
    }
    // 0xED40..0xEEFC and the IBM duplicates of NEC row 13: a few hundred.
    QVERIFY2(rewritten > 0 && rewritten < 1000, QByteArray::number(rewritten).constData());
}

void TestCp932::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(cp932::decode(bytes), text);
    QCOMPARE(cp932::encode(text), bytes);
}

void TestCp932::unencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("U+301C wave dash has no code")
        << QStringLiteral("a\u301Cb") << QStringLiteral("a?b") << QByteArray("a?b");
    QTest::newRow("emoji (surrogate pair) is one ?")
        << QStringLiteral("x\U0001F600y") << QStringLiteral("x?y") << QByteArray("x?y");
    QTest::newRow("accented latin")
        << QStringLiteral("caf\u00e9") << QStringLiteral("caf?") << QByteArray("caf?");
    QTest::newRow("lone surrogate")
        << QString(QChar(0xD800)) << QStringLiteral("?") << QByteArray("?");
}

void TestCp932::unencodable()
{
    QFETCH(QString, text);
    QTEST(cp932::representable(text), "shown");
    QTEST(cp932::encode(text), "bytes");
}

void TestCp932::nulEndsText()
{
    QCOMPARE(cp932::decode(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
    QCOMPARE(cp932::decode(QByteArray("\0x", 2)), QString());
}

void TestCp932::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalized");
    QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("CR") << QStringLiteral("a\rb\r") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("CR LF kept") << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("LF CR is two breaks")
        << QStringLiteral("a\n\rb") << QStringLiteral("a\r\n\r\nb");
}

void TestCp932::lineBreaks()
{
    QFETCH(QString, text);
    QTEST(cp932::normalizeLineBreaks(text), "normalized");
}

void TestCp932::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty has no lines") << QString() << QStringList();
    QTest::newRow("one break is one empty line")
        << QStringLiteral("\r\n") << QStringList{QString()};
    QTest::newRow("final break adds nothing")
        << QStringLiteral("a\nb\n") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("mixed") << QStringLiteral("a\rb\r\nc\nd")
                           << QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                          QStringLiteral("c"), QStringLiteral("d")};
}

void TestCp932::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(cp932::splitLines(text), lines);
    if (!lines.isEmpty())
        QCOMPARE(cp932::splitLines(cp932::joinLines(lines)), lines);
}

void TestCp932::errorText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Japanese gets a dot")
        << QStringLiteral("現在印刷中です") << QStringLiteral("現在印刷中です.");
    QTest::newRow("ends with a dot") << QStringLiteral("x.") << QStringLiteral("x.");
    QTest::newRow("ends with a closing parenthesis (sorts before the dot)")
        << QStringLiteral("(12)") << QStringLiteral("(12)");
    QTest::newRow("ends with a digit") << QStringLiteral("x 5") << QStringLiteral("x 5.");
}

void TestCp932::errorText()
{
    QFETCH(QString, message);
    QTEST(errorreport::displayText(message), "shown");
}

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"

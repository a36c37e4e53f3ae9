// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/delimitedtext.h"

#include <QTest>

class TestDelimitedText : public QObject
{
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void limitKeepsLeadingFields_data();
    void limitKeepsLeadingFields();
};

void TestDelimitedText::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    const QStringList none;
    QTest::newRow("empty line") << QString() << none;
    QTest::newRow("only blanks") << QStringLiteral(" \t ") << none;
    QTest::newRow("a alone") << QStringLiteral("a") << QStringList{u"a"_qs};
    QTest::newRow("a,,c") << QStringLiteral("a,,c") << QStringList{u"a"_qs, QString(), u"c"_qs};
    QTest::newRow("trailing comma adds an empty field")
        << QStringLiteral("a,") << QStringList{u"a"_qs, QString()};
    QTest::newRow("comma then blanks at the end adds nothing")
        << QStringLiteral("a,\t") << QStringList{u"a"_qs};
    QTest::newRow("leading comma") << QStringLiteral(",b") << QStringList{QString(), u"b"_qs};
    QTest::newRow("blanks around fields dropped")
        << QStringLiteral("  a , b\t,c ") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
    QTest::newRow("space inside unquoted field splits it")
        << QStringLiteral("a b,c") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
    QTest::newRow("tab splits a field")
        << QStringLiteral("a\tb,c") << QStringList{u"a"_qs, u"b"_qs, u"c"_qs};
    QTest::newRow("control character splits a field") << QStringLiteral("a\x01"
                                                                        "b")
                                                      << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("ideographic space is no blank")
        << QString::fromUtf8("山田\u3000太郎,x")
        << QStringList{QString::fromUtf8("山田\u3000太郎"), u"x"_qs};
    QTest::newRow("quoted comma") << QStringLiteral("\"x,y\",z") << QStringList{u"x,y"_qs, u"z"_qs};
    QTest::newRow("quoted blanks kept")
        << QStringLiteral("\" a b \",z") << QStringList{u" a b "_qs, u"z"_qs};
    QTest::newRow("doubled quotes")
        << QStringLiteral("\"say \"\"hi\"\"\",b") << QStringList{u"say \"hi\""_qs, u"b"_qs};
    QTest::newRow("empty quoted field")
        << QStringLiteral("\"\",b") << QStringList{QString(), u"b"_qs};
    QTest::newRow("quoted then text gives two fields")
        << QStringLiteral("\"x\"y,z") << QStringList{u"x"_qs, u"y"_qs, u"z"_qs};
    QTest::newRow("quote inside unquoted field is plain")
        << QStringLiteral("a\"b,c") << QStringList{u"a\"b"_qs, u"c"_qs};
    QTest::newRow("unclosed quote takes the rest without its last character")
        << QStringLiteral("a,\"open,,,") << QStringList{u"a"_qs, u"open,,"_qs};
    QTest::newRow("unclosed quote with a doubled quote")
        << QStringLiteral("\"a\"\"b,") << QStringList{u"a\"b"_qs};
    QTest::newRow("unclosed quote ending in a doubled quote")
        << QStringLiteral("\"a\"\"") << QStringList{u"a"_qs};
    QTest::newRow("lone quote at the end")
        << QStringLiteral("a,\"") << QStringList{u"a"_qs, QString()};
    QTest::newRow("NUL ends the line")
        << QStringLiteral("a,b\0,c") << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("Shift-JIS 0x5C trail bytes are whole characters")
        << QString::fromUtf8("ソ,表,能")
        << QStringList{QString::fromUtf8("ソ"), QString::fromUtf8("表"), QString::fromUtf8("能")};
    QTest::newRow("eight appended commas")
        << QStringLiteral("a,,,,,,,,")
        << QStringList{u"a"_qs,   QString(), QString(), QString(), QString(),
                       QString(), QString(), QString(), QString()};
}

void TestDelimitedText::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(delimitedtext::split(line), fields);
}

void TestDelimitedText::limitKeepsLeadingFields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("limit");

    QTest::newRow("plain") << QStringLiteral("1,2,3,4,5,6,7,8") << 6;
    QTest::newRow("trailing comma at the limit") << QStringLiteral("1,2,3,4,5,") << 6;
    QTest::newRow("fewer than the limit") << QStringLiteral("1,\"2") << 6;
    QTest::newRow("limit one") << QStringLiteral("\"a,b\"c,d") << 1;
    QTest::newRow("limit zero") << QStringLiteral("a") << 0;
}

void TestDelimitedText::limitKeepsLeadingFields()
{
    QFETCH(QString, line);
    QFETCH(int, limit);
    const QStringList all = delimitedtext::split(line);
    QCOMPARE(delimitedtext::split(line, limit), all.mid(0, limit));
}

QTEST_APPLESS_MAIN(TestDelimitedText)
#include "tst_delimitedtext.moc"

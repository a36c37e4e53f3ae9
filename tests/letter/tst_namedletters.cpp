// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/lettermodel.h"
#include "letter/namedletters.h"

#include "../testfiles.h"
#include "../testpdfs.h"

#include <QTest>

class TestNamedLetters : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void damaged_data();
    void damaged();
    void keepAndApply();
    void otherScreenKeepsItsLayout();
    void renameAndRemove();
    void listSkipsWhatIsNoLetter();
};

void TestNamedLetters::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal"); // part of the message; empty: accepted
    QTest::newRow("Japanese") << u8("見積書送付") << QString();
    QTest::newRow("blanks and punctuation") << u8("A社 (月末) 請求・控え") << QString();
    QTest::newRow("a backslash is a file name's character") << u8("a\\b") << QString();
    QTest::newRow("longest that fits") << QString(251, QLatin1Char('x')) << QString();
    QTest::newRow("84 kanji fit") << QString(83, QChar(u'字')) << QString();
    QTest::newRow("empty") << QString() << u8("名前がありません");
    QTest::newRow("blanks only") << u8("　 ") << u8("名前がありません");
    QTest::newRow("slash") << u8("見積/請求") << u8("「/」");
    QTest::newRow("dot") << u8(".") << u8("「.」");
    QTest::newRow("dot dot") << u8("..") << u8("「.」");
    QTest::newRow("hidden file") << u8(".見積") << u8("「.」");
    QTest::newRow("NUL") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))
                         << u8("制御文字");
    QTest::newRow("line break") << u8("a\nb") << u8("制御文字");
    QTest::newRow("one byte too long") << QString(252, QLatin1Char('x')) << u8("長すぎます");
    QTest::newRow("85 kanji are 255 bytes before .ini")
        << QString(85, QChar(u'字')) << u8("長すぎます");
}

void TestNamedLetters::names()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    ProgramDir dir;
    const NamedLetters store(dir.programDir());
    const Result<void> written = store.write(name, NamedLetter());
    if (refusal.isEmpty()) {
        QVERIFY2(written.ok(), qPrintable(written.error()));
        QCOMPARE(store.names(), QStringList{name});
        QVERIFY(store.read(name).ok());
    } else {
        QVERIFY(!written.ok());
        QVERIFY2(written.error().contains(refusal), qPrintable(written.error()));
        // Nothing was made of it, not even half.
        QVERIFY(QDir(store.directory()).isEmpty());
    }
}

void TestNamedLetters::textsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line") << u8("拝啓");
    QTest::newRow("final break kept") << u8("拝啓\r\n\r\n敬具\r\n");
    QTest::newRow("lines that look like the format")
        << u8("[Letter]\r\n|bar\r\nDateStyle=和暦\r\n[1本文]");
    QTest::newRow("blanks at both ends") << u8("  　記  \r\n\t");
    QTest::newRow("bytes code page 932 lacks") << QString(QChar(0xF781)) + u8("あ");
}

void TestNamedLetters::textsRoundTrip()
{
    QFETCH(QString, text);
    NamedLetter letter;
    letter.texts.insert(0, text);
    letter.texts.insert(7, u8("以上"));
    const Result<NamedLetter> read = NamedLetter::fromBytes(letter.toBytes());
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(read->texts.value(0), text);
    QCOMPARE(read->texts.value(7), u8("以上"));
    QCOMPARE(read->texts.size(), 2);
}

void TestNamedLetters::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty file") << QByteArray() << u8("[Letter]");
    QTest::newRow("a settings file") << QByteArray("[tavrint]\r\nFormTop=10\r\n") << u8("[Letter]");
    QTest::newRow("code page 932")
        << QByteArray("[Letter]\n[1\x96\x7b\x95\xb6]\n|\x88\xa2\n") << u8("UTF-8");
    QTest::newRow("unknown date style")
        << QByteArray("[Letter]\nDateStyle=Gregorian\n") << u8("西暦でも和暦でもありません");
    QTest::newRow("huge") << QByteArray(NamedLetter::kMaxFileSize + 1, '|') << u8("MiB");
}

void TestNamedLetters::damaged()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    ProgramDir dir;
    dir.writeFile(QStringLiteral("Letters/壊れた.ini"), bytes);
    const Result<NamedLetter> read = NamedLetters(dir.programDir()).read(u8("壊れた"));
    QVERIFY(!read.ok());
    QVERIFY2(read.error().contains(reason), qPrintable(read.error()));
    QVERIFY2(read.error().contains(u8("壊れた.ini")), qPrintable(read.error()));
}

// What a close would keep comes back as it was, also into a letter that was
// quite another.
void TestNamedLetters::keepAndApply()
{
    ProgramDir dir;
    LetterModel kept(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    kept.setText(0, u8("拝啓\r\n"));
    kept.setText(1, u8("山田商事")); // the close does not save box B here
    kept.setText(4, u8("御見積書送付のご案内"));
    kept.setFrame(4, QRect(30, 40, 200, 50));
    kept.setFace(4, u8("IPAexゴシック"));
    kept.setPoints(4, 16);
    kept.setDateStyle(datestyle::Style::Japanese, QDate(2026, 12, 10));
    // Its documents: one that is there, one that has gone since.
    const QString quote = dir.path(u8("見積書 [1].pdf"));
    dir.writeFile(u8("見積書 [1].pdf"), testpdfs::pages(2));
    kept.setAttachments({quote, dir.path(u8("消えた.pdf"))}, 2);
    const NamedLetters store(dir.programDir());
    QVERIFY(store.write(u8("見積書送付"), NamedLetter::capture(kept)).ok());

    LetterModel other(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    other.setAttachments({dir.path(u8("別の.pdf"))}, 5);
    other.setText(0, u8("別の本文"));
    other.setText(1, u8("別の宛先"));
    const Result<NamedLetter> read = store.read(u8("見積書送付"));
    QVERIFY2(read.ok(), qPrintable(read.error()));
    read->applyTo(other, QDate(2026, 12, 10));
    QCOMPARE(other.box(0).text, u8("拝啓\r\n"));
    QCOMPARE(other.box(1).text, u8("別の宛先"));
    QCOMPARE(other.box(4).text, u8("御見積書送付のご案内"));
    QCOMPARE(other.box(4).frame, QRect(30, 40, 200, 50));
    QCOMPARE(other.box(4).face, u8("IPAexゴシック"));
    QCOMPARE(other.points(4), 16);
    QCOMPARE(other.dateStyle(), datestyle::Style::Japanese);
    QCOMPARE(other.box(3).text, u8("令和8年12月10日"));
    // The documents go with the letter, counted again where they are now.
    QCOMPARE(other.attachments(), (QStringList{quote, dir.path(u8("消えた.pdf"))}));
    QCOMPARE(other.sentPages(), 3);
    // A letter kept without documents takes the current one's away.
    LetterModel plain(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    QVERIFY(store.write(u8("資料送付"), NamedLetter::capture(plain)).ok());
    QVERIFY(!store.read(u8("資料送付"))->toBytes().contains(u8("添付ファイル").toUtf8()));
    store.read(u8("資料送付"))->applyTo(other, QDate(2026, 12, 10));
    QVERIFY(other.attachments().isEmpty());
    QCOMPARE(other.sentPages(), 1);
}

void TestNamedLetters::otherScreenKeepsItsLayout()
{
    ProgramDir dir;
    const NamedLetters store(dir.programDir());
    LetterModel small(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    small.setFrame(0, QRect(1, 2, 300, 40));
    QVERIFY(store.write(u8("a"), NamedLetter::capture(small)).ok());

    LetterModel large(dir.programDir(), QStringLiteral("tavrint"), {1920, 1080, 96});
    const QRect largeFrame = large.box(0).frame;
    store.read(u8("a"))->applyTo(large, QDate(2026, 1, 1)); // not kept on 1080: stays
    QCOMPARE(large.box(0).frame, largeFrame);
    large.setFrame(0, QRect(5, 6, 500, 60));
    QVERIFY(store.write(u8("a"), NamedLetter::capture(large, *store.read(u8("a")))).ok());

    LetterModel again(dir.programDir(), QStringLiteral("tavrint"), {1366, 768, 96});
    store.read(u8("a"))->applyTo(again, QDate(2026, 1, 1));
    QCOMPARE(again.box(0).frame, QRect(1, 2, 300, 40));
    QCOMPARE(store.read(u8("a"))->layouts.keys(), (QList<int>{38, 54}));
}

void TestNamedLetters::renameAndRemove()
{
    ProgramDir dir;
    const NamedLetters store(dir.programDir());
    QVERIFY(store.write(u8("見積書送付"), NamedLetter()).ok());
    QVERIFY(store.write(u8("請求書送付"), NamedLetter()).ok());
    QVERIFY(store.setCurrent(u8("見積書送付")).ok());

    const Result<void> taken = store.rename(u8("見積書送付"), u8("請求書送付"));
    QVERIFY(!taken.ok());
    QVERIFY(taken.error().contains(u8("もうあります")));
    QVERIFY(!store.rename(u8("見積書送付"), u8("a/b")).ok());
    QVERIFY(!store.rename(u8("ない"), u8("b")).ok());

    QVERIFY(store.rename(u8("見積書送付"), u8("見積")).ok());
    QCOMPARE(store.current(), u8("見積")); // the note follows the name
    QCOMPARE(store.names(), (QStringList{u8("見積"), u8("請求書送付")}));

    QVERIFY(store.remove(u8("見積")).ok());
    QCOMPARE(store.current(), QString());
    QVERIFY(!QFile::exists(dir.path(QStringLiteral("Init/currentletter.txt"))));
    QCOMPARE(store.names(), QStringList{u8("請求書送付")});
    QVERIFY(!store.remove(u8("見積")).ok());
}

void TestNamedLetters::listSkipsWhatIsNoLetter()
{
    ProgramDir dir;
    dir.writeFile(QStringLiteral("Letters/資料送付.ini"), "[Letter]\n");
    dir.writeFile(QStringLiteral("Letters/.hidden.ini"), "[Letter]\n");
    dir.writeFile(QStringLiteral("Letters/.資料送付.ini.x1y2z3.tmp"), "[Letter]\n");
    dir.writeFile(QStringLiteral("Letters/readme.txt"), "");
    QDir().mkpath(dir.path(QStringLiteral("Letters/folder.ini")));
    QCOMPARE(NamedLetters(dir.programDir()).names(), QStringList{u8("資料送付")});
}

QTEST_MAIN(TestNamedLetters)
#include "tst_namedletters.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profilefile.h"

#include "platform/cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"

#include <optional>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

namespace {

// "ＭＳ Ｐ明朝" (full-width letters, half-width space) and kana/kanji whose
// trail byte is 0x5C.
const QByteArray kMsPMinchoFull("\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9");
const QByteArray kSoHyouNou("\x83\x5c\x95\x5c\x94\x5c");

struct Write
{
    QString section;
    QString key;
    QString value;
};

} // namespace

Q_DECLARE_METATYPE(QList<Write>)

class TestProfileFile : public QObject
{
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void valueLengthLimit_data();
    void valueLengthLimit();

    void write_data();
    void write();
    void untouchedDocumentIsUnchanged_data();
    void untouchedDocumentIsUnchanged();
    void readsBackWhatItWrote();

    void parseInt_data();
    void parseInt();
    void readInt_data();
    void readInt();

    void loadMissingFile();
    void loadAndSave();
    void unreadableFileGivesNoDocument_data();
    void unreadableFileGivesNoDocument();

    void hostileContent_data();
    void hostileContent();
    void everyKeyOfALargeSection();
};

void TestProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<OptionalText>("expected");

    const QByteArray basic("[letter]\r\nFormLeft=30\r\nFormTop=\r\n");
    QTest::newRow("plain value") << basic << u8("letter") << u8("FormLeft")
                                 << OptionalText(u8("30"));
    QTest::newRow("empty value is present")
        << basic << u8("letter") << u8("FormTop") << OptionalText(u8(""));
    QTest::newRow("missing key") << basic << u8("letter") << u8("mm1Left") << OptionalText();
    QTest::newRow("missing section") << basic << u8("memo") << u8("FormLeft") << OptionalText();
    QTest::newRow("empty file") << QByteArray() << u8("letter") << u8("FormLeft") << OptionalText();
    QTest::newRow("key case ignored")
        << basic << u8("letter") << u8("formleft") << OptionalText(u8("30"));
    QTest::newRow("section case ignored")
        << basic << u8("LETTER") << u8("FORMLEFT") << OptionalText(u8("30"));
    QTest::newRow("blanks around name and value")
        << QByteArray("  [ letter ]  \r\n\t FormLeft \t=  -40 \t\r\n") << u8("letter")
        << u8("FormLeft") << OptionalText(u8("-40"));
    QTest::newRow("blank inside value kept")
        << QByteArray("[s]\r\nk= a  b \r\n") << u8("s") << u8("k") << OptionalText(u8("a  b"));
    QTest::newRow("value holding =")
        << QByteArray("[s]\r\nk=a=b\r\n") << u8("s") << u8("k") << OptionalText(u8("a=b"));
    QTest::newRow("double quotes dropped")
        << QByteArray("[s]\r\nk=\" x \"\r\n") << u8("s") << u8("k") << OptionalText(u8(" x "));
    QTest::newRow("single quotes dropped")
        << QByteArray("[s]\r\nk='x'\r\n") << u8("s") << u8("k") << OptionalText(u8("x"));
    QTest::newRow("unmatched quote kept")
        << QByteArray("[s]\r\nk=\"x\r\n") << u8("s") << u8("k") << OptionalText(u8("\"x"));
    QTest::newRow("key in another section")
        << QByteArray("[a]\r\nk=1\r\n[b]\r\nj=2\r\n") << u8("b") << u8("k") << OptionalText();
    QTest::newRow("key of a later section") << QByteArray("[a]\r\nk=1\r\n[b]\r\nk=2\r\n") << u8("b")
                                            << u8("k") << OptionalText(u8("2"));
    QTest::newRow("first of duplicate keys")
        << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << u8("s") << u8("k") << OptionalText(u8("1"));
    QTest::newRow("first of duplicate sections")
        << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n") << u8("s") << u8("j")
        << OptionalText();
    QTest::newRow("comment line is no key")
        << QByteArray("[s]\r\n;k=1\r\n") << u8("s") << u8(";k") << OptionalText();
    QTest::newRow("key before any section")
        << QByteArray("k=1\r\n[s]\r\n") << u8("s") << u8("k") << OptionalText();
    QTest::newRow("header without ] is no header")
        << QByteArray("[s]\r\n[t\r\nk=1\r\n") << u8("s") << u8("k") << OptionalText(u8("1"));
    QTest::newRow("LF-only lines")
        << QByteArray("[s]\nk=1\nj=2\n") << u8("s") << u8("j") << OptionalText(u8("2"));
    QTest::newRow("CR-only lines")
        << QByteArray("[s]\rk=1\rj=2") << u8("s") << u8("j") << OptionalText(u8("2"));
    QTest::newRow("no break after last line")
        << QByteArray("[s]\r\nk=7") << u8("s") << u8("k") << OptionalText(u8("7"));
    QTest::newRow("NUL ends the value")
        << QByteArray("[s]\r\nk=ab\0cd\r\n", 12) << u8("s") << u8("k") << OptionalText(u8("ab"));
    QTest::newRow("ＭＳ Ｐ明朝 value")
        << QByteArray("[s]\r\nmm1FontName=" + kMsPMinchoFull + "\r\n") << u8("s")
        << u8("mm1FontName") << OptionalText(u8("ＭＳ Ｐ明朝"));
    QTest::newRow("0x5C trail bytes in value") << QByteArray("[s]\r\nk=" + kSoHyouNou + "\r\n")
                                               << u8("s") << u8("k") << OptionalText(u8("ソ表能"));
    QTest::newRow("Japanese section and key")
        << QByteArray("[" + kSoHyouNou + "]\r\n" + kSoHyouNou + "=1\r\n") << u8("ソ表能")
        << u8("ソ表能") << OptionalText(u8("1"));
    // 0x5D as a trail byte ("‐" is 81 5D) must not close the header.
    QTest::newRow("] as trail byte in section name")
        << QByteArray("[\x81\x5d]\r\nk=1\r\n") << u8("‐") << u8("k") << OptionalText(u8("1"));
    // ア is 83 41 and ヂ 83 61: folding the trail byte would make them equal.
    QTest::newRow("trail byte letters not folded")
        << QByteArray("[s]\r\n\x83\x41=1\r\n") << u8("s") << u8("ヂ") << OptionalText();
    QTest::newRow("full-width letters compare exactly")
        << QByteArray("[s]\r\n\x82\x60=1\r\n") << u8("s") << u8("ａ") << OptionalText();
}

void TestProfileFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(OptionalText, expected);
    const ProfileFile doc = ProfileFile::fromBytes(file);
    QCOMPARE(doc.value(section, key), expected);
}

void TestProfileFile::valueLengthLimit_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expectedBytes");
    QTest::newRow("2047 bytes whole") << QByteArray(2047, 'a') << 2047;
    QTest::newRow("3000 bytes cut to 2047") << QByteArray(3000, 'a') << 2047;
    QByteArray kanji;
    for (int i = 0; i < 1500; ++i)
        kanji += "\x96\xbe";
    QTest::newRow("double-byte character not split") << kanji << 2046;
    QTest::newRow("odd start ends on a whole character") << QByteArray("a" + kanji) << 2047;
}

void TestProfileFile::valueLengthLimit()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expectedBytes);
    const ProfileFile doc = ProfileFile::fromBytes("[s]\r\nk=" + value + "\r\n");
    const OptionalText text = doc.value(u"s", u"k");
    QVERIFY(text.has_value());
    QCOMPARE(cp932::encode(*text), value.left(expectedBytes));
}

void TestProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<Write>>("writes");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("new document: header then keys in written order")
        << QByteArray()
        << QList<Write>{{u8("letter"), u8("FormTop"), u8("10")},
                        {u8("letter"), u8("FormLeft"), u8("20")}}
        << QByteArray("[letter]\r\nFormTop=10\r\nFormLeft=20\r\n");
    QTest::newRow("value replaced in its line, rest byte for byte")
        << QByteArray("; layout\r\n[other]\r\nx=1\n\n[letter]\r\nFormTop=10\r\nFormLeft=20\r\n; "
                      "end\r\n[z]\ry=2\r")
        << QList<Write>{{u8("letter"), u8("FormTop"), u8("99")}}
        << QByteArray("; layout\r\n[other]\r\nx=1\n\n[letter]\r\nFormTop=99\r\nFormLeft=20\r\n; "
                      "end\r\n[z]\ry=2\r");
    QTest::newRow("spelling of the file's key kept")
        << QByteArray("[LETTER]\r\nformtop = 1\r\n")
        << QList<Write>{{u8("letter"), u8("FormTop"), u8("5")}}
        << QByteArray("[LETTER]\r\nformtop =5\r\n");
    QTest::newRow("new key after the section's last key line")
        << QByteArray("[a]\r\nk=1\r\n\r\n; about b\r\n[b]\r\nj=2\r\n")
        << QList<Write>{{u8("a"), u8("n"), u8("new")}}
        << QByteArray("[a]\r\nk=1\r\nn=new\r\n\r\n; about b\r\n[b]\r\nj=2\r\n");
    QTest::newRow("new keys in written order") << QByteArray("[a]\r\nk=1\r\n")
                                               << QList<Write>{{u8("a"), u8("y"), u8("1")},
                                                               {u8("a"), u8("x"), u8("2")},
                                                               {u8("a"), u8("k"), u8("3")}}
                                               << QByteArray("[a]\r\nk=3\r\ny=1\r\nx=2\r\n");
    QTest::newRow("new key in a section without keys")
        << QByteArray("[a]\r\n\r\n[b]\r\n") << QList<Write>{{u8("a"), u8("k"), u8("1")}}
        << QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\n");
    QTest::newRow("header at end without break")
        << QByteArray("[a]") << QList<Write>{{u8("a"), u8("k"), u8("1")}}
        << QByteArray("[a]\r\nk=1\r\n");
    QTest::newRow("last key without break replaced")
        << QByteArray("[a]\r\nk=1") << QList<Write>{{u8("a"), u8("k"), u8("22")}}
        << QByteArray("[a]\r\nk=22");
    QTest::newRow("last key without break, key added")
        << QByteArray("[a]\r\nk=1") << QList<Write>{{u8("a"), u8("j"), u8("2")}}
        << QByteArray("[a]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("empty last value without break replaced and key added")
        << QByteArray("[a]\r\nk=")
        << QList<Write>{{u8("a"), u8("k"), u8("1")}, {u8("a"), u8("j"), u8("2")}}
        << QByteArray("[a]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("missing section appended")
        << QByteArray("[old]\r\nk=1\r\n") << QList<Write>{{u8("letter"), u8("FormTop"), u8("10")}}
        << QByteArray("[old]\r\nk=1\r\n[letter]\r\nFormTop=10\r\n");
    QTest::newRow("missing section appended after a break")
        << QByteArray("[old]\r\nk=1") << QList<Write>{{u8("letter"), u8("FormTop"), u8("10")}}
        << QByteArray("[old]\r\nk=1\r\n[letter]\r\nFormTop=10\r\n");
    QTest::newRow("LF-only file keeps its breaks")
        << QByteArray("[a]\nk=1\nj=2\n")
        << QList<Write>{{u8("a"), u8("k"), u8("5")}, {u8("a"), u8("n"), u8("6")}}
        << QByteArray("[a]\nk=5\nj=2\nn=6\r\n");
    QTest::newRow("only the first duplicate key changes")
        << QByteArray("[a]\r\nk=1\r\nk=2\r\n") << QList<Write>{{u8("a"), u8("K"), u8("9")}}
        << QByteArray("[a]\r\nk=9\r\nk=2\r\n");
    QTest::newRow("written twice: last value, one line")
        << QByteArray() << QList<Write>{{u8("a"), u8("k"), u8("1")}, {u8("a"), u8("k"), u8("2")}}
        << QByteArray("[a]\r\nk=2\r\n");
    QTest::newRow("line breaks in a value become blanks")
        << QByteArray() << QList<Write>{{u8("a"), u8("k"), u8("x\r\ny\nz")}}
        << QByteArray("[a]\r\nk=x  y z\r\n");
    QTest::newRow("code page 932 names and values")
        << QByteArray() << QList<Write>{{u8("ソ表能"), u8("mm1FontName"), u8("ＭＳ Ｐ明朝")}}
        << QByteArray("[" + kSoHyouNou + "]\r\nmm1FontName=" + kMsPMinchoFull + "\r\n");
    QTest::newRow("existing empty file")
        << QByteArray("\r\n") << QList<Write>{{u8("a"), u8("k"), u8("1")}}
        << QByteArray("\r\n[a]\r\nk=1\r\n");
}

void TestProfileFile::write()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<Write>, writes);
    QFETCH(QByteArray, expected);
    ProfileFile doc = ProfileFile::fromBytes(file);
    for (const Write &w : writes)
        doc.setValue(w.section, w.key, w.value);
    QCOMPARE(doc.toBytes(), expected);
}

void TestProfileFile::untouchedDocumentIsUnchanged_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("mixed breaks") << QByteArray("[a]\r\nk=1\n\rj=2\r\r\n;c");
    QTest::newRow("binary") << QByteArray("\0\xff[\x81]=\r\n\x83", 10);
}

// Reading never changes what a save writes.
void TestProfileFile::untouchedDocumentIsUnchanged()
{
    QFETCH(QByteArray, file);
    const ProfileFile doc = ProfileFile::fromBytes(file);
    doc.value(u"a", u"k");
    doc.value(u"missing", u"k");
    QCOMPARE(doc.toBytes(), file);
}

void TestProfileFile::readsBackWhatItWrote()
{
    ProfileFile doc = ProfileFile::fromBytes("[letter]\r\nFormTop=1\r\n");
    doc.setValue(u"letter", u"FormTop", u8("  padded  "));
    doc.setInt(u"letter", u"FormLeft", -40);
    doc.setValue(u"new", u"mm1FontName", u8("ＭＳ Ｐ明朝"));
    QCOMPARE(doc.value(u"letter", u"FormTop"), OptionalText(u8("padded")));
    QCOMPARE(doc.readInt(u"letter", u"FormLeft", 20), -40);
    QCOMPARE(doc.value(u"NEW", u"MM1FONTNAME"), OptionalText(u8("ＭＳ Ｐ明朝")));

    // A fresh parse of the saved bytes agrees.
    const ProfileFile again = ProfileFile::fromBytes(doc.toBytes());
    QCOMPARE(again.value(u"letter", u"FormTop"), OptionalText(u8("padded")));
    QCOMPARE(again.readInt(u"letter", u"FormLeft", 20), -40);
    QCOMPARE(again.value(u"new", u"mm1FontName"), OptionalText(u8("ＭＳ Ｐ明朝")));
}

void TestProfileFile::parseInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint32>>("expected");
    using I = std::optional<qint32>;
    QTest::newRow("decimal") << u8("30") << I(30);
    QTest::newRow("negative") << u8("-40") << I(-40);
    QTest::newRow("plus sign") << u8("+7") << I(7);
    QTest::newRow("leading zeros") << u8("007") << I(7);
    QTest::newRow("minus zero") << u8("-0") << I(0);
    QTest::newRow("0x1E") << u8("0x1E") << I(30);
    QTest::newRow("0X1e") << u8("0X1e") << I(30);
    QTest::newRow("$1e") << u8("$1e") << I(30);
    QTest::newRow("x1E") << u8("x1E") << I(30);
    QTest::newRow("X1E") << u8("X1E") << I(30);
    QTest::newRow("-$10") << u8("-$10") << I(-16);
    QTest::newRow("-0x10") << u8("-0x10") << I(-16);
    QTest::newRow("+$10") << u8("+$10") << I(16);
    QTest::newRow("$FFFFFFFF is -1") << u8("$FFFFFFFF") << I(-1);
    QTest::newRow("$80000000 is the minimum") << u8("$80000000") << I(-2147483647 - 1);
    QTest::newRow("$7FFFFFFF") << u8("$7FFFFFFF") << I(2147483647);
    QTest::newRow("-$80000000 wraps") << u8("-$80000000") << I(-2147483647 - 1);
    QTest::newRow("leading zeros are not significant") << u8("$000000001F") << I(31);
    QTest::newRow("0x with leading zeros") << u8("0x00000000FFFFFFFF") << I(-1);
    QTest::newRow("int32 maximum") << u8("2147483647") << I(2147483647);
    QTest::newRow("int32 minimum") << u8("-2147483648") << I(-2147483647 - 1);

    QTest::newRow("2147483648 out of range") << u8("2147483648") << I();
    QTest::newRow("-2147483649 out of range") << u8("-2147483649") << I();
    QTest::newRow("very long decimal") << u8("99999999999999999999999") << I();
    QTest::newRow("nine significant hex digits") << u8("$100000000") << I();
    QTest::newRow("empty") << u8("") << I();
    QTest::newRow("unit") << u8("30px") << I();
    QTest::newRow("decimal point") << u8("3.0") << I();
    QTest::newRow("blank inside") << u8("3 0") << I();
    QTest::newRow("leading blank") << u8(" 30") << I();
    QTest::newRow("sign only") << u8("-") << I();
    QTest::newRow("two signs") << u8("--5") << I();
    QTest::newRow("prefix only $") << u8("$") << I();
    QTest::newRow("prefix only 0x") << u8("0x") << I();
    QTest::newRow("sign and prefix only") << u8("-0x") << I();
    QTest::newRow("sign after prefix") << u8("0x-5") << I();
    QTest::newRow("two prefixes") << u8("$0x5") << I();
    QTest::newRow("hex digits without prefix") << u8("1E") << I();
    QTest::newRow("bad hex digit") << u8("$1G") << I();
    QTest::newRow("full-width digits") << u8("３０") << I();
    QTest::newRow("Arabic-Indic digits") << u8("٣٠") << I();
}

void TestProfileFile::parseInt()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint32>, expected);
    QCOMPARE(parseProfileInt(text), expected);
}

void TestProfileFile::readInt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("0x1E") << QByteArray("[l]\r\nFormLeft=0x1E\r\n") << 30;
    QTest::newRow("blanks around hex") << QByteArray("[l]\r\nFormLeft=  $1e \r\n") << 30;
    QTest::newRow("-40") << QByteArray("[l]\r\nFormLeft=-40\r\n") << -40;
    QTest::newRow("30px gives the default") << QByteArray("[l]\r\nFormLeft=30px\r\n") << 20;
    QTest::newRow("empty gives the default") << QByteArray("[l]\r\nFormLeft=\r\n") << 20;
    QTest::newRow("missing gives the default") << QByteArray("[l]\r\n") << 20;
    QTest::newRow("out of range gives the default")
        << QByteArray("[l]\r\nFormLeft=2147483648\r\n") << 20;
    QTest::newRow("quoted number") << QByteArray("[l]\r\nFormLeft=\"25\"\r\n") << 25;
}

void TestProfileFile::readInt()
{
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    QCOMPARE(ProfileFile::fromBytes(file).readInt(u"l", u"FormLeft", 20), expected);
}

void TestProfileFile::loadMissingFile()
{
    QTemporaryDir dir;
    const Result<ProfileFile> read =
        ProfileFile::load(dir.filePath(QStringLiteral("letter38.ini")));
    QVERIFY(read);
    const ProfileFile &doc = *read;
    QVERIFY(!doc.existed());
    QCOMPARE(doc.value(u"letter", u"FormLeft"), OptionalText());
    QCOMPARE(doc.toBytes(), QByteArray());
}

void TestProfileFile::loadAndSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter38.ini"));
    {
        ProfileFile doc = ProfileFile::load(path).value();
        doc.setInt(u"letter", u"FormTop", 10);
        const Result<void> saved = doc.save();
        QVERIFY2(saved, qPrintable(saved.error()));
    }
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("; kept\r\n");
    }
    Result<ProfileFile> read = ProfileFile::load(path);
    QVERIFY(read);
    ProfileFile &doc = read.value();
    QVERIFY(doc.existed());
    QCOMPARE(doc.readInt(u"letter", u"FormTop", 0), 10);
    doc.setInt(u"letter", u"FormTop", 11);
    QVERIFY(doc.save());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[letter]\r\nFormTop=11\r\n; kept\r\n"));
}

void TestProfileFile::unreadableFileGivesNoDocument_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a directory in its place") << u8("directory");
    QTest::newRow("larger than the size limit") << u8("huge");
}

// Saving a document read as empty would replace content it never saw.
void TestProfileFile::unreadableFileGivesNoDocument()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("letter38.ini"));
    if (kind == u8("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("letter38.ini")));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[letter]\r\nFormTop=5\r\n");
        QVERIFY(file.resize(ProfileFile::kMaxFileSize + 1)); // sparse: costs no disk
    }
    // No document at all: nothing a caller could save over the file.
    const Result<ProfileFile> read = ProfileFile::load(path);
    QVERIFY(!read);
    QVERIFY(!read.error().isEmpty());
    if (kind == u8("huge"))
        QCOMPARE(QFileInfo(path).size(), ProfileFile::kMaxFileSize + 1);
    else
        QVERIFY(QFileInfo(path).isDir());
}

void TestProfileFile::hostileContent_data()
{
    QTest::addColumn<QByteArray>("file");
    QByteArray garbage(4 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(1234);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    QTest::newRow("4 MB of binary garbage") << garbage;
    QTest::newRow("a 2 MB line") << QByteArray(
        "[letter]\r\nFormTop=" + QByteArray(2 * 1024 * 1024, '7') + "\r\n");
    QTest::newRow("2 MB of NUL") << QByteArray(2 * 1024 * 1024, '\0');
    QByteArray manyKeys("[letter]\r\n");
    for (int i = 0; i < 200000; ++i)
        manyKeys += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    QTest::newRow("200000 keys") << manyKeys;
    QByteArray manySections;
    for (int i = 0; i < 200000; ++i)
        manySections += "[s" + QByteArray::number(i) + "]\n";
    QTest::newRow("200000 sections") << manySections;
    QByteArray crOnly("[letter]\r");
    for (int i = 0; i < 200000; ++i)
        crOnly += "k=1\r";
    QTest::newRow("200000 CR-only lines") << crOnly;
    QTest::newRow("lead byte at the very end") << QByteArray("[letter]\r\nFormTop=\x81");
    QTest::newRow("open header with lead byte") << QByteArray("[\x81");
}

// Any content reads without a crash, and a write changes only what it must.
void TestProfileFile::hostileContent()
{
    QFETCH(QByteArray, file);
    ProfileFile doc = ProfileFile::fromBytes(file);
    doc.readInt(u"letter", u"FormTop", 10);
    doc.value(u"letter", u"k199999");
    doc.setInt(u"letter", u"FormLeft", 20);
    doc.setInt(u"letter", u"FormTop", 10);
    const QByteArray saved = doc.toBytes();
    QVERIFY(saved.size() >= 30);
    const ProfileFile again = ProfileFile::fromBytes(saved);
    QCOMPARE(again.readInt(u"letter", u"FormLeft", 0), 20);
    QCOMPARE(again.readInt(u"letter", u"FormTop", 0), 10);
}

// Keys sharing an index hash (k24956 and k149454, k57335 and k181764 with
// the present hash) must each still find their own line, for reading and
// for replacing; the rest checks a large section throughout.
void TestProfileFile::everyKeyOfALargeSection()
{
    QList<int> numbers;
    for (int i = 0; i < 20000; ++i)
        numbers.append(i);
    numbers += {24956, 149454, 57335, 181764};
    QByteArray file("[letter]\r\n");
    for (const int i : numbers)
        file += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    ProfileFile doc = ProfileFile::fromBytes(file);
    for (const int i : numbers) {
        const QString key = QStringLiteral("K%1").arg(i);
        if (doc.readInt(u"letter", key, -1) != i)
            QFAIL(qPrintable(key));
    }
    for (const int i : numbers)
        doc.setInt(u"letter", QStringLiteral("k%1").arg(i), -i);
    const QByteArray saved = doc.toBytes();
    QCOMPARE(saved.size(), file.size() + numbers.size() - 1); // a "-" for each but "0"
    const ProfileFile again = ProfileFile::fromBytes(saved);
    for (const int i : numbers) {
        if (again.readInt(u"letter", QStringLiteral("k%1").arg(i), 1) != -i)
            QFAIL(qPrintable(QString::number(i)));
    }
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "platform/cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"

#include <unistd.h>

#include "customerreadcheck.h"

namespace {

const QString kSentinel = QStringLiteral("<old>");
const QChar kIdeographicSpace(0x3000);

// A table holding an earlier read: every cell of rows 0..9 is the sentinel.
CustomerTable oldTable()
{
    CustomerTable table;
    for (int row = 0; row < 10; ++row)
        for (int column = 0; column < CustomerTable::kColumns; ++column)
            table.setCell(column, row, kSentinel);
    table.setRowCount(10);
    return table;
}

QStringList rowCells(const CustomerTable &table, int row)
{
    QStringList cells;
    for (int column = 0; column < CustomerTable::kColumns; ++column)
        cells.append(table.cell(column, row));
    return cells;
}

} // namespace

class TestTextCustomerReader : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void lines_data();
    void lines();
    void fields_data();
    void fields();
    void badLine_data();
    void badLine();
    void shiftJisFieldsKeepTrailBytes();
    void listEntriesLoseIdeographicSpaces();

    void missingFileLeavesTable();
    void unreadableFileIsAnError();
    void readsFileFromPath();
    void exportsInEitherCharset_data();
    void exportsInEitherCharset();
    void fileReadMatchesBytesRead_data();
    void fileReadMatchesBytesRead();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTextCustomerReader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTextCustomerReader::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("empty file") << QByteArray() << 0 << QStringList();
    QTest::newRow("only a line break is one empty customer")
        << QByteArray("\r\n") << 0 << QStringList{QString()};
    QTest::newRow("lone LF is one empty customer")
        << QByteArray("\n") << 0 << QStringList{QString()};
    QTest::newRow("CR LF") << QByteArray("a1,b1\r\na2,b2\r\n") << 0
                           << QStringList{u"a1"_qs, u"a2"_qs};
    QTest::newRow("LF") << QByteArray("a1,b1\na2,b2\n") << 0 << QStringList{u"a1"_qs, u"a2"_qs};
    QTest::newRow("CR") << QByteArray("a1,b1\ra2,b2\r") << 0 << QStringList{u"a1"_qs, u"a2"_qs};
    QTest::newRow("no final break")
        << QByteArray("a1,b1\r\na2,b2") << 0 << QStringList{u"a1"_qs, u"a2"_qs};
    QTest::newRow("mixed breaks") << QByteArray("a1\ra2\na3\r\na4") << 0
                                  << QStringList{u"a1"_qs, u"a2"_qs, u"a3"_qs, u"a4"_qs};
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << 0 << QStringList{u"a"_qs, QString(), u"b"_qs};
    QTest::newRow("empty lines are customers")
        << QByteArray("a\r\n\r\nb\r\n") << 0 << QStringList{u"a"_qs, QString(), u"b"_qs};
    QTest::newRow("NUL ends the text")
        << QByteArray("a,b\r\nc\0d\r\ne,f", 13) << 0 << QStringList{u"a"_qs, u"c"_qs};
    QTest::newRow("NUL first") << QByteArray("\0a,b", 4) << 0 << QStringList();
    QTest::newRow("person key") << QByteArray("a1,b1\r\na2,b2\r\n") << 1
                                << QStringList{u"b1"_qs, u"b2"_qs};
    QTest::newRow("person key missing field is empty")
        << QByteArray("a1\r\n") << 1 << QStringList{QString()};
}

void TestTextCustomerReader::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, key);
    QFETCH(QStringList, entries);

    CustomerTable table = oldTable();
    const CustomerRead result = textcustomerreader::readBytes(bytes, key, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QVERIFY(result.error().isEmpty());
    QCOMPARE(countOf(result), entries.size());
    QCOMPARE(entriesOf(result), entries);
    QCOMPARE(table.rowCount(), entries.size());
    for (int row = 0; row < entries.size(); ++row) {
        QCOMPARE(table.cell(key, row), entries[row]);
        // Column 6 is the fax field, empty here: what an earlier read left
        // there would be another customer's number. Column 7 belongs to no
        // text field.
        QCOMPARE(table.cell(6, row), QString());
        QCOMPARE(table.cell(7, row), kSentinel);
    }
    // Rows past the count keep the earlier read.
    QCOMPARE(table.cell(0, int(entries.size())), kSentinel);
}

void TestTextCustomerReader::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("columns");

    const QString e;
    const QString s = QString(kIdeographicSpace);
    QTest::newRow("a,,c") << u"a,,c"_qs << QStringList{u"a"_qs, e, u"c"_qs, e, e, e};
    QTest::newRow("a alone") << u"a"_qs << QStringList{u"a"_qs, e, e, e, e, e};
    QTest::newRow("empty line") << QString() << QStringList{e, e, e, e, e, e};
    QTest::newRow("the seventh field is the fax number, later ones are ignored")
        << u"1,2,3,4,5,6,7,8"_qs
        << QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs, u"7"_qs};
    QTest::newRow("half-width space stays in its field")
        << u8("山田 太郎,x") << QStringList{u8("山田") + s + u8("太郎"), u"x"_qs, e, e, e, e};
    QTest::newRow("spaces around a field are kept as ideographic")
        << u" a , b"_qs << QStringList{s + u"a"_qs + s, s + u"b"_qs, e, e, e, e};
    QTest::newRow("quoted comma") << u"\"x,y\",z"_qs << QStringList{u"x,y"_qs, u"z"_qs, e, e, e, e};
    QTest::newRow("doubled quotes")
        << u"\"a \"\"b\"\"\",c"_qs << QStringList{u"a\u3000\"b\""_qs, u"c"_qs, e, e, e, e};
    QTest::newRow("quoted then text shifts later fields")
        << u"\"x\"y,z,w"_qs << QStringList{u"x"_qs, u"y"_qs, u"z"_qs, u"w"_qs, e, e};
    QTest::newRow("tab splits and shifts later fields")
        << u"a\tb,c,d"_qs << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, e, e};
    QTest::newRow("quote left open at field 5 is accepted")
        << u"a,b,c,d,e,\"f"_qs
        << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs, u"f,,,,,,,"_qs};
    QTest::newRow("quote left open at the fax field: no fax, no error")
        << u"a,b,c,d,e,f,\"g"_qs
        << QStringList{u"a"_qs, u"b"_qs, u"c"_qs, u"d"_qs, u"e"_qs, u"f"_qs, u"g,,,,,,,"_qs};
}

void TestTextCustomerReader::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, columns);

    CustomerTable table = oldTable();
    const QByteArray bytes = cp932::encode(line) + "\r\n" + cp932::encode(line) + "\r\n";
    const CustomerRead result = textcustomerreader::readBytes(bytes, 0, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QCOMPARE(countOf(result), 2);
    // Six columns always, the seventh (fax) where the line has one.
    const QStringList expected = columns.size() > 6 ? columns : columns + QStringList{QString()};
    for (int row = 0; row < 2; ++row) {
        QCOMPARE(rowCells(table, row).mid(0, 7), expected);
        QCOMPARE(entriesOf(result)[row], columns[0]);
    }
}

void TestTextCustomerReader::badLine_data()
{
    QTest::addColumn<QString>("malformed");
    QTest::addColumn<int>("missingField");

    QTest::newRow("open quote in field 0") << u"\"open"_qs << 1;
    QTest::newRow("open quote in field 1") << u"a,\"open"_qs << 2;
    QTest::newRow("open quote in field 2") << u"a,b,\"open"_qs << 3;
    QTest::newRow("open quote in field 4") << u"a,b,c,d,\"open"_qs << 5;
    QTest::newRow("quoted text shifts the open quote") << u"\"x\"y,\"open"_qs << 3;
}

void TestTextCustomerReader::badLine()
{
    QFETCH(QString, malformed);
    QFETCH(int, missingField);

    // Lines 0 and 2 are malformed; the read meets line 2 first, coming from
    // the end, and stops there.
    const QStringList lines{u"x0,\"bad"_qs, u"ok1,p1"_qs, malformed, u"ok3,p3"_qs, u"ok4,p4"_qs};
    const QByteArray bytes = cp932::encode(lines.join(u"\r\n"_qs));

    CustomerTable table = oldTable();
    const CustomerRead result = textcustomerreader::readBytes(bytes, 1, table);
    QCOMPARE(kindOf(result), ReadKind::BadLine);
    QVERIFY(!result.ok());
    QCOMPARE(result.error(), u8("リストのインデックスが範囲を超えています (%1)").arg(missingField));
    QCOMPARE(countOf(result), 5);
    QCOMPARE(table.rowCount(), 5);
    QVERIFY(entriesOf(result).isEmpty());

    // Lines after the malformed one are stored.
    QCOMPARE(table.cell(0, 3), u"ok3"_qs);
    QCOMPARE(table.cell(1, 4), u"p4"_qs);
    QCOMPARE(table.cell(5, 4), QString());
    // The malformed row keeps the fields before the missing one.
    const QStringList fields = [&] {
        QStringList f;
        for (int column = 0; column < missingField; ++column)
            f.append(table.cell(column, 2));
        return f;
    }();
    QCOMPARE(fields.size(), missingField);
    QVERIFY(!fields.contains(kSentinel));
    for (int column = missingField; column < CustomerTable::kColumns; ++column)
        QCOMPARE(table.cell(column, 2), kSentinel);
    // Lines before it are not read.
    QCOMPARE(rowCells(table, 0), QStringList(CustomerTable::kColumns, kSentinel));
    QCOMPARE(rowCells(table, 1), QStringList(CustomerTable::kColumns, kSentinel));
}

void TestTextCustomerReader::shiftJisFieldsKeepTrailBytes()
{
    // ソ 表 能 end in 0x5C, the byte of "\"; a byte-wise reader would see a
    // backslash there.
    const QByteArray bytes("\x83\x5C\x95\x5C,\x94\x5C\x97\xCD,\x83\x5C\r\n");
    CustomerTable table;
    const CustomerRead result = textcustomerreader::readBytes(bytes, 0, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QCOMPARE(table.cell(0, 0), u8("ソ表"));
    QCOMPARE(table.cell(1, 0), u8("能力"));
    QCOMPARE(table.cell(2, 0), u8("ソ"));
    QCOMPARE(entriesOf(result), QStringList{u8("ソ表")});
    QCOMPARE(cp932::encode(table.cell(0, 0)), QByteArray("\x83\x5C\x95\x5C"));
}

void TestTextCustomerReader::listEntriesLoseIdeographicSpaces()
{
    // 山田 太郎 with a half-width space and 佐藤　花子 with an ideographic one.
    const QByteArray bytes = cp932::encode(u8("山田 太郎,a\r\n佐藤　花子,b\r\n"));
    CustomerTable table;
    const CustomerRead result = textcustomerreader::readBytes(bytes, 0, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QCOMPARE(table.cell(0, 0), u8("山田　太郎"));
    QCOMPARE(table.cell(0, 1), u8("佐藤　花子"));
    const QStringList shown =
        customerlist::listEntriesWithout(entriesOf(result), kIdeographicSpace);
    QCOMPARE(shown, (QStringList{u8("山田太郎"), u8("佐藤花子")}));
    // The table keeps its spaces.
    QCOMPARE(table.cell(0, 0), u8("山田　太郎"));
}

void TestTextCustomerReader::missingFileLeavesTable()
{
    CustomerTable table = oldTable();
    const CustomerRead result =
        textcustomerreader::read(m_dir->filePath(u"smpl1.txt"_qs), 0, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QVERIFY(result.ok());
    QCOMPARE(countOf(result), 0);
    QVERIFY(entriesOf(result).isEmpty());
    QVERIFY(result.error().isEmpty());
    QCOMPARE(table.rowCount(), 10);
    QCOMPARE(table.cell(0, 0), kSentinel);
}

void TestTextCustomerReader::unreadableFileIsAnError()
{
    // A file that exists but cannot be read. Root reads any file, so there
    // one whose read fails stands in.
    QString path;
    if (geteuid() == 0) {
        path = u"/proc/self/mem"_qs;
    } else {
        path = m_dir->filePath(u"smpl1.txt"_qs);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("a,b\r\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::Permissions()));
    }
    CustomerTable table = oldTable();
    const CustomerRead result = textcustomerreader::read(path, 0, table);
    QCOMPARE(kindOf(result), ReadKind::OpenFailed);
    QVERIFY(!result.ok());
    QCOMPARE(countOf(result), 0);
    QVERIFY(entriesOf(result).isEmpty());
    const QString head = u8("ファイル \"") + path + u8("\". ");
    const QString tail = u8(" は開けません");
    QVERIFY2(result.error().startsWith(head) && result.error().endsWith(tail),
             qPrintable(result.error()));
    // The system's reason sits between path and tail.
    QVERIFY(result.error().size() > head.size() + tail.size());
    QCOMPARE(table.rowCount(), 10);
    QCOMPARE(table.cell(0, 0), kSentinel);
}

void TestTextCustomerReader::readsFileFromPath()
{
    const QString path = m_dir->filePath(u"smpl1.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(cp932::encode(u8("株式会社 ソ表,能見 太郎,大阪,,〒530\r\n会社二,担当二\r\n")));
    file.close();

    CustomerTable table;
    const CustomerRead result = textcustomerreader::read(path, 1, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QCOMPARE(countOf(result), 2);
    QCOMPARE(entriesOf(result), (QStringList{u8("能見　太郎"), u8("担当二")}));
    QCOMPARE(rowCells(table, 0).mid(0, 6),
             (QStringList{u8("株式会社　ソ表"), u8("能見　太郎"), u8("大阪"), QString(),
                          u8("〒530"), QString()}));
}

void TestTextCustomerReader::fileReadMatchesBytesRead_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("lines");
    // Several megabytes: the file read gives its pages back on the way.
    QTest::newRow("300k CR LF lines") << QByteArray("\x8a\x94 a,b c,\"d,e\"\r\n") << 300000;
    QTest::newRow("lone CR lines, bad bytes") << QByteArray("\x82,\x80\xa0x\r") << 400000;
}

void TestTextCustomerReader::fileReadMatchesBytesRead()
{
    QFETCH(QByteArray, line);
    QFETCH(int, lines);
    const QByteArray bytes = line.repeated(lines) + QByteArray("last,one");
    const QString path = m_dir->filePath(u"smpl1.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    CustomerTable fromFile;
    CustomerTable fromBytes;
    const CustomerRead a = textcustomerreader::read(path, 0, fromFile);
    const CustomerRead b = textcustomerreader::readBytes(bytes, 0, fromBytes);
    QCOMPARE(kindOf(a), ReadKind::Read);
    QCOMPARE(countOf(a), lines + 1);
    QCOMPARE(entriesOf(a), entriesOf(b));
    for (int row : {0, lines / 2, lines - 1, lines}) {
        for (int column = 0; column < 6; ++column)
            QCOMPARE(fromFile.cell(column, row), fromBytes.cell(column, row));
    }
    QCOMPARE(fromFile.cell(1, lines), u"one"_qs);
    // The text file fills columns 0 to 5 only.
    QVERIFY(!fromFile.hasColumn(6));
    QVERIFY(!fromFile.hasColumn(7));
}

void TestTextCustomerReader::exportsInEitherCharset_data()
{
    QTest::addColumn<QByteArray>("bytes");

    // The same two customers as a spreadsheet program or a web export saves
    // them, and as the office's old list in code page 932.
    const QString text = u8("株式会社 ソ表,能見 太郎,大阪\r\nｶﾌﾞｼｷｶﾞｲｼｬ,担当二\r\n");
    QTest::newRow("UTF-8 with the mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QTest::newRow("UTF-8 without the mark") << text.toUtf8();
    QTest::newRow("code page 932") << cp932::encode(text);
}

void TestTextCustomerReader::exportsInEitherCharset()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir->filePath(u"smpl1.txt"_qs);
    QVERIFY(writePlain(path, bytes));

    CustomerTable table;
    const CustomerRead result = textcustomerreader::read(path, 0, table);
    QCOMPARE(kindOf(result), ReadKind::Read);
    QCOMPARE(countOf(result), 2);
    // The mark is not part of the first company.
    QCOMPARE(entriesOf(result), (QStringList{u8("株式会社　ソ表"), u8("ｶﾌﾞｼｷｶﾞｲｼｬ")}));
    QCOMPARE(rowCells(table, 0).mid(0, 3),
             (QStringList{u8("株式会社　ソ表"), u8("能見　太郎"), u8("大阪")}));
}

QTEST_APPLESS_MAIN(TestTextCustomerReader)
#include "tst_textcustomerreader.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxtextfile.h"

#include "letter/boxtable.h"
#include "platform/atomicfile.h"

#include "tests/platform/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "../testrig.h"

#include <cerrno>

namespace {

// ソ 表 能: trail byte 0x5C, the backslash.
const QByteArray kSoHyouNou("\x83\x5c\x95\x5c\x94\x5c");

} // namespace

class TestBoxTextFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void paths_data();
    void paths();
    void loadAndSaveOrder();

    void load_data();
    void load();
    void loadMissingFile();
    void roundTripIsByteForByte_data();
    void roundTripIsByteForByte();
    void save_data();
    void save();
    void nulDropsTheRestOnNextSave();

    void loadFailure();
    void saveFailure_data();
    void saveFailure();
    void unprivileged_data();
    void unprivileged();
    void readOnlyFolder_data();
    void readOnlyFolder();

    void shouldSaveAddressee_data();
    void shouldSaveAddressee();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_programDir;
    QString dataPath(int box) const { return boxtextfile::filePath(m_programDir, box); }
};

void TestBoxTextFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_programDir = m_dir->path() + u'/';
    QVERIFY(QDir().mkpath(m_programDir + boxtextfile::kDataDirName));
}

void TestBoxTextFile::cleanup()
{
    atomicfile::resetInstance();
    unprivileged::chmodTo(m_dir->path(), 0700);
    m_dir.reset();
}

void TestBoxTextFile::paths_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("A 本文") << 0 << u8("1本文.txt");
    QTest::newRow("B 宛名") << 1 << u8("2宛名.txt");
    QTest::newRow("C 署名") << 2 << u8("3署名.txt");
    QTest::newRow("D has no file") << 3 << QString();
    QTest::newRow("E 標題") << 4 << u8("5標題.txt");
    QTest::newRow("F 記書き") << 5 << u8("6記書き.txt");
    QTest::newRow("G 記") << 6 << u8("7記.txt");
    QTest::newRow("H 結") << 7 << u8("8結.txt");
}

void TestBoxTextFile::paths()
{
    QFETCH(int, box);
    QFETCH(QString, fileName);
    QCOMPARE(boxtextfile::fileName(box), fileName);
    QCOMPARE(boxtextfile::hasTextFile(box), !fileName.isEmpty());
    QCOMPARE(boxtextfile::filePath(u8("/apps/letter/"), box),
             fileName.isEmpty() ? QString() : u8("/apps/letter/Data/") + fileName);
}

void TestBoxTextFile::loadAndSaveOrder()
{
    QList<int> numbers;
    for (const int box : boxtextfile::kTextBoxes)
        numbers.append(boxtable::boxNumber(box));
    QCOMPARE(numbers, (QList<int>{1, 2, 3, 5, 6, 7, 8}));
}

void TestBoxTextFile::load_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("0-byte file: empty box") << QByteArray() << QString();
    QTest::newRow("CR LF kept") << QByteArray("a\r\nb") << u8("a\r\nb");
    QTest::newRow("LF only becomes CR LF") << QByteArray("a\nb\n") << u8("a\r\nb\r\n");
    QTest::newRow("CR only becomes CR LF") << QByteArray("a\rb\r") << u8("a\r\nb\r\n");
    QTest::newRow("mixed breaks") << QByteArray("a\r\r\nb\n\rc") << u8("a\r\n\r\nb\r\n\r\nc");
    QTest::newRow("final CR LF: empty last line") << QByteArray("a\r\n") << u8("a\r\n");
    QTest::newRow("NUL ends the text") << QByteArray("before\0after", 12) << u8("before");
    QTest::newRow("NUL first: empty box") << QByteArray("\0abc", 4) << QString();
    QTest::newRow("0x5C trail bytes") << QByteArray(kSoHyouNou + "\r\n\\") << u8("ソ表能\r\n\\");
    QTest::newRow("ideographic space") << QByteArray("\x81\x40") << u8("\u3000");
}

void TestBoxTextFile::load()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QVERIFY(writePlain(dataPath(0), file));
    const auto loaded = boxtextfile::loadBoxText(dataPath(0));
    QVERIFY(loaded);
    QCOMPARE(loaded.value(), std::optional<QString>(text));
}

void TestBoxTextFile::loadMissingFile()
{
    const auto loaded = boxtextfile::loadBoxText(dataPath(1));
    QVERIFY(loaded);
    QVERIFY(!loaded->has_value());
}

void TestBoxTextFile::roundTripIsByteForByte_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("final CR LF") << QByteArray("\x94\x71\x8c\x5b\r\n");
    QTest::newRow("no final break") << QByteArray("line 1\r\nline 2");
    QTest::newRow("blank lines") << QByteArray("\r\n\r\na\r\n\r\n");
    QTest::newRow("0x5C trail bytes") << QByteArray(kSoHyouNou + "\r\n" + kSoHyouNou);
    QTest::newRow("half-width kana") << QByteArray("\xb1\xb2\xb3");
    QTest::newRow("0x80, 0xA0, 0xFD-0xFF") << QByteArray("a\x80\xa0\xfd\xfe\xff\r\nb");
    QTest::newRow("lone lead byte before a break") << QByteArray("\x82\r\n\x82");
    QTest::newRow("unassigned pair inside kanji") << QByteArray("\x94\x71\x85\x40\x8c\x5b");
    QTest::newRow("lead byte and 0x7F") << QByteArray("\xe0\x7f");
}

void TestBoxTextFile::roundTripIsByteForByte()
{
    QFETCH(QByteArray, file);
    const QString path = dataPath(2);
    QVERIFY(writePlain(path, file));
    const auto loaded = boxtextfile::loadBoxText(path);
    QVERIFY(loaded && loaded->has_value());
    const Result<void> saved = boxtextfile::saveBoxText(path, **loaded);
    QVERIFY2(saved, qPrintable(saved.error()));
    QCOMPARE(readAll(path), file);
}

void TestBoxTextFile::save_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty box: 0-byte file") << QString() << QByteArray();
    QTest::newRow("no break added") << u8("拝啓") << QByteArray("\x94\x71\x8c\x5b");
    QTest::newRow("LF from the editor written as CR LF")
        << u8("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("CR LF written as is") << u8("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("unencodable character becomes ?") << u8("a\U0001F600b") << QByteArray("a?b");
}

void TestBoxTextFile::save()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, file);
    const QString path = dataPath(4);
    QVERIFY(writePlain(path, QByteArray("previous content that is longer")));
    const Result<void> saved = boxtextfile::saveBoxText(path, text);
    QVERIFY2(saved, qPrintable(saved.error()));
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(readAll(path), file);
    QCOMPARE(boxtextfile::encodeBoxText(text), file);
}

void TestBoxTextFile::nulDropsTheRestOnNextSave()
{
    const QString path = dataPath(5);
    QVERIFY(writePlain(path, QByteArray("kept\r\n\0dropped", 14)));
    const auto loaded = boxtextfile::loadBoxText(path);
    QVERIFY(loaded && loaded->has_value());
    QVERIFY(boxtextfile::saveBoxText(path, **loaded));
    QCOMPARE(readAll(path), QByteArray("kept\r\n"));
}

void TestBoxTextFile::loadFailure()
{
    // A directory where the file belongs cannot be read, even by root.
    const QString path = dataPath(0);
    QVERIFY(QDir().mkpath(path));
    const auto loaded = boxtextfile::loadBoxText(path);
    QVERIFY(!loaded);
    const QString message = loaded.error();
    const QString prefix = u8("ファイル \"") + path + u8("\". ");
    QVERIFY2(message.startsWith(prefix), qPrintable(message));
    QVERIFY(message.endsWith(u8(" は開けません")));
    QVERIFY(message.size() > prefix.size() + 7); // the system's reason in between
}

void TestBoxTextFile::saveFailure_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file") << u8("read-only") << qt_error_string(EACCES);
    QTest::newRow("data directory removed") << u8("no directory") << qt_error_string(ENOENT);
    QTest::newRow("disk full") << u8("disk full") << qt_error_string(ENOSPC);
}

// A failed save reports the create error and leaves the old text in place.
void TestBoxTextFile::saveFailure()
{
    QFETCH(QString, situation);
    QFETCH(QString, reason);
    const QString path = dataPath(2);
    const QByteArray old("\x8e\x81\x96\xbc");
    if (situation != u8("no directory"))
        QVERIFY(writePlain(path, old));
    if (situation == u8("read-only"))
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    else if (situation == u8("no directory"))
        QVERIFY(QDir(m_programDir + boxtextfile::kDataDirName).removeRecursively());
    else
        atomicfile::setInstance(
            [](atomicfile::Step s) { return s == atomicfile::Step::Write ? ENOSPC : 0; });

    const Result<void> saved = boxtextfile::saveBoxText(path, u8("new signature"));
    QVERIFY(!saved);
    QCOMPARE(saved.error(),
             u8("ファイル \"") + path + u8("\". ") + reason + u8(" を作成できません"));
    if (situation == u8("no directory"))
        QVERIFY(!QFileInfo::exists(m_programDir + boxtextfile::kDataDirName));
    else
        QCOMPARE(readAll(path), old);
}

// The permission checks as an ordinary user sees them: a file of another
// user in the user's own directory (which a plain rename would replace) and
// a file the user may not read.
void TestBoxTextFile::unprivileged_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("messageEnd");
    QTest::newRow("save over someone else's file: refused")
        << u8("save") << 0644 << false << u8(" を作成できません");
    QTest::newRow("save over a world-writable file: saved")
        << u8("save") << 0666 << true << QString();
    QTest::newRow("load of an unreadable file: open error")
        << u8("load") << 0600 << false << u8(" は開けません");
    QTest::newRow("load of a readable file") << u8("load") << 0644 << true << QString();
}

void TestBoxTextFile::unprivileged()
{
    QFETCH(QString, operation);
    QFETCH(int, fileMode);
    QFETCH(bool, succeeds);
    QFETCH(QString, messageEnd);

    const QString reason = unprivileged::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));

    QVERIFY(unprivileged::chmodTo(m_dir->path(), 0755));
    const QString dataDir = m_programDir + boxtextfile::kDataDirName;
    QVERIFY(unprivileged::chmodTo(dataDir, 0755));
    QVERIFY(unprivileged::chownTo(dataDir, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
    const QString path = dataPath(0);
    const QByteArray old("\x94\x71\x8c\x5b\r\n");
    QVERIFY(writePlain(path, old));
    QVERIFY(unprivileged::chmodTo(path, mode_t(fileMode)));

    QStringList arguments{operation, path};
    if (operation == u8("save"))
        arguments.append(u8("新しい本文"));
    const unprivileged::Result result =
        unprivileged::runAsNobody(QStringLiteral(BOXTEXT_PROBE), arguments);
    if (succeeds) {
        QCOMPARE(result.exitCode, 0);
    } else {
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output,
                 u8("ファイル \"") + path + u8("\". ") + qt_error_string(EACCES) + messageEnd);
    }
    if (operation == u8("save") && succeeds)
        QCOMPARE(readAll(path), QByteArray("\x90\x56\x82\xb5\x82\xa2\x96\x7b\x95\xb6"));
    else
        QCOMPARE(readAll(path), old);
}

// A data folder the user may not write (shared, locked down) holding box
// texts the user may write: those are saved in place, the close goes on; a
// box text that does not exist yet cannot be created there.
void TestBoxTextFile::readOnlyFolder_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("writable box text: saved in place") << true << true;
    QTest::newRow("new box text: create error") << false << false;
}

void TestBoxTextFile::readOnlyFolder()
{
    QFETCH(bool, fileExists);
    QFETCH(bool, succeeds);
    const QString reason = unprivileged::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));

    QVERIFY(unprivileged::chmodTo(m_dir->path(), 0755));
    const QString dataDir = m_programDir + boxtextfile::kDataDirName;
    const QString path = dataPath(0);
    const QByteArray old("\x94\x71\x8c\x5b\r\n\x8c\x68\x8b\xef\r\n");
    if (fileExists) {
        QVERIFY(writePlain(path, old));
        QVERIFY(unprivileged::chownTo(path, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
        QVERIFY(unprivileged::chmodTo(path, 0644));
    }
    QVERIFY(unprivileged::chmodTo(dataDir, 0755)); // root's, closed to nobody

    const unprivileged::Result result =
        unprivileged::runAsNobody(QStringLiteral(BOXTEXT_PROBE), {u8("save"), path, u8("新")});
    if (succeeds) {
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(readAll(path), QByteArray("\x90\x56")); // shorter: cut to its length
    } else {
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output, u8("ファイル \"") + path + u8("\". ") + qt_error_string(EACCES) +
                                    u8(" を作成できません"));
        QVERIFY(!QFileInfo::exists(path));
    }
    // No temporary file could be, or was, left in the folder.
    QCOMPARE(QDir(dataDir).entryList(QDir::Files | QDir::Hidden).size(), fileExists ? 1 : 0);
}

void TestBoxTextFile::shouldSaveAddressee_data()
{
    QTest::addColumn<int>("storedMode");
    QTest::addColumn<QString>("addressee");
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<bool>("expected");
    const QString name = u8("山田商事株式会社\r\n山田 太郎 様");
    QTest::newRow("mode 1, text, no marker: saved") << 1 << name << QString() << true;
    QTest::newRow("mode 0 (never chosen): not saved") << 0 << name << QString() << false;
    QTest::newRow("mode 2: not saved") << 2 << name << QString() << false;
    QTest::newRow("mode 3: not saved") << 3 << name << QString() << false;
    QTest::newRow("mode 4: not saved") << 4 << name << QString() << false;
    QTest::newRow("empty: not saved") << 1 << QString() << QString() << false;
    QTest::newRow("blanks, tabs, breaks only: not saved")
        << 1 << u8(" \t\r\n \r\n") << QString() << false;
    QTest::newRow("control characters only: not saved")
        << 1 << u8("\x01\x1f ") << QString() << false;
    QTest::newRow("ideographic spaces only: saved") << 1 << u8("\u3000\u3000") << QString() << true;
    QTest::newRow("text inside blanks: saved") << 1 << u8("\r\n x \r\n") << QString() << true;
    QTest::newRow("hand-off marker 01: not saved") << 1 << name << u8("01") << false;
    QTest::newRow("any two-byte text blocks") << 1 << name << u8("ab") << false;
    QTest::newRow("one kanji is two bytes: blocks") << 1 << name << u8("宛") << false;
    QTest::newRow("one byte does not block") << 1 << name << u8("0") << true;
    QTest::newRow("three bytes do not block") << 1 << name << u8("012") << true;
    QTest::newRow("two characters, four bytes, do not block") << 1 << name << u8("宛名") << true;
}

void TestBoxTextFile::shouldSaveAddressee()
{
    QFETCH(int, storedMode);
    QFETCH(QString, addressee);
    QFETCH(QString, edit2);
    QFETCH(bool, expected);
    QCOMPARE(boxtextfile::shouldSaveAddressee(storedMode, addressee, edit2), expected);
}

QTEST_GUILESS_MAIN(TestBoxTextFile)
#include "tst_boxtextfile.moc"

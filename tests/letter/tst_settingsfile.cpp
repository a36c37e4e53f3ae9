// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/settingsfile.h"

#include "letter/boxtable.h"
#include "letter/lettermodel.h"
#include "platform/cp932.h"
#include "platform/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"

#include <sys/stat.h>

namespace {

// The first close after a first run at screen height 768: window at 20, 10
// and the first-run layout with the form's full-width face.
struct FirstRunBox
{
    int fontSize, left, top, width, height;
};

void writeLayout(ProfileFile &doc, const QString &section)
{
    doc.setInt(section, settingsfile::kFormTop, 10);
    doc.setInt(section, settingsfile::kFormLeft, 20);
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        const FirstRunBox values{11, 45 + box, 201 + box, 371 - box, 90 - box};
        for (const settingsfile::BoxKey key : settingsfile::kBoxKeyOrder) {
            const QString name = settingsfile::boxKey(box, key);
            switch (key) {
            case settingsfile::BoxKey::FontName:
                doc.setValue(section, name, u8("ＭＳ Ｐ明朝"));
                break;
            case settingsfile::BoxKey::FontSize:
                doc.setInt(section, name, values.fontSize);
                break;
            case settingsfile::BoxKey::Left:
                doc.setInt(section, name, values.left);
                break;
            case settingsfile::BoxKey::Top:
                doc.setInt(section, name, values.top);
                break;
            case settingsfile::BoxKey::Width:
                doc.setInt(section, name, values.width);
                break;
            case settingsfile::BoxKey::Height:
                doc.setInt(section, name, values.height);
                break;
            }
        }
    }
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void heightClass_data();
    void heightClass();
    void names_data();
    void names();
    void filePath();

    void writeOrder();
    void defaultFontName();

    void firstCloseWritesAllKeysInOrder();
    void laterCloseKeepsTheRestOfTheFile();
    void readingExistingFiles_data();
    void readingExistingFiles();

    void saveFailureMessage_data();
    void saveFailureMessage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_programDir;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_programDir = m_dir->path() + u'/';
    QVERIFY(QDir().mkpath(m_programDir + settingsfile::kInitDirName));
}

void TestSettingsFile::cleanup()
{
    ::chmod(QFile::encodeName(m_programDir + settingsfile::kInitDirName).constData(), 0755);
    m_dir.reset();
}

void TestSettingsFile::heightClass_data()
{
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("expected");
    QTest::newRow("768 -> 38 (38.4)") << 768 << 38;
    QTest::newRow("1024 -> 51 (51.2)") << 1024 << 51;
    QTest::newRow("1050 -> 52 (52.5 to even)") << 1050 << 52;
    QTest::newRow("990 -> 50 (49.5 to even)") << 990 << 50;
    QTest::newRow("1030 -> 52 (51.5 to even)") << 1030 << 52;
    QTest::newRow("1045 shares 52 with 1050") << 1045 << 52;
    QTest::newRow("1080 -> 54") << 1080 << 54;
    QTest::newRow("1070 -> 54 (53.5 to even)") << 1070 << 54;
}

void TestSettingsFile::heightClass()
{
    QFETCH(int, screenHeight);
    QFETCH(int, expected);
    QCOMPARE(settingsfile::heightClass(screenHeight), expected);
}

void TestSettingsFile::names_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("letter.exe at 768")
        << u8("letter.exe") << 768 << u8("letter") << u8("letter38.ini");
    QTest::newRow("letter.exe at 1050")
        << u8("letter.exe") << 1050 << u8("letter") << u8("letter52.ini");
    QTest::newRow("renamed memo.exe") << u8("memo.exe") << 768 << u8("memo") << u8("memo38.ini");
    QTest::newRow("no extension appends")
        << u8("tavrint") << 768 << u8("tavrint") << u8("tavrint38.ini");
    QTest::newRow("last dot only") << u8("a.b.exe") << 768 << u8("a.b") << u8("a.b38.ini");
    QTest::newRow("trailing dot") << u8("letter.") << 768 << u8("letter") << u8("letter38.ini");
    QTest::newRow("dot in the directory is not an extension")
        << u8("/opt/v1.2/tavrint") << 1080 << u8("tavrint") << u8("tavrint54.ini");
    QTest::newRow("Japanese name") << u8("送付状.exe") << 768 << u8("送付状") << u8("送付状38.ini");
}

void TestSettingsFile::names()
{
    QFETCH(QString, executable);
    QFETCH(int, screenHeight);
    QFETCH(QString, section);
    QFETCH(QString, fileName);
    QCOMPARE(settingsfile::sectionName(executable), section);
    QCOMPARE(settingsfile::fileName(executable, screenHeight), fileName);
}

void TestSettingsFile::filePath()
{
    QCOMPARE(settingsfile::filePath(u8("/apps/letter/"), u8("letter.exe"), 768),
             u8("/apps/letter/Init/letter38.ini"));
}

void TestSettingsFile::writeOrder()
{
    const QStringList order = settingsfile::writeOrder();
    QCOMPARE(order.size(), 50);
    const QStringList head{u8("FormTop"),     u8("FormLeft"),  u8("mm1FontName"),
                           u8("mm1FontSize"), u8("mm1Left"),   u8("mm1Top"),
                           u8("mm1Width"),    u8("mm1Height"), u8("mm2FontName")};
    QCOMPARE(order.mid(0, head.size()), head);
    const QStringList tail{u8("mm8FontName"), u8("mm8FontSize"), u8("mm8Left"),
                           u8("mm8Top"),      u8("mm8Width"),    u8("mm8Height")};
    QCOMPARE(order.mid(44), tail);
    QCOMPARE(order.at(20), u8("mm4FontName")); // box D has layout keys too
    QCOMPARE(QSet<QString>(order.begin(), order.end()).size(), 50);
}

void TestSettingsFile::defaultFontName()
{
    QCOMPARE(cp932::encode(settingsfile::defaultFontName()),
             QByteArray("\x4d\x53\x20\x50\x96\xbe\x92\xa9"));
}

void TestSettingsFile::firstCloseWritesAllKeysInOrder()
{
    const QString path = settingsfile::filePath(m_programDir, u8("letter.exe"), 768);
    ProfileFile doc = ProfileFile::load(path).value();
    QVERIFY(!doc.existed());
    writeLayout(doc, settingsfile::sectionName(u8("letter.exe")));
    const Result<void> saved = settingsfile::save(doc);
    QVERIFY2(saved, qPrintable(saved.error()));

    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.startsWith(
        "[letter]\r\nFormTop=10\r\nFormLeft=20\r\nmm1FontName="
        "\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9\r\n"
        "mm1FontSize=11\r\nmm1Left=45\r\nmm1Top=201\r\nmm1Width=371\r\nmm1Height=90\r\n"
        "mm2FontName="));
    QVERIFY(bytes.endsWith("mm8Height=83\r\n"));

    // Key lines in the write order, one line each.
    QList<QByteArray> keys;
    for (const QByteArray &line : bytes.split('\n').mid(1)) {
        if (!line.isEmpty())
            keys.append(line.left(line.indexOf('=')));
    }
    QStringList names;
    for (const QByteArray &key : keys)
        names.append(QString::fromLatin1(key));
    QCOMPARE(names, settingsfile::writeOrder());

    const ProfileFile again = ProfileFile::load(path).value();
    QCOMPARE(again.readString(u"letter", u"mm8FontName", settingsfile::defaultFontName()),
             u8("ＭＳ Ｐ明朝"));
    QCOMPARE(again.readInt(u"letter", u"mm8Width", 0), 364);
}

void TestSettingsFile::laterCloseKeepsTheRestOfTheFile()
{
    const QString path = settingsfile::filePath(m_programDir, u8("letter.exe"), 1050);
    const QByteArray before("; hand-written note\r\n[memo]\r\nFormTop=1\r\n\r\n"
                            "[Letter]\r\nformtop=5\r\nextra=kept\r\n");
    QVERIFY(writePlain(path, before));
    ProfileFile doc = ProfileFile::load(path).value();
    QVERIFY(doc.existed());
    writeLayout(doc, u8("letter"));
    QVERIFY(settingsfile::save(doc));

    const QByteArray after = readAll(path);
    QVERIFY(
        after.startsWith("; hand-written note\r\n[memo]\r\nFormTop=1\r\n\r\n"
                         "[Letter]\r\nformtop=10\r\nextra=kept\r\nFormLeft=20\r\nmm1FontName="));
    QCOMPARE(after.count("FormTop"), 1);
    QCOMPARE(ProfileFile::load(path)->readInt(u"memo", u"FormTop", 0), 1);
}

void TestSettingsFile::readingExistingFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("formLeft");
    QTest::addColumn<int>("formTop");
    QTest::addColumn<QString>("mm3FontName"); // "<missing>" when the default applies
    QTest::addColumn<int>("mm3FontSize");

    QTest::newRow("empty file: every default")
        << QByteArray() << u8("letter") << 20 << 10 << u8("<missing>") << 9;
    QTest::newRow("renamed executable: old section only")
        << QByteArray("[letter]\r\nFormLeft=100\r\nmm3FontSize=12\r\n") << u8("memo") << 20 << 10
        << u8("<missing>") << 9;
    QTest::newRow("hex and out-of-range values")
        << QByteArray("[letter]\r\nFormLeft=0x1E\r\nFormTop=2147483648\r\n") << u8("letter") << 30
        << 10 << u8("<missing>") << 9;
    QTest::newRow("-2147483648 accepted")
        << QByteArray("[letter]\r\nFormLeft=-40\r\nFormTop=-2147483648\r\n") << u8("letter") << -40
        << (-2147483647 - 1) << u8("<missing>") << 9;
    QTest::newRow("empty face name is present")
        << QByteArray("[letter]\r\nmm3FontName=\r\nmm3FontSize=30px\r\n") << u8("letter") << 20
        << 10 << u8("") << 9;
    QTest::newRow("face with 0x5C trail bytes")
        << QByteArray("[letter]\r\nmm3FontName=\x83\x5c\x95\x5c\x94\x5c\r\nmm3FontSize=$c\r\n")
        << u8("letter") << 20 << 10 << u8("ソ表能") << 12;
}

void TestSettingsFile::readingExistingFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(int, formLeft);
    QFETCH(int, formTop);
    QFETCH(QString, mm3FontName);
    QFETCH(int, mm3FontSize);

    const QString path = settingsfile::filePath(m_programDir, u8("letter.exe"), 768);
    QVERIFY(writePlain(path, file));
    const ProfileFile doc = ProfileFile::load(path).value();
    QVERIFY(doc.existed()); // not a first run, even when empty
    QCOMPARE(doc.readInt(section, settingsfile::kFormLeft, settingsfile::kDefaultFormLeft),
             formLeft);
    QCOMPARE(doc.readInt(section, settingsfile::kFormTop, settingsfile::kDefaultFormTop), formTop);
    const std::optional<QString> face =
        doc.value(section, settingsfile::boxKey(2, settingsfile::BoxKey::FontName));
    QCOMPARE(face.value_or(u8("<missing>")), mm3FontName);
    QCOMPARE(doc.readInt(section, settingsfile::boxKey(2, settingsfile::BoxKey::FontSize),
                         settingsfile::kDefaultFontSize),
             mm3FontSize);
}

void TestSettingsFile::saveFailureMessage_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("read-only settings file") << u8("read-only");
    QTest::newRow("Init directory missing") << u8("no directory");
    QTest::newRow("settings file unreadable") << u8("unreadable");
}

// The close must fail loudly and leave the old layout in place; a file it
// could not read is never written over.
void TestSettingsFile::saveFailureMessage()
{
    QFETCH(QString, situation);
    const QString path = settingsfile::filePath(m_programDir, u8("letter.exe"), 768);
    const QByteArray old("[letter]\r\nFormTop=99\r\n");
    if (situation == u8("read-only")) {
        QVERIFY(writePlain(path, old));
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (situation == u8("no directory")) {
        QVERIFY(QDir(m_programDir + settingsfile::kInitDirName).removeRecursively());
    } else {
        QVERIFY(QDir().mkpath(path)); // a directory where the file belongs
    }

    const LetterModel letter(m_programDir, u8("letter.exe"), ScreenMetrics{1024, 768, 96});
    QCOMPARE(letter.settingsFile(), path);
    const Result<void> saved = letter.saveLayout();
    QVERIFY(!saved);
    QCOMPARE(saved.error(), path + u8(" に書き込めません"));

    if (situation == u8("read-only"))
        QCOMPARE(readAll(path), old);
    else if (situation == u8("no directory"))
        QVERIFY(!QFileInfo::exists(m_programDir + settingsfile::kInitDirName));
    else
        QVERIFY(QFileInfo(path).isDir());
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"

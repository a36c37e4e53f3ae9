// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomicfile.h"

#include "tests/platform/unprivileged.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "../testfiles.h"
#include "../testrig.h"

#include <cerrno>

#include <sys/stat.h>

Q_DECLARE_METATYPE(atomicfile::Step)

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Everything in the directory: a failed save must not leave temporary files.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void createsNewFile();
    void replacesContentAndKeepsMode_data();
    void replacesContentAndKeepsMode();
    void emptyContentGivesEmptyFile();
    void refusesReadOnlyFile();
    void refusesDirectoryAsTarget();
    void missingDirectory();
    void writesThroughSymlink();
    void failingStepKeepsOldFile_data();
    void failingStepKeepsOldFile();

    void unprivileged_data();
    void unprivileged();

    void temporaryName_data();
    void temporaryName();
    void strayTemporariesRemoved_data();
    void strayTemporariesRemoved();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestAtomicFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicFile::cleanup()
{
    atomicfile::resetInstance();
    // Give back write access so the directory can be removed.
    unprivileged::chmodTo(m_dir->path(), 0700);
    m_dir.reset();
}

void TestAtomicFile::createsNewFile()
{
    const QString target = path(QStringLiteral("1本文.txt"));
    QVERIFY(atomicfile::write(target, QByteArray("abc\r\n")));
    QCOMPARE(readAll(target), QByteArray("abc\r\n"));
    QCOMPARE(modeOf(target), 0666 & ~currentUmask());
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("1本文.txt")});
}

void TestAtomicFile::replacesContentAndKeepsMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0600 private file") << 0600;
    QTest::newRow("0640 group-readable") << 0640;
    QTest::newRow("0666 world-writable") << 0666;
    QTest::newRow("0200 write-only") << 0200;
}

void TestAtomicFile::replacesContentAndKeepsMode()
{
    QFETCH(int, mode);
    const QString target = path(QStringLiteral("letter38.ini"));
    QVERIFY(writePlain(target, QByteArray("old old old old")));
    QVERIFY(unprivileged::chmodTo(target, mode_t(mode)));

    const Result<void> written = atomicfile::write(target, QByteArray("new"));
    QVERIFY2(written, qPrintable(written.error()));
    unprivileged::chmodTo(target, 0600);
    QCOMPARE(readAll(target), QByteArray("new"));
    unprivileged::chmodTo(target, mode_t(mode));
    QCOMPARE(modeOf(target), mode_t(mode));
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("letter38.ini")});
}

void TestAtomicFile::emptyContentGivesEmptyFile()
{
    const QString target = path(QStringLiteral("2宛名.txt"));
    QVERIFY(writePlain(target, QByteArray("something")));
    QVERIFY(atomicfile::write(target, QByteArray()));
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(QFileInfo(target).size(), 0);
}

// A file without any write permission bit counts as read-only even for
// root, like the read-only attribute on Windows.
void TestAtomicFile::refusesReadOnlyFile()
{
    const QString target = path(QStringLiteral("ro.ini"));
    QVERIFY(writePlain(target, QByteArray("keep me")));
    QVERIFY(unprivileged::chmodTo(target, 0444));

    const Result<void> written = atomicfile::write(target, QByteArray("lost"));
    QVERIFY(!written);
    QCOMPARE(written.error(), qt_error_string(EACCES));
    QCOMPARE(readAll(target), QByteArray("keep me"));
    QCOMPARE(modeOf(target), mode_t(0444));
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("ro.ini")});
}

void TestAtomicFile::refusesDirectoryAsTarget()
{
    const QString target = path(QStringLiteral("Data"));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Data")));
    const Result<void> written = atomicfile::write(target, QByteArray("x"));
    QVERIFY(!written);
    QCOMPARE(written.error(), qt_error_string(EISDIR));
    QVERIFY(QFileInfo(target).isDir());
    QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("Data")});
}

void TestAtomicFile::missingDirectory()
{
    const QString target = path(QStringLiteral("Data/1本文.txt"));
    const Result<void> written = atomicfile::write(target, QByteArray("x"));
    QVERIFY(!written);
    QCOMPARE(written.error(), qt_error_string(ENOENT));
    QVERIFY(entries(m_dir->path()).isEmpty());
}

void TestAtomicFile::writesThroughSymlink()
{
    const QString real = path(QStringLiteral("real.ini"));
    const QString link = path(QStringLiteral("link.ini"));
    QVERIFY(writePlain(real, QByteArray("old")));
    QVERIFY(QFile::link(real, link));
    QVERIFY(atomicfile::write(link, QByteArray("new")));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(real), QByteArray("new"));
}

void TestAtomicFile::failingStepKeepsOldFile_data()
{
    QTest::addColumn<atomicfile::Step>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("no room for the temporary file")
        << atomicfile::Step::CreateTemp << ENOSPC << true;
    QTest::newRow("disk full while writing") << atomicfile::Step::Write << ENOSPC << true;
    QTest::newRow("disk full while writing a new file")
        << atomicfile::Step::Write << ENOSPC << false;
    QTest::newRow("I/O error on flush") << atomicfile::Step::Sync << EIO << true;
    QTest::newRow("rename refused") << atomicfile::Step::Rename << EBUSY << true;
}

void TestAtomicFile::failingStepKeepsOldFile()
{
    QFETCH(atomicfile::Step, step);
    QFETCH(int, error);
    QFETCH(bool, fileExists);

    const QString target = path(QStringLiteral("3署名.txt"));
    const QByteArray old("\x8e\x81\x96\xbc\r\nold signature\r\n");
    if (fileExists)
        QVERIFY(writePlain(target, old));

    QList<atomicfile::Step> seen;
    atomicfile::setInstance([&](atomicfile::Step s) {
        seen.append(s);
        return s == step ? error : 0;
    });
    const Result<void> written = atomicfile::write(target, QByteArray(100000, 'x'));
    QVERIFY(!written);
    QCOMPARE(written.error(), qt_error_string(error));
    QVERIFY(seen.contains(step));
    if (fileExists) {
        QCOMPARE(readAll(target), old);
        QCOMPARE(entries(m_dir->path()), QStringList{QStringLiteral("3署名.txt")});
    } else {
        QVERIFY(entries(m_dir->path()).isEmpty());
    }

    // The same save succeeds once the fault is gone.
    atomicfile::resetInstance();
    QVERIFY(atomicfile::write(target, QByteArray("fine")));
    QCOMPARE(readAll(target), QByteArray("fine"));
}

// Cases only an ordinary user can show: the directory decides whether a
// rename may replace a file, so the file's own permission must be checked
// separately.
void TestAtomicFile::unprivileged_data()
{
    QTest::addColumn<bool>("dirOwnedByUser");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("fileOwnedByUser");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("saved");
    QTest::newRow("own directory, own file: saved") << true << true << true << 0644 << true;
    QTest::newRow("own directory, new file: saved") << true << false << false << 0 << true;
    QTest::newRow("own directory, someone else's 0644 file: refused")
        << true << true << false << 0644 << false;
    QTest::newRow("own directory, own 0444 file: refused") << true << true << true << 0444 << false;
    QTest::newRow("foreign directory, new file: refused") << false << false << false << 0 << false;
    // The folder forbids the temporary file; the file itself is rewritten.
    QTest::newRow("foreign directory, writable 0666 file: saved in place")
        << false << true << false << 0666 << true;
    QTest::newRow("foreign directory, own 0600 file: saved in place")
        << false << true << true << 0600 << true;
    QTest::newRow("foreign directory, own 0444 file: refused")
        << false << true << true << 0444 << false;
}

void TestAtomicFile::unprivileged()
{
    QFETCH(bool, dirOwnedByUser);
    QFETCH(bool, fileExists);
    QFETCH(bool, fileOwnedByUser);
    QFETCH(int, fileMode);
    QFETCH(bool, saved);

    const QString reason = unprivileged::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));

    QVERIFY(unprivileged::chmodTo(m_dir->path(), 0755));
    const QString dir = path(QStringLiteral("Init"));
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(unprivileged::chmodTo(dir, 0755));
    if (dirOwnedByUser)
        QVERIFY(unprivileged::chownTo(dir, unprivileged::kNobodyUid, unprivileged::kNogroupGid));

    const QString target = dir + QStringLiteral("/letter38.ini");
    const QByteArray old("[letter]\r\nFormTop=10\r\n");
    if (fileExists) {
        QVERIFY(writePlain(target, old));
        QVERIFY(unprivileged::chmodTo(target, mode_t(fileMode)));
        if (fileOwnedByUser)
            QVERIFY(
                unprivileged::chownTo(target, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
    }

    const unprivileged::Result result = unprivileged::runAsNobody(QStringLiteral(ATOMICFILE_PROBE),
                                                                  {target, QStringLiteral("new")});
    if (saved) {
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(readAll(target), QByteArray("new"));
        if (fileExists)
            QCOMPARE(modeOf(target), mode_t(fileMode));
    } else {
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.output, qt_error_string(EACCES));
        if (fileExists)
            QCOMPARE(readAll(target), old);
        else
            QVERIFY(!QFileInfo::exists(target));
    }
    QCOMPARE(entries(dir).size(), (fileExists || saved) ? 1 : 0);
}

void TestAtomicFile::temporaryName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ours");
    QTest::newRow("box text temporary") << ".1本文.txt.k3x9qz.tmp" << true;
    QTest::newRow("settings temporary") << ".tavrint38.ini.0.tmp" << true;
    QTest::newRow("long name shortened to save") << ".save.1z141z3.tmp" << true;
    QTest::newRow("the box text itself") << "1本文.txt" << false;
    QTest::newRow("not hidden") << "1本文.txt.k3x9qz.tmp" << false;
    QTest::newRow("upper-case number") << ".1本文.txt.K3X9QZ.tmp" << false;
    QTest::newRow("number too long") << ".1本文.txt.12345678.tmp" << false;
    QTest::newRow("no number") << ".1本文.txt..tmp" << false;
    QTest::newRow("other suffix") << ".1本文.txt.k3x9qz.bak" << false;
    QTest::newRow("editor swap file") << ".1本文.txt.swp" << false;
}

void TestAtomicFile::temporaryName()
{
    QFETCH(QString, name);
    QFETCH(bool, ours);
    QCOMPARE(atomicfile::isTemporaryName(name), ours);
}

void TestAtomicFile::strayTemporariesRemoved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ageSeconds"); // negative: newer than the cut-off
    QTest::addColumn<bool>("removed");
    QTest::newRow("old temporary of a killed save") << ".1本文.txt.abc12.tmp" << 60 << true;
    QTest::newRow("temporary younger than the start") << ".1本文.txt.abc12.tmp" << -5 << false;
    QTest::newRow("old file of another name") << ".1本文.txt.swp" << 60 << false;
    QTest::newRow("old box text") << "1本文.txt" << 60 << false;
}

void TestAtomicFile::strayTemporariesRemoved()
{
    QFETCH(QString, name);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);
    const QString file = path(name);
    QVERIFY(writePlain(file, "half"));
    const QDateTime cutOff = QDateTime::currentDateTimeUtc();
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(cutOff.addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    f.close();
    QCOMPARE(atomicfile::removeStrayTemporaries(m_dir->path(), cutOff), removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(file), !removed);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Where the recovery copy lives and when it is applied: one run at a time
// keeps it, a start applies a dead run's copy whole or not at all, and the
// copy and its folder stay the user's own.

#include "letter/recoverystore.h"

#include "../testfiles.h"

#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

using recoverycopy::Files;
using Outcome = RecoveryStore::Recovery::Outcome;

namespace {
const QString kExe = QStringLiteral("tavrint");

Files letter(const QByteArray &body)
{
    return {{u8"Init/tavrint38.ini", QByteArray("[tavrint]\r\nFormTop=10\r\n")},
            {u8"Data/1本文.txt", body},
            {u8"Data/3署名.txt", QByteArray("sig")}};
}

int modeOf(const QString &path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 07777);
}
} // namespace

class TestRecoveryStore : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ProgramDir>(); }
    void cleanup() { m_dir.reset(); }

    void copyAndFolderArePrivate();
    void oneRunAtATime();
    void startAppliesADeadRunsCopy_data();
    void startAppliesADeadRunsCopy();
    void copyThatCannotBeAppliedIsSetAside();
    void folderNotOursIsRefused();

private:
    std::unique_ptr<ProgramDir> m_dir;
};

void TestRecoveryStore::copyAndFolderArePrivate()
{
    RecoveryStore store(m_dir->programDir(), kExe);
    QVERIFY(store.claim());
    QVERIFY(store.keep(letter("typed")));
    QCOMPARE(modeOf(store.folder()), 0700);
    QCOMPARE(modeOf(store.copyPath()), 0600);
    // A rewrite keeps it so, and a discarded copy is gone.
    QVERIFY(store.keep(letter("typed more")));
    QCOMPARE(modeOf(store.copyPath()), 0600);
    store.discard();
    QVERIFY(!QFile::exists(store.copyPath()));
}

void TestRecoveryStore::oneRunAtATime()
{
    auto first = std::make_unique<RecoveryStore>(m_dir->programDir(), kExe);
    QVERIFY(first->claim());
    QVERIFY(first->keep(letter("first run")));

    // While the first run lives, a second one neither keeps a copy nor
    // sees the first one's copy as left over.
    RecoveryStore second(m_dir->programDir(), kExe);
    const Result<void> claimed = second.claim();
    QVERIFY(!claimed);
    QVERIFY(claimed.error().contains(QStringLiteral("another run")));
    QCOMPARE(second.recoverLeftover().outcome, Outcome::Nothing);
    QVERIFY(!second.keep(letter("second run")));
    QVERIFY(!QFile::exists(m_dir->path(u8"Data/1本文.txt")));

    // The first run ends without its close: the lock goes with it.
    first.reset();
    QVERIFY(second.claim());
    QCOMPARE(second.recoverLeftover().outcome, Outcome::Restored);
    QCOMPARE(m_dir->readFile(u8"Data/1本文.txt"), QByteArray("first run"));
}

void TestRecoveryStore::startAppliesADeadRunsCopy_data()
{
    QTest::addColumn<QByteArray>("copy"); // empty: the copy of letter("unsaved")
    QTest::addColumn<bool>("alreadyOnDisk");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("boxA"); // after the start
    QTest::newRow("a killed run's copy")
        << QByteArray() << false << int(Outcome::Restored) << QByteArray("unsaved");
    QTest::newRow("killed after its close had written")
        << QByteArray() << true << int(Outcome::Nothing) << QByteArray("unsaved");
    QTest::newRow("a damaged copy is ignored, the files stay")
        << QByteArray("Tavrint recovery copy 1\nfiles 1\n5 Data/1") << false
        << int(Outcome::Nothing) << QByteArray("on disk");
}

void TestRecoveryStore::startAppliesADeadRunsCopy()
{
    QFETCH(QByteArray, copy);
    QFETCH(bool, alreadyOnDisk);
    QFETCH(int, outcome);
    QFETCH(QByteArray, boxA);
    {
        RecoveryStore dead(m_dir->programDir(), kExe);
        QVERIFY(dead.claim());
        QVERIFY(dead.keep(letter("unsaved")));
        if (!copy.isEmpty())
            QVERIFY(writePlain(dead.copyPath(), copy));
    }
    if (alreadyOnDisk)
        QVERIFY(RecoveryStore(m_dir->programDir(), kExe).apply(letter("unsaved")));
    else
        m_dir->writeFile(u8"Data/1本文.txt", QByteArray("on disk"));

    RecoveryStore next(m_dir->programDir(), kExe);
    QVERIFY(next.claim());
    QCOMPARE(int(next.recoverLeftover().outcome), outcome);
    QCOMPARE(m_dir->readFile(u8"Data/1本文.txt"), boxA);
    // An applied or needless copy is gone; a damaged one is left for this
    // run's own copies to replace.
    QCOMPARE(QFile::exists(next.copyPath()), !copy.isEmpty());
}

void TestRecoveryStore::copyThatCannotBeAppliedIsSetAside()
{
    {
        RecoveryStore dead(m_dir->programDir(), kExe);
        QVERIFY(dead.claim());
        QVERIFY(dead.keep(letter("unsaved")));
    }
    // Box A's file is read-only (a file with no write bit is refused even
    // to root): the copy stops there, as the close would.
    m_dir->writeFile(u8"Data/1本文.txt", QByteArray("kept"));
    QVERIFY(::chmod(QFile::encodeName(m_dir->path(u8"Data/1本文.txt")).constData(), 0444) == 0);

    RecoveryStore next(m_dir->programDir(), kExe);
    QVERIFY(next.claim());
    const RecoveryStore::Recovery recovery = next.recoverLeftover();
    QCOMPARE(recovery.outcome, Outcome::NotApplied);
    QVERIFY(recovery.errorMessage.contains(QStringLiteral("を作成できません")));
    QVERIFY(recovery.errorMessage.contains(QStringLiteral(".unapplied")));
    QCOMPARE(m_dir->readFile(u8"Data/1本文.txt"), QByteArray("kept"));
    // Nothing of the letter is lost: the copy waits beside, where this
    // run's copies cannot replace it.
    QVERIFY(!QFile::exists(next.copyPath()));
    QVERIFY(QFile::exists(next.copyPath() + QStringLiteral(".unapplied")));
    QVERIFY(next.keep(letter("this run")));
    QVERIFY(readAll(next.copyPath() + QStringLiteral(".unapplied")).contains("unsaved"));
}

void TestRecoveryStore::folderNotOursIsRefused()
{
    // A folder that points elsewhere would put the letter where others read.
    QDir().mkpath(m_dir->path(QStringLiteral("Init")));
    QTemporaryDir elsewhere;
    QVERIFY(QFile::link(elsewhere.path(), m_dir->path(QStringLiteral("Init/.recovery"))));
    RecoveryStore store(m_dir->programDir(), kExe);
    QVERIFY(!store.claim());
    QVERIFY(!store.keep(letter("x")));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestRecoveryStore)
#include "tst_recoverystore.moc"

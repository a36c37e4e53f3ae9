// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/recoverycopy.h"
#include "platform/result.h"

#include <QString>

// Where a run keeps its recovery copy: "Init/.recovery/" below the program
// directory, a folder of the user's own (0700), the copy itself 0600. One
// run at a time may keep a copy there: it holds a lock on the folder's lock
// file for as long as it runs, and the kernel lets go of that lock however
// the run ends. So a copy found by a run that got the lock was left by a run
// that did not close; a run that cannot get it keeps no copy and applies
// none, since another run of the program is still working on these files.
class RecoveryStore
{
public:
    // `programDir` ends with "/"; `executableName` names the copy, as it
    // names the settings file.
    RecoveryStore(const QString &programDir, const QString &executableName);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Makes the folder and takes the lock; the reason when the folder is not
    // safely ours or another run holds the lock.
    Result<void> claim();
    bool isClaimed() const { return m_lockFd >= 0; }

    enum class Leftover { None, Damaged, Intact };
    // The copy a run that ended without its close left here, when this run
    // holds the claim. `files` gets an intact copy's files.
    Leftover leftover(recoverycopy::Files *files) const;

    // Writes the files as the close writes them, each in one atomic replace,
    // in their order; stops at the first that cannot be written and gives
    // the error message the close would show for it.
    Result<void> apply(const recoverycopy::Files &files) const;
    // True when every file already holds exactly these bytes.
    bool isOnDisk(const recoverycopy::Files &files) const;

    // Replaces the copy; the reason when it cannot be written.
    Result<void> keep(const recoverycopy::Files &files);
    // The close has written the files: the copy is of no more use.
    void discard();
    // A copy that could not be applied is moved out of the way, so that this
    // run's own copies do not replace it; its path.
    QString setAside();

    // At start, before the window reads its files: a copy left by a run that
    // did not close is applied, unless the files already hold it (the run was
    // killed after its close). A copy that cannot be applied is set aside
    // and reported; a damaged one is ignored.
    struct Recovery
    {
        enum class Outcome { Nothing, Restored, NotApplied } outcome = Outcome::Nothing;
        QString errorMessage; // for NotApplied
    };
    Recovery recoverLeftover();

    QString folder() const;
    QString copyPath() const;

private:
    QString m_programDir;
    QString m_executableName;
    QString m_claimError; // why claim() failed
    int m_lockFd = -1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// A run of many letters (every customer's, into one PDF or one print job)
// on a thread of its own, while the window shows how far it has come and can
// stop it. The window handles no input of the user's meanwhile: for the
// first moments (a short run is done before a dialog could be read) input
// waits; after them a modal progress dialog with 中止 holds it. No handler of
// the window runs inside the job, and the job reads nothing the window may
// change: it works on copies (see letterpage::merged).
class LetterRun
{
public:
    // The job: writes or prints `count` letters, saying which one it begins
    // with `reached(index)` and stopping as soon as `keepGoing()` is false.
    using Job = std::function<void(const std::function<bool()> &keepGoing,
                                   const std::function<void(qsizetype index)> &reached)>;

    LetterRun(QWidget *window, int count);

    // Runs the job and returns once it has ended.
    void run(const Job &job);
    // Whether the user (or a closing program) stopped it.
    bool cancelled() const { return m_cancelled; }

    static QString progressObjectName(); // "mergeProgress"

private:
    QWidget *m_window;
    int m_count;
    bool m_cancelled = false;
};

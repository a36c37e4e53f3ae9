// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/letterrun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {
// A run shorter than this shows no dialog at all.
constexpr int kQuietMs = 400;
constexpr int kProgressEveryMs = 50;
} // namespace

QString LetterRun::progressObjectName()
{
    return QStringLiteral("mergeProgress");
}

LetterRun::LetterRun(QWidget *window, int count) : m_window(window), m_count(count) {}

void LetterRun::run(const Job &job)
{
    std::atomic<bool> stop{false};
    std::atomic<qsizetype> reached{0};

    QProgressDialog dialog(QStringLiteral("%1 通の送付状を作成しています…").arg(m_count),
                           QStringLiteral("中止"), 0, m_count, m_window);
    dialog.setObjectName(progressObjectName());
    dialog.setWindowTitle(QStringLiteral("Tavrint"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setMinimumDuration(0);
    dialog.hide(); // shown when the run takes a while
    QObject::connect(&dialog, &QProgressDialog::canceled, [&stop] { stop = true; });

    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        job([&stop] { return !stop.load(); }, [&reached](qsizetype index) { reached = index; });
    }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer progress;
    progress.setInterval(kProgressEveryMs);
    // The progress is also stopped without its button (a closing program
    // cancels it), which no signal tells.
    QObject::connect(&progress, &QTimer::timeout, &dialog, [&] {
        if (dialog.wasCanceled())
            stop = true;
        else
            dialog.setValue(static_cast<int>(reached.load()));
    });

    worker->start();
    progress.start();
    // Until the dialog is up, the user's clicks and keys wait, so that
    // nothing starts another run or reads the customers anew meanwhile.
    QTimer::singleShot(kQuietMs, &loop, &QEventLoop::quit);
    if (!worker->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!worker->isFinished()) {
        dialog.setValue(static_cast<int>(reached.load()));
        dialog.show();
        loop.exec();
    }
    // A closing program ends every event loop at once; the job then stops.
    if (!worker->isFinished())
        stop = true;
    worker->wait();
    m_cancelled = stop.load() || dialog.wasCanceled();
}

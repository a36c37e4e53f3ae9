// SPDX-License-Identifier: GPL-3.0-or-later
// The window's start, in the window module: everything a first start does
// once it holds the single-instance lock. The widget libraries are loaded
// with this module, so that --pdf, --help and second starts never pay for
// them.

#include "shell/windowentry.h"

#include "customers/tflist.h"
#include "letter/lettermodel.h"
#include "letter/recoverystore.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "platform/qttranslations.h"
#include "platform/terminationsignals.h"
#include "shell/errormessagebox.h"
#include "shell/handoffserver.h"
#include "shell/singleinstance.h"
#ifdef TAVRINT_FIRST_FRAME_PROBE
#include "shell/firstframeprobe.h"
#endif
#include "shell/tform1.h"

#include <QApplication>
#include <QFileInfo>

extern "C" TAVRINT_WINDOW_EXPORT const char *tavrint_window_stamp()
{
    return TAVRINT_BUILD_STAMP;
}

extern "C" TAVRINT_WINDOW_EXPORT int
tavrint_window_main(int argc, char **argv, const char *lockDirectory, const char *socketPath)
{
    const QString directory = QString::fromLocal8Bit(lockDirectory);
    const QString socket = QString::fromLocal8Bit(socketPath);
    SingleInstanceLock::lendDirectoryToQt(directory);

    // The first instance ignores its arguments: Qt sees none, so that a text
    // such as "-reverse" cannot switch the interface's direction or style.
    char programName[] = "tavrint";
    char *qtArgv[] = {argc > 0 ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    fontsubstitution::install();
    qttranslations::installJapanese(app);
    installMessageBoxErrorPresenter();
    installMessageBoxNoticePresenter();
    QApplication::setApplicationName(QStringLiteral("Tavrint"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrint"));
    // The app id a Wayland compositor shows the window's icon and name by.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tavrint.Tavrint"));

    // SIGTERM, SIGHUP and SIGINT close the window as its close button does.
    // One that comes while the window is still being built (a start-up
    // error box is open) waits for it.
    TerminationSignals terminations;
    TForm1 *window = nullptr;
    bool terminatedEarly = false;
    bool closing = false; // a second signal while the close runs changes nothing
    QObject::connect(&terminations, &TerminationSignals::received,
                     [&window, &terminatedEarly, &closing] {
                         if (window && !closing) {
                             closing = true;
                             window->closeForSignal();
                         } else if (!window) {
                             terminatedEarly = true;
                             if (QWidget *modal = QApplication::activeModalWidget())
                                 modal->close();
                         }
                     });

    // Second starts are answered from here on, also while the window is
    // being built or shows a start-up error; their texts wait until the
    // window is complete and free.
    TForm1 *ready = nullptr;
    HandOffServer handOff([&ready](const QString &marker, const QString &addressee) {
        ready->receiveHandOff(marker, addressee);
    });
    handOff.setReadyCheck([&ready] { return ready != nullptr && ready->takesHandOff(); });
    if (const Result<void> listening = handOff.listen(socket); !listening)
        qWarning("Hand-off socket unavailable: %s", qPrintable(listening.error()));

    // What a run that did not close left aside is written into the files
    // before the window reads them.
    const QString executable = QCoreApplication::applicationFilePath();
    RecoveryStore recovery(LetterModel::programDirectoryOf(executable),
                           QFileInfo(executable).fileName());
    RecoveryStore::Recovery recovered;
    if (const Result<void> claimed = recovery.claim())
        recovered = recovery.recoverLeftover();
    else
        qWarning("tavrint: no recovery copy is kept: %s", qPrintable(claimed.error()));
    if (recovered.outcome == RecoveryStore::Recovery::Outcome::NotApplied)
        errorreport::show(recovered.errorMessage);

    TForm1 form(executable);
    TFList list;
    form.setDataHolder(&list);
    ready = &form;
    window = &form;
    if (terminatedEarly)
        return form.closeForSignal();
    if (recovery.isClaimed())
        form.keepRecoveryCopiesIn(&recovery);
    if (recovered.outcome == RecoveryStore::Recovery::Outcome::Restored)
        form.showRecoveredNote();

#ifdef TAVRINT_FIRST_FRAME_PROBE
    firstframeprobe::installFromEnvironment(&form); // the start-up benchmark's clock
#endif
    form.show();
    return app.exec();
}

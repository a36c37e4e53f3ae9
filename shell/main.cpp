#include "customers/tflist.h"
#include "letter/recoverystore.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "platform/qttranslations.h"
#include "platform/terminationsignals.h"
#include "shell/commandline.h"
#include "shell/errormessagebox.h"
#include "shell/firstframeprobe.h"
#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/handoffserver.h"
#include "shell/pdfcommand.h"
#include "shell/singleinstance.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // The program's own options come first and never reach a running
    // instance; any other first argument is a hand-off text as always.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = CommandLine::parse(arguments);
    switch (command.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(qUtf8Printable(commandline::helpText()), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(qUtf8Printable(commandline::versionText()), stdout);
        return 0;
    case CommandLine::Action::Invalid:
        std::fprintf(stderr, "tavrint: %s\nTry 'tavrint --help'.\n",
                     qUtf8Printable(command.errorText));
        return 2;
    case CommandLine::Action::WritePdf:
        return pdfcommand::run(argc > 0 ? argv[0] : nullptr, command);
    case CommandLine::Action::StartWindow:
        break;
    }

    // Held until the process ends; the kernel frees it even after a crash.
    SingleInstanceLock lock;
    if (!lock.acquire()) {
        // A second start: no application object, no window, no output.
        // _Exit skips the exit-time destructors of the widget libraries,
        // which were loaded but never used.
        const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
        std::_Exit(handoffclient::deliver(lock.socketPath(), handoff::marker(),
                                          handoff::handOffText(argument)));
    }

    if (!lock.isHeld()) {
        // Without the lock nothing keeps a second window off the same files.
        std::fprintf(stderr, "tavrint: %s\n",
                     SingleInstanceLock::noSafePlaceMessage().toLocal8Bit().constData());
        return 1;
    }

    SingleInstanceLock::lendDirectoryToQt(lock.directory());

    // The first instance ignores its arguments: Qt sees none, so that a text
    // such as "-reverse" cannot switch the interface's direction or style.
    char programName[] = "tavrint";
    char *qtArgv[] = {argc > 0 ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    fontsubstitution::install();
    qttranslations::installJapanese(app);
    installMessageBoxErrorPresenter();
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
    QObject::connect(&terminations, &TerminationSignals::received, [&window, &terminatedEarly] {
        static bool closing = false;
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
    handOff.setReadyCheck(
        [&ready] { return ready != nullptr && QApplication::activeModalWidget() == nullptr; });
    if (!handOff.listen(lock.socketPath()))
        qWarning("Hand-off socket unavailable: %s", qPrintable(handOff.errorString()));

    // What a run that did not close left aside is written into the files
    // before the window reads them.
    const QString executable = QCoreApplication::applicationFilePath();
    RecoveryStore recovery(LetterModel::programDirectoryOf(executable),
                           QFileInfo(executable).fileName());
    RecoveryStore::Recovery recovered;
    if (recovery.claim())
        recovered = recovery.recoverLeftover();
    else
        qWarning("tavrint: no recovery copy is kept: %s", qPrintable(recovery.errorString()));
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

    firstframeprobe::installFromEnvironment(&form); // the start-up benchmark's clock
    form.show();
    return app.exec();
}

#include "customers/tflist.h"
#include "platform/fontsubstitution.h"
#include "shell/errormessagebox.h"
#include "shell/firstframeprobe.h"
#include "shell/handoffclient.h"
#include "shell/handoffmessage.h"
#include "shell/handoffserver.h"
#include "shell/singleinstance.h"
#include "shell/tform1.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char *argv[])
{
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

    // The first instance ignores its arguments: Qt sees none, so that a text
    // such as "-reverse" cannot switch the interface's direction or style.
    char programName[] = "tavrint";
    char *qtArgv[] = {argc > 0 ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    fontsubstitution::install();
    installMessageBoxErrorPresenter();
    QApplication::setApplicationName(QStringLiteral("Tavrint"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tavrint"));

    TForm1 form(QCoreApplication::applicationFilePath());
    TFList list;
    form.setDataHolder(&list);

    // Listens only once the form is complete, so a hand-off never meets a
    // half-built window. Without the lock there is no socket of ours to serve.
    HandOffServer handOff([&form](const QString &marker, const QString &addressee) {
        form.receiveHandOff(marker, addressee);
    });
    if (lock.isHeld() && !handOff.listen(lock.socketPath()))
        qWarning("Hand-off socket unavailable: %s", qPrintable(handOff.errorString()));

    firstframeprobe::installFromEnvironment(&form); // the start-up benchmark's clock
    form.show();
    return app.exec();
}

#include "shell/pdfcommand.h"

#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "platform/screenmetrics.h"
#include "print/documentname.h"
#include "print/pdfdocument.h"
#include "print/renderpage.h"
#include "shell/commandline.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>

#include <cstdio>

namespace pdfcommand {

namespace {

void complain(const QString &text)
{
    std::fprintf(stderr, "tavrint: %s\n", qUtf8Printable(text));
}

bool displayReachable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The window system to lay the page out on. With a display, its primary
// screen decides the page geometry, so the PDF is the page the print button
// makes; should it not answer, Qt falls back to offscreen. A given screen
// height needs no display at all.
QByteArray platformFor(const CommandLine &command)
{
    if (command.screenHeight || !displayReachable())
        return QByteArrayLiteral("offscreen");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QByteArrayLiteral("wayland;xcb;offscreen");
    return QByteArrayLiteral("xcb;offscreen");
}

} // namespace

int run(char *argv0, const CommandLine &command)
{
    // The user's own choice of window system stands.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platformFor(command));

    char programName[] = "tavrint";
    char *qtArgv[] = {argv0 ? argv0 : programName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    fontsubstitution::install();
    QApplication::setApplicationName(QStringLiteral("Tavrint"));

    // Without a real screen the page follows the given height, else 768.
    if (command.screenHeight || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        ScreenMetrics fixed;
        fixed.height = command.screenHeight.value_or(768);
        ScreenMetrics::setInstance(fixed);
    }

    // What the window would show in a message box makes the PDF wrong (a box
    // text that cannot be read): it is reported here and nothing is written.
    QStringList errors;
    errorreport::setInstance([&errors](const QString &text) { errors.append(text); });

    QString pdfError;
    bool written = false;
    {
        const TForm1 form(QCoreApplication::applicationFilePath());
        if (errors.isEmpty()) {
            written =
                pdfdocument::write(command.pdfPath, {form.renderPage()},
                                   documentname::jobName(QDateTime::currentDateTime()), &pdfError);
        }
    }
    if (!errors.isEmpty()) {
        for (const QString &error : errors)
            complain(error);
        complain(QStringLiteral("no PDF written"));
        return 2;
    }
    if (!written) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(command.pdfPath), pdfError));
        return 2;
    }
    return 0;
}

} // namespace pdfcommand

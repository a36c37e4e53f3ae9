#include "shell/pdfcommand.h"

#include "customers/addressblock.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "customers/workbookfile.h"
#include "customers/workbookreader.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "platform/screenmetrics.h"
#include "print/documentname.h"
#include "print/mergedletters.h"
#include "print/pdfdocument.h"
#include "print/renderpage.h"
#include "shell/commandline.h"
#include "shell/singleinstance.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

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

// The customers of `--customers`, read as the window's data source options
// read them: the file from the program directory, the key column the
// window's list starts with.
struct Customers
{
    CustomerTable table;
    int count = 0;
    addressblock::Layout layout = addressblock::Layout::Text;
    QString error; // why there are no letters to write
};

void readCustomers(CommandLine::Customers source, const TForm1 &form, Customers *customers)
{
    const int keyItem = form.radioGroupItemIndex();
    QString name;
    if (source == CommandLine::Customers::Text) {
        name = QStringLiteral("smpl1.txt");
        customers->layout = addressblock::Layout::Text;
    } else {
        name = workbookfile::customerWorkbookName(form.programDir);
        customers->layout = addressblock::Layout::Workbook;
    }
    const QString path = form.programDir + name;
    if (!QFileInfo(path).isFile()) {
        customers->error =
            source == CommandLine::Customers::Text
                ? QStringLiteral("no customer file %1").arg(QDir::toNativeSeparators(path))
                : QStringLiteral("no customer workbook %1 (nor smpl2.xlsx, "
                                 "smpl2.ods)")
                      .arg(QDir::toNativeSeparators(path));
        return;
    }

    QString readError;
    if (source == CommandLine::Customers::Text) {
        const auto result = textcustomerreader::read(path, keyItem, customers->table);
        if (result.ok())
            customers->count = result.count;
        else
            readError = result.errorMessage;
    } else {
        const auto result = workbookreader::read(path, keyItem, customers->table);
        if (result.ok())
            customers->count = result.count;
        else
            readError = result.errorMessage;
    }
    if (!readError.isEmpty())
        customers->error = errorreport::displayText(readError);
    else if (customers->count == 0)
        customers->error = QStringLiteral("nothing to merge: %1 holds no customers")
                               .arg(QDir::toNativeSeparators(path));
}

} // namespace

int run(char *argv0, const CommandLine &command)
{
    // The user's own choice of window system stands.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platformFor(command));

    // No lock is taken, but Qt still wants the user's private runtime folder.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        SingleInstanceLock::lendDirectoryToQt(SingleInstanceLock::runtimeDirectory());

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
        const QString title = documentname::jobName(QDateTime::currentDateTime());
        if (errors.isEmpty() && command.customers != CommandLine::Customers::None) {
            Customers customers;
            readCustomers(command.customers, form, &customers);
            if (!customers.error.isEmpty()) {
                complain(customers.error);
                complain(QStringLiteral("no PDF written"));
                return 2;
            }
            const MergedLetters letters =
                form.mergedLetters(customers.table, customers.count, customers.layout);
            written = pdfdocument::write(
                command.pdfPath, letters.count(),
                [&letters](qsizetype index) { return letters.page(index); }, title, &pdfError);
        } else if (errors.isEmpty()) {
            written = pdfdocument::write(command.pdfPath, {form.renderPage()}, title, &pdfError);
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

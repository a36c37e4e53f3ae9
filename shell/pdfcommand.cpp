// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/pdfcommand.h"

#include "customers/addressblock.h"
#include "customers/customersource.h"
#include "customers/tflist.h"
#include "letter/lettermodel.h"
#include "platform/clock.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "platform/screenmetrics.h"
#include "print/letteroutput.h"
#include "shell/commandline.h"
#include "shell/namedletteroption.h"
#include "shell/singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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
// window's list starts with ("担当者名").
struct Customers
{
    TFList holder;
    int count = 0;
    addressblock::Layout layout = addressblock::Layout::Text;
    QString error; // why there are no letters to write
};

constexpr int kListStartsWithPersons = 1;

void readCustomers(CommandLine::Customers option, const QString &programDir, Customers *customers)
{
    const auto source = option == CommandLine::Customers::Text
                            ? customersource::Source::TextList
                            : customersource::Source::WorkbookList;
    customers->layout = customersource::layoutOf(source);
    const QString path = programDir + customersource::fileName(source, programDir);
    if (!QFileInfo(path).isFile()) {
        customers->error =
            source == customersource::Source::TextList
                ? QStringLiteral("no customer file %1").arg(QDir::toNativeSeparators(path))
                : QStringLiteral("no customer workbook %1 (nor smpl2.xlsx, "
                                 "smpl2.ods)")
                      .arg(QDir::toNativeSeparators(path));
        return;
    }
    const CustomerRead read =
        customersource::read(customers->holder, source, path, kListStartsWithPersons);
    customers->count = customersource::shownCount(read).value_or(0);
    if (!read)
        customers->error = errorreport::displayText(read.error());
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
    // No widget is made: the letter is loaded, wrapped, rendered and
    // written by the letter model alone.
    QGuiApplication app(qtArgc, qtArgv);
    fontsubstitution::install();
    QGuiApplication::setApplicationName(QStringLiteral("Tavrint"));

    // Without a real screen the page follows the given height, else 768.
    if (command.screenHeight || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        ScreenMetrics fixed;
        fixed.height = command.screenHeight.value_or(768);
        ScreenMetrics::setInstance(fixed);
    }
    return writeLetter(QCoreApplication::applicationFilePath(), command);
}

namespace {

// The faxes of a run on standard output, one line each, and the customers
// passed over with why.
void tellFaxes(const letteroutput::Delivery &delivery)
{
    for (const letteroutput::SentFax &sent : delivery.faxes)
        std::printf("sent %s job %s %s\n", qUtf8Printable(sent.number), qUtf8Printable(sent.jobId),
                    qUtf8Printable(sent.addressee));
    for (const QString &skipped : delivery.skipped)
        std::printf("skipped %s\n", qUtf8Printable(skipped));
    std::fflush(stdout);
}

int sendFaxes(const LetterModel &letter, const CommandLine &command,
              const letteroutput::Customers &customers)
{
    const Result<fax::Service> service = fax::configured(letter.programDir());
    if (!service) {
        complain(service.error());
        complain(QStringLiteral("no fax sent"));
        return 2;
    }
    const letteroutput::Outcome outcome =
        command.customers == CommandLine::Customers::None
            ? letteroutput::fax(letter, command.faxNumber, *service)
            : letteroutput::faxMerged(letter, customers, *service);
    if (!outcome) {
        complain(outcome.error().replace(QLatin1Char('\n'), QLatin1String(": ")));
        complain(QStringLiteral("no fax sent"));
        return 2;
    }
    tellFaxes(*outcome);
    if (!outcome->logged) {
        complain(outcome->logged.error().replace(QLatin1Char('\n'), QLatin1String(": ")));
        complain(QStringLiteral("the faxes went, their rows in the send log did not"));
        return 3;
    }
    if (!outcome->stoppedBy.isEmpty()) {
        complain(QString(outcome->stoppedBy).replace(QLatin1Char('\n'), QLatin1String(": ")));
        complain(QStringLiteral("not every fax was sent: %1 of the customers with a number went")
                     .arg(outcome->faxes.size()));
        return 2;
    }
    return 0;
}

} // namespace

int writeLetter(const QString &executable, const CommandLine &command)
{
    LetterModel letter(LetterModel::programDirectoryOf(executable),
                       QFileInfo(executable).fileName(), ScreenMetrics::current());
    // What the window would show in a message box makes the PDF wrong (a box
    // text that cannot be read): it is reported here and nothing is written.
    QStringList errors;
    letter.load(Clock::today(), &errors);
    if (!errors.isEmpty()) {
        for (const QString &error : errors)
            complain(errorreport::displayText(error));
        complain(command.action == CommandLine::Action::SendFax ? QStringLiteral("no fax sent")
                                                                : QStringLiteral("no PDF written"));
        return 2;
    }
    const bool faxing = command.action == CommandLine::Action::SendFax;
    const QString nothingDone =
        faxing ? QStringLiteral("no fax sent") : QStringLiteral("no PDF written");
    if (!command.letterName.isEmpty() && !namedletteroption::apply(command.letterName, letter)) {
        complain(nothingDone);
        return 2;
    }
    // Files named on the command line are the documents behind the cover,
    // in place of those the window attached.
    if (!command.attachments.isEmpty()) {
        QStringList paths;
        for (const QString &path : command.attachments)
            paths.append(QFileInfo(path).absoluteFilePath());
        letter.setAttachments(paths, 0);
    }

    Customers customers;
    if (command.customers != CommandLine::Customers::None) {
        readCustomers(command.customers, letter.programDir(), &customers);
        if (!customers.error.isEmpty()) {
            complain(customers.error);
            complain(nothingDone);
            return 2;
        }
    }
    letteroutput::Customers chosen{customers.holder.sg1, customers.count, customers.layout};
    if (command.only) {
        const Result<QList<int>> rows = rowlist::rows(*command.only, customers.count);
        if (!rows) {
            complain(rows.error());
            complain(nothingDone);
            return 2;
        }
        chosen.rows = *rows;
    }
    const bool each = !command.pdfEachFolder.isEmpty();
    const QString target = each ? command.pdfEachFolder : command.pdfPath;
    if (faxing)
        return sendFaxes(letter, command, chosen);
    const letteroutput::Outcome outcome =
        command.customers == CommandLine::Customers::None
            ? letteroutput::savePdf(letter, command.pdfPath)
        : each ? letteroutput::savePdfEach(letter, chosen, command.pdfEachFolder)
               : letteroutput::saveMergedPdf(letter, chosen, command.pdfPath);
    if (!outcome) {
        complain(QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(target), outcome.error()));
        return 2;
    }
    // The letters went out: a send log that cannot be written is said, and
    // the PDF stays.
    if (!outcome->logged) {
        complain(outcome->logged.error().replace(QLatin1Char('\n'), QLatin1String(": ")));
        complain(each ? QStringLiteral("the PDFs are written, their rows in the send log are not")
                      : QStringLiteral("the PDF is written, its row in the send log is not"));
        return 3;
    }
    return 0;
}

} // namespace pdfcommand

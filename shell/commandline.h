// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/rowlist.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for. Only a first argument that is one of the
// program's own options ("--pdf", "--pdf-each", "--customers", "--only",
// "--screen-height", "--letter", "--attach", "--fax", "--help", "--version")
// starts option parsing; any other first argument (an addressee such as
// "株式会社　山田商事;;営業部", or an unknown "--word") is the hand-off text of
// a second start, exactly as it always was.
struct CommandLine
{
    enum class Action {
        StartWindow, // first start, or hand the first argument to the running one
        ShowHelp,
        ShowVersion,
        WritePdf,
        SendFax, // --fax: the saved letter (or every customer's) to the fax server
        Invalid, // a usage error: `errorText` says which
    };

    // Whose letters --pdf writes: the saved letter, or one letter for every
    // customer of the text file or of the workbook.
    enum class Customers {
        None,
        Text,     // --customers txt: smpl1.txt
        Workbook, // --customers xls: smpl2.xls (or .xlsx, .ods)
    };

    Action action = Action::StartWindow;
    QString pdfPath;       // --pdf FILE
    QString pdfEachFolder; // --pdf-each FOLDER: a PDF per customer instead (action WritePdf)
    Customers customers = Customers::None;
    std::optional<int> screenHeight; // --screen-height N
    QString letterName;              // --letter NAME: a named letter instead of the current one
    QStringList attachments;         // --attach FILE, in order: PDFs after the cover
    QString faxNumber;               // --fax NUMBER; empty with --customers
    std::optional<QList<rowlist::Span>> only; // --only N[,N-M...]: the merge's rows
    QString errorText;

    // `arguments` without the program's own name (argv[1] onwards).
    static CommandLine parse(const QStringList &arguments);

    // Whether `argument` is one of the options (with or without "=value").
    static bool isOption(const QString &argument);

    // Screen heights --screen-height accepts.
    static constexpr int kMinScreenHeight = 240;
    static constexpr int kMaxScreenHeight = 16384;
};

namespace commandline {

// The --help text: usage, options, the hand-off, where the files live and
// the keyboard shortcuts.
QString helpText();
// The --version text: the version, the copyright and the licence.
QString versionText();

} // namespace commandline

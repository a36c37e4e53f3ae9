// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/commandline.h"

namespace {

struct OptionRule
{
    QLatin1StringView name;
    bool takesValue;
    // The value may be left out: the next argument is it unless it is an
    // option of ours ("--fax --customers txt").
    bool valueOptional = false;
};

// The program's own options.
constexpr OptionRule kOptions[] = {
    {QLatin1StringView("--pdf"), true},           {QLatin1StringView("--customers"), true},
    {QLatin1StringView("--screen-height"), true}, {QLatin1StringView("--help"), false},
    {QLatin1StringView("--version"), false},      {QLatin1StringView("--letter"), true},
    {QLatin1StringView("--attach"), true},        {QLatin1StringView("--fax"), true, true},
    {QLatin1StringView("--pdf-each"), true},      {QLatin1StringView("--only"), true},
};

const OptionRule *findOption(QStringView name)
{
    for (const OptionRule &option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// "--name=value" -> "--name"
QStringView optionName(const QString &argument)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    return eq < 0 ? QStringView(argument) : QStringView(argument).left(eq);
}

CommandLine invalid(const QString &text)
{
    CommandLine line;
    line.action = CommandLine::Action::Invalid;
    line.errorText = text;
    return line;
}

} // namespace

bool CommandLine::isOption(const QString &argument)
{
    return argument.startsWith(QLatin1String("--")) && findOption(optionName(argument));
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine line;
    if (arguments.isEmpty() || !isOption(arguments.first()))
        return line; // a window, or a hand-off of the first argument

    bool help = false;
    bool version = false;
    std::optional<QString> pdf;
    std::optional<QString> pdfEach;
    bool customersGiven = false;
    bool letterGiven = false;
    bool fax = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const OptionRule *rule =
            argument.startsWith(QLatin1String("--")) ? findOption(optionName(argument)) : nullptr;
        if (!rule) {
            if (argument.startsWith(QLatin1String("--")))
                return invalid(QStringLiteral("unknown option '%1'").arg(argument));
            return invalid(QStringLiteral("unexpected argument '%1'").arg(argument));
        }
        const QString name = rule->name.toString();
        QString value;
        const qsizetype eq = argument.indexOf(QLatin1Char('='));
        if (rule->takesValue) {
            if (eq >= 0) {
                value = argument.mid(eq + 1);
            } else if (i + 1 < arguments.size() &&
                       !(rule->valueOptional && isOption(arguments.at(i + 1)))) {
                value = arguments.at(++i);
            } else if (!rule->valueOptional) {
                return invalid(QStringLiteral("%1 needs a value").arg(name));
            }
        } else if (eq >= 0) {
            return invalid(QStringLiteral("%1 takes no value").arg(name));
        }

        if (name == QLatin1String("--help")) {
            help = true;
        } else if (name == QLatin1String("--version")) {
            version = true;
        } else if (name == QLatin1String("--pdf")) {
            if (pdf)
                return invalid(QStringLiteral("--pdf given twice"));
            if (value.isEmpty())
                return invalid(QStringLiteral("--pdf needs a file name"));
            pdf = value;
        } else if (name == QLatin1String("--pdf-each")) {
            if (pdfEach)
                return invalid(QStringLiteral("--pdf-each given twice"));
            if (value.isEmpty())
                return invalid(QStringLiteral("--pdf-each needs a folder"));
            pdfEach = value;
        } else if (name == QLatin1String("--only")) {
            if (line.only)
                return invalid(QStringLiteral("--only given twice"));
            Result<QList<rowlist::Span>> spans = rowlist::parse(value);
            if (!spans)
                return invalid(spans.error());
            line.only = std::move(spans).value();
        } else if (name == QLatin1String("--customers")) {
            if (customersGiven)
                return invalid(QStringLiteral("--customers given twice"));
            customersGiven = true;
            if (value == QLatin1String("txt"))
                line.customers = Customers::Text;
            else if (value == QLatin1String("xls"))
                line.customers = Customers::Workbook;
            else
                return invalid(QStringLiteral("--customers wants txt (smpl1.txt) or xls "
                                              "(smpl2.xls, .xlsx or .ods), not '%1'")
                                   .arg(value));
        } else if (name == QLatin1String("--attach")) {
            if (value.isEmpty())
                return invalid(QStringLiteral("--attach needs a PDF file"));
            line.attachments.append(value);
        } else if (name == QLatin1String("--fax")) {
            if (fax)
                return invalid(QStringLiteral("--fax given twice"));
            fax = true;
            line.faxNumber = value;
        } else if (name == QLatin1String("--letter")) {
            if (letterGiven)
                return invalid(QStringLiteral("--letter given twice"));
            if (value.isEmpty())
                return invalid(QStringLiteral("--letter needs the name of a letter"));
            letterGiven = true;
            line.letterName = value;
        } else if (name == QLatin1String("--screen-height")) {
            if (line.screenHeight)
                return invalid(QStringLiteral("--screen-height given twice"));
            bool ok = false;
            const int height = value.toInt(&ok);
            if (!ok || height < kMinScreenHeight || height > kMaxScreenHeight)
                return invalid(QStringLiteral("--screen-height wants a number of pixels from "
                                              "%1 to %2, not '%3'")
                                   .arg(kMinScreenHeight)
                                   .arg(kMaxScreenHeight)
                                   .arg(value));
            line.screenHeight = height;
        }
    }

    if (help) {
        line.action = Action::ShowHelp;
    } else if (version) {
        line.action = Action::ShowVersion;
    } else if ((pdf || pdfEach) && fax) {
        return invalid(QStringLiteral("--pdf and --fax go one at a time"));
    } else if (pdf && pdfEach) {
        return invalid(QStringLiteral("--pdf and --pdf-each: one PDF or one per customer, "
                                      "not both"));
    } else if (pdfEach && !customersGiven) {
        return invalid(QStringLiteral("--pdf-each needs --customers txt|xls"));
    } else if (line.only && !customersGiven) {
        return invalid(QStringLiteral("--only is used with --customers"));
    } else if (pdf || pdfEach) {
        line.action = Action::WritePdf;
        line.pdfPath = pdf.value_or(QString());
        line.pdfEachFolder = pdfEach.value_or(QString());
    } else if (fax) {
        // One number, or every customer's own.
        if (customersGiven == !line.faxNumber.isEmpty())
            return invalid(customersGiven
                               ? QStringLiteral("--fax with --customers sends to each customer's "
                                                "own number: give no number")
                               : QStringLiteral("--fax needs a number (or --customers)"));
        line.action = Action::SendFax;
    } else if (customersGiven) {
        return invalid(QStringLiteral("--customers is used with --pdf, --pdf-each or --fax"));
    } else if (letterGiven) {
        return invalid(QStringLiteral("--letter is used with --pdf or --fax"));
    } else if (!line.attachments.isEmpty()) {
        return invalid(QStringLiteral("--attach is used with --pdf or --fax"));
    } else {
        return invalid(QStringLiteral("--screen-height is used with --pdf"));
    }
    return line;
}

namespace commandline {

QString helpText()
{
    return QStringLiteral(
        "Usage: tavrint                       open the letter window\n"
        "       tavrint \"ADDRESSEE\"           hand an addressee to the running window\n"
        "       tavrint --pdf FILE [--letter NAME] [--customers txt|xls [--only ROWS]]\n"
        "                          [--attach PDF]... [--screen-height N]\n"
        "       tavrint --pdf-each FOLDER --customers txt|xls [--only ROWS]\n"
        "                          [--letter NAME] [--attach PDF]... [--screen-height N]\n"
        "       tavrint --fax NUMBER [--letter NAME] [--attach PDF]...\n"
        "       tavrint --fax --customers txt|xls [--only ROWS] [--letter NAME]\n"
        "                          [--attach PDF]...\n"
        "       tavrint --help | --version\n"
        "\n"
        "Tavrint composes and prints a one-page Japanese cover letter on A4.\n"
        "\n"
        "Options:\n"
        "  --pdf FILE           write the saved letter (settings file and box texts\n"
        "                       from the program directory, today's date) into FILE\n"
        "                       as a one-page A4 PDF, without a window; needs no\n"
        "                       display and leaves a running window alone.\n"
        "                       Exit status 0, or 2 with a message on stderr (no\n"
        "                       PDF), or 3 when the PDF is written but its row\n"
        "                       could not be added to the send log.\n"
        "  --customers txt|xls  with --pdf: one page for every customer instead, in\n"
        "                       list order, each with that customer's addressee\n"
        "                       block in box 宛名 and the rest of the saved letter;\n"
        "                       txt reads smpl1.txt, xls reads smpl2.xls (or\n"
        "                       smpl2.xlsx, smpl2.ods when it is missing), as\n"
        "                       \"TXTから取得\" and \"XLSから取得\" would. A missing\n"
        "                       or unreadable file, or one without customers,\n"
        "                       gives exit status 2.\n"
        "  --only ROWS          with --customers: only the customers of these rows of\n"
        "                       the list, counted from 1, such as 3 or 1,4-6; they go\n"
        "                       out in list order whatever the order written. A row\n"
        "                       the list does not have gives exit status 2.\n"
        "  --pdf-each FOLDER    with --customers, instead of --pdf: one PDF per\n"
        "                       customer in FOLDER (which must exist), named after\n"
        "                       its row and company, such as\n"
        "                       0003_株式会社　山田商事.pdf; characters a file name\n"
        "                       cannot hold become _. Each file is written whole or\n"
        "                       not at all and gets its own send-log row; a folder\n"
        "                       that cannot be written gives exit status 2.\n"
        "  --attach PDF         with --pdf or --fax, repeatable: the PDF's pages go\n"
        "                       after the cover (after each customer's with\n"
        "                       --customers), as they are, in the order given, in\n"
        "                       place of the documents the window attached. A file\n"
        "                       that is missing, not a PDF, encrypted or damaged\n"
        "                       gives exit status 2 and nothing goes out.\n"
        "  --fax NUMBER         send the saved letter (and its documents) as one fax\n"
        "                       to NUMBER (digits; blanks, \"-\" and parentheses are\n"
        "                       dropped) through the fax server: HylaFAX's sendfax\n"
        "                       to the host in FAXSERVER (else this machine), or what\n"
        "                       Init/fax.ini names (the window's FAX送信… writes it).\n"
        "  --fax --customers txt|xls   one fax per customer of the list, to the\n"
        "                       number in its 《FAX》 cell; customers without a usable\n"
        "                       number are skipped.\n"
        "                       Each fax prints \"sent NUMBER job ID ADDRESSEE\", each\n"
        "                       skipped customer \"skipped ROW ...: WHY\". Exit status\n"
        "                       0 when every fax with a number was submitted; 2 when\n"
        "                       nothing or not everything was (server unreachable, a\n"
        "                       bad number or document), with a message on stderr; 3\n"
        "                       when the faxes went but the send log could not be\n"
        "                       written.\n"
        "  --letter NAME        with --pdf or --fax: the letter kept under NAME "
        "(Letters/NAME.ini)\n"
        "                       instead of the saved one, whose files stay as they\n"
        "                       are. An unknown NAME gives exit status 2 and the\n"
        "                       names of the letters there are.\n"
        "  --screen-height N    with --pdf: lay the page out as on a screen N pixels\n"
        "                       high (which also picks the settings file\n"
        "                       Init/tavrint<N/20>.ini). Without it: the primary\n"
        "                       screen's height when a display is reachable, else 768.\n"
        "  --help               show this text\n"
        "  --version            show the version and the licence\n"
        "\n"
        "Hand-off: while the window is open, a second start hands its first argument\n"
        "to it as the new addressee (box 宛名), \";;\" standing for a line break, and\n"
        "exits (status 1 when no running window answered):\n"
        "  tavrint \"株式会社　山田商事;;営業部;;山田　太郎　様\"\n"
        "\n"
        "Files, all in the program directory (the folder of the executable):\n"
        "  Init/tavrintNN.ini   the layout for screen height NN x 20 pixels\n"
        "  Init/calibration.ini the printer calibrations of 印刷位置の調整…, one line\n"
        "                       per queue: shift right, shift down (0.1 mm), scale\n"
        "                       (0.1 %), applied to that queue's prints only\n"
        "  Data/1本文.txt ... Data/8結.txt   the box texts (code page 932)\n"
        "  smpl1.txt            customers for \"TXTから取得\"\n"
        "  smpl2.xls            customers for \"XLSから取得\"\n"
        "  smpl3.xls            the workbook \"XLSから差込\" opens\n"
        "  Letters/NAME.ini     the letters kept under a name (UTF-8): their box\n"
        "                       texts, layout, date style, documents\n"
        "  Init/currentletter.txt   the name of the letter in Init/ and Data/, while\n"
        "                       it has one\n"
        "  Data/添付ファイル.txt   the PDFs that go after the cover (UTF-8, a path a\n"
        "                       line), once the letter had any\n"
        "  Init/fax.ini         the fax service chosen in the window (Service=hylafax\n"
        "                       with Host=, or Service=cups with Queue=)\n"
        "  送付記録.csv          the send log: a row for every letter printed,\n"
        "                       written to a PDF or faxed (日時,方法,宛先,標題,出力先;\n"
        "                       a fax's 出力先 is its number and hylafax://HOST/JOB\n"
        "                       or cups://QUEUE/JOB)\n"
        "\n"
        "Fields: a box text may hold fields, which print (and show in the preview)\n"
        "as that cell of the customer last chosen in the list, or, with\n"
        "--customers, of each page's own customer; with no customer, as nothing.\n"
        "  field        workbook column   smpl1.txt field\n"
        "  《番号》       A                 -\n"
        "  《会社名》     B                 1st\n"
        "  《担当者》     C                 2nd\n"
        "  《部署》       D                 3rd\n"
        "  《郵便番号》   E                 4th\n"
        "  《電話》       F                 6th\n"
        "  《FAX》        G                 7th\n"
        "  《住所》       H                 5th\n"
        "  《日付》       today's date, in the letter's style (西暦 or 和暦)\n"
        "  《枚数》       the pages that go out, the cover included\n"
        "The right-click menu of a box offers them (差し込み項目), and 《日付》 and\n"
        "《枚数》 beside.\n"
        "\n"
        "Keyboard shortcuts in the window:\n"
        "  Ctrl+P               print (印刷)\n"
        "  F5                   preview on/off (プレビュー)\n"
        "  Ctrl+F               font chooser for the current box\n"
        "  Ctrl+1 ... Ctrl+8    put the cursor into box 1 ... 8\n"
        "  Ctrl+Shift+S         save the letter as PDF (PDFに保存…)\n"
        "  Ctrl+Shift+E         one letter per customer of the list into one PDF\n"
        "                       (全員分をPDFに保存…)\n"
        "  Ctrl+Shift+P         print one letter per customer of the list as one\n"
        "                       job (全員分を印刷)\n"
        "  Ctrl+Shift+F         fax the letter to the chosen customer (FAX送信…)\n"
        "The last four are also in the menu of a right click on a bare spot of\n"
        "the page or the left panel, with 1件ずつPDFに保存… (one PDF per customer\n"
        "into a folder), 印刷位置の調整… (calibrate the default printer for\n"
        "letterhead), the named letters: この文書を名前を付けて保存…, 文書を開く,\n"
        "文書の名前を変更, 文書を削除; and 添付ファイル… (the PDFs after the cover;\n"
        "PDF files dropped on the page are added too), 全員分をFAX送信 and 送付記録…\n"
        "(the send log, with each fax's state). Before a run of the list's letters\n"
        "(PDF, print, fax), a dialog shows the customers with check boxes, a filter\n"
        "and a preview of each letter; only the checked ones go out. Box 発行日's\n"
        "right-click menu chooses the date style (日付の書式: 西暦 2026年12月10日 or\n"
        "和暦 令和8年12月10日).\n");
}

QString versionText()
{
    return QStringLiteral("Tavrint " TAVRINT_VERSION "\n"
                          "Copyright (C) " TAVRINT_COPYRIGHT "\n"
                          "License " TAVRINT_LICENSE " <https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n");
}

} // namespace commandline

// SPDX-License-Identifier: GPL-3.0-or-later
// Which arguments are the program's options and which are a hand-off text.

#include "shell/commandline.h"

#include <QTest>

using Action = CommandLine::Action;
using Customers = CommandLine::Customers;
Q_DECLARE_METATYPE(CommandLine::Action)
Q_DECLARE_METATYPE(CommandLine::Customers)

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void fax_data();
    void fax();
    void customers_data();
    void customers();
    void mergeChoice_data();
    void mergeChoice();
    void invalidSaysWhy_data();
    void invalidSaysWhy();
    void helpNamesWhatAUserNeeds_data();
    void helpNamesWhatAUserNeeds();
    void versionNamesTheLicence();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("pdfPath");
    QTest::addColumn<int>("screenHeight"); // 0: not given

    const auto window = Action::StartWindow;
    QTest::newRow("no arguments: the window") << QStringList() << window << QString() << 0;
    QTest::newRow("an addressee is handed over")
        << QStringList{"株式会社　山田商事;;営業部"} << window << QString() << 0;
    QTest::newRow("an unknown --word is handed over as before")
        << QStringList{"--reverse"} << window << QString() << 0;
    QTest::newRow("a single dash is no option")
        << QStringList{"-pdf", "x.pdf"} << window << QString() << 0;
    QTest::newRow("a known option after an addressee stays part of the hand-off")
        << QStringList{"山田様", "--pdf", "x.pdf"} << window << QString() << 0;
    QTest::newRow("just two dashes") << QStringList{"--"} << window << QString() << 0;

    QTest::newRow("--pdf FILE") << QStringList{"--pdf", "out.pdf"} << Action::WritePdf << "out.pdf"
                                << 0;
    QTest::newRow("--pdf=FILE") << QStringList{"--pdf=out.pdf"} << Action::WritePdf << "out.pdf"
                                << 0;
    QTest::newRow("file name with spaces and kanji")
        << QStringList{"--pdf", "/tmp/送り状 1.pdf"} << Action::WritePdf << "/tmp/送り状 1.pdf"
        << 0;
    QTest::newRow("--pdf then --screen-height")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "1080"} << Action::WritePdf << "a.pdf"
        << 1080;
    QTest::newRow("--screen-height first") << QStringList{"--screen-height=900", "--pdf", "a.pdf"}
                                           << Action::WritePdf << "a.pdf" << 900;
    QTest::newRow("lowest height") << QStringList{"--pdf", "a.pdf", "--screen-height", "240"}
                                   << Action::WritePdf << "a.pdf" << 240;

    QTest::newRow("--help") << QStringList{"--help"} << Action::ShowHelp << QString() << 0;
    QTest::newRow("--version") << QStringList{"--version"} << Action::ShowVersion << QString() << 0;
    QTest::newRow("--help wins over --pdf")
        << QStringList{"--pdf", "a.pdf", "--help"} << Action::ShowHelp << QString() << 0;
    QTest::newRow("--help wins over --version")
        << QStringList{"--version", "--help"} << Action::ShowHelp << QString() << 0;

    const auto invalid = Action::Invalid;
    QTest::newRow("--pdf without a file") << QStringList{"--pdf"} << invalid << QString() << 0;
    QTest::newRow("--pdf with an empty file")
        << QStringList{"--pdf", ""} << invalid << QString() << 0;
    QTest::newRow("--pdf= empty") << QStringList{"--pdf="} << invalid << QString() << 0;
    QTest::newRow("--pdf twice") << QStringList{"--pdf", "a.pdf", "--pdf", "b.pdf"} << invalid
                                 << QString() << 0;
    QTest::newRow("stray argument after the options")
        << QStringList{"--pdf", "a.pdf", "extra"} << invalid << QString() << 0;
    QTest::newRow("unknown option after a known one")
        << QStringList{"--pdf", "a.pdf", "--bogus"} << invalid << QString() << 0;
    QTest::newRow("--screen-height without --pdf")
        << QStringList{"--screen-height", "900"} << invalid << QString() << 0;
    QTest::newRow("--screen-height not a number")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "tall"} << invalid << QString() << 0;
    QTest::newRow("--screen-height too small")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "239"} << invalid << QString() << 0;
    QTest::newRow("--screen-height negative")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "-768"} << invalid << QString() << 0;
    QTest::newRow("--screen-height beyond int")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "99999999999"} << invalid << QString()
        << 0;
    QTest::newRow("--screen-height missing its value")
        << QStringList{"--pdf", "a.pdf", "--screen-height"} << invalid << QString() << 0;
    QTest::newRow("--help with a value") << QStringList{"--help=yes"} << invalid << QString() << 0;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, pdfPath);
    QFETCH(int, screenHeight);

    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.pdfPath, pdfPath);
    QCOMPARE(line.screenHeight.value_or(0), screenHeight);
    QCOMPARE(line.errorText.isEmpty(), action != Action::Invalid);
}

void TestCommandLine::fax_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("attachments");
    const auto invalid = Action::Invalid;
    const auto sendFax = Action::SendFax;

    QTest::newRow("a number") << QStringList{"--fax", "03-1234-5678"} << sendFax << "03-1234-5678"
                              << QStringList();
    QTest::newRow("--fax=number") << QStringList{"--fax=0312"} << sendFax << "0312"
                                  << QStringList();
    QTest::newRow("every customer: the next option is no number")
        << QStringList{"--fax", "--customers", "txt"} << sendFax << QString() << QStringList();
    QTest::newRow("documents in order")
        << QStringList{"--fax", "03", "--attach", "b.pdf", "--attach=a.pdf"} << sendFax << "03"
        << QStringList{"b.pdf", "a.pdf"};
    QTest::newRow("documents with --pdf") << QStringList{"--pdf", "x.pdf", "--attach", "a.pdf"}
                                          << Action::WritePdf << QString() << QStringList{"a.pdf"};
    QTest::newRow("no number, no customers")
        << QStringList{"--fax"} << invalid << QString() << QStringList();
    QTest::newRow("a number and every customer")
        << QStringList{"--fax", "03", "--customers", "txt"} << invalid << "03" << QStringList();
    QTest::newRow("a PDF and a fax at once")
        << QStringList{"--pdf", "x.pdf", "--fax", "03"} << invalid << "03" << QStringList();
    QTest::newRow("--fax twice") << QStringList{"--fax", "03", "--fax", "04"} << invalid << "03"
                                 << QStringList();
    QTest::newRow("a document alone")
        << QStringList{"--attach", "a.pdf"} << invalid << QString() << QStringList{"a.pdf"};
    QTest::newRow("a document without a name")
        << QStringList{"--fax", "03", "--attach="} << invalid << "03" << QStringList();
}

void TestCommandLine::fax()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.action, action);
    QCOMPARE(line.errorText.isEmpty(), action != Action::Invalid);
    if (action != Action::Invalid) {
        QTEST(line.faxNumber, "number");
        QTEST(line.attachments, "attachments");
    }
}

void TestCommandLine::customers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<Customers>("customers");
    const auto invalid = Action::Invalid;
    QTest::newRow("the saved letter")
        << QStringList{"--pdf", "a.pdf"} << Action::WritePdf << Customers::None;
    QTest::newRow("txt") << QStringList{"--pdf", "all.pdf", "--customers", "txt"}
                         << Action::WritePdf << Customers::Text;
    QTest::newRow("xls") << QStringList{"--pdf", "all.pdf", "--customers", "xls"}
                         << Action::WritePdf << Customers::Workbook;
    QTest::newRow("--customers=xls first") << QStringList{"--customers=xls", "--pdf", "all.pdf"}
                                           << Action::WritePdf << Customers::Workbook;
    QTest::newRow("with a screen height")
        << QStringList{"--pdf", "a.pdf", "--screen-height", "1080", "--customers", "txt"}
        << Action::WritePdf << Customers::Text;
    QTest::newRow("upper case is not a source")
        << QStringList{"--pdf", "a.pdf", "--customers", "TXT"} << invalid << Customers::None;
    QTest::newRow("a file name is not a source")
        << QStringList{"--pdf", "a.pdf", "--customers", "smpl1.txt"} << invalid << Customers::None;
    QTest::newRow("xlsx is not a source")
        << QStringList{"--pdf", "a.pdf", "--customers", "xlsx"} << invalid << Customers::None;
    QTest::newRow("empty source") << QStringList{"--pdf", "a.pdf", "--customers="} << invalid
                                  << Customers::None;
    QTest::newRow("missing source")
        << QStringList{"--pdf", "a.pdf", "--customers"} << invalid << Customers::None;
    QTest::newRow("given twice") << QStringList{"--pdf", "a.pdf",       "--customers",
                                                "txt",   "--customers", "xls"}
                                 << invalid << Customers::None;
    QTest::newRow("without --pdf")
        << QStringList{"--customers", "txt"} << invalid << Customers::None;
}

void TestCommandLine::customers()
{
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(Customers, customers);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.action, action);
    if (action != Action::Invalid)
        QCOMPARE(line.customers, customers);
    else
        QVERIFY2(line.errorText.contains(QStringLiteral("--customers")),
                 qPrintable(line.errorText));
}

void TestCommandLine::mergeChoice_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("pdfEach"); // the folder; empty: one PDF
    QTest::addColumn<QString>("only");    // the spans read, "first-last" each; "-": all
    QTest::addColumn<QString>("error");   // part of the usage error; empty: none

    QTest::newRow("--pdf-each with txt")
        << QStringList{"--pdf-each", "out", "--customers", "txt"} << "out"
        << "-" << QString();
    QTest::newRow("--pdf-each=FOLDER first, xls")
        << QStringList{"--pdf-each=送付状", "--customers=xls"} << "送付状"
        << "-" << QString();
    QTest::newRow("--only with --pdf")
        << QStringList{"--pdf", "a.pdf", "--customers", "txt", "--only", "3,1-2"} << QString()
        << "3-3,1-2" << QString();
    QTest::newRow("--only first") << QStringList{"--only=5", "--pdf-each", "o", "--customers",
                                                 "xls"}
                                  << "o"
                                  << "5-5" << QString();
    QTest::newRow("--pdf-each alone") << QStringList{"--pdf-each", "out"} << QString() << "-"
                                      << "--pdf-each needs --customers";
    QTest::newRow("--pdf-each and --pdf")
        << QStringList{"--pdf", "a.pdf", "--pdf-each", "out", "--customers", "txt"} << QString()
        << "-"
        << "not both";
    QTest::newRow("--pdf-each empty")
        << QStringList{"--pdf-each=", "--customers", "txt"} << QString() << "-"
        << "needs a folder";
    QTest::newRow("--pdf-each twice")
        << QStringList{"--pdf-each", "a", "--pdf-each", "b", "--customers", "txt"} << QString()
        << "-"
        << "twice";
    QTest::newRow("--only without --customers")
        << QStringList{"--pdf", "a.pdf", "--only", "1"} << QString() << "-"
        << "--only is used with --customers";
    QTest::newRow("--only twice") << QStringList{"--pdf",  "a", "--customers", "txt",
                                                 "--only", "1", "--only",      "2"}
                                  << QString() << "-"
                                  << "--only given twice";
    QTest::newRow("--only without rows")
        << QStringList{"--pdf", "a", "--customers", "txt", "--only"} << QString() << "-"
        << "--only needs a value";
}

void TestCommandLine::mergeChoice()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, pdfEach);
    QFETCH(QString, only);
    QFETCH(QString, error);
    const CommandLine line = CommandLine::parse(arguments);
    if (!error.isEmpty()) {
        QCOMPARE(line.action, Action::Invalid);
        QVERIFY2(line.errorText.contains(error), qPrintable(line.errorText));
        return;
    }
    QVERIFY2(line.action == Action::WritePdf, qPrintable(line.errorText));
    QCOMPARE(line.pdfEachFolder, pdfEach);
    QStringList spans;
    if (line.only)
        for (const rowlist::Span &span : *line.only)
            spans << QStringLiteral("%1-%2").arg(span.first).arg(span.last);
    QCOMPARE(line.only ? spans.join(QLatin1Char(',')) : QStringLiteral("-"), only);
}

void TestCommandLine::invalidSaysWhy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("missing file") << QStringList{"--pdf"} << "--pdf";
    QTest::newRow("unknown option") << QStringList{"--pdf", "a", "--colour"} << "--colour";
    QTest::newRow("bad height") << QStringList{"--pdf", "a", "--screen-height", "x7"} << "x7";
    QTest::newRow("stray word") << QStringList{"--version", "please"} << "please";
    QTest::newRow("bad customer source")
        << QStringList{"--pdf", "a", "--customers", "csv"} << "'csv'";
}

void TestCommandLine::invalidSaysWhy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const CommandLine line = CommandLine::parse(arguments);
    QCOMPARE(line.action, Action::Invalid);
    QVERIFY2(line.errorText.contains(mentions), qPrintable(line.errorText));
}

void TestCommandLine::helpNamesWhatAUserNeeds_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text : {"--pdf FILE",   "--screen-height N",
                             "--help",       "--version",
                             ";;",           "Init/",
                             "Data/",        "smpl1.txt",
                             "smpl2.xls",    "smpl3.xls",
                             "Ctrl+P",       "F5",
                             "Ctrl+F",       "Ctrl+1",
                             "Ctrl+8",       "Ctrl+Shift+S",
                             "768",          "--customers txt|xls",
                             "Ctrl+Shift+E", "Ctrl+Shift+P",
                             "全員分を印刷", "--pdf-each FOLDER",
                             "--only ROWS",  "1件ずつPDFに保存"})
        QTest::newRow(text) << QString::fromUtf8(text);
}

void TestCommandLine::helpNamesWhatAUserNeeds()
{
    QFETCH(QString, text);
    QVERIFY(commandline::helpText().contains(text));
}

void TestCommandLine::versionNamesTheLicence()
{
    const QString version = commandline::versionText();
    QCOMPARE(version.section(QLatin1Char('\n'), 0, 0), QStringLiteral("Tavrint " TAVRINT_VERSION));
    QVERIFY(version.contains(QStringLiteral("Copyright (C) 2026 The Tavrint developers\n")));
    QVERIFY(version.contains(QStringLiteral("License GPL-3.0-or-later ")));
    QVERIFY(version.contains(QStringLiteral("NO WARRANTY")));
    QVERIFY(version.endsWith(QLatin1Char('\n')));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

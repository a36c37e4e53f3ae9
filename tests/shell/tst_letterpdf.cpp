// SPDX-License-Identifier: GPL-3.0-or-later
// --pdf as a library of its own: the letter loaded, wrapped, rendered and
// written with no widget library in the process at all, and the PDF it
// makes is the one the program's --pdf makes.

#include "shell/commandline.h"
#include "shell/pdfcommand.h"

#include "platform/cp932.h"
#include "platform/fontsubstitution.h"
#include "platform/screenmetrics.h"

#include "../testfiles.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {
QString wordsOf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    // The page's words with their places; the document's dates differ.
    QStringList words;
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (line.contains(QLatin1String("<word")))
            words.append(line.trimmed());
    }
    return words.join(u'\n');
}

void writeLetter(const ProgramDir &dir)
{
    dir.writeFile(u8"Data/1本文.txt",
                  cp932::encode(QStringLiteral("拝啓　時下ますますご清栄のこととお慶び申し上げます"
                                               "。書類をお送りいたします。\r\n\r\nenclosed")));
    dir.writeFile(u8"Data/2宛名.txt",
                  cp932::encode(QStringLiteral("株式会社　山田商事\r\n営業部")));
    dir.writeFile(u8"smpl1.txt",
                  cp932::encode(QStringLiteral("一の会社,一郎,総務部,,東京都\r\n二の会社,二郎,"
                                               "営業部,,大阪府\r\n")));
}
} // namespace

class TestLetterPdf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void noWidgetLibraryInTheProcess();
    void samePdfAsTheProgram_data();
    void samePdfAsTheProgram();
};

void TestLetterPdf::initTestCase()
{
    fontsubstitution::install();
    ScreenMetrics::setInstance({1366, 768, 96});
}

void TestLetterPdf::noWidgetLibraryInTheProcess()
{
    QVERIFY(!qobject_cast<QGuiApplication *>(qApp)->inherits("QApplication"));
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    QVERIFY(!maps.readAll().contains("libQt6Widgets"));
}

void TestLetterPdf::samePdfAsTheProgram_data()
{
    QTest::addColumn<QStringList>("arguments"); // after --pdf FILE
    QTest::newRow("the saved letter") << QStringList{};
    QTest::newRow("one letter per customer") << QStringList{u8"--customers", u8"txt"};
}

void TestLetterPdf::samePdfAsTheProgram()
{
    QFETCH(QStringList, arguments);
    ProgramDir inProcess, program;
    writeLetter(inProcess);
    writeLetter(program);

    const QString pdf = inProcess.path(u8"letter.pdf");
    const CommandLine command =
        CommandLine::parse(QStringList{u8"--pdf", pdf, u8"--screen-height", u8"768"} + arguments);
    QCOMPARE(pdfcommand::writeLetter(inProcess.path(u8"tavrint"), command), 0);

    QVERIFY(QFile::copy(QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint"),
                        program.path(u8"tavrint")));
    QProcess run;
    run.setWorkingDirectory(program.programDir());
    run.start(program.path(u8"tavrint"),
              QStringList{u8"--pdf", program.path(u8"letter.pdf"), u8"--screen-height", u8"768"} +
                  arguments);
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);

    const QString words = wordsOf(pdf);
    QVERIFY(words.contains(u8"enclosed"));
    QCOMPARE(words, wordsOf(program.path(u8"letter.pdf")));
}

QTEST_MAIN(TestLetterPdf)
#include "tst_letterpdf.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// `tavrint --pdf FILE` run as a script would run it: a fresh process with no
// display, in a program directory holding a letter; the PDF read back with
// poppler's tools. Also --help and --version without a display.

#include "../platform/unprivileged.h"
#include "../poppler.h"
#include "../testfiles.h"
#include "../testrig.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

struct Word
{
    QString text;
    double xMin, yMin; // points from the sheet's top-left
};

QList<Word> wordsOf(const QString &pdf)
{
    QXmlStreamReader xml(poppler::run(QStringLiteral("pdftotext"),
                                      {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    QList<Word> words;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const double x = a.value(QLatin1String("xMin")).toDouble();
            const double y = a.value(QLatin1String("yMin")).toDouble();
            words.append({xml.readElementText(), x, y});
        }
    }
    return words;
}

} // namespace

class TestPdfCommand : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void writesTheSavedLetter_data();
    void writesTheSavedLetter();
    void unwritableTarget_data();
    void unwritableTarget();
    void readOnlyFolderKeepsTheOldFile_data();
    void readOnlyFolderKeepsTheOldFile();
    void unreadableBoxTextWritesNothing();
    void oneLetterPerCustomer_data();
    void oneLetterPerCustomer();
    void noLettersWithoutCustomers_data();
    void noLettersWithoutCustomers();
    void onlyTheChosenRows_data();
    void onlyTheChosenRows();
    void onePdfPerCustomer_data();
    void onePdfPerCustomer();
    void sameCompanyTwoFiles();
    void pdfEachIntoAFolderItCannotWrite_data();
    void pdfEachIntoAFolderItCannotWrite();
    void optionsNeedNoDisplay_data();
    void optionsNeedNoDisplay();

private:
    QString program() const { return m_dir->filePath(QStringLiteral("tavrint")); }
    void write(const QString &relative, const QByteArray &bytes);
    Run run(const QStringList &arguments, bool asNobody = false);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPdfCommand::init()
{
    const QString binary = QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint");
    if (!QFileInfo::exists(binary))
        SKIP_MISSING_RIG("the program is not built");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        SKIP_MISSING_RIG("poppler-utils are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QFile::copy(binary, program()));
    unprivileged::chmodTo(m_dir->path(), 0755);
}

void TestPdfCommand::write(const QString &relative, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(writePlain(path, bytes));
}

Run TestPdfCommand::run(const QStringList &arguments, bool asNobody)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A cron job's world: no display, no choice of window system.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->path());
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(m_dir->path());
    if (asNobody) {
        p.start(QStringLiteral("setpriv"),
                QStringList{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                            QStringLiteral("--clear-groups"), program()} +
                    arguments);
    } else {
        p.start(program(), arguments);
    }
    Run result;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return result;
    }
    if (p.exitStatus() == QProcess::NormalExit)
        result.exitCode = p.exitCode();
    result.out = QString::fromUtf8(p.readAllStandardOutput());
    result.err = QString::fromUtf8(p.readAllStandardError());
    return result;
}

void TestPdfCommand::writesTheSavedLetter_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("settingsFile");
    QTest::addColumn<double>("addresseeX"); // points
    QTest::addColumn<double>("addresseeY");
    // Box B's frame stored at (100, 50). Without a display the screen is 768
    // high: page 461 x 652, rim 5, so X = Round(105 * 6614 / 461) = 1506 and
    // Y = Round(55 * 9354 / 652) = 789 units, on the whole 595 x 842 pt sheet.
    QTest::newRow("no display: 768") << QStringList() << "Init/tavrint38.ini" << 135.48 << 71.02;
    // 1080: page 590 x 834, rim 9: X = Round(109 * 6614 / 590) = 1222,
    // Y = Round(59 * 9354 / 834) = 662.
    QTest::newRow("--screen-height 1080")
        << QStringList{"--screen-height", "1080"} << "Init/tavrint54.ini" << 109.93 << 59.59;
    // 1024: rim 7: X = Round(107 * 6614 / 590) = 1199, Y = Round(57 * 9354 / 834) = 639.
    QTest::newRow("--screen-height=1024")
        << QStringList{"--screen-height=1024"} << "Init/tavrint51.ini" << 107.86 << 57.52;
}

void TestPdfCommand::writesTheSavedLetter()
{
    QFETCH(QStringList, options);
    QFETCH(QString, settingsFile);
    QFETCH(double, addresseeX);
    QFETCH(double, addresseeY);

    write(settingsFile, "[tavrint]\r\nmm2Left=100\r\nmm2Top=50\r\nmm2Width=300\r\n");
    write(u8("Data/1本文.txt"), "Body text of the letter\r\n");
    write(u8("Data/2宛名.txt"), "ADDRESSEE\r\nSECONDLINE\r\n");
    write(u8("Data/3署名.txt"), "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59"); // 山田　太郎

    const QString pdf = m_dir->filePath(QStringLiteral("letter.pdf"));
    const Run r = run(QStringList{QStringLiteral("--pdf"), pdf} + options);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(r.out.isEmpty());

    const QString info = poppler::run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Page size:\\s+595 x 842 pts"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));

    // A text layer: the letter's lines come back as text.
    const QString text = poppler::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const QString &line :
         {QStringLiteral("Body text of the letter"), QStringLiteral("ADDRESSEE"),
          QStringLiteral("SECONDLINE"), u8("山田"), u8("太郎"),
          QDate::currentDate().toString(u8("yyyy年MM月dd日"))})
        QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" in:\n") + text));

    // Every font embedded, none drawn as Type 3 glyph procedures.
    const QStringList fonts = poppler::run(QStringLiteral("pdffonts"), {pdf})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(fonts.size() > 2);
    for (const QString &font : fonts.mid(2)) {
        QVERIFY2(!font.contains(QStringLiteral("Type 3")), qPrintable(font));
        const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 4 && columns.at(columns.size() - 5) == QLatin1String("yes"),
                 qPrintable(font));
    }

    // Box B where its settings file and the page geometry put it.
    const QList<Word> words = wordsOf(pdf);
    const auto found = std::find_if(words.cbegin(), words.cend(), [](const Word &w) {
        return w.text == QLatin1String("ADDRESSEE");
    });
    QVERIFY(found != words.cend());
    QVERIFY2(qAbs(found->xMin - addresseeX) < 1.0, qPrintable(QString::number(found->xMin)));
    QVERIFY2(qAbs(found->yMin - addresseeY) < 1.0, qPrintable(QString::number(found->yMin)));

    // Rendering writes nothing of the letter.
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Init/tavrint38.ini"))) ||
            settingsFile == QLatin1String("Init/tavrint38.ini"));
    QCOMPARE(readAll(m_dir->filePath(u8("Data/2宛名.txt"))),
             QByteArray("ADDRESSEE\r\nSECONDLINE\r\n"));
}

void TestPdfCommand::unwritableTarget_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder does not exist") << "no-such-folder/letter.pdf";
    QTest::newRow("target is a folder") << "Data";
    QTest::newRow("target under a file") << "tavrint/letter.pdf";
}

void TestPdfCommand::unwritableTarget()
{
    QFETCH(QString, target);
    write(u8("Data/1本文.txt"), "Body\r\n");
    const QString path = m_dir->filePath(target);
    const Run r = run({QStringLiteral("--pdf"), path});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QStringLiteral("cannot write")) && r.err.contains(path),
             qPrintable(r.err));
    QVERIFY(QFileInfo(path).isDir() || !QFileInfo::exists(path));
    QVERIFY(QFileInfo(program()).isFile()); // nothing replaced
}

void TestPdfCommand::readOnlyFolderKeepsTheOldFile_data()
{
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<bool>("replaced");
    // A folder that forbids new files: an existing file the user may write is
    // rewritten in place; one the user may not write stays as it was.
    QTest::newRow("writable file") << 0644 << true;
    QTest::newRow("read-only file") << 0444 << false;
}

void TestPdfCommand::readOnlyFolderKeepsTheOldFile()
{
    QFETCH(int, fileMode);
    QFETCH(bool, replaced);
    const QString why = unprivileged::unavailableReason();
    if (!why.isEmpty())
        SKIP_MISSING_RIG(qPrintable(why));
    write(u8("Data/1本文.txt"), "Body\r\n");
    const QString folder = m_dir->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/letter.pdf");
    QVERIFY(writePlain(old, "the letter of yesterday"));
    // Everything the program needs belongs to nobody; the folder is read-only.
    for (const QString &p : {m_dir->path(), m_dir->filePath(QStringLiteral("Data")),
                             m_dir->filePath(u8("Data/1本文.txt")), folder, old})
        QVERIFY(unprivileged::chownTo(p, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
    QVERIFY(unprivileged::chmodTo(old, fileMode));
    QVERIFY(unprivileged::chmodTo(folder, 0555));

    const Run r = run({QStringLiteral("--pdf"), old}, true);
    unprivileged::chmodTo(folder, 0755);
    if (replaced) {
        QCOMPARE(r.exitCode, 0);
        QVERIFY(readAll(old).startsWith("%PDF"));
    } else {
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(QStringLiteral("cannot write")), qPrintable(r.err));
        QCOMPARE(readAll(old), QByteArray("the letter of yesterday"));
    }
}

void TestPdfCommand::unreadableBoxTextWritesNothing()
{
    const QString why = unprivileged::unavailableReason();
    if (!why.isEmpty())
        SKIP_MISSING_RIG(qPrintable(why));
    write(u8("Data/1本文.txt"), "Body\r\n");
    for (const QString &p : {m_dir->path(), m_dir->filePath(QStringLiteral("Data")),
                             m_dir->filePath(u8("Data/1本文.txt"))})
        QVERIFY(unprivileged::chownTo(p, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
    QVERIFY(unprivileged::chmodTo(m_dir->filePath(u8("Data/1本文.txt")), 0));

    const QString pdf = m_dir->filePath(QStringLiteral("letter.pdf"));
    const Run r = run({QStringLiteral("--pdf"), pdf}, true);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QStringLiteral("no PDF written")), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(pdf));
}

namespace {
// The sample customers in their order in examples/: company, person.
const char *const kSampleCustomers[][2] = {
    {"山田商事", "山田"},
    {"青葉印刷", "佐藤"},
    {"北斗運輸株式会社", "鈴木"},
    {"みなと電機", "高橋"},
    {"中部精工株式会社", "田中"},
    {"浪速フーズ", "伊藤"},
    {"京都織物株式会社", "渡辺"},
    {"瀬戸内造船", "山本"},
    {"博多商会", "中村"},
    {"信州ソフト", "小林"},
    {"四国化学工業株式会社", "加藤"},
    {"琉球トラベル", "吉田"},
};

} // namespace

void TestPdfCommand::oneLetterPerCustomer_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("sample"); // copied from examples/ into the program directory
    QTest::newRow("txt: smpl1.txt") << "txt"
                                    << "smpl1.txt";
    QTest::newRow("xls: smpl2.xls") << "xls"
                                    << "smpl2.xls";
}

void TestPdfCommand::oneLetterPerCustomer()
{
    QFETCH(QString, source);
    QFETCH(QString, sample);
    QVERIFY(QFile::copy(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/") + sample,
                        m_dir->filePath(sample)));
    write(u8("Data/1本文.txt"), "BODYOFEVERYLETTER\r\n");
    write(u8("Data/2宛名.txt"), "SAVEDADDRESSEE\r\n");

    const QString pdf = m_dir->filePath(QStringLiteral("all.pdf"));
    const Run r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--customers"), source});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));

    const QString info = poppler::run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+12$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Page size:\\s+595 x 842 pts"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));

    // Page k: customer k's block and nobody else's, the rest of the letter
    // as saved; the saved addressee is on no page.
    for (int k = 0; k < 12; ++k) {
        const QString text = poppler::pageText(pdf, k + 1);
        const QString where = QStringLiteral("page %1:\n").arg(k + 1) + text;
        QVERIFY2(text.contains(u8(kSampleCustomers[k][0])), qPrintable(where));
        QVERIFY2(text.contains(u8(kSampleCustomers[k][1])), qPrintable(where));
        QVERIFY2(text.contains(u8("様")), qPrintable(where));
        QVERIFY2(text.contains(QStringLiteral("BODYOFEVERYLETTER")), qPrintable(where));
        QVERIFY2(!text.contains(QStringLiteral("SAVEDADDRESSEE")), qPrintable(where));
        for (int other = 0; other < 12; ++other)
            if (other != k)
                QVERIFY2(!text.contains(u8(kSampleCustomers[other][0])), qPrintable(where));
    }
    // The letter in the program directory is as it was.
    QCOMPARE(readAll(m_dir->filePath(u8("Data/2宛名.txt"))), QByteArray("SAVEDADDRESSEE\r\n"));
}

void TestPdfCommand::noLettersWithoutCustomers_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("file"); // written into the program directory
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::newRow("no smpl1.txt") << "txt" << QString() << QByteArray() << "no customer file";
    QTest::newRow("no workbook") << "xls"
                                 << "smpl1.txt" << QByteArray("a,b\r\n") << "no customer workbook";
    QTest::newRow("empty smpl1.txt") << "txt"
                                     << "smpl1.txt" << QByteArray() << "nothing to merge";
    QTest::newRow("open quote before field 5")
        << "txt"
        << "smpl1.txt" << QByteArray("a,b,c\r\n\"open,quote\r\n")
        << u8("リストのインデックスが範囲を超えています");
    QTest::newRow("not a workbook")
        << "xls"
        << "smpl2.xls" << QByteArray("plain text, not BIFF") << u8("は開けません");
    QTest::newRow("unknown source")
        << "csv"
        << "smpl1.txt" << QByteArray("a,b\r\n") << "--customers wants txt";
}

void TestPdfCommand::noLettersWithoutCustomers()
{
    QFETCH(QString, source);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    write(u8("Data/1本文.txt"), "Body\r\n");
    if (!file.isEmpty())
        write(file, bytes);
    const QString pdf = m_dir->filePath(QStringLiteral("all.pdf"));
    const Run r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--customers"), source});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(pdf));
}

void TestPdfCommand::onlyTheChosenRows_data()
{
    QTest::addColumn<QString>("only");
    QTest::addColumn<QList<int>>("pages"); // the sample customers, 0-based, page by page
    QTest::addColumn<QString>("says");     // the error, when there is no PDF

    QTest::newRow("three rows, written out of order")
        << "9,2-3" << QList<int>{1, 2, 8} << QString();
    QTest::newRow("the last row") << "12" << QList<int>{11} << QString();
    QTest::newRow("a row past the list")
        << "3,13" << QList<int>() << "the list has 12 customers, no row 13";
    QTest::newRow("a huge row") << "99999999999" << QList<int>() << "no row 99999999999";
    QTest::newRow("row 0") << "0" << QList<int>() << "not '0'";
}

void TestPdfCommand::onlyTheChosenRows()
{
    QFETCH(QString, only);
    QFETCH(QList<int>, pages);
    QFETCH(QString, says);
    QVERIFY(QFile::copy(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/smpl1.txt"),
                        m_dir->filePath(QStringLiteral("smpl1.txt"))));
    write(u8("Data/1本文.txt"), "Body\r\n");

    const QString pdf = m_dir->filePath(QStringLiteral("some.pdf"));
    const Run r = run({QStringLiteral("--pdf"), pdf, QStringLiteral("--customers"),
                       QStringLiteral("txt"), QStringLiteral("--only"), only});
    if (!says.isEmpty()) {
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(pdf));
        QVERIFY(!QFileInfo::exists(m_dir->filePath(u8("送付記録.csv"))));
        return;
    }
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(poppler::pageCount(pdf), pages.size());
    for (int page = 0; page < pages.size(); ++page) {
        const QString text = poppler::pageText(pdf, page + 1);
        QVERIFY2(text.contains(u8(kSampleCustomers[pages[page]][0])), qPrintable(text));
    }
    const QStringList log = QString::fromUtf8(readAll(m_dir->filePath(u8("送付記録.csv"))))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(log.size(), pages.size() + 1); // and the header
}

namespace {
// The names --pdf-each gives the sample list's customers (smpl1.txt keeps
// the ideographic spaces of the companies).
const char *const kEachNames[] = {
    "0001_株式会社　山田商事.pdf",
    "0002_有限会社　青葉印刷.pdf",
    "0003_北斗運輸株式会社.pdf",
    "0004_株式会社　みなと電機.pdf",
    "0005_中部精工株式会社.pdf",
    "0006_株式会社　浪速フーズ.pdf",
    "0007_京都織物株式会社.pdf",
    "0008_株式会社　瀬戸内造船.pdf",
    "0009_博多商会.pdf",
    "0010_株式会社　信州ソフト.pdf",
    "0011_四国化学工業株式会社.pdf",
    "0012_株式会社　琉球トラベル.pdf",
};
} // namespace

void TestPdfCommand::onePdfPerCustomer_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("only");
    QTest::addColumn<QList<int>>("rows"); // 0-based rows expected to have a file

    QList<int> all;
    for (int row = 0; row < 12; ++row)
        all << row;
    QTest::newRow("txt: all twelve") << "txt"
                                     << "smpl1.txt" << QString() << all;
    QTest::newRow("xls: all twelve") << "xls"
                                     << "smpl2.xls" << QString() << all;
    QTest::newRow("txt: --only 2,11") << "txt"
                                      << "smpl1.txt"
                                      << "11,2" << QList<int>{1, 10};
}

void TestPdfCommand::onePdfPerCustomer()
{
    QFETCH(QString, source);
    QFETCH(QString, sample);
    QFETCH(QString, only);
    QFETCH(QList<int>, rows);
    QVERIFY(QFile::copy(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/") + sample,
                        m_dir->filePath(sample)));
    write(u8("Data/1本文.txt"), "BODYOFEVERYLETTER\r\n");
    const QString folder = m_dir->filePath(u8("送付状"));
    QVERIFY(QDir().mkpath(folder));

    QStringList arguments{QStringLiteral("--pdf-each"), folder, QStringLiteral("--customers"),
                          source};
    if (!only.isEmpty())
        arguments << QStringLiteral("--only") << only;
    const Run r = run(arguments);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));

    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), rows.size());
    const QStringList log = QString::fromUtf8(readAll(m_dir->filePath(u8("送付記録.csv"))))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(log.size(), rows.size() + 1);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int row = rows[i];
        const QString name = files[i];
        // The row's number and its company: the text file's exactly, the
        // workbook's as it spells the company.
        if (source == QLatin1String("txt"))
            QCOMPARE(name, u8(kEachNames[row]));
        else
            QVERIFY2(name.startsWith(QStringLiteral("%1_").arg(row + 1, 4, 10, QLatin1Char('0'))) &&
                         name.contains(u8(kSampleCustomers[row][0])),
                     qPrintable(name));
        const QString path = folder + QLatin1Char('/') + name;
        QCOMPARE(poppler::pageCount(path), 1);
        const QString text = poppler::pageText(path, 1);
        QVERIFY2(text.contains(u8(kSampleCustomers[row][0])), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("BODYOFEVERYLETTER")));
        // Its own row in the send log, naming its own file.
        QVERIFY2(log[i + 1].endsWith(QFileInfo(path).absoluteFilePath()), qPrintable(log[i + 1]));
    }
}

void TestPdfCommand::sameCompanyTwoFiles()
{
    // Two people of one company, and a company whose name holds a slash
    // (the text file is code page 932).
    QFile list(m_dir->filePath(QStringLiteral("smpl1.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(QByteArray("\x8e\x52\x93\x63\x8f\xa4\x8e\x96,\x91\xbe\x98\x59\r\n" // 山田商事,太郎
                          "\x8e\x52\x93\x63\x8f\xa4\x8e\x96,\x89\xd4\x8e\x71\r\n" // 山田商事,花子
                          "A/B,X\r\n"));
    list.close();
    write(u8("Data/1本文.txt"), "Body\r\n");
    const QString folder = m_dir->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(folder));

    const Run r = run({QStringLiteral("--pdf-each"), folder, QStringLiteral("--customers"),
                       QStringLiteral("txt")});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{u8("0001_山田商事.pdf"), u8("0002_山田商事.pdf"),
                          QStringLiteral("0003_A_B.pdf")}));
    QVERIFY(poppler::pageText(folder + u8("/0001_山田商事.pdf"), 1).contains(u8("太郎")));
    QVERIFY(poppler::pageText(folder + u8("/0002_山田商事.pdf"), 1).contains(u8("花子")));
}

void TestPdfCommand::pdfEachIntoAFolderItCannotWrite_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("readOnly"); // the folder exists, read-only for the user
    QTest::newRow("read-only folder") << "out" << true;
    QTest::newRow("no such folder") << "missing" << false;
    QTest::newRow("a file, not a folder") << "smpl1.txt" << false;
}

void TestPdfCommand::pdfEachIntoAFolderItCannotWrite()
{
    QFETCH(QString, folder);
    QFETCH(bool, readOnly);
    const QString why = unprivileged::unavailableReason();
    if (readOnly && !why.isEmpty())
        SKIP_MISSING_RIG(qPrintable(why));
    QVERIFY(QFile::copy(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/smpl1.txt"),
                        m_dir->filePath(QStringLiteral("smpl1.txt"))));
    write(u8("Data/1本文.txt"), "Body\r\n");
    const QString path = m_dir->filePath(folder);
    if (readOnly) {
        QVERIFY(QDir().mkpath(path));
        for (const QString &p : {m_dir->path(), m_dir->filePath(QStringLiteral("Data")),
                                 m_dir->filePath(u8("Data/1本文.txt")),
                                 m_dir->filePath(QStringLiteral("smpl1.txt")), path})
            QVERIFY(unprivileged::chownTo(p, unprivileged::kNobodyUid, unprivileged::kNogroupGid));
        QVERIFY(unprivileged::chmodTo(path, 0555));
    }

    const Run r = run(
        {QStringLiteral("--pdf-each"), path, QStringLiteral("--customers"), QStringLiteral("txt")},
        readOnly);
    if (readOnly)
        unprivileged::chmodTo(path, 0755);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(QStringLiteral("cannot write")), qPrintable(r.err));
    // No letter, whole or half, under its name or a temporary one; no row.
    if (QFileInfo(path).isDir())
        QCOMPARE(QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    QVERIFY(!QFileInfo::exists(m_dir->filePath(u8("送付記録.csv"))));
}

void TestPdfCommand::optionsNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutStart");
    QTest::addColumn<QString>("stderrHas");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: tavrint" << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "Tavrint " << QString();
    QTest::newRow("usage error") << QStringList{"--pdf"} << 2 << QString() << "--pdf needs";
    QTest::newRow("--screen-height alone")
        << QStringList{"--screen-height", "900"} << 2 << QString() << "--screen-height";
}

void TestPdfCommand::optionsNeedNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutStart);
    QFETCH(QString, stderrHas);
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, exitCode);
    if (stdoutStart.isEmpty())
        QVERIFY(r.out.isEmpty());
    else
        QVERIFY2(r.out.startsWith(stdoutStart), qPrintable(r.out));
    if (!stderrHas.isEmpty())
        QVERIFY2(r.err.contains(stderrHas), qPrintable(r.err));
    // Nothing of the program directory was touched.
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("Init"))));
}

QTEST_GUILESS_MAIN(TestPdfCommand)
#include "tst_pdfcommand.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// One letter for every customer from the window: "全員分をPDFに保存…" and
// "全員分を印刷" by key and by the page's menu; each page's box B as a
// click on that customer shows it; nothing to merge said plainly; the letter
// on screen as it was afterwards, also after a cancel or an error.

#include "../shell/formfixture.h"
#include "../testfiles.h"
#include "shell/windowtexts.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "platform/errorreport.h"
#include "print/displaylines.h"
#include "print/folderchooser.h"
#include "print/letterpage.h"
#include "print/mergechoicedialog.h"
#include "print/mergedletters.h"
#include "print/printerplayback.h"
#include "print/renderpage.h"
#include "print/savefilechooser.h"
#include "shell/panel.h"

#include "../poppler.h"
#include "../testrig.h"
#include "customers/addressblock.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStringListModel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

enum class Trigger { SaveKey, SaveMenu, PrintKey, PrintMenu };

// Three customers in UTF-8; the second one's address is longer than box B
// is wide, so its block wraps.
const char kCustomers[] = "\xEF\xBB\xBF"
                          "ALPHACO,PERSONA,DEPTA,100,ADDRA,03\r\n"
                          "BRAVOCO,PERSONB,DEPTB,200,ADDRB東京都千代田区丸の内一丁目二番三号"
                          "丸の内ビルディング十二階受付,03\r\n"
                          "CHARLIECO,PERSONC,DEPTC,300,ADDRC,03\r\n";
const char *const kCompanies[] = {"ALPHACO", "BRAVOCO", "CHARLIECO"};

// What the window shows and would print.
struct Letter
{
    QStringList texts;
    QList<QPoint> runPositions;
    QStringList runTexts;
    bool operator==(const Letter &) const = default;
};

Letter letterOf(const TForm1 &form)
{
    Letter letter;
    for (const BoxMemo *memo : ui(form).memos)
        letter.texts.append(memo->text());
    const RenderPage page = renderPage(form);
    for (const RenderRun &run : page.runs()) {
        letter.runPositions.append(run.position);
        letter.runTexts.append(run.text);
    }
    return letter;
}

QStringList jobFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
}

} // namespace
Q_DECLARE_METATYPE(Trigger)

class TestEveryCustomer : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wrapsAsTheBoxShows_data();
    void wrapsAsTheBoxShows();
    void eachPageAsAClickShowsIt();
    void oneDocumentOfAllCustomers_data();
    void oneDocumentOfAllCustomers();
    void nothingToMerge_data();
    void nothingToMerge();
    void cancelLeavesNothing_data();
    void cancelLeavesNothing();
    void writeFailureIsReported();
    void onlyTheChosenGoOut_data();
    void onlyTheChosenGoOut();

private:
    TForm1 &form() { return m_fixture->form(); }
    void loadCustomers();
    // The send log's lines, header first; none without a log.
    QStringList sentRows() const
    {
        const QString log = QString::fromUtf8(m_fixture->readFile(u8("送付記録.csv")));
        QStringList rows = log.split(QStringLiteral("\r\n"));
        rows.removeAll(QString());
        return rows;
    }
    void answerWith(const QString &path);
    void trigger(Trigger how);
    std::unique_ptr<FormFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_outDir;
    int m_asked = 0;
};

void TestEveryCustomer::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray(kCustomers));
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    ui(form()).memos[0]->setText(QStringLiteral("BODYOFEVERYLETTER"));
    m_outDir = std::make_unique<QTemporaryDir>();
    m_asked = 0;
}

void TestEveryCustomer::cleanup()
{
    savefilechooser::resetInstance();
    folderchooser::resetInstance();
    m_fixture.reset();
}

void TestEveryCustomer::loadCustomers()
{
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(ui(form()).ListBox1Items->rowCount(), 3);
}

void TestEveryCustomer::answerWith(const QString &path)
{
    savefilechooser::setInstance(
        [this, path](QWidget *, const QString &caption, const QString &, const QString &) {
            ++m_asked;
            return caption == windowtexts::saveMergedPdfCaption() ? path : QString();
        });
}

void TestEveryCustomer::trigger(Trigger how)
{
    TForm1 &f = form();
    const bool print = how == Trigger::PrintKey || how == Trigger::PrintMenu;
    if (how == Trigger::SaveKey || how == Trigger::PrintKey) {
        ui(f).memos[0]->setFocus(); // typing in a box does not swallow it
        QTest::keyClick(ui(f).memos[0], print ? Qt::Key_P : Qt::Key_E,
                        Qt::ControlModifier | Qt::ShiftModifier);
        return;
    }
    // The menu of the left panel's bare background.
    const QString caption =
        print ? windowtexts::printMergedCaption() : windowtexts::saveMergedPdfCaption();
    bool chosen = false;
    QTimer::singleShot(50, &f, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions())
                if (a->text() == caption) {
                    menu->setActiveAction(a);
                    chosen = true;
                }
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    const QPoint bare(2, ui(f).Pnl1->height() / 2);
    QVERIFY(!ui(f).Pnl1->childAt(bare));
    QContextMenuEvent event(QContextMenuEvent::Mouse, bare, ui(f).Pnl1->mapToGlobal(bare));
    QApplication::sendEvent(ui(f).Pnl1, &event);
    QTRY_VERIFY(chosen);
}

void TestEveryCustomer::wrapsAsTheBoxShows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixelSize");
    QTest::newRow("a short block") << u8("会社\r\n部\r\n  山田  様\r\n   住所") << 13;
    QTest::newRow("a kanji address wider than the box")
        << u8("会社\r\n\r\n  山田  様\r\n   東京都千代田区丸の内一丁目二番三号丸の内ビル十二階受付")
        << 13;
    QTest::newRow("a spaced address wider than the box")
        << u8("Company\r\n\r\n  Yamada  様\r\n   1-2-3 Marunouchi Chiyoda-ku Tokyo Japan 100-0005")
        << 16;
    QTest::newRow("a large font")
        << u8("株式会社　山田商事\r\n営業部\r\n  山田　太郎  様\r\n   東京都") << 24;
    QTest::newRow("an unbroken run far past the box")
        << (u8("会社\r\n\r\n  様\r\n   ") + QString(300, QLatin1Char('x'))) << 13;
    QTest::newRow("empty") << QString() << 13;
}

void TestEveryCustomer::wrapsAsTheBoxShows()
{
    QFETCH(QString, text);
    QFETCH(int, pixelSize);
    TForm1 &f = form();
    BoxMemo *box = ui(f).memos[boxtable::kAddresseeBox];
    f.Memo1Enter(box);
    QFont font = box->font();
    font.setPixelSize(pixelSize);
    ui(f).FontDialog1->setChosenFont(font);
    f.FontDialog1Apply();

    // What a letter of the merge holds in box B, against what the box shows.
    const QStringList wrapped = f.document().letter().wrap(boxtable::kAddresseeBox, text);
    box->setText(text);
    QCOMPARE(wrapped, displayLines(box));
}

void TestEveryCustomer::eachPageAsAClickShowsIt()
{
    loadCustomers();
    TForm1 &f = form();
    const MergedLetters letters =
        letterpage::merged(f.document().letter(), f.customers().holder()->sg1,
                           f.customers().mergeCount(), addressblock::Layout::Text);
    QCOMPARE(letters.count(), 3);
    bool wrapped = false;
    for (int k = 0; k < 3; ++k) {
        ui(f).ListBox1->setCurrentIndex(ui(f).ListBox1Items->index(k));
        QVERIFY(ui(f).memos[boxtable::kAddresseeBox]->text().startsWith(u8(kCompanies[k])));
        const RenderPage onScreen = renderPage(f);
        const RenderPage merged = letters.page(k);
        QCOMPARE(merged.runs().size(), onScreen.runs().size());
        for (qsizetype r = 0; r < merged.runs().size(); ++r) {
            QCOMPARE(merged.runs().at(r).text, onScreen.runs().at(r).text);
            QCOMPARE(merged.runs().at(r).position, onScreen.runs().at(r).position);
        }
        wrapped = wrapped || displayLines(ui(f).memos[boxtable::kAddresseeBox]).size() > 4;
    }
    QVERIFY(wrapped); // the long address did wrap on screen
}

void TestEveryCustomer::oneDocumentOfAllCustomers_data()
{
    QTest::addColumn<Trigger>("how");
    QTest::newRow("Ctrl+Shift+E") << Trigger::SaveKey;
    QTest::newRow("the menu's 全員分をPDFに保存…") << Trigger::SaveMenu;
    QTest::newRow("Ctrl+Shift+P") << Trigger::PrintKey;
    QTest::newRow("the menu's 全員分を印刷") << Trigger::PrintMenu;
}

void TestEveryCustomer::oneDocumentOfAllCustomers()
{
    QFETCH(Trigger, how);
    const bool print = how == Trigger::PrintKey || how == Trigger::PrintMenu;
    const QString spool = qEnvironmentVariable("TAVRINT_CUPS_OUT");
    if (print && (qEnvironmentVariableIsEmpty("CUPS_SERVER") || spool.isEmpty()))
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");

    loadCustomers();
    ui(form()).ListBox1->setCurrentIndex(ui(form()).ListBox1Items->index(1));
    const Letter before = letterOf(form());
    const QString path = m_outDir->filePath(QStringLiteral("all.pdf"));
    answerWith(path);
    const QStringList jobsBefore = print ? jobFiles(spool) : QStringList();

    trigger(how);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    QCOMPARE(letterOf(form()), before);

    QString pdf = path;
    if (print) {
        QCOMPARE(m_asked, 0);
        // One new job in the queue, holding every letter.
        QElapsedTimer waited;
        waited.start();
        QStringList jobs;
        while (waited.elapsed() < 15000) {
            jobs.clear();
            for (const QString &name : jobFiles(spool))
                if (!jobsBefore.contains(name) &&
                    poppler::pageText(QDir(spool).filePath(name), 1).contains(u8(kCompanies[0])))
                    jobs.append(name);
            if (!jobs.isEmpty())
                break;
            QTest::qWait(100);
        }
        QCOMPARE(jobs.size(), 1);
        pdf = QDir(spool).filePath(jobs.first());
    } else {
        QCOMPARE(m_asked, 1);
    }
    // The spooler may still be writing the job's last pages.
    QTRY_COMPARE_WITH_TIMEOUT(poppler::pageCount(pdf), 3, 10000);
    for (int k = 0; k < 3; ++k) {
        const QString text = poppler::pageText(pdf, k + 1);
        QVERIFY2(text.contains(u8(kCompanies[k])), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("BODYOFEVERYLETTER")), qPrintable(text));
        for (int other = 0; other < 3; ++other)
            if (other != k)
                QVERIFY2(!text.contains(u8(kCompanies[other])), qPrintable(text));
    }
    // The send log: a row for each letter, in list order, with its company.
    const QStringList rows = sentRows();
    QCOMPARE(rows.size(), 1 + 3);
    for (int k = 0; k < 3; ++k) {
        const QStringList fields = rows[1 + k].split(u',');
        QCOMPARE(fields.value(1), print ? u8("印刷") : u8("PDF"));
        QCOMPARE(fields.value(2), u8(kCompanies[k]));
        QCOMPARE(fields.value(4), print ? QStringLiteral("tavrint-pdf") : path);
    }
}

void TestEveryCustomer::nothingToMerge_data()
{
    QTest::addColumn<QString>("mode"); // the option chosen first, if any
    QTest::addColumn<QByteArray>("customers");
    QTest::addColumn<bool>("print");
    for (const bool print : {false, true}) {
        const char *what = print ? "print" : "PDF";
        QTest::addRow("%s right after start", what) << QString() << QByteArray(kCustomers) << print;
        QTest::addRow("%s in 初期値 after a list was read", what)
            << u8("初期値") << QByteArray(kCustomers) << print;
        QTest::addRow("%s with an empty customer file", what)
            << u8("TXTから取得") << QByteArray() << print;
    }
}

void TestEveryCustomer::nothingToMerge()
{
    QFETCH(QString, mode);
    QFETCH(QByteArray, customers);
    QFETCH(bool, print);
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), customers);
    if (!mode.isEmpty()) {
        QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
        if (mode == u8("初期値"))
            QTest::mouseClick(ui(form()).RadioButton1, Qt::LeftButton);
    }
    m_fixture->errors.clear();
    const Letter before = letterOf(form());
    answerWith(m_outDir->filePath(QStringLiteral("all.pdf")));
    if (print)
        TForm1Access::printMergedLetters(form());
    else
        TForm1Access::saveMergedPdf(form());
    QCOMPARE(m_fixture->errors,
             QStringList{errorreport::displayText(windowtexts::nothingToMergeText())});
    QCOMPARE(m_asked, 0);
    QVERIFY(QDir(m_outDir->path()).isEmpty());
    QCOMPARE(letterOf(form()), before);
}

void TestEveryCustomer::cancelLeavesNothing_data()
{
    QTest::addColumn<bool>("atTheDialog");
    QTest::addColumn<bool>("print");
    QTest::newRow("the save dialog cancelled") << true << false;
    QTest::newRow("the PDF's progress cancelled") << false << false;
    QTest::newRow("the print's progress cancelled") << false << true;
}

void TestEveryCustomer::cancelLeavesNothing()
{
    QFETCH(bool, atTheDialog);
    QFETCH(bool, print);
    const QString spool = qEnvironmentVariable("TAVRINT_CUPS_OUT");
    if (print && (qEnvironmentVariableIsEmpty("CUPS_SERVER") || spool.isEmpty()))
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");
    // Enough customers that 中止, pressed at the run's first look at its
    // events, comes while letters are still being made, however busy the
    // machine.
    constexpr int kRepeats = 700;
    QByteArray many = QByteArray(kCustomers).repeated(kRepeats);
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), many.replace("\r\n\xEF\xBB\xBF", "\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(ui(form()).ListBox1Items->rowCount(), 3 * kRepeats);
    ui(form()).ListBox1->setCurrentIndex(ui(form()).ListBox1Items->index(2));
    const Letter before = letterOf(form());
    const QStringList jobsBefore = print ? jobFiles(spool) : QStringList();
    answerWith(atTheDialog ? QString() : m_outDir->filePath(QStringLiteral("all.pdf")));
    int steps = 0;
    bool handOffHeld = false;
    if (!atTheDialog) {
        // The first look at the events during the run presses 中止; a second
        // start's texts wait until the run is over.
        QTimer::singleShot(0, &form(), [&] {
            handOffHeld = !form().takesHandOff();
            if (auto *progress = form().findChild<QProgressDialog *>()) {
                steps = progress->maximum();
                progress->cancel();
            }
        });
    }
    if (print)
        TForm1Access::printMergedLetters(form());
    else
        TForm1Access::saveMergedPdf(form());
    QCOMPARE(m_asked, print ? 0 : 1);
    QCOMPARE(steps, atTheDialog ? 0 : 3 * kRepeats); // one step per customer
    QCOMPARE(handOffHeld, !atTheDialog);
    QVERIFY(form().takesHandOff());
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    QVERIFY(QDir(m_outDir->path()).isEmpty());
    QCOMPARE(letterOf(form()), before);
    QCOMPARE(sentRows(), QStringList()); // nothing went out
    if (print) {
        // The queue runs jobs in order: once a job printed after it is out,
        // a cancelled job that had gone out would be out too.
        const RenderPage marker = RenderPage::build(
            590, 834, {RenderBox{QPoint(50, 50), QFont(), -15, Qt::black, {u8("AFTERCANCEL")}}}, 2);
        const Result<QString> printed =
            printerplayback::printRenderPage(marker, QStringLiteral("Tavrint marker"));
        QVERIFY2(printed, qPrintable(printed.error()));
        QString markerJob;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                for (const QString &name : jobFiles(spool))
                    if (!jobsBefore.contains(name) &&
                        poppler::pageText(QDir(spool).filePath(name), 1)
                            .contains(u8("AFTERCANCEL")))
                        markerJob = name;
                return !markerJob.isEmpty();
            }(),
            15000);
        for (const QString &name : jobFiles(spool))
            QVERIFY2(jobsBefore.contains(name) || name == markerJob, qPrintable(name));
    }
}

void TestEveryCustomer::writeFailureIsReported()
{
    loadCustomers();
    ui(form()).ListBox1->setCurrentIndex(ui(form()).ListBox1Items->index(0));
    const Letter before = letterOf(form());
    const QString path = m_outDir->filePath(QStringLiteral("missing/all.pdf"));
    answerWith(path);
    TForm1Access::saveMergedPdf(form());
    QCOMPARE(m_fixture->errors.size(), 1);
    QVERIFY2(m_fixture->errors.first().contains(path), qPrintable(m_fixture->errors.first()));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(letterOf(form()), before);
    QCOMPARE(sentRows(), QStringList());
}

void TestEveryCustomer::onlyTheChosenGoOut_data()
{
    QTest::addColumn<bool>("each");         // 1件ずつPDFに保存… instead of one PDF
    QTest::addColumn<QVariant>("chosen");   // the dialog's answer; none: cancelled
    QTest::addColumn<QStringList>("files"); // what the output folder holds after
    QTest::addColumn<QStringList>("pages"); // each file's companies, page by page

    QTest::newRow("one PDF of the first and third")
        << false << QVariant::fromValue(QList<int>{0, 2}) << QStringList{"all.pdf"}
        << QStringList{"ALPHACO", "CHARLIECO"};
    QTest::newRow("a PDF each of all three")
        << true << QVariant::fromValue(QList<int>{0, 1, 2})
        << QStringList{"0001_ALPHACO.pdf", "0002_BRAVOCO.pdf", "0003_CHARLIECO.pdf"}
        << QStringList{"ALPHACO", "BRAVOCO", "CHARLIECO"};
    QTest::newRow("a PDF each of the second")
        << true << QVariant::fromValue(QList<int>{1}) << QStringList{"0002_BRAVOCO.pdf"}
        << QStringList{"BRAVOCO"};
    QTest::newRow("the dialog cancelled") << false << QVariant() << QStringList() << QStringList();
    QTest::newRow("the dialog cancelled before a PDF each")
        << true << QVariant() << QStringList() << QStringList();
}

void TestEveryCustomer::onlyTheChosenGoOut()
{
    QFETCH(bool, each);
    QFETCH(QVariant, chosen);
    QFETCH(QStringList, files);
    QFETCH(QStringList, pages);
    loadCustomers();
    int offered = 0;
    MergeChoiceDialog::setInstance(
        [&](QWidget *, const MergeChoiceDialog::Offer &offer, const QString &caption) {
            offered = offer.count;
            // The dialog comes with the caption of the way out it is for.
            [&] {
                QCOMPARE(caption, each ? windowtexts::savePdfEachCaption()
                                       : windowtexts::saveMergedPdfCaption());
            }();
            return chosen.isValid() ? std::optional(chosen.value<QList<int>>()) : std::nullopt;
        });
    int askedForFolder = 0;
    folderchooser::setInstance([&](QWidget *, const QString &, const QString &) {
        ++askedForFolder;
        return m_outDir->path();
    });
    answerWith(m_outDir->filePath(QStringLiteral("all.pdf")));

    if (each)
        TForm1Access::savePdfEach(form());
    else
        TForm1Access::saveMergedPdf(form());
    QCOMPARE(offered, 3);
    // Nothing more is asked once the dialog is cancelled.
    QCOMPARE(m_asked + askedForFolder, chosen.isValid() ? 1 : 0);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));

    QCOMPARE(QDir(m_outDir->path()).entryList(QDir::Files, QDir::Name), files);
    QStringList printed;
    for (const QString &file : files) {
        const QString path = m_outDir->filePath(file);
        for (int page = 1; page <= poppler::pageCount(path); ++page) {
            const QString text = poppler::pageText(path, page);
            for (const char *company : kCompanies)
                if (text.contains(QLatin1String(company)))
                    printed << QLatin1String(company);
        }
    }
    QCOMPARE(printed, pages);
    QCOMPARE(sentRows().size(), pages.isEmpty() ? 0 : pages.size() + 1);
}

QTEST_MAIN(TestEveryCustomer)
#include "tst_everycustomer.moc"

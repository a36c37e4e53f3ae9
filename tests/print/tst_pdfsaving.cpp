// SPDX-License-Identifier: GPL-3.0-or-later
// "PDFに保存…" in the window: by its shortcut and by the context menu of an
// empty spot, never from the print button; the file written whole or not at
// all, with the error report naming it.

#include "../shell/formfixture.h"
#include "../testfiles.h"
#include "shell/windowtexts.h"

#include "letter/boxmemo.h"
#include "print/savefilechooser.h"
#include "shell/panel.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
enum class Trigger { Shortcut, PageMenu, LeftPanelMenu, PrintButtonMenu };

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace
Q_DECLARE_METATYPE(Trigger)

class TestPdfSaving : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void reachedBy_data();
    void reachedBy();
    void proposesADatedNameInTheDocuments();
    void cancelWritesNothing();
    void failureIsReportedAndLosesNothing_data();
    void failureIsReportedAndLosesNothing();

private:
    TForm1 &form() { return m_fixture->form(); }
    // Answers the save dialog with `path` and counts the questions.
    void answerWith(const QString &path);
    std::unique_ptr<FormFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_outDir;
    QString outPath(const QString &name) const { return m_outDir->filePath(name); }
    int m_asked = 0;
    QString m_proposed;
};

void TestPdfSaving::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    ui(form()).memos[0]->setText(QStringLiteral("BODYLINE one\r\nBODYLINE two"));
    m_outDir = std::make_unique<QTemporaryDir>();
    m_asked = 0;
    m_proposed.clear();
}

void TestPdfSaving::cleanup()
{
    savefilechooser::resetInstance();
    m_fixture.reset();
}

void TestPdfSaving::answerWith(const QString &path)
{
    savefilechooser::setInstance(
        [this, path](QWidget *, const QString &caption, const QString &proposed, const QString &) {
            ++m_asked;
            m_proposed = proposed;
            return caption == windowtexts::savePdfCaption() ? path : QString();
        });
}

void TestPdfSaving::reachedBy_data()
{
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<bool>("saves");
    QTest::newRow("Ctrl+Shift+S") << Trigger::Shortcut << true;
    QTest::newRow("right click on the page's empty paper") << Trigger::PageMenu << true;
    QTest::newRow("right click on the left panel's background") << Trigger::LeftPanelMenu << true;
    QTest::newRow("right click on the print button: no menu") << Trigger::PrintButtonMenu << false;
}

void TestPdfSaving::reachedBy()
{
    QFETCH(Trigger, trigger);
    QFETCH(bool, saves);
    const QString path = outPath(QStringLiteral("letter.pdf"));
    answerWith(path);
    TForm1 &f = form();

    // Chooses "PDFに保存…" in whatever menu pops up.
    bool menuShown = false;
    auto chooseFromMenu = [&] {
        // Runs inside the menu's own loop, once it shows.
        QTimer::singleShot(0, &f, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                menuShown = true;
                for (QAction *a : menu->actions())
                    if (a->text() == windowtexts::savePdfCaption())
                        menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
    };
    auto rightClick = [&](QWidget *widget, QPoint at) {
        chooseFromMenu();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        // A menu runs its loop inside the event: once it returns, the entry
        // was chosen, or no menu came and the check runs now, on nothing.
        QApplication::sendEvent(widget, &event);
        QCoreApplication::processEvents();
    };

    switch (trigger) {
    case Trigger::Shortcut:
        ui(f).memos[0]->setFocus(); // typing in a box does not swallow it
        QTest::keyClick(ui(f).memos[0], Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        break;
    case Trigger::PageMenu: {
        // The page below the lowest frame is bare paper.
        int bottom = 0;
        for (Panel *frame : ui(f).frames)
            bottom = std::max(bottom, frame->geometry().bottom());
        const QPoint paper(3, (bottom + ui(f).Pnl0->height()) / 2);
        QVERIFY(!ui(f).Pnl0->childAt(paper));
        rightClick(ui(f).Pnl0, paper);
        break;
    }
    case Trigger::LeftPanelMenu: {
        const QPoint bare(2, ui(f).Pnl1->height() / 2);
        QVERIFY(!ui(f).Pnl1->childAt(bare));
        rightClick(ui(f).Pnl1, bare);
        break;
    }
    case Trigger::PrintButtonMenu:
        // The request passes from the button to the panel; it shows nothing.
        rightClick(ui(f).spb5, QPoint(5, 5));
        QVERIFY(!menuShown);
        break;
    }

    QCOMPARE(m_asked, saves ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path), saves);
    QVERIFY(m_fixture->errors.isEmpty());
    if (saves) {
        const QString text = pdfText(path);
        QVERIFY2(text.contains(QStringLiteral("BODYLINE one")) &&
                     text.contains(QStringLiteral("BODYLINE two")),
                 qPrintable(text));
    }
}

void TestPdfSaving::proposesADatedNameInTheDocuments()
{
    answerWith(QString());
    TForm1Access::savePdf(form());
    QCOMPARE(m_asked, 1);
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QCOMPARE(QFileInfo(m_proposed).absolutePath(), QFileInfo(folder).absoluteFilePath());
    static const QRegularExpression name(
        QStringLiteral("^Tavrint \\d{4}-\\d{2}-\\d{2} \\d{2}-\\d{2}-\\d{2}\\.pdf$"));
    QVERIFY2(name.match(QFileInfo(m_proposed).fileName()).hasMatch(), qPrintable(m_proposed));
}

void TestPdfSaving::cancelWritesNothing()
{
    answerWith(QString());
    TForm1Access::savePdf(form());
    QCOMPARE(m_asked, 1);
    QVERIFY(QDir(m_outDir->path()).isEmpty());
    QVERIFY(m_fixture->errors.isEmpty());
}

void TestPdfSaving::failureIsReportedAndLosesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("folder does not exist") << "missing/letter.pdf";
    QTest::newRow("target is a folder") << "folder";
}

void TestPdfSaving::failureIsReportedAndLosesNothing()
{
    QFETCH(QString, target);
    QVERIFY(QDir(m_outDir->path()).mkpath(QStringLiteral("folder")));
    const QString path = outPath(target);
    answerWith(path);
    const QString before = ui(form()).memos[0]->text();
    TForm1Access::savePdf(form());
    QCOMPARE(m_fixture->errors.size(), 1);
    const QString error = m_fixture->errors.first();
    QVERIFY2(error.startsWith(QStringLiteral("PDFを保存できませんでした: ")) &&
                 error.contains(path),
             qPrintable(error));
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(ui(form()).memos[0]->text(), before); // the letter is untouched
}

QTEST_MAIN(TestPdfSaving)
#include "tst_pdfsaving.moc"

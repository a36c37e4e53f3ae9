// SPDX-License-Identifier: GPL-3.0-or-later
// FormCreate: the main window's set-up, in its fixed order.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/boxtextfile.h"
#include "letter/fontdialog.h"
#include "letter/settingsfile.h"
#include "platform/atomicfile.h"
#include "platform/clock.h"
#include "platform/errorreport.h"
#include "platform/windowsystem.h"
#include "shell/panel.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

// The order matters where one value feeds the next: the screen height fixes
// the page, the page fixes the window's size, and only a window of its final
// size can be pulled back onto the screen and have its close buttons placed
// at its bottom. The letter (window position, box texts, issue date, then
// the first-run or the stored layout) is loaded in the start-up order by
// the document, and the controls show it as it loads.
void TForm1::FormCreate()
{
    // Nothing to switch off for the number and date formats: QLocale::system()
    // is read once, so those in force at start stay for the run. Nor is there
    // a tab header to hide: pgc1 is a stack of pages.

    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), Edit1));
    Edit1->setAlignment(Qt::AlignCenter);
    showLineSpacing();

    const PageGeometry &page = m_document.letter().page();
    Pnl0->resize(page.pageWidth, page.pageHeight);
    Pnl1->resize(Pnl1->width(), page.pageHeight);
    applyResizingRules();

    // From here on the window's client area encloses its controls.
    fitToChildren();

    // The program directory is fixed by the constructor; its two data
    // directories are spelled as every path spells them.
    const QString programDir = m_document.letter().programDir();
    QDir().mkpath(programDir + boxtextfile::kDataDirName.toString());
    QDir().mkpath(programDir + settingsfile::kInitDirName.toString());
    // A save cut short by a crash or a kill leaves its temporary file
    // behind; one from before this run can belong to no save of ours.
    for (const QStringView dir : {boxtextfile::kDataDirName, settingsfile::kInitDirName})
        atomicfile::removeStrayTemporaries(programDir + dir.toString(),
                                           atomicfile::processStartTime());

    // The boxes show the letter as soon as it is loaded.
    QStringList errors;
    m_document.load(Clock::today(), &errors);
    m_document.setWindowPositionKnown(windowsystem::reportsWindowPosition());
    move(m_document.letter().windowPos());

    // Box A is the current box at start.
    m_document.setCurrentBox(0);

    // A second start finds the running window by this title.
    setWindowTitle(QStringLiteral("Tavrint"));
    showLetterName();

    // Only the right edge is pulled back onto the screen.
    const ScreenMetrics &screen = m_document.letter().screen();
    if (x() + width() > screen.width)
        move(screen.width - width(), y());
    m_document.setWindowPos(pos());

    placeCloseButtons();
    Pnl0->move(Pnl0->x(), 0);

    // A box text file that could not be read is reported; that box keeps
    // its text, and the rest of the letter is shown as loaded.
    for (const QString &error : errors)
        errorreport::show(error);

    FontDialog1->setChosenFont(m_document.letter().faceFont(0));

    // The portrait orientation is given to the printer when printing, so a
    // machine without a default printer starts like any other.

    // The page starts in edit mode.
    spbA->setChecked(false);
    spbAClick();
}

void TForm1::fitToChildren()
{
    QRect bounds;
    for (QWidget *child : {static_cast<QWidget *>(Pnl1), static_cast<QWidget *>(Pnl0),
                           static_cast<QWidget *>(Edit2)})
        bounds = bounds.united(child->geometry());
    setFixedSize(bounds.right() + 1, bounds.bottom() + 1);
}

void TForm1::placeCloseButtons()
{
    spb3->move(spb3->x(), height() - 32);
    spb4->move(spb4->x(), height() - 32);
}

// FormCreate: the main window's set-up, in its fixed order.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/boxtextfile.h"
#include "letter/firstrunlayout.h"
#include "letter/fontdialog.h"
#include "letter/fontsize.h"
#include "letter/lettertexts.h"
#include "letter/settingsfile.h"
#include "platform/atomicfile.h"
#include "platform/clock.h"
#include "platform/screenmetrics.h"
#include "shell/panel.h"

#include <QDir>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <algorithm>

// The order matters where one value feeds the next: the screen height fixes
// the page, the page fixes the window's size, and only a window of its final
// size can be pulled back onto the screen and have its close buttons placed
// at its bottom. The height also names the settings file, and whether that
// file exists decides, once, whether this is a first run. The box texts are
// loaded before the layout so that a first run's notes heading replaces a
// loaded one, and box A's rim and font are settled before the other frames
// and the font chooser copy them. The frame colours come last but one,
// because edit mode paints the frames in them.
void TForm1::FormCreate()
{
    // Nothing to switch off for the number and date formats: QLocale::system()
    // is read once, so those in force at start stay for the run. Nor is there
    // a tab header to hide: pgc1 is a stack of pages.

    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), Edit1));
    Edit1->setAlignment(Qt::AlignCenter);

    settingsSection = settingsfile::sectionName(exeFileName);
    Edit1->setText(QString::number(lineSpacingDigit));

    const ScreenMetrics screen = ScreenMetrics::current();
    screenHeight = screen.height;
    pixelsPerInch = screen.pixelsPerInch;
    page = PageGeometry::forScreenHeight(screenHeight);
    Pnl0->resize(page.pageWidth, page.pageHeight);
    Pnl1->resize(Pnl1->width(), page.pageHeight);
    applyResizingRules();

    // From here on the window's client area encloses its controls.
    fitToChildren();

    // The program directory is fixed by the constructor; its two data
    // directories are spelled as every path spells them.
    QDir().mkpath(programDir + boxtextfile::kDataDirName.toString());
    QDir().mkpath(programDir + settingsfile::kInitDirName.toString());
    // A save cut short by a crash or a kill leaves its temporary file
    // behind; one from before this run can belong to no save of ours.
    for (const QStringView dir : {boxtextfile::kDataDirName, settingsfile::kInitDirName})
        atomicfile::removeStrayTemporaries(programDir + dir.toString(),
                                           atomicfile::processStartTime());

    // Each class of screen height keeps a layout of its own.
    settingsFile = settingsfile::filePath(programDir, exeFileName, screenHeight);
    firstRun = !QFile::exists(settingsFile);

    ReadWindowPos();

    // Box A is the current box at start.
    currentBox = 0;
    Label1->setText(boxtable::fieldName(0));

    // A second start finds the running window by this title.
    setWindowTitle(QStringLiteral("Tavrint"));

    // Only the right edge is pulled back onto the screen.
    if (x() + width() > screen.width)
        move(screen.width - width(), y());

    placeCloseButtons();
    Pnl0->move(Pnl0->x(), 0);

    // A box text file that cannot be read is reported, and that box keeps
    // its text; set-up goes on, so the stored (or first-run) layout is still
    // applied and the next close cannot overwrite it with the unscaled
    // design rectangles.
    LoadBoxTexts();

    // Box D has no text file; its text is today's date.
    memos[boxtable::kIssueDateBox]->setText(lettertexts::issueDate(Clock::today()));

    setFrameBorderWidth(0, page.borderWidth);

    if (firstRun) {
        applyFirstRunLayout();
    } else {
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            ReadBoxLayout(box);
    }

    for (int box = 1; box < boxtable::kBoxCount; ++box)
        setFrameBorderWidth(box, frames[0]->borderWidth());

    FontDialog1->setChosenFont(memos[0]->font());

    // The portrait orientation is given to the printer when printing, so a
    // machine without a default printer starts like any other.

    for (int box = 0; box < boxtable::kBoxCount; ++box)
        frameColours[box] = boxtable::box(box).frameColour.value();

    // The page starts in edit mode.
    spbA->setChecked(false);
    spbAClick();
}

void TForm1::applyFirstRunLayout()
{
    std::array<QRect, boxtable::kBoxCount> current;
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        current[box] = framePageRect(box);
    const ::FirstRunLayout layout = ::FirstRunLayout::compute(page, current);

    for (int box = 0; box < boxtable::kBoxCount; ++box)
        setMemoFontPoints(box, layout.fontPoints[box]);
    memos[boxtable::kNotesBox]->setText(lettertexts::monthlyReportHeading(Clock::today()));
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        setFramePageRect(box, layout.frames[box]);
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

int TForm1::memoFontPoints(int box) const
{
    return fontsize::pointsFromPixelHeight(memos[box]->font().pixelSize(), pixelsPerInch);
}

void TForm1::setMemoFontPoints(int box, int points)
{
    // A hostile size (huge, zero, negative) is held to what Qt renders.
    const int held = std::clamp(points, 1, 400);
    QFont f = memos[box]->font();
    f.setPixelSize(std::max(1, fontsize::pixelHeightFromPoints(held, pixelsPerInch)));
    memos[box]->setFont(f);
}

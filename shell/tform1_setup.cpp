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

void TForm1::FormCreate()
{
    // 1. The number and date formats in force at start stay for the run:
    //    QLocale::system() is read once and Qt does not follow later changes.
    // 2. pgc1 is a stack of pages: it has no tab header to hide.
    // 3. Edit1 takes digits only and centres its text.
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), Edit1));
    Edit1->setAlignment(Qt::AlignCenter);

    // 4. The settings section is the executable's name without extension.
    settingsSection = settingsfile::sectionName(exeFileName);

    // 5. Edit1 shows the line spacing digit.
    Edit1->setText(QString::number(lineSpacingDigit));

    // 6. Page geometry from the screen height.
    const ScreenMetrics screen = ScreenMetrics::current();
    screenHeight = screen.height;
    pixelsPerInch = screen.pixelsPerInch;
    page = PageGeometry::forScreenHeight(screenHeight);
    Pnl0->resize(page.pageWidth, page.pageHeight);
    Pnl1->resize(Pnl1->width(), page.pageHeight);
    applyResizingRules();

    // 7. From here on the window's client area encloses its controls.
    fitToChildren();

    // 8./9. The program directory (fixed by the constructor) and its two
    //       data directories, spelled as every path spells them.
    QDir().mkpath(programDir + boxtextfile::kDataDirName.toString());
    QDir().mkpath(programDir + settingsfile::kInitDirName.toString());
    // A save cut short by a crash or a kill leaves its temporary file
    // behind; one from before this run can belong to no save of ours.
    for (const QStringView dir : {boxtextfile::kDataDirName, settingsfile::kInitDirName})
        atomicfile::removeStrayTemporaries(programDir + dir.toString(),
                                           atomicfile::processStartTime());

    // 10./11. Settings file for this height class; first run without one.
    settingsFile = settingsfile::filePath(programDir, exeFileName, screenHeight);
    firstRun = !QFile::exists(settingsFile);

    // 12.
    ReadWindowPos();

    // 13. Box A is the current box.
    currentBox = 0;
    Label1->setText(boxtable::fieldName(0));

    // 14.
    setWindowTitle(QStringLiteral("Tavrint"));

    // 15. Only the right edge is pulled back onto the screen.
    if (x() + width() > screen.width)
        move(screen.width - width(), y());

    // 16./17.
    placeCloseButtons();
    Pnl0->move(Pnl0->x(), 0);

    // 18. A box text file that cannot be read is reported, and that box
    //     keeps its text; set-up goes on, so the stored (or first-run) layout
    //     is still applied and the next close cannot overwrite it with the
    //     unscaled design rectangles.
    LoadBoxTexts();

    // 19.
    memos[boxtable::kIssueDateBox]->setText(lettertexts::issueDate(Clock::today()));

    // 20.
    setFrameBorderWidth(0, page.borderWidth);

    // 21.
    if (firstRun) {
        applyFirstRunLayout();
    } else {
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            ReadBoxLayout(box);
    }

    // 22.
    for (int box = 1; box < boxtable::kBoxCount; ++box)
        setFrameBorderWidth(box, frames[0]->borderWidth());

    // 23.
    FontDialog1->setChosenFont(memos[0]->font());

    // 24. The portrait orientation is given to the printer when printing,
    //     so a machine without a default printer starts like any other.

    // 25.
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        frameColours[box] = boxtable::box(box).frameColour.value();

    // 26. Edit mode.
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

// The print button: 55 ms after the release, the page is rendered and
// printed on the default printer.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "platform/errorreport.h"
#include "print/displaylines.h"
#include "print/printerplayback.h"
#include "print/renderpage.h"
#include "shell/panel.h"

#include <QShortcut>
#include <QTimer>

void TForm1::spb5MouseUp()
{
    // A timer already running keeps its 55 ms: two quick releases print once.
    if (!Timer1->isActive())
        Timer1->start();
}

void TForm1::Timer1Timer()
{
    Timer1->stop();
    PrintPage();
}

QList<RenderBox> TForm1::renderBoxes() const
{
    QList<RenderBox> boxes;
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        const BoxMemo *memo = memos[box];
        boxes.append(RenderBox::fromFont(memoPageOrigin(box), memo->font(), displayLines(memo),
                                         memo->palette().color(QPalette::Text)));
    }
    return boxes;
}

RenderPage TForm1::renderPage() const
{
    return RenderPage::build(page.pageWidth, page.pageHeight, renderBoxes(), lineSpacingDigit);
}

void TForm1::PrintPage()
{
    QString error;
    if (!printerplayback::printRenderPage(renderPage(), &error))
        errorreport::show(error);
}

void TForm1::bindPrintingShortcuts()
{
    // Printing by key is the same as releasing the print button.
    auto *print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(print, &QShortcut::activated, this, [this] { spb5MouseUp(); });
}

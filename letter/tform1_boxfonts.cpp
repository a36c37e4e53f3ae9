// Box fonts: the font chooser acts on the current box; the title group
// (E, G, H) shares one face, G and H at 85 % of E's size.

#include "shell/tform1.h"

#include "letter/boxfontrule.h"
#include "letter/boxmemo.h"
#include "letter/fontdialog.h"

#include <QShortcut>

void TForm1::spb2Click()
{
    if (FontDialog1->execute())
        ApplyBoxFont();
}

void TForm1::FontDialog1Apply()
{
    ApplyBoxFont();
}

void TForm1::ApplyBoxFont()
{
    QFont f = FontDialog1->chosenFont();
    f.setBold(false);
    f.setItalic(false);
    FontDialog1->setChosenFont(f);

    memos[currentBox]->setFont(f);
    if (boxtable::inTitleGroup(currentBox)) {
        for (int box : {4, 6, 7})
            memos[box]->setFont(f);
        setMemoFontPoints(6, boxfontrule::notesHeadingPoints(memoFontPoints(4)));
        setMemoFontPoints(7, memoFontPoints(6));
    }
}

void TForm1::bindBoxFontShortcuts()
{
    // The font chooser for the current box, as the font button opens it.
    auto *font = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(font, &QShortcut::activated, this, [this] { spb2Click(); });
}

// SPDX-License-Identifier: GPL-3.0-or-later
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

    setBoxFont(m_currentBox, f);
    if (boxtable::inTitleGroup(m_currentBox)) {
        using boxtable::Role;
        for (int box : boxtable::kTitleGroup)
            setBoxFont(box, f);
        const int title = m_letter.points(boxtable::indexOf(Role::Title));
        setBoxPoints(boxtable::indexOf(Role::NotesHeading), boxfontrule::notesHeadingPoints(title));
        setBoxPoints(boxtable::indexOf(Role::ClosingMark),
                     m_letter.points(boxtable::indexOf(Role::NotesHeading)));
    }
}

void TForm1::bindBoxFontShortcuts()
{
    // The font chooser for the current box, as the font button opens it.
    auto *font = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(font, &QShortcut::activated, this, [this] { spb2Click(); });
}

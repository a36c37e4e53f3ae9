// SPDX-License-Identifier: GPL-3.0-or-later
// Box fonts: the font chooser acts on the current box.

#include "shell/tform1.h"

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
    // The title group's rule is the letter's: the document applies it.
    m_document.setFont(m_document.currentBox(), f.family(), f.pixelSize());
}

void TForm1::bindBoxFontShortcuts()
{
    // The font chooser for the current box, as the font button opens it.
    auto *font = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    connect(font, &QShortcut::activated, this, [this] { spb2Click(); });
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Preview mode and the line-spacing control.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "shell/panel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QShortcut>
#include <QToolButton>
#include <QWheelEvent>

void TForm1::spbAClick()
{
    if (spbA->isChecked()) {
        // Preview: D, E, G and H come to the front (H on top), every frame
        // turns white and the page takes no input.
        for (int box : boxtable::kRaisedInPreview)
            frames[box]->raise();
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            showFrameColour(box);
        Pnl0->setEnabled(false);
    } else {
        Pnl0->setEnabled(true);
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            showFrameColour(box);
    }
    // The fields show filled in the preview, as typed in edit mode.
    showBoxTexts();
}

void TForm1::Edit1KeyPress(QKeyEvent *event)
{
    const QString typed = event->text();
    const int digit = typed.size() == 1 ? QStringLiteral("0123456789").indexOf(typed) : -1;
    if (digit >= 0)
        m_document.setLineSpacingDigit(digit);
    // The field shows the digit in force whatever was typed.
    showLineSpacing();
}

void TForm1::Edit1Change()
{
    // An emptied field stands for 0; anything else shows the digit in force.
    if (Edit1->text().isEmpty())
        m_document.setLineSpacingDigit(0);
    showLineSpacing();
}

bool TForm1::FormMouseWheel(QWheelEvent *event)
{
    QWidget *focused = focusWidget();
    if (focused == ListBox1)
        return false; // the list scrolls as usual
    if (focused == Edit1 && Edit1->isVisible())
        m_document.stepLineSpacing(event->angleDelta().y() < 0 ? -1 : 1);
    event->accept();
    return true; // no other control scrolls with the wheel
}

void TForm1::Label2Click()
{
    Edit1->setFocus();
}

void TForm1::bindPreviewShortcuts()
{
    // Toggles the preview button, which runs its click handler.
    auto *preview = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(preview, &QShortcut::activated, spbA, &QToolButton::click);
}

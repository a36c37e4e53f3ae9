// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side of a second start's hand-off.

#include "shell/tform1.h"

#include "shell/panel.h"

#include <QApplication>
#include <QLineEdit>

void TForm1::receiveHandOff(const QString &marker, const QString &addressee)
{
    // The marker goes first, into the marker field; its change handler
    // recolours frame B. Then the text becomes the addressee.
    Edit2->setText(marker);
    // The addressee comes from elsewhere now: no customer's cells fill the
    // fields.
    setCustomer(std::nullopt);
    setBoxText(boxtable::kAddresseeBox, addressee);
}

bool TForm1::takesHandOff() const
{
    // The texts wait for the user to be done with a dialog, and for a run of
    // letters, which must not see the window change under it.
    return !m_runningLetters && QApplication::activeModalWidget() == nullptr;
}

void TForm1::Edit2Change()
{
    // After a hand-off the addressee is not saved for the rest of the run.
    m_letter.setHandOffMarker(Edit2->text());
    noteLetterChanged();
    const boxtable::Rgb colour = boxtable::kHandOffColour;
    m_frameColours[boxtable::kAddresseeBox] = colour.value();
    frames[boxtable::kAddresseeBox]->setColour(QColor(colour.r, colour.g, colour.b));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The receiving side of a second start's hand-off.

#include "shell/tform1.h"

#include "shell/panel.h"

#include <QApplication>
#include <QLineEdit>

void TForm1::receiveHandOff(const QString &marker, const QString &addressee)
{
    // The marker goes first, into the marker field, and frame B takes the
    // hand-off colour. The addressee comes from elsewhere now: no
    // customer's cells fill the fields. Then the text becomes the addressee.
    m_document.setHandOffMarker(marker);
    m_document.setCustomer(std::nullopt);
    m_document.setText(boxtable::kAddresseeBox, addressee);
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
    m_document.setHandOffMarker(Edit2->text());
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The print button: 55 ms after the release, the page is rendered and
// printed on the default printer.

#include "shell/tform1.h"

#include "platform/errorreport.h"

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

void TForm1::PrintPage()
{
    reportOutcome(letteroutput::print(m_document.letter(), m_jobNames));
}

void TForm1::reportOutcome(const letteroutput::Outcome &outcome,
                           const std::function<QString(const QString &)> &failed)
{
    if (!outcome) {
        errorreport::show(failed ? failed(outcome.error()) : outcome.error());
        return;
    }
    // The letters went out; a log that cannot be written is reported as any
    // write error.
    if (!outcome->logged)
        errorreport::show(outcome->logged.error());
}

void TForm1::bindPrintingShortcuts()
{
    // Printing by key is the same as releasing the print button.
    auto *print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(print, &QShortcut::activated, this, [this] { spb5MouseUp(); });
}

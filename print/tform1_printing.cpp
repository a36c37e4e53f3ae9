// SPDX-License-Identifier: GPL-3.0-or-later
// The print button: 55 ms after the release, the page is rendered and
// printed on the default printer.

#include "shell/tform1.h"

#include "platform/errorreport.h"
#include "print/letterpage.h"
#include "print/printerplayback.h"

#include <QDateTime>
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

RenderPage TForm1::renderPage() const
{
    return letterpage::build(m_letter);
}

void TForm1::PrintPage()
{
    const QDateTime at = QDateTime::currentDateTime();
    const Result<QString> printed =
        printerplayback::printRenderPage(renderPage(), m_jobNames.next(at));
    if (!printed) {
        errorreport::show(printed.error());
        return;
    }
    recordSent({letterpage::heading(m_letter)}, at, sendlog::Method::Print, *printed);
}

void TForm1::recordSent(const QList<letterpage::Heading> &letters, const QDateTime &at,
                        sendlog::Method method, const QString &destination)
{
    const Result<void> recorded = sendlog::append(
        m_letter.programDir(), letterpage::sentEntries(letters, at, method, destination));
    if (!recorded)
        errorreport::show(recorded.error());
}

void TForm1::bindPrintingShortcuts()
{
    // Printing by key is the same as releasing the print button.
    auto *print = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(print, &QShortcut::activated, this, [this] { spb5MouseUp(); });
}

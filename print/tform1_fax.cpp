// SPDX-License-Identifier: GPL-3.0-or-later
// The letter by fax: "FAX送信…" (Ctrl+Shift+F) to the chosen customer's
// number, "全員分をFAX送信" to every customer's own, and "送付記録…", the
// log with each fax's state. Reached from the page's context menu, so no
// control of the window changes.

#include "shell/tform1.h"

#include "platform/errorreport.h"
#include "platform/noticereport.h"
#include "print/faxconfirmdialog.h"
#include "print/letterpage.h"
#include "print/sendlogwindow.h"

#include <QAction>

void TForm1::setUpFax()
{
    auto add = [this](const QString &caption, const char *name, void (TForm1::*handler)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        m_pageMenuActions.append(action);
        return action;
    };
    add(FaxConfirmDialog::caption(), "actFax", &TForm1::sendFax)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    add(FaxConfirmDialog::everyoneCaption(), "actFaxMerged", &TForm1::sendMergedFaxes);
    add(SendLogWindow::caption(), "actSendLog", &TForm1::showSendLog);
}

namespace {
QString faxesText(const letteroutput::Delivery &delivery)
{
    QStringList lines;
    lines.append(QStringLiteral("%1 に %2 件のFAXを送りました")
                     .arg(delivery.destination)
                     .arg(delivery.faxes.size()));
    for (const letteroutput::SentFax &sent : delivery.faxes)
        lines.append(
            QStringLiteral("  %1  ジョブ %2  %3").arg(sent.number, sent.jobId, sent.addressee));
    if (!delivery.skipped.isEmpty()) {
        lines.append(QStringLiteral("送らなかった宛先 %1 件:").arg(delivery.skipped.size()));
        for (const QString &skipped : delivery.skipped)
            lines.append(QStringLiteral("  ") + skipped);
    }
    return lines.join(u'\n');
}
} // namespace

std::optional<fax::Service> TForm1::confirmFax(FaxConfirmDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // A service the user chose here is the one from now on.
    const fax::Service chosen = dialog.service();
    const Result<fax::Service> before = fax::configured(m_document.letter().programDir());
    if (!before || !(*before == chosen)) {
        if (const Result<void> saved = fax::save(m_document.letter().programDir(), chosen); !saved)
            errorreport::show(saved.error());
    }
    return chosen;
}

void TForm1::sendFax()
{
    const LetterModel &letter = m_document.letter();
    const Result<fax::Service> service = fax::configured(letter.programDir());
    const letterfields::Values *customer = letter.customer();
    FaxConfirmDialog dialog(customer ? customer->value(QStringLiteral("FAX")) : QString(),
                            letterpage::heading(letter).addressee, letter.sentPages(),
                            service.ok() ? *service : fax::Service{}, false, this);
    const std::optional<fax::Service> chosen = confirmFax(dialog);
    if (!chosen)
        return;
    const letteroutput::Outcome outcome = letteroutput::fax(letter, dialog.number(), *chosen);
    reportOutcome(outcome);
    if (outcome)
        noticereport::show(faxesText(*outcome));
}

void TForm1::sendMergedFaxes()
{
    const std::optional<letteroutput::Customers> customers =
        chooseMergeCustomers(FaxConfirmDialog::everyoneCaption());
    if (!customers)
        return;
    const LetterModel &letter = m_document.letter();
    const Result<fax::Service> service = fax::configured(letter.programDir());
    const int count = static_cast<int>(letteroutput::sentRows(*customers).size());
    FaxConfirmDialog dialog(QString(), QStringLiteral("%1 件の顧客").arg(count), letter.sentPages(),
                            service.ok() ? *service : fax::Service{}, true, this);
    const std::optional<fax::Service> chosen = confirmFax(dialog);
    if (!chosen)
        return;
    const std::optional<letteroutput::Outcome> outcome =
        runLetters(count, [&](const letteroutput::Progress &progress) {
            return letteroutput::faxMerged(letter, *customers, *chosen, progress);
        });
    if (!outcome)
        return;
    reportOutcome(*outcome);
    if (!*outcome)
        return;
    if (!(*outcome)->stoppedBy.isEmpty())
        errorreport::show(QStringLiteral("途中で止まりました: %1").arg((*outcome)->stoppedBy));
    noticereport::show(faxesText(**outcome));
}

void TForm1::showSendLog()
{
    SendLogWindow window(m_document.letter().programDir(), this);
    if (window.refresh())
        window.exec();
}

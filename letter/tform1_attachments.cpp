// SPDX-License-Identifier: GPL-3.0-or-later
// The documents that go out after the cover: "添付ファイル…" in the page's
// menu, PDF files dropped on the page, and a line on the left panel that
// says what is attached.

#include "shell/tform1.h"

#include "letter/attachmentsdialog.h"
#include "shell/panel.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QToolButton>

void TForm1::setUpAttachments()
{
    auto *line = new QAction(this);
    line->setSeparator(true);
    m_pageMenuActions.append(line);
    auto *action = new QAction(AttachmentsDialog::caption(), this);
    action->setObjectName(QStringLiteral("actAttachments"));
    connect(action, &QAction::triggered, this, &TForm1::chooseAttachments);
    m_pageMenuActions.append(action);

    // At the foot of the left panel, beside the close buttons: a click
    // opens the list.
    m_attachmentsNote = new QLabel(Pnl1);
    m_attachmentsNote->setObjectName(QStringLiteral("attachmentsNote"));
    m_attachmentsNote->setWordWrap(true);
    m_attachmentsNote->setCursor(Qt::PointingHandCursor);
    m_attachmentsNote->hide();
    Pnl0->setAcceptDrops(true);
    connect(&m_document, &LetterDocument::attachmentsChanged, this, &TForm1::showAttachments);
    connect(&m_document, &LetterDocument::reloaded, this, &TForm1::showAttachments);
}

void TForm1::chooseAttachments()
{
    AttachmentsDialog dialog(m_document.letter().attachments(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_document.setAttachments(dialog.paths());
}

bool TForm1::takeDroppedFiles(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList files = AttachmentsDialog::pdfFilesOf(drop->mimeData());
    if (files.isEmpty())
        return false; // text for a box goes to it as before
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        QStringList paths = m_document.letter().attachments();
        for (const QString &file : files)
            paths.append(QFileInfo(file).absoluteFilePath());
        m_document.setAttachments(paths);
    }
    return true;
}

void TForm1::showAttachments()
{
    const LetterModel &letter = m_document.letter();
    const qsizetype count = letter.attachments().size();
    m_attachmentsNote->setText(
        QStringLiteral("添付 %1 件・本状を含め %2 枚").arg(count).arg(letter.sentPages()));
    m_attachmentsNote->setToolTip(letter.attachments().join(u'\n'));
    // Below the customer list, left of the close buttons, wherever the
    // panel's height put them.
    const int top = Panel8->geometry().bottom() + 4;
    m_attachmentsNote->setGeometry(12, top, spb4->x() - 16, std::max(16, Pnl1->height() - top - 4));
    m_attachmentsNote->setVisible(count > 0);
    // 《枚数》 prints anew.
    showBoxTexts();
}

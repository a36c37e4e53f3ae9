// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/displaylines.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

void sendPendingResize(QWidget *widget)
{
    if (!widget || !widget->testAttribute(Qt::WA_PendingResizeEvent))
        return;
    widget->setAttribute(Qt::WA_PendingResizeEvent, false);
    QResizeEvent resize(widget->size(), QSize());
    QCoreApplication::sendEvent(widget, &resize);
}

} // namespace

QStringList displayLines(const QPlainTextEdit *memo)
{
    QStringList lines;
    if (!memo)
        return lines;

    // A memo that has not been shown since its last resize still wraps at its
    // old width: the scroll area passes its viewport's resize on to the
    // document layout, and a hidden widget's resize waits until it is shown.
    // Deliver those resizes now, memo first (it places the viewport).
    auto *widget = const_cast<QPlainTextEdit *>(memo);
    sendPendingResize(widget);
    sendPendingResize(widget->viewport());

    QTextDocument *document = memo->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // The plain-text layout lays blocks out lazily (only those painted);
        // asking for the block's rectangle lays this one out.
        layout->blockBoundingRect(block);
        const QTextLayout *textLayout = block.layout();
        const QString text = block.text();
        const int count = textLayout ? textLayout->lineCount() : 0;
        if (count == 0) {
            lines.append(QString()); // an empty block is still one line
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = textLayout->lineAt(i);
            QString part = text.mid(line.textStart(), line.textLength());
            // A soft line break (Shift+Enter) ends its line inside the block.
            part.remove(QChar::LineSeparator);
            part.remove(QChar::ParagraphSeparator);
            lines.append(part);
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

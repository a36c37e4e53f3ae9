// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/textoverflow.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

bool textOverflows(const QPlainTextEdit *memo)
{
    if (!memo)
        return false;
    const QTextDocument *document = memo->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    const QTextBlock last = document->lastBlock();
    const double shown = memo->viewport()->height();
    double needed = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block == last && block != document->begin() && block.text().isEmpty())
            break;
        // Lays the block out at the memo's width if it was not yet.
        needed += layout->blockBoundingRect(block).height();
        if (needed > shown)
            return true;
    }
    return false;
}

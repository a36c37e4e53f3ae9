// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxwrap.h"

#include "letter/overlongline.h"

#include <QTextLayout>
#include <QTextOption>

#include <climits>

namespace boxwrap {

QStringList lines(const QString &text, const QFont &font, int width)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain.truncate(overlongline::shownLength(plain));

    // The text area gives every line its own width; one that has none lays
    // its lines out unbroken.
    const qreal available = width > 0 ? qreal(width) : qreal(INT_MAX);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    QStringList lines;
    for (const QString &block : plain.split(QLatin1Char('\n'))) {
        if (block.isEmpty()) {
            // An empty hard line is one empty line whatever the font: no
            // layout, and no font to load for it.
            lines.append(QString());
            continue;
        }
        QTextLayout layout(block, font);
        layout.setTextOption(option);
        layout.setCacheEnabled(false);
        layout.beginLayout();
        int count = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(available);
            QString part = block.mid(line.textStart(), line.textLength());
            // A soft line break (Shift+Enter) ends its line inside the block.
            part.remove(QChar::LineSeparator);
            part.remove(QChar::ParagraphSeparator);
            lines.append(part);
            ++count;
        }
        layout.endLayout();
        if (count == 0)
            lines.append(QString()); // an empty hard line is still a line
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace boxwrap

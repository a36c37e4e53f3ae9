// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/letterfields.h"

namespace letterfields {

namespace {
bool isKnown(QStringView name)
{
    for (const Field &field : kFields) {
        if (name == QStringView(field.name))
            return true;
    }
    return false;
}

// Calls `known(from, to, name)` for each field of a known name, in order.
template <typename Known> void forEachField(QStringView text, Known known)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QChar(kOpen), at);
        if (open < 0)
            return;
        const qsizetype close = text.indexOf(QChar(kClose), open + 1);
        if (close < 0)
            return;
        // The last opening bracket before the close starts the name, so that
        // "《《FAX》" fills the inner field and keeps the stray bracket.
        const qsizetype start = text.lastIndexOf(QChar(kOpen), close);
        const QStringView name = text.sliced(start + 1, close - start - 1);
        if (isKnown(name))
            known(start, close + 1, name);
        at = close + 1;
    }
}
} // namespace

QString marker(QStringView name)
{
    return QChar(kOpen) + name.toString() + QChar(kClose);
}

QString fill(const QString &text, const Values *values)
{
    QString filled;
    qsizetype copied = 0;
    forEachField(text, [&](qsizetype from, qsizetype to, QStringView name) {
        filled += QStringView(text).sliced(copied, from - copied);
        if (values)
            filled += values->value(name.toString());
        copied = to;
    });
    if (copied == 0)
        return text;
    filled += QStringView(text).sliced(copied);
    return filled;
}

bool hasFields(QStringView text)
{
    bool found = false;
    forEachField(text, [&](qsizetype, qsizetype, QStringView) { found = true; });
    return found;
}

QString fillPageCount(const QString &text, int pages)
{
    const QString field = marker(kPageCountName);
    if (!text.contains(field))
        return text;
    QString filled = text;
    return filled.replace(field, QString::number(pages));
}

} // namespace letterfields

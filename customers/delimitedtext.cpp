// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/delimitedtext.h"

namespace delimitedtext {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

bool isBlank(char16_t c)
{
    return c >= 1 && c <= 32;
}

// A quoted field starting at the opening quote at `pos`. Pairs of quotes stand
// for one quote. Without a closing quote the field is the rest of the line
// with its last character dropped, and `pos` ends at the end of the line.
QString takeQuoted(QStringView line, qsizetype &pos)
{
    const qsizetype start = pos + 1;
    const qsizetype n = line.size();
    QString field;
    qsizetype i = start;
    qsizetype runStart = start;
    while (i < n) {
        if (line[i] != kQuote) {
            ++i;
            continue;
        }
        if (i + 1 < n && line[i + 1] == kQuote) {
            // A doubled quote: keep one of the two.
            field.append(line.sliced(runStart, i + 1 - runStart));
            i += 2;
            runStart = i;
            continue;
        }
        field.append(line.sliced(runStart, i - runStart));
        pos = i + 1;
        return field;
    }
    field.append(line.sliced(runStart, n - runStart));
    field.chop(1);
    pos = n;
    return field;
}

} // namespace

QStringList split(QStringView line, qsizetype maxFields)
{
    const qsizetype nul = line.indexOf(QChar(u'\0'));
    if (nul >= 0)
        line = line.first(nul);

    QStringList fields;
    if (maxFields == 0)
        return fields;
    fields.reserve(maxFields > 0 ? maxFields : 16);
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (pos < n && isBlank(line[pos].unicode()))
        ++pos;
    while (pos < n) {
        if (line[pos] == kQuote) {
            fields.append(takeQuoted(line, pos));
        } else {
            const qsizetype start = pos;
            while (pos < n && !isBlank(line[pos].unicode()) && line[pos] != kComma)
                ++pos;
            fields.append(line.sliced(start, pos - start).toString());
        }
        if (fields.size() == maxFields)
            return fields;
        while (pos < n && isBlank(line[pos].unicode()))
            ++pos;
        if (pos < n && line[pos] == kComma) {
            if (pos + 1 == n) {
                fields.append(QString());
                if (fields.size() == maxFields)
                    return fields;
            }
            ++pos;
            while (pos < n && isBlank(line[pos].unicode()))
                ++pos;
        }
    }
    return fields;
}

} // namespace delimitedtext

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pdffilename.h"

#include <QList>

namespace pdffilename {

namespace {

bool forbidden(char32_t c)
{
    if (c < 0x20 || c == 0x7f || (c >= 0x80 && c < 0xa0))
        return true;
    switch (c) {
    case U'/':
    case U'\\':
    case U':':
    case U'*':
    case U'?':
    case U'"':
    case U'<':
    case U'>':
    case U'|':
        return true;
    default:
        return false;
    }
}

bool trimmedAtEnds(QChar c)
{
    // A trailing dot or blank is dropped by Windows, which would make two
    // names one there.
    return c.isSpace() || c == QLatin1Char('.');
}

} // namespace

QString safePart(const QString &company)
{
    QString safe;
    safe.reserve(company.size());
    for (char32_t c : company.toUcs4()) {
        if (forbidden(c))
            safe.append(QLatin1Char('_'));
        else
            safe.append(QString::fromUcs4(&c, 1));
    }
    qsizetype begin = 0;
    qsizetype end = safe.size();
    while (begin < end && trimmedAtEnds(safe.at(begin)))
        ++begin;
    while (end > begin && trimmedAtEnds(safe.at(end - 1)))
        --end;
    return safe.mid(begin, end - begin);
}

QString forCustomer(int row, int count, const QString &company)
{
    const int digits = qMax(4, static_cast<int>(QString::number(qMax(count, row)).size()));
    QString name = QStringLiteral("%1").arg(row, digits, 10, QLatin1Char('0'));
    const QString part = safePart(company);
    if (!part.isEmpty()) {
        const QString suffix = QStringLiteral(".pdf");
        const qsizetype room = kMaxNameBytes - name.toUtf8().size() - 1 - suffix.toUtf8().size();
        QString kept;
        qsizetype bytes = 0;
        for (char32_t c : part.toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            bytes += one.toUtf8().size();
            if (bytes > room)
                break;
            kept.append(one);
        }
        // Cutting may leave a blank or a dot at the end.
        kept = safePart(kept);
        if (!kept.isEmpty())
            name += QLatin1Char('_') + kept;
    }
    return name + QStringLiteral(".pdf");
}

} // namespace pdffilename

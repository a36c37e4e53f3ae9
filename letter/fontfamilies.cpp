// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/fontfamilies.h"

#include <QRegularExpression>
#include <QSet>

namespace fontfamilies {

QStringList shown(const QStringList &families)
{
    static const QRegularExpression foundryTag(QStringLiteral(R"(\s+\[[^\[\]]*\]$)"));
    QStringList list;
    QSet<QString> seen;
    for (const QString &family : families) {
        QString name = family;
        name.remove(foundryTag);
        if (name.isEmpty())
            name = family;
        if (!seen.contains(name)) {
            seen.insert(name);
            list.append(name);
        }
    }
    return list;
}

} // namespace fontfamilies

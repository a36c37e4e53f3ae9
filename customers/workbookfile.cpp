// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/workbookfile.h"

#include <QFileInfo>

namespace workbookfile {

QString customerWorkbookName(const QString &programDir)
{
    for (const char *name : {"smpl2.xls", "smpl2.xlsx", "smpl2.ods"}) {
        const QString candidate = QString::fromLatin1(name);
        if (QFileInfo(programDir + candidate).isFile())
            return candidate;
    }
    return QStringLiteral("smpl2.xls");
}

} // namespace workbookfile

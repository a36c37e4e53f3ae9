// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/attachmentfile.h"

#include "letter/boxtextfile.h"

#include <QFile>

namespace attachmentfile {

QString filePath(const QString &programDir)
{
    return programDir + boxtextfile::kDataDirName.toString() + QStringLiteral("/添付ファイル.txt");
}

QByteArray encode(const QStringList &paths)
{
    QByteArray bytes;
    for (const QString &path : paths)
        bytes += path.toUtf8() + '\n';
    return bytes;
}

QStringList decode(const QByteArray &bytes)
{
    QStringList paths;
    for (const QByteArray &line : bytes.split('\n')) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

Result<QStringList> load(const QString &programDir)
{
    QFile file(filePath(programDir));
    if (!file.exists())
        return QStringList();
    if (!file.open(QIODevice::ReadOnly))
        return fail(boxtextfile::openErrorMessage(file.fileName(), file.errorString()));
    // Far more than any letter needs; a huge file is no list of ours.
    return decode(file.read(1024 * 1024));
}

} // namespace attachmentfile

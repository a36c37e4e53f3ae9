// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/documentname.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace documentname {

QString jobName(const QDateTime &at)
{
    return QStringLiteral("Tavrint ") + at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString JobNamer::next(const QDateTime &at)
{
    const QString name = jobName(at);
    if (name != m_last) {
        m_last = name;
        m_repeat = 1;
        return name;
    }
    ++m_repeat;
    return name + QStringLiteral(" (%1)").arg(m_repeat);
}

QString pdfFileName(const QDateTime &at)
{
    return QStringLiteral("Tavrint ") + at.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
           QStringLiteral(".pdf");
}

QString proposedPdfPath(const QDateTime &at)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(pdfFileName(at));
}

QString pdfNotSavedText(const QString &path, const QString &reason)
{
    return QStringLiteral("PDFを保存できませんでした: ") + QDir::toNativeSeparators(path) +
           QStringLiteral("\n") + reason;
}

} // namespace documentname

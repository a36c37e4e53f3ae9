#include "print/documentname.h"

namespace documentname {

QString jobName(const QDateTime &at)
{
    return QStringLiteral("Tavrint ") + at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString pdfFileName(const QDateTime &at)
{
    return QStringLiteral("Tavrint ") + at.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) +
           QStringLiteral(".pdf");
}

} // namespace documentname

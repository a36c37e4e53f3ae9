#include "print/documentname.h"

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

} // namespace documentname

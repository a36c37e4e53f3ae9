// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/xmlpart.h"

#include <utility>

XmlPart::XmlPart(const ZipArchive &zip, const QString &name)
{
    auto opened = zip.open(name, officesheet::kMaxPartBytes);
    if (!opened) {
        m_openFailure = opened.failure();
        return;
    }
    m_part = std::move(opened).value();
    m_xml.setDevice(m_part.get());
}

QXmlStreamReader::TokenType XmlPart::next()
{
    const QXmlStreamReader::TokenType token = m_xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
        if (++m_depth > kMaxDepth) {
            m_xml.raiseError(QStringLiteral("elements nested too deep"));
            return QXmlStreamReader::Invalid;
        }
    } else if (token == QXmlStreamReader::EndElement) {
        --m_depth;
    }
    return token;
}

QString XmlPart::elementText()
{
    QString text;
    const int start = m_depth;
    while (!atEnd()) {
        const QXmlStreamReader::TokenType token = next();
        if (token == QXmlStreamReader::Characters)
            text += m_xml.text();
        else if (token == QXmlStreamReader::EndElement && m_depth < start)
            break;
    }
    return text;
}

void XmlPart::skipElement()
{
    const int start = m_depth;
    while (!atEnd()) {
        if (next() == QXmlStreamReader::EndElement && m_depth < start)
            break;
    }
}

officesheet::Failure XmlPart::failure() const
{
    using officesheet::Failure;
    if (!m_part)
        return m_openFailure == ZipArchive::Failure::Encrypted ? Failure::Encrypted
                                                               : Failure::Damaged;
    if (m_part->failure() == ZipArchive::Failure::TooLarge)
        return Failure::TooLarge;
    if (m_xml.hasError() || m_part->failure() != ZipArchive::Failure::None)
        return Failure::Damaged;
    return Failure::None;
}

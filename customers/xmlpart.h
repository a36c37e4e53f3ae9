// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/officesheet.h"
#include "customers/ziparchive.h"

#include <QXmlStreamReader>

#include <memory>

// One XML part of a workbook archive under Qt's streaming reader, read token
// by token through next(), which also refuses elements nested deeper than any
// workbook needs: the reader keeps every open element, so a part of a million
// nested elements would otherwise cost hundreds of megabytes.
class XmlPart
{
public:
    static constexpr int kMaxDepth = 128;

    XmlPart(const ZipArchive &zip, const QString &name);

    bool isOpen() const { return m_part != nullptr; }
    bool atEnd() const { return m_xml.atEnd(); }
    QXmlStreamReader::TokenType next();

    // The element just started: its names, attributes, and the depth it opened.
    QStringView name() const { return m_xml.name(); }
    QStringView namespaceUri() const { return m_xml.namespaceUri(); }
    QXmlStreamAttributes attributes() const { return m_xml.attributes(); }
    QStringView text() const { return m_xml.text(); }
    int depth() const { return m_depth; }

    // The text inside the element just started, its children's included, up
    // to its end.
    QString elementText();
    // Passes over the element just started, up to its end.
    void skipElement();

    // What went wrong, if anything, once parsing has stopped.
    officesheet::Failure failure() const;

private:
    std::unique_ptr<ZipArchive::Part> m_part;
    ZipArchive::Failure m_openFailure = ZipArchive::Failure::None;
    QXmlStreamReader m_xml;
    int m_depth = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/odssheet.h"

#include "customers/sheetdate.h"
#include "customers/xmlpart.h"

#include <QDate>
#include <QDateTime>

#include <charconv>

namespace odssheet {

using officesheet::Failure;
using officesheet::Outcome;

namespace {

constexpr QLatin1String kOffice("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kTable("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kText("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr QLatin1String
    kCalcExt("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");
// No cell of a spreadsheet holds more; a cell of many repeated spaces
// (<text:s text:c="..."/>) must not grow past it.
constexpr qsizetype kMaxCellText = 32767;

bool is(const XmlPart &xml, QLatin1String ns, QStringView name)
{
    return xml.name() == name && xml.namespaceUri() == ns;
}

qint64 repeatCount(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    bool ok = false;
    const qint64 count = attributes.value(kTable, name).toLongLong(&ok);
    // No sheet has more rows or columns than this; a larger count only
    // stands for "to the end".
    return ok && count > 0 ? qMin<qint64>(count, qint64(1) << 24) : 1;
}

// The shown text of a cell: its paragraphs, one line each, without notes.
QString cellText(XmlPart &xml)
{
    QString text;
    int depth = 0;
    int skipDepth = 0;
    int paragraphDepth = 0;
    bool firstParagraph = true;
    auto append = [&](QStringView more) {
        text.append(more.first(qMin(more.size(), kMaxCellText - text.size())));
    };
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.next();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (skipDepth)
                continue;
            if (xml.namespaceUri() == kOffice && xml.name() == u"annotation") {
                skipDepth = depth;
            } else if (xml.namespaceUri() != kText) {
                continue;
            } else if (xml.name() == u"p" || xml.name() == u"h") {
                if (!firstParagraph)
                    append(u"\n");
                firstParagraph = false;
                if (!paragraphDepth)
                    paragraphDepth = depth;
            } else if (xml.name() == u"note") {
                skipDepth = depth;
            } else if (xml.name() == u"s") {
                bool ok = false;
                const qint64 count =
                    xml.attributes().value(kText, QLatin1String("c")).toLongLong(&ok);
                const qsizetype room = kMaxCellText - text.size();
                text.append(QString(qsizetype(qBound<qint64>(0, ok ? count : 1, room)), u' '));
            } else if (xml.name() == u"tab") {
                append(u"\t");
            } else if (xml.name() == u"line-break") {
                append(u"\n");
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == skipDepth)
                skipDepth = 0;
            if (depth == paragraphDepth)
                paragraphDepth = 0;
            if (--depth < 0)
                break; // the cell's own end
        } else if (token == QXmlStreamReader::Characters && paragraphDepth && !skipDepth) {
            append(xml.text());
        }
    }
    return text;
}

// A cell as the .xls reader would give it: its value by its value type.
Cell cellOf(const QXmlStreamAttributes &attributes, const QString &text)
{
    if (attributes.value(kCalcExt, QLatin1String("value-type")) == u"error")
        return Cell::unreadable();
    const QStringView type = attributes.value(kOffice, QLatin1String("value-type"));
    if (type == u"float" || type == u"percentage" || type == u"currency") {
        const QByteArray number =
            attributes.value(kOffice, QLatin1String("value")).trimmed().toLatin1();
        double value = 0;
        const char *end = number.constData() + number.size();
        const auto [ptr, ec] = std::from_chars(number.constData(), end, value);
        if (number.isEmpty() || ec != std::errc() || ptr != end)
            return Cell::unreadable();
        return Cell::ofNumber(value);
    }
    if (type == u"date") {
        const QString value =
            attributes.value(kOffice, QLatin1String("date-value")).trimmed().toString();
        const qsizetype t = value.indexOf(u'T');
        const QDate date = QDate::fromString(value.left(t < 0 ? value.size() : t), Qt::ISODate);
        if (!date.isValid())
            return Cell::ofText(text); // no calendar date: what the cell shows
        if (t < 0)
            return Cell::ofDate(Cell::Kind::Date, date.toString(Qt::ISODate));
        const QTime time = QTime::fromString(value.mid(t + 1, 8), Qt::ISODate);
        return Cell::ofDate(Cell::Kind::DateTime,
                            date.toString(Qt::ISODate) + u' ' + time.toString(Qt::ISODate));
    }
    if (type == u"time") {
        std::optional<QString> time = sheetdate::durationText(
            attributes.value(kOffice, QLatin1String("time-value")).trimmed());
        if (!time)
            return Cell::ofText(text);
        return Cell::ofDate(Cell::Kind::Time, std::move(*time));
    }
    if (type == u"boolean") {
        const QStringView value =
            attributes.value(kOffice, QLatin1String("boolean-value")).trimmed();
        if (value == u"true" || value == u"1")
            return Cell::ofText(QStringLiteral("True"));
        if (value == u"false" || value == u"0")
            return Cell::ofText(QStringLiteral("False"));
        return Cell::unreadable();
    }
    return Cell::ofText(text); // string, or no value type at all
}

} // namespace

Outcome read(const ZipArchive &zip)
{
    XmlPart xml(zip, QStringLiteral("content.xml"));
    if (!xml.isOpen())
        return officesheet::error(xml.failure());

    Sheet sheet = officesheet::emptySheet();
    int depth = 0;
    int spreadsheetDepth = 0;
    int tableDepth = 0;
    qint64 row = 0;
    int usedRows = 0;
    bool found = false;
    bool done = false;
    while (!done && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.next();
        if (token == QXmlStreamReader::EndElement) {
            if (depth == tableDepth)
                done = true; // only the first table counts
            if (depth == spreadsheetDepth)
                spreadsheetDepth = 0;
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        if (!spreadsheetDepth) {
            if (is(xml, kOffice, u"spreadsheet"))
                spreadsheetDepth = depth;
            continue;
        }
        if (!tableDepth) {
            if (is(xml, kTable, u"table")) {
                tableDepth = depth;
                found = true;
            }
            continue;
        }
        if (!is(xml, kTable, u"table-row"))
            continue; // header rows and row groups only wrap rows

        const qint64 repeatRows =
            repeatCount(xml.attributes(), QLatin1String("number-rows-repeated"));
        std::vector<Cell> cells(Sheet::kColumns);
        qint64 column = 0;
        bool any = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType inner = xml.next();
            if (inner == QXmlStreamReader::EndElement)
                break; // the row's end
            if (inner != QXmlStreamReader::StartElement)
                continue;
            if (!is(xml, kTable, u"table-cell") && !is(xml, kTable, u"covered-table-cell")) {
                xml.skipElement();
                continue;
            }
            const QXmlStreamAttributes attributes = xml.attributes();
            const qint64 repeatColumns =
                repeatCount(attributes, QLatin1String("number-columns-repeated"));
            if (column >= Sheet::kColumns) {
                xml.skipElement();
                continue;
            }
            const Cell cell = cellOf(attributes, cellText(xml));
            for (qint64 k = 0; k < repeatColumns && column + k < Sheet::kColumns; ++k)
                cells[size_t(column + k)] = cell;
            any = any || cell.kind != Cell::Kind::Empty;
            column += repeatColumns;
        }
        --depth; // the row's end was taken above
        for (qint64 k = 0; k < repeatRows && row < Sheet::kRows; ++k, ++row) {
            std::copy(cells.begin(), cells.end(), sheet.cells.begin() + row * Sheet::kColumns);
            if (any)
                usedRows = int(row) + 1;
        }
        if (row >= Sheet::kRows)
            done = true; // the rows below are never parsed
    }

    if (xml.failure() == Failure::TooLarge || (!done && xml.failure() != Failure::None))
        return officesheet::error(xml.failure());
    if (!found)
        return officesheet::error(Failure::NoSheet);
    officesheet::trim(sheet, usedRows);
    return sheet;
}

} // namespace odssheet

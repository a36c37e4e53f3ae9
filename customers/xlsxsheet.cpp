// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/xlsxsheet.h"

#include "customers/sheetdate.h"
#include "customers/xmlpart.h"
#include "customers/ziparchive.h"

#include <QDir>
#include <QHash>

#include <charconv>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace xlsxsheet {

using officesheet::Failure;
using officesheet::Outcome;

namespace {

// The text of a rich-text element (<si>, <is>): its <t> runs, without the
// phonetic guide (<rPh>) that Japanese Excel stores beside the reading.
QString richText(XmlPart &xml)
{
    QString text;
    const int start = xml.depth();
    int phoneticDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.next();
        if (token == QXmlStreamReader::StartElement) {
            if (phoneticDepth == 0 && xml.name() == u"t")
                text += xml.elementText();
            else if (phoneticDepth == 0 && xml.name() == u"rPh")
                phoneticDepth = xml.depth();
        } else if (token == QXmlStreamReader::EndElement) {
            if (xml.depth() < phoneticDepth)
                phoneticDepth = 0;
            if (xml.depth() < start)
                break;
        }
    }
    return unescaped(text);
}

struct RawCell
{
    enum class Type { Empty, Number, Shared, Text, Boolean, Error, IsoDate };
    Type type = Type::Empty;
    QString value;
    int style = 0;
};

struct Parts
{
    QString sheet;
    QString sharedStrings = QStringLiteral("xl/sharedStrings.xml");
    QString styles = QStringLiteral("xl/styles.xml");
};

QString resolvedTarget(const QString &target)
{
    const QString path = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
    return QDir::cleanPath(path);
}

// The first sheet's relation id and the date system.
Failure readWorkbook(const ZipArchive &zip, QString &sheetId, bool &system1904)
{
    XmlPart part(zip, QStringLiteral("xl/workbook.xml"));
    if (!part.isOpen())
        return part.failure();
    XmlPart &xml = part;
    while (!xml.atEnd()) {
        if (xml.next() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"workbookPr") {
            const QStringView flag = xml.attributes().value(QLatin1String("date1904"));
            system1904 = flag == u"1" || flag == u"true";
        } else if (xml.name() == u"sheet") {
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    sheetId = attribute.value().toString();
            }
            break;
        }
    }
    if (const Failure failure = part.failure(); failure != Failure::None)
        return failure;
    return sheetId.isEmpty() ? Failure::NoSheet : Failure::None;
}

Failure readRelations(const ZipArchive &zip, const QString &sheetId, Parts &parts)
{
    XmlPart part(zip, QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!part.isOpen())
        return part.failure();
    XmlPart &xml = part;
    while (!xml.atEnd()) {
        if (xml.next() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.value(QLatin1String("TargetMode")) == u"External")
            continue;
        const QString target = resolvedTarget(attributes.value(QLatin1String("Target")).toString());
        const QStringView type = attributes.value(QLatin1String("Type"));
        if (attributes.value(QLatin1String("Id")) == sheetId)
            parts.sheet = target;
        else if (type.endsWith(u"/sharedStrings"))
            parts.sharedStrings = target;
        else if (type.endsWith(u"/styles"))
            parts.styles = target;
    }
    if (const Failure failure = part.failure(); failure != Failure::None)
        return failure;
    return parts.sheet.isEmpty() || parts.sheet.startsWith(u"../") ? Failure::NoSheet
                                                                   : Failure::None;
}

// Rows 1 to 200, columns A to H; the rows below are never parsed.
Failure readCells(const ZipArchive &zip, const QString &name, std::vector<RawCell> &cells,
                  int &usedRows)
{
    XmlPart part(zip, name);
    if (!part.isOpen())
        return part.failure();
    XmlPart &xml = part;
    qint64 row = -1;
    qint64 column = -1;
    usedRows = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.next();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"sheetData")
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"row") {
            bool ok = false;
            const qint64 number = xml.attributes().value(QLatin1String("r")).toLongLong(&ok);
            row = ok && number > 0 ? number - 1 : row + 1;
            column = -1;
            if (row >= Sheet::kRows)
                return Failure::None; // enough read
            continue;
        }
        if (xml.name() != u"c")
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const int referenced = columnOf(attributes.value(QLatin1String("r")));
        column = referenced >= 0 ? referenced : column + 1;
        if (row < 0)
            row = 0; // a cell before any row: the first row
        RawCell cell;
        const QStringView type = attributes.value(QLatin1String("t"));
        cell.style = attributes.value(QLatin1String("s")).toInt();
        bool hasValue = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType inner = xml.next();
            if (inner == QXmlStreamReader::EndElement && xml.name() == u"c")
                break;
            if (inner != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"v") {
                cell.value = xml.elementText();
                hasValue = true;
            } else if (xml.name() == u"is") {
                cell.value = richText(xml);
                hasValue = true;
            } else {
                xml.skipElement(); // the formula and the rest
            }
        }
        if (!hasValue)
            continue; // an empty cell, perhaps only formatted
        if (type == u"s")
            cell.type = RawCell::Type::Shared;
        else if (type == u"str" || type == u"inlineStr")
            cell.type = RawCell::Type::Text;
        else if (type == u"b")
            cell.type = RawCell::Type::Boolean;
        else if (type == u"e")
            cell.type = RawCell::Type::Error;
        else if (type == u"d")
            cell.type = RawCell::Type::IsoDate;
        else
            cell.type = RawCell::Type::Number;
        if (type != u"inlineStr" && cell.type == RawCell::Type::Text)
            cell.value = unescaped(cell.value);
        if (column >= 0 && column < Sheet::kColumns && row < Sheet::kRows) {
            cells[size_t(row) * Sheet::kColumns + size_t(column)] = std::move(cell);
            usedRows = qMax(usedRows, int(row) + 1);
        }
    }
    return part.failure();
}

// The shared strings the cells refer to, read up to the last one needed.
Failure readSharedStrings(const ZipArchive &zip, const QString &name,
                          const std::set<qint64> &needed, QHash<qint64, QString> &strings)
{
    if (needed.empty())
        return Failure::None;
    XmlPart part(zip, name);
    if (!part.isOpen())
        return part.failure();
    XmlPart &xml = part;
    const qint64 last = *needed.rbegin();
    qint64 index = 0;
    while (index <= last && !xml.atEnd()) {
        if (xml.next() != QXmlStreamReader::StartElement || xml.name() != u"si")
            continue;
        QString text = richText(xml);
        if (needed.count(index))
            strings.insert(index, std::move(text));
        ++index;
    }
    if (const Failure failure = part.failure(); failure != Failure::None)
        return failure;
    return index > last ? Failure::None : Failure::Damaged; // a reference past the end
}

// For each cell style needed, what its number format shows.
Failure readStyles(const ZipArchive &zip, const QString &name, const std::set<int> &needed,
                   QHash<int, sheetdate::Kind> &kinds)
{
    if (needed.empty() || !zip.contains(name))
        return Failure::None; // without styles every number is a number
    XmlPart part(zip, name);
    if (!part.isOpen())
        return part.failure();
    XmlPart &xml = part;
    QHash<int, QString> codes;
    bool inCellFormats = false;
    int index = 0;
    const int last = *needed.rbegin();
    while (!xml.atEnd() && index <= last) {
        const QXmlStreamReader::TokenType token = xml.next();
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"numFmt") {
            codes.insert(attributes.value(QLatin1String("numFmtId")).toInt(),
                         attributes.value(QLatin1String("formatCode")).toString());
        } else if (xml.name() == u"cellXfs") {
            inCellFormats = true;
        } else if (inCellFormats && xml.name() == u"xf") {
            if (needed.count(index)) {
                const int id = attributes.value(QLatin1String("numFmtId")).toInt();
                const auto code = codes.constFind(id);
                kinds.insert(index, code != codes.constEnd() ? sheetdate::kindOfCode(*code)
                                                             : sheetdate::kindOfBuiltIn(id));
            }
            ++index;
            xml.skipElement();
        }
    }
    return part.failure();
}

std::optional<double> numberOf(QStringView text)
{
    const QByteArray latin = text.trimmed().toLatin1();
    double value = 0;
    const char *end = latin.constData() + latin.size();
    const auto [ptr, ec] = std::from_chars(latin.constData(), end, value);
    if (ec != std::errc() || ptr != end || latin.isEmpty())
        return std::nullopt;
    return value;
}

} // namespace

int columnOf(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && i < 4; ++i) {
        const char16_t c = reference[i].unicode();
        if (c >= u'A' && c <= u'Z')
            column = column * 26 + (c - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            column = column * 26 + (c - u'a' + 1);
        else
            break;
    }
    return i == 0 ? -1 : column - 1;
}

QString unescaped(QStringView text)
{
    if (!text.contains(u"_x"))
        return text.toString();
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = text.sliced(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                result.append(QChar(code));
                i += 6;
                continue;
            }
        }
        result.append(text[i]);
    }
    return result;
}

Outcome read(const ZipArchive &zip)
{
    Failure failure = Failure::None;
    QString sheetId;
    bool system1904 = false;
    Parts parts;
    failure = readWorkbook(zip, sheetId, system1904);
    if (failure == Failure::None)
        failure = readRelations(zip, sheetId, parts);
    if (failure != Failure::None)
        return officesheet::error(failure);

    std::vector<RawCell> cells(size_t(Sheet::kRows) * Sheet::kColumns);
    int usedRows = 0;
    failure = readCells(zip, parts.sheet, cells, usedRows);
    if (failure != Failure::None)
        return officesheet::error(failure);

    std::set<qint64> neededStrings;
    std::set<int> neededStyles;
    for (size_t i = 0; i < size_t(usedRows) * Sheet::kColumns; ++i) {
        {
            const RawCell &cell = cells[i];
            if (cell.type == RawCell::Type::Shared) {
                bool ok = false;
                const qint64 index = cell.value.trimmed().toLongLong(&ok);
                if (!ok || index < 0) {
                    return officesheet::error(Failure::Damaged);
                }
                neededStrings.insert(index);
            } else if (cell.type == RawCell::Type::Number) {
                neededStyles.insert(cell.style);
            }
        }
    }
    QHash<qint64, QString> strings;
    QHash<int, sheetdate::Kind> kinds;
    failure = readSharedStrings(zip, parts.sharedStrings, neededStrings, strings);
    if (failure == Failure::None)
        failure = readStyles(zip, parts.styles, neededStyles, kinds);
    if (failure != Failure::None)
        return officesheet::error(failure);

    Sheet sheet = officesheet::emptySheet();
    for (int row = 0; row < usedRows; ++row) {
        for (int column = 0; column < Sheet::kColumns; ++column) {
            const RawCell &raw = cells[size_t(row) * Sheet::kColumns + size_t(column)];
            Cell &cell = sheet.cells[size_t(row) * Sheet::kColumns + size_t(column)];
            switch (raw.type) {
            case RawCell::Type::Empty:
                break;
            case RawCell::Type::Shared:
                cell = Cell::ofText(strings.value(raw.value.trimmed().toLongLong()));
                break;
            case RawCell::Type::Text:
                cell = Cell::ofText(raw.value);
                break;
            case RawCell::Type::Boolean:
                if (raw.value.trimmed() == u"1" || raw.value.trimmed() == u"true")
                    cell = Cell::ofText(QStringLiteral("True"));
                else if (raw.value.trimmed() == u"0" || raw.value.trimmed() == u"false")
                    cell = Cell::ofText(QStringLiteral("False"));
                else
                    cell = Cell::unreadable();
                break;
            case RawCell::Type::Error:
                cell = Cell::unreadable(); // a value with no text form
                break;
            case RawCell::Type::IsoDate: {
                const QString value = raw.value.trimmed();
                const bool withTime = value.contains(u'T');
                // ISO digits are Latin-1; anything else in the value shows as "?".
                cell = Cell::ofDate(
                    withTime ? Cell::Kind::DateTime : Cell::Kind::Date,
                    QString::fromLatin1(value.left(19).replace(u'T', u' ').toLatin1()));
                break;
            }
            case RawCell::Type::Number: {
                const std::optional<double> number = numberOf(raw.value);
                if (raw.value.trimmed().isEmpty())
                    break;
                if (!number) {
                    cell = Cell::unreadable();
                    break;
                }
                const sheetdate::Kind kind = kinds.value(raw.style, sheetdate::Kind::Number);
                std::optional<QString> date = sheetdate::serialText(*number, kind, system1904);
                if (date) {
                    cell = Cell::ofDate(kind == sheetdate::Kind::Date       ? Cell::Kind::Date
                                        : kind == sheetdate::Kind::DateTime ? Cell::Kind::DateTime
                                                                            : Cell::Kind::Time,
                                        std::move(*date));
                } else {
                    cell = Cell::ofNumber(*number);
                }
                break;
            }
            }
        }
    }
    officesheet::trim(sheet, usedRows);
    return sheet;
}

} // namespace xlsxsheet

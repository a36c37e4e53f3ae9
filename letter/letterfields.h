// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>

// Fields in a box text: 《会社名》, 《FAX》 and the rest, written with the
// double angle brackets of code page 932 (0x81 0x73, 0x81 0x74). In edit mode
// a box shows them as typed and its text file keeps them so; what is printed,
// written to a PDF or shown in the preview has each replaced by that cell of
// the letter's customer.
namespace letterfields {

struct Field
{
    const char16_t *name;
    int workbookColumn; // the customer table's column of a workbook list
    int textColumn;     // ... of a text list; -1: the text file has none
};

// In the order the field chooser lists them.
inline constexpr std::array<Field, 8> kFields = {{
    {u"番号", 0, -1},
    {u"会社名", 1, 0},
    {u"担当者", 2, 1},
    {u"部署", 3, 2},
    {u"郵便番号", 4, 3},
    {u"電話", 5, 5},
    {u"FAX", 6, 6},
    {u"住所", 7, 4},
}};

inline constexpr char16_t kOpen = u'《';
inline constexpr char16_t kClose = u'》';

// "《name》"
QString marker(QStringView name);

// A customer's cell for each field name.
using Values = QHash<QString, QString>;

// `text` with every field of a known name replaced by its value, or by
// nothing where `values` is null (no customer) or has none for it; a field
// of another name (《不明》) and a bracket without its partner stay as typed.
QString fill(const QString &text, const Values *values);

// The pages that go out with the letter, the cover included: "《枚数》".
// It is no customer's cell: it prints with or without a customer.
inline constexpr QStringView kPageCountName = u"枚数";
QString fillPageCount(const QString &text, int pages);

// Whether `text` holds a field of a known name.
bool hasFields(QStringView text);

} // namespace letterfields

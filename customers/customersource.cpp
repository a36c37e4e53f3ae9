// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customersource.h"

#include "customers/addressblock.h"
#include "customers/customerlist.h"
#include "customers/tflist.h"
#include "customers/workbookfile.h"

#include <utility>

namespace customersource {

QString fileName(Source source, const QString &programDir)
{
    switch (source) {
    case Source::TextList:
        return QStringLiteral("smpl1.txt");
    case Source::WorkbookList:
        return workbookfile::customerWorkbookName(programDir);
    case Source::MergeWorkbook:
        return QStringLiteral("smpl3.xls");
    }
    return QString();
}

addressblock::Layout layoutOf(Source source)
{
    return source == Source::TextList ? addressblock::Layout::Text : addressblock::Layout::Workbook;
}

CustomerRead read(TFList &holder, Source source, const QString &path, int keyItem)
{
    switch (source) {
    case Source::TextList: {
        CustomerRead read = holder.Button1Click(path, keyItem);
        if (read)
            read.value().entries =
                customerlist::listEntriesWithout(std::move(read.value().entries), QChar(0x3000));
        return read;
    }
    case Source::WorkbookList:
        return holder.Button2Click(path, keyItem);
    case Source::MergeWorkbook:
        break;
    }
    return CustomerRows{}; // opened by the spreadsheet program, never read
}

std::optional<QStringList> shownEntries(const CustomerRead &read)
{
    return read ? std::optional<QStringList>(read->entries) : read.failure().entries;
}

std::optional<int> shownCount(const CustomerRead &read)
{
    return read ? std::optional<int>(read->count) : read.failure().count;
}

} // namespace customersource

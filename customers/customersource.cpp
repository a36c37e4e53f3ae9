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

Read read(TFList &holder, Source source, const QString &path, int keyItem)
{
    Read read;
    if (source == Source::TextList) {
        textcustomerreader::Result result = holder.Button1Click(path, keyItem);
        read.count = result.count;
        read.errorMessage = result.ok() ? QString() : result.errorMessage;
        read.entries =
            result.ok() ? customerlist::listEntriesWithout(std::move(result.entries), QChar(0x3000))
                        : QStringList();
        return read;
    }
    if (source == Source::WorkbookList) {
        workbookreader::Result result = holder.Button2Click(path, keyItem);
        using Status = workbookreader::Result::Status;
        if (result.status != Status::OpenFailed)
            read.entries = std::move(result.entries);
        if (result.status == Status::Read)
            read.count = result.count;
        else
            read.errorMessage = result.errorMessage;
    }
    return read;
}

} // namespace customersource

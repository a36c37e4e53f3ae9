// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes as the report of the .xls reader's own process
// (tavrint-sheetdump). This is all of a hostile workbook that reaches the program's own
// process, so decoding it and turning its cells into table text must hold.
#include "customers/customertable.h"
#include "customers/sheetdump.h"
#include "customers/workbookreader.h"

#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

#include "customerreadcheck.h"

// With TAVRINT_WRITE_REPORTS=DIR the program only writes the reports of the
// workbooks named on its command line into DIR, as seeds, and ends.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    const QByteArray dir = qgetenv("TAVRINT_WRITE_REPORTS");
    if (dir.isEmpty())
        return 0;
    for (int i = 1; i < *argc; ++i) {
        const char *path = (*argv)[i];
        QFile out(QFile::decodeName(dir) + u'/' + QFileInfo(QFile::decodeName(path)).fileName() +
                  QStringLiteral(".report"));
        if (!out.open(QIODevice::WriteOnly) || out.write(sheetdump::report(path)) < 0)
            std::exit(1);
    }
    std::exit(0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const sheetdump::Outcome outcome =
        sheetdump::decode(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!outcome) {
        if (outcome.error().isEmpty())
            std::abort(); // the open error must say why
        return 0;
    }
    if (outcome->rows < 0 || outcome->rows > Sheet::kRows || outcome->columns < 0 ||
        outcome->columns > Sheet::kColumns ||
        outcome->cells.size() != size_t(outcome->rows) * size_t(outcome->columns))
        std::abort();
    for (int key : {0, 1}) {
        CustomerTable table;
        table.setRowCount(-1);
        const CustomerRead result = workbookreader::readSheet(
            *outcome, key, table, QLocale(QLocale::Japanese, QLocale::Japan));
        if (kindOf(result) == ReadKind::OpenFailed)
            std::abort(); // a sheet in hand always opens
        if (kindOf(result) == ReadKind::Read &&
            (countOf(result) != entriesOf(result).size() || table.rowCount() != countOf(result) ||
             countOf(result) > workbookreader::kMaxRows))
            std::abort();
        if (kindOf(result) != ReadKind::Read &&
            (table.rowCount() != -1 || result.error().isEmpty()))
            std::abort();
    }
    return 0;
}

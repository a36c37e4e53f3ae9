// The workbook reader on a workbook of 200 customers of eight cells, FreeXL
// in its child process included; and the rebuild of the list from the table
// when the company/person selector switches.
//
//   bench_workbookreader [WORKBOOK.xls]
//
// Without an argument the workbook is written by make-test-workbooks.pl.
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/workbookreader.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    QString path;
    if (argc > 1) {
        path = QString::fromLocal8Bit(argv[1]);
    } else {
        const int status = QProcess::execute(QStringLiteral("perl"),
                                             {QStringLiteral(TAVRINT_SCRIPTS_DIR "/make-test-workbooks.pl"), dir.path()});
        if (status != 0) {
            std::fprintf(stderr, "make-test-workbooks.pl failed\n");
            return 1;
        }
        path = dir.filePath(QStringLiteral("bench.xls"));
    }

    std::vector<double> reads, switches;
    for (int round = 0; round < 51; ++round) {
        CustomerTable table;
        QElapsedTimer timer;
        timer.start();
        const workbookreader::Result result = workbookreader::read(path, 1, table);
        reads.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(result.errorMessage));
            return 1;
        }
        timer.restart();
        const QStringList entries = customerlist::workbookEntries(table, result.count, 0);
        switches.push_back(timer.nsecsElapsed() / 1e6);
        if (entries.size() != result.count)
            return 1;
    }
    std::printf("workbookreader_200_rows: median %.2f ms\n", median(reads));
    std::printf("workbook_selector_switch_200_rows: median %.3f ms\n", median(switches));
    return 0;
}

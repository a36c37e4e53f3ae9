// The workbook reader as the user waits for it, from the file on disk to the
// filled table: .xls (FreeXL in its child process) and .xlsx (in process) at
// 200 and 65,536 rows, each beside a floor, the same reader on a workbook of
// one customer; a zip bomb's open error; and the rebuild of the list from the
// table when the company/person selector switches.
//
//   bench_workbookreader DIRECTORY
//
// The directory holds what make-test-workbooks.pl and
// make-test-office-workbooks.pl write, with and without --bench.
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/workbookreader.h"

#include <QDir>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing
{
    double first = 0; // the first read of the file in this process
    double median = 0;
    // Processor time, here and in the child: what a shared machine's load hides.
    double cpuMedian = 0;
    bool ok = true;
};

double cpuMs()
{
    double ms = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        ms += double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    return ms;
}

Timing timeReads(const QString &path, int rounds, bool expectOpenError = false)
{
    Timing timing;
    std::vector<double> times;
    std::vector<double> cpu;
    for (int round = 0; round < rounds; ++round) {
        CustomerTable table;
        const double cpuBefore = cpuMs();
        QElapsedTimer timer;
        timer.start();
        const workbookreader::Result result = workbookreader::read(path, 1, table);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        cpu.push_back(cpuMs() - cpuBefore);
        if (round == 0)
            timing.first = ms;
        times.push_back(ms);
        const bool failed = result.status == workbookreader::Result::Status::OpenFailed;
        if (failed != expectOpenError) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(result.errorMessage));
            timing.ok = false;
            return timing;
        }
    }
    timing.median = median(times);
    timing.cpuMedian = median(cpu);
    return timing;
}

long peakKiB(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    struct Case
    {
        const char *name;
        const char *file;
        const char *floorFile;
        int rounds;
    };
    const Case cases[] = {
        {"xlsx_200_rows", "bench-200.xlsx", "trivial.xlsx", 41},
        {"xlsx_65536_rows", "bench-65536.xlsx", "trivial.xlsx", 41},
        {"xls_200_rows", "bench.xls", "trivial.xls", 21},
        {"xls_65536_rows", "bench-65536.xls", "trivial.xls", 7},
    };
    for (const Case &c : cases) {
        const long selfBefore = peakKiB(RUSAGE_SELF);
        const Timing floor = timeReads(dir.filePath(QLatin1String(c.floorFile)), c.rounds);
        const Timing read = timeReads(dir.filePath(QLatin1String(c.file)), c.rounds);
        if (!floor.ok || !read.ok)
            return 1;
        std::printf(
            "workbookreader_%s: median %.2f ms (first %.2f ms, processor %.1f ms); floor (one "
            "customer) %.2f ms; ratio %.2f; peak RSS growth here %ld KiB, largest child %ld KiB\n",
            c.name, read.median, read.first, read.cpuMedian, floor.median,
            read.median / floor.median, peakKiB(RUSAGE_SELF) - selfBefore,
            peakKiB(RUSAGE_CHILDREN));
    }

    const Timing floor = timeReads(dir.filePath(QStringLiteral("trivial.xlsx")), 11);
    const Timing bomb = timeReads(dir.filePath(QStringLiteral("bomb.xlsx")), 11, true);
    if (!floor.ok || !bomb.ok)
        return 1;
    std::printf("workbookreader_xlsx_300MiB_bomb_open_error: median %.2f ms (first %.2f ms); "
                "floor %.2f ms; ratio %.1f\n",
                bomb.median, bomb.first, floor.median, bomb.median / floor.median);

    std::vector<double> switches;
    CustomerTable table;
    const workbookreader::Result result =
        workbookreader::read(dir.filePath(QStringLiteral("bench.xls")), 1, table);
    for (int round = 0; round < 51; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QStringList entries = customerlist::workbookEntries(table, result.count, 0);
        switches.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (entries.size() != result.count)
            return 1;
    }
    std::printf("workbook_selector_switch_200_rows: median %.3f ms\n", median(switches));
    return 0;
}

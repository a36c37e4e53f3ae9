// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "benchrow.h"

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
    std::vector<double> times;
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
        const CustomerRead result = workbookreader::read(path, 1, table);
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        cpu.push_back(cpuMs() - cpuBefore);
        if (round == 0)
            timing.first = ms;
        times.push_back(ms);
        const bool failed = !result && result.failure().kind == CustomerReadError::Kind::OpenFailed;
        if (failed != expectOpenError) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(result.error()));
            timing.ok = false;
            return timing;
        }
    }
    timing.median = median(times);
    timing.times = times;
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
        const char *floorName;
        int rounds;
        const char *target;
    };
    const Case cases[] = {
        {"workbook .xlsx, 200 rows", "bench-200.xlsx", "trivial.xlsx",
         "workbook .xlsx, 1 row (floor)", 41, "< 20 ms"},
        {"workbook .xlsx, 65,536 rows (200 taken)", "bench-65536.xlsx", "trivial.xlsx",
         "workbook .xlsx, 1 row (floor)", 41, "< 50 ms"},
        {"workbook .xls, 200 rows", "bench.xls", "trivial.xls", "workbook .xls, 1 row (floor)", 21,
         "< 300 ms"},
        {"workbook .xls, 65,536 rows (200 taken)", "bench-65536.xls", "trivial.xls",
         "workbook .xls, 1 row (floor)", 7, "< 300 ms"},
    };
    bool floorShown[2] = {false, false};
    for (const Case &c : cases) {
        const long selfBefore = peakKiB(RUSAGE_SELF);
        const Timing floor = timeReads(dir.filePath(QLatin1String(c.floorFile)), c.rounds);
        const Timing read = timeReads(dir.filePath(QLatin1String(c.file)), c.rounds);
        if (!floor.ok || !read.ok)
            return 1;
        bool &shown = floorShown[QByteArray(c.file).endsWith(".xls") ? 1 : 0];
        if (!shown)
            benchrow::print(c.floorName, floor.times);
        shown = true;
        benchrow::print(c.name, read.times, c.target, c.floorName);
        std::printf(
            "%s: median %.2f ms (first %.2f ms, processor %.1f ms); floor (one "
            "customer) %.2f ms; ratio %.2f; peak RSS growth here %ld KiB, largest child %ld KiB\n",
            c.file, read.median, read.first, read.cpuMedian, floor.median,
            read.median / floor.median, peakKiB(RUSAGE_SELF) - selfBefore,
            peakKiB(RUSAGE_CHILDREN));
    }

    const Timing floor = timeReads(dir.filePath(QStringLiteral("trivial.xlsx")), 11);
    const Timing bomb = timeReads(dir.filePath(QStringLiteral("bomb.xlsx")), 11, true);
    if (!floor.ok || !bomb.ok)
        return 1;
    benchrow::print("workbook .xlsx, 300 MiB zip bomb to its open error", bomb.times, "< 1000 ms",
                    "workbook .xlsx, 1 row (floor)");
    std::printf("workbookreader_xlsx_300MiB_bomb_open_error: median %.2f ms (first %.2f ms); "
                "floor %.2f ms; ratio %.1f\n",
                bomb.median, bomb.first, floor.median, bomb.median / floor.median);

    std::vector<double> switches;
    CustomerTable table;
    const CustomerRead result =
        workbookreader::read(dir.filePath(QStringLiteral("bench.xls")), 1, table);
    if (!result)
        return 1;
    for (int round = 0; round < 51; ++round) {
        QElapsedTimer timer;
        timer.start();
        const QStringList entries = customerlist::workbookEntries(table, result->count, 0);
        switches.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (entries.size() != result->count)
            return 1;
    }
    benchrow::print("selector switch, 200 workbook rows", switches, "< 16 ms");
    return 0;
}

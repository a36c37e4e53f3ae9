// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the real program on an X server to its first painted frame,
// next to the floor: a minimal Qt Widgets window built with the same flags.
// Each run is a fresh process, launched here and ended once it has reported
// its first frame (see shell/firstframeprobe.h); the program starts in a
// program directory of its own, with a private runtime directory, as a
// first run. The runs of the five executables alternate, so that a change in
// the machine's load falls on all of them alike. The floor with a line of
// Japanese text shows what any window with text pays before the program's
// own work begins.
//
//   bench_startup <tavrint> <floor> <floor+PrintSupport> <floor+all libs>
//                 <floor+text> [runs]
//
// Needs TAVRINT_BENCH_DISPLAY (scripts/bench.sh starts an Xvfb).

#include "benchprocess.h"
#include "benchrow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s TAVRINT FLOOR FLOOR_PRINT FLOOR_LIBS FLOOR_TEXT [runs]\n",
                     argv[0]);
        return 2;
    }
    const QByteArray display = qgetenv("TAVRINT_BENCH_DISPLAY");
    if (display.isEmpty()) {
        std::printf(
            "bench_startup: skipped (no TAVRINT_BENCH_DISPLAY; scripts/bench.sh starts one)\n");
        return 0;
    }
    const int runs = argc > 6 ? std::max(1, std::atoi(argv[6])) : 41;

    QTemporaryDir programDir, runtimeDir;
    const QString program = programDir.filePath(QStringLiteral("tavrint"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), program))
        return 1;
    const std::vector<std::string> env = benchprocess::programEnvironment(
        display.toStdString(), QFile::encodeName(runtimeDir.path()).toStdString());

    struct Subject
    {
        const char *name;
        std::string path;
        const char *target;
        const char *floor;
        std::vector<double> ms;
    };
    const char *floorName = "start-up floor: minimal Qt window (Xvfb)";
    Subject subjects[] = {
        {"start-up to first frame: tavrint (Xvfb)",
         QFile::encodeName(program).toStdString(),
         "<= 1.3x floor",
         floorName,
         {}},
        {floorName, argv[2], "-", "-", {}},
        {"floor + PrintSupport linked", argv[3], "-", floorName, {}},
        {"floor + every library tavrint links", argv[4], "-", floorName, {}},
        {"floor + a line of Japanese text", argv[5], "-", floorName, {}},
    };
    for (Subject &s : subjects) // page cache and font cache warm
        benchprocess::runToFirstFrame({s.path}, env);
    for (int run = 0; run < runs; ++run) {
        for (Subject &s : subjects) {
            // A first run every time: nothing of the last one is kept.
            QDir(programDir.filePath(QStringLiteral("Init"))).removeRecursively();
            QDir(programDir.filePath(QStringLiteral("Data"))).removeRecursively();
            const double ms = benchprocess::runToFirstFrame({s.path}, env);
            if (ms < 0) {
                std::fprintf(stderr, "bench_startup: %s showed no frame\n", s.name);
                return 1;
            }
            s.ms.push_back(ms);
        }
    }
    for (const Subject &s : subjects)
        benchrow::print(s.name, s.ms, s.target, s.floor);
    // On a busy machine the fastest runs are the least disturbed ones.
    const auto fastest = [](const Subject &s) {
        return *std::min_element(s.ms.begin(), s.ms.end());
    };
    std::printf("start-up to first frame, fastest run against the fastest floor run: %.2fx\n",
                fastest(subjects[0]) / fastest(subjects[1]));
    std::printf("start-up to first frame against the floor with a line of Japanese text: "
                "%.2fx (medians)\n",
                benchrow::median(subjects[0].ms) / benchrow::median(subjects[4].ms));
    return 0;
}

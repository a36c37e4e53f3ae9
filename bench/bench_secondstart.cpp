// SPDX-License-Identifier: GPL-3.0-or-later
// A second start, from launch to exit, against a real running instance on an
// X server: once while the instance is idle, and once while it is busy
// reading a customer text file of 1M lines ("TXTから取得" clicked just
// before), which answers the hand-off only when the read is over. Beside
// them: handoff_sender (the same second-start code without the widget
// libraries) and /bin/true (the cost of a process launch), the floor.
//
//   bench_secondstart <path to tavrint> [runs]
//
// Needs TAVRINT_BENCH_DISPLAY (scripts/bench.sh starts an Xvfb) and xdotool.

#include "benchcustomers.h"
#include "benchprocess.h"
#include "benchrow.h"

#include "platform/cp932.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QString xdotool(const QStringList &arguments, const QByteArray &display)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLocal8Bit(display));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(15000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path to tavrint> [runs]\n", argv[0]);
        return 2;
    }
    const QByteArray display = qgetenv("TAVRINT_BENCH_DISPLAY");
    if (display.isEmpty()) {
        std::printf("bench_secondstart: skipped (no TAVRINT_BENCH_DISPLAY; scripts/bench.sh "
                    "starts one)\n");
        return 0;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 31;
    const int busyRuns = std::max(1, runs / 3);

    QTemporaryDir programDir, runtimeDir; // a runtime directory must be mode 0700
    const QString program = programDir.filePath(QStringLiteral("tavrint"));
    QFile data(programDir.filePath(QStringLiteral("smpl1.txt")));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), program) ||
        !data.open(QIODevice::WriteOnly) || data.write(customerFile(1000000)) < 0)
        return 1;
    data.close();
    const std::string exe = QFile::encodeName(program).toStdString();
    const std::vector<std::string> env = benchprocess::programEnvironment(
        display.toStdString(), QFile::encodeName(runtimeDir.path()).toStdString());

    int instance = 0;
    if (benchprocess::launchToFirstFrame({exe}, env, &instance) < 0) {
        std::fprintf(stderr, "bench_secondstart: the running instance showed no frame\n");
        benchprocess::stop(instance);
        return 1;
    }
    const QString window =
        xdotool({QStringLiteral("search"), QStringLiteral("--pid"), QString::number(instance),
                 QStringLiteral("--name"), QStringLiteral("^Tavrint$")},
                display)
            .section(QLatin1Char('\n'), 0, 0);
    // The options lie in the group box at (135, 20) of the left panel at (10, 0).
    auto clickOption = [&](int index) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                 QString::number(10 + 135 + 5 + 8), QString::number(20 + 15 + 20 * index + 8),
                 QStringLiteral("click"), QStringLiteral("1")},
                display);
    };

    const std::string text = "株式会社　山田商事;;営業部;;山田\u3000太郎　様";
    std::vector<double> idle, busy, sender, floor;
    int failures = 0, unanswered = 0;
    for (int i = 0; i < 3; ++i) // page cache warm
        benchprocess::runToExit({exe, text}, env);
    for (int run = 0; run < runs; ++run) {
        const double real = benchprocess::runToExit({exe, text}, env);
        const double stripped = benchprocess::runToExit({HANDOFF_SENDER, text}, env);
        const double launch = benchprocess::runToExit({"/bin/true"}, env);
        failures += real < 0 || stripped < 0 || launch < 0;
        idle.push_back(real);
        sender.push_back(stripped);
        floor.push_back(launch);
    }
    for (int run = 0; run < busyRuns && !window.isEmpty(); ++run) {
        clickOption(0);                            // back to "初期値"
        benchprocess::runToExit({exe, text}, env); // answered: the instance is idle
        clickOption(1);                            // "TXTから取得": the read begins
        QThread::msleep(100);
        // A user waits the whole time, answered or not.
        int status = 0;
        const double ms = benchprocess::runToExit({exe, text}, env, &status);
        unanswered += status != 0;
        if (ms >= 0)
            busy.push_back(ms);
    }
    benchprocess::stop(instance);

    const char *floorName = "process launch floor: /bin/true";
    benchrow::print("second start, idle instance", idle, "< 50 ms", floorName);
    benchrow::print("second start, instance reading 1M lines", busy, "answered (< 5000 ms)");
    benchrow::print("handoff_sender (no widget libraries)", sender, "-", floorName);
    benchrow::print(floorName, floor);
    if (window.isEmpty())
        std::printf("no window found: the busy instance was not measured\n");
    if (failures)
        std::printf("%d second starts to an idle instance failed\n", failures);
    if (unanswered)
        std::printf("%d of %d second starts to the busy instance were not answered in time\n",
                    unanswered, busyRuns);
    return failures == 0 ? 0 : 1;
}

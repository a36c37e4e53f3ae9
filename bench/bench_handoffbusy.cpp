// SPDX-License-Identifier: GPL-3.0-or-later
// A second start while the running instance is busy: this process holds the
// single-instance lock and serves the hand-off as the program does, and its
// main thread reads a 1M-line customer file again and again (what
// "TXTから取得" does on the window's thread) while the real executable is
// started as a second start. Each second start is timed from launch to exit;
// the same is timed with the main thread idle, and /bin/true is the floor.
//
// usage: bench_handoffbusy <path to tavrint> [runs]

#include "benchcustomers.h"
#include "benchprocess.h"
#include "benchrow.h"

#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "platform/cp932.h"
#include "shell/handoffserver.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Runs
{
    std::vector<double> times;
    int failures = 0;
    double median() const { return benchrow::median(times); }
};

Runs launch(const std::vector<std::string> &args, int runs)
{
    const std::vector<std::string> env = benchprocess::environment({});
    Runs result;
    for (int i = 0; i < runs; ++i) {
        int status = 0;
        const double ms = benchprocess::runToExit(args, env, &status);
        if (ms < 0) {
            ++result.failures;
            continue;
        }
        result.times.push_back(ms);
        if (status != 0)
            ++result.failures;
    }
    return result;
}

void print(const char *label, const Runs &r, const char *target = "-", const char *floor = "-")
{
    benchrow::print(label, r.times, target, floor);
    if (r.failures)
        std::printf("%s: %d runs failed\n", label, r.failures);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path to tavrint> [runs]\n", argv[0]);
        return 2;
    }
    QTemporaryDir runtimeDir;
    if (!runtimeDir.isValid())
        return 2;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QCoreApplication app(argc, argv);
    const std::string tavrint = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;

    SingleInstanceLock lock(runtimeDir.path());
    if (!lock.acquire() || !lock.isHeld())
        return 1;
    int applied = 0;
    HandOffServer server([&applied](const QString &, const QString &) { ++applied; });
    if (!server.listen(lock.socketPath()))
        return 1;

    const QString path = runtimeDir.filePath(QStringLiteral("smpl1.txt"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(customerFile(1000000)) < 0)
            return 1;
    }
    const std::vector<std::string> secondStart{tavrint, "株式会社　山田商事;;山田\u3000太郎　様"};

    // Idle: the main thread turns its event loop.
    std::atomic<bool> done{false};
    Runs idle;
    std::thread idleSender([&] {
        idle = launch(secondStart, runs);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    idleSender.join();

    // Busy: the main thread reads the file, over and over, and turns its
    // event loop only between two reads.
    done = false;
    Runs busy;
    int reads = 0;
    double readMs = 0;
    std::thread busySender([&] {
        busy = launch(secondStart, runs);
        done = true;
    });
    bool readFailed = false;
    while (!done) {
        CustomerTable table;
        QElapsedTimer t;
        t.start();
        if (!textcustomerreader::read(path, 1, table))
            readFailed = true;
        readMs += t.nsecsElapsed() / 1e6;
        ++reads;
        QCoreApplication::processEvents();
    }
    busySender.join();
    if (readFailed)
        return 1;
    QCoreApplication::processEvents();
    const Runs floor = launch({"/bin/true"}, runs);

    const char *floorName = "/bin/true (process launch floor)";
    print("second start, stand-in instance idle", idle, "-", floorName);
    print("second start, stand-in reading 1M lines", busy, "-", floorName);
    print(floorName, floor);
    std::printf("1M-line read on the instance's thread: %.0f ms each (%d reads)\n",
                reads ? readMs / reads : 0, reads);
    std::printf("ratio busy / idle: %.2f\n", busy.median() / idle.median());
    std::printf("hand-offs applied: %d of %zu\n", applied, idle.times.size() + busy.times.size());
    return idle.failures == 0 && busy.failures == 0 ? 0 : 1;
}

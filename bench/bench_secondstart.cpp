// Whole-process time of a second start, from launch to exit, against a
// running instance. The running instance is the stand-in handoff_receiver
// (lock + hand-off socket, no widgets), in a private runtime directory of
// its own, so the bench never meets a real running Tavrint.
//
// Besides the real executable it times handoff_sender (the same second-start
// code without the widget libraries) and /bin/true (the cost of a process
// launch), so that the share of dynamic loading shows.
//
// usage: bench_secondstart <path to tavrint> [runs]

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

struct Stats
{
    double median = 0, min = 0, p90 = 0, max = 0;
    int failures = 0;
};

double nowMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs `argv` `runs` times, each launch to exit, and summarises the times.
Stats measure(const std::vector<std::string> &args, char **envp, int runs)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    std::vector<double> times;
    Stats stats;
    for (int i = 0; i < runs; ++i) {
        const double start = nowMs();
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp) != 0) {
            ++stats.failures;
            continue;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        times.push_back(nowMs() - start);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            ++stats.failures;
    }
    if (times.empty())
        return stats;
    std::sort(times.begin(), times.end());
    stats.min = times.front();
    stats.max = times.back();
    stats.median = times.size() % 2 ? times[times.size() / 2]
                                    : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    stats.p90 = times[std::min(times.size() - 1, times.size() * 9 / 10)];
    return stats;
}

void print(const char *label, const Stats &s, int runs)
{
    std::printf("%-44s median %7.2f ms  min %7.2f  p90 %7.2f  max %7.2f  (%d runs, %d failed)\n",
                label, s.median, s.min, s.p90, s.max, runs, s.failures);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path to tavrint> [runs]\n", argv[0]);
        return 2;
    }
    const std::string tavrint = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;

    QTemporaryDir runtimeDir; // mode 0700, as a runtime directory must be
    if (!runtimeDir.isValid())
        return 2;
    const QByteArray runtimePath = QFile::encodeName(runtimeDir.path());
    const QString output = runtimeDir.filePath(QStringLiteral("received.txt"));

    // Children see the private runtime directory instead of the user's.
    std::vector<std::string> envStrings;
    for (char **e = environ; *e; ++e) {
        if (std::string(*e).rfind("XDG_RUNTIME_DIR=", 0) != 0)
            envStrings.emplace_back(*e);
    }
    envStrings.push_back("XDG_RUNTIME_DIR=" + runtimePath.toStdString());
    std::vector<char *> envp;
    for (std::string &s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    QProcess receiver;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    receiver.setProcessEnvironment(env);
    receiver.start(QStringLiteral(HANDOFF_RECEIVER), {output});
    if (!receiver.waitForReadyRead(5000)) {
        std::fprintf(stderr, "the stand-in receiver did not start\n");
        return 1;
    }

    const std::string text = "株式会社　山田商事;;営業部;;山田\u3000太郎　様";
    measure({tavrint, text}, envp.data(), 3); // warm the page cache
    const Stats real = measure({tavrint, text}, envp.data(), runs);
    const Stats sender = measure({HANDOFF_SENDER, text}, envp.data(), runs);
    const Stats floor = measure({"/bin/true"}, envp.data(), runs);

    QFile received(output);
    received.open(QIODevice::ReadOnly);
    const QByteArray count = received.readLine().trimmed();

    std::printf("second start against a running instance (stand-in receiver)\n");
    print("tavrint (real executable)", real, runs);
    print("handoff_sender (same code, no widget libs)", sender, runs);
    print("/bin/true (process launch floor)", floor, runs);
    std::printf("%-44s %7.2f ms\n", "widget/print library loading (difference)",
                real.median - sender.median);
    std::printf("hand-offs received: %s of %d\n", count.constData(), 2 * runs + 3);
    std::printf("target: median under 50 ms -> %s\n",
                real.median < 50 && real.failures == 0 ? "met" : "NOT met");

    receiver.kill();
    receiver.waitForFinished(2000);
    return real.failures == 0 && sender.failures == 0 ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// `tavrint --pdf FILE` for a full letter, the whole process as a script or
// cron job waits for it: launch, set-up from the program directory, render,
// PDF written, exit. Each run is a fresh process. Paired in the same run with
// two floors: /bin/true (a process at all) and a minimal Qt program that
// only creates its application object on the same window system.
// Without a display the program runs offscreen; with DISPLAY set (a real X
// server) a second series measures the X case.
//
//   bench_pdfcommand TAVRINT [runs]
// Target: median under 150 ms.

#include "benchletter.h"
#include "benchrow.h"

#include "platform/cp932.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int series(const char *label, const QString &self, const QString &binary, int runs,
           const QProcessEnvironment &env, const QString &qtPlatform)
{
    QTemporaryDir dir;
    if (!writeLetterProgramDir(dir.path(), binary)) {
        std::fprintf(stderr, "bench_pdfcommand: cannot set up the letter\n");
        return 1;
    }
    const QString program = dir.filePath(QStringLiteral("tavrint"));
    const QString pdf = dir.filePath(QStringLiteral("letter.pdf"));
    QProcessEnvironment floorEnv = env;
    floorEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), qtPlatform);

    const QString floorPdf = dir.filePath(QStringLiteral("floor.pdf"));
    std::vector<double> truth, qtFloor, pdfFloor, command;
    bool ok = true;
    // One warm-up of each, then interleaved so that load affects all alike.
    timeRun(program, {QStringLiteral("--pdf"), pdf}, env, dir.path(), &ok);
    timeRun(QStringLiteral(FLOOR_PDF), {floorPdf}, floorEnv, dir.path(), &ok);
    for (int i = 0; i < runs && ok; ++i) {
        truth.push_back(timeRun(QStringLiteral("/bin/true"), {}, env, dir.path(), &ok));
        qtFloor.push_back(timeRun(self, {QStringLiteral("--qt-floor")}, floorEnv, dir.path(), &ok));
        pdfFloor.push_back(
            timeRun(QStringLiteral(FLOOR_PDF), {floorPdf}, floorEnv, dir.path(), &ok));
        command.push_back(timeRun(program, {QStringLiteral("--pdf"), pdf}, env, dir.path(), &ok));
    }
    if (!ok)
        return 1;
    const double t = medianOf(truth), c = medianOf(command);
    const std::string qtFloorName = std::string("minimal Qt program, ") + label;
    const std::string pdfFloorName = std::string("minimal Qt PDF of one line, ") + label;
    benchrow::print((std::string("tavrint --pdf, ") + label).c_str(), command, "< 150 ms",
                    qtFloorName.c_str());
    benchrow::print((std::string("tavrint --pdf vs a one-line PDF, ") + label).c_str(), command,
                    "<= 1.3x floor", pdfFloorName.c_str());
    benchrow::print(pdfFloorName.c_str(), pdfFloor);
    benchrow::print(qtFloorName.c_str(), qtFloor);
    benchrow::print((std::string("/bin/true, ") + label).c_str(), truth);
    std::printf("tavrint --pdf, %s: %.1fx /bin/true; PDF %lld bytes\n", label, c / t,
                static_cast<long long>(QFileInfo(pdf).size()));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--qt-floor") == 0) {
        QApplication app(argc, argv); // the floor: Qt up and down, nothing else
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_pdfcommand TAVRINT [runs]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString binary = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(3, atoi(argv[2])) : 20;

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString display = env.value(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (series("no display", self, binary, runs, env, QStringLiteral("offscreen")) != 0)
        return 1;
    if (!display.isEmpty()) {
        env.insert(QStringLiteral("DISPLAY"), display);
        if (series("X display", self, binary, runs, env, QStringLiteral("xcb")) != 0)
            return 1;
    }
    return 0;
}

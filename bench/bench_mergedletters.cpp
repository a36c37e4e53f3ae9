// SPDX-License-Identifier: GPL-3.0-or-later
// One letter for every customer, as a user waits for it: the whole
// `tavrint --pdf all.pdf --customers txt` process for 100 customers of
// smpl1.txt around a full letter, paired in the same run with its floors:
// the same command for one customer, and `tavrint --pdf` of the saved letter
// alone; and 10,000 letters with the process's peak memory: of the letter a
// first start makes (the notes heading, the date, each customer's block),
// and of the full letter beside the floor of Qt's PDF engine drawing as many
// pages of as many lines. Each run is a fresh process, offscreen.
//
//   bench_mergedletters TAVRINT [runs]
// Targets: 100 letters under 2 s; 10,000 first-start letters under 3 s;
// every merge under 100 MiB.

#include "benchletter.h"
#include "benchrow.h"

#include "platform/cp932.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

// A program directory with `customers` customers and the full letter, or
// none (a first start's letter).
bool makeProgramDir(const QString &dir, const QString &binary, int customers,
                    bool fullLetter = true)
{
    if (fullLetter ? !writeLetterProgramDir(dir, binary)
                   : !QFile::copy(binary, dir + QStringLiteral("/tavrint")))
        return false;
    QStringList rows;
    for (int i = 0; i < customers; ++i)
        rows << QStringLiteral("株式会社 山田商事%1,山田 太郎%1,営業部 第%1課,〒100-0005,"
                               "東京都千代田区丸の内1-2-%1 丸の内ビルディング%1階,03-3211-0001")
                    .arg(i);
    return writeBenchFile(dir + QStringLiteral("/smpl1.txt"),
                          cp932::encode(rows.join(QStringLiteral("\r\n"))));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_mergedletters TAVRINT [runs]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString binary = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(3, atoi(argv[2])) : 10;

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcessEnvironment floorEnv = env;
    floorEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QTemporaryDir hundredDir, oneDir, tenThousandDir, firstStartDir;
    if (!makeProgramDir(hundredDir.path(), binary, 100) ||
        !makeProgramDir(oneDir.path(), binary, 1) ||
        !makeProgramDir(tenThousandDir.path(), binary, 10000) ||
        !makeProgramDir(firstStartDir.path(), binary, 10000, false)) {
        std::fprintf(stderr, "bench_mergedletters: cannot set up the program directories\n");
        return 1;
    }
    auto merge = [&](const QTemporaryDir &dir, bool *ok) {
        return timeRun(dir.filePath(QStringLiteral("tavrint")),
                       {QStringLiteral("--pdf"), dir.filePath(QStringLiteral("all.pdf")),
                        QStringLiteral("--customers"), QStringLiteral("txt")},
                       env, dir.path(), ok);
    };
    auto letter = [&](bool *ok) {
        return timeRun(oneDir.filePath(QStringLiteral("tavrint")),
                       {QStringLiteral("--pdf"), oneDir.filePath(QStringLiteral("letter.pdf"))},
                       env, oneDir.path(), ok);
    };

    std::vector<double> hundred, one, plain;
    bool ok = true;
    // One warm-up of each, then interleaved so that load affects all alike.
    merge(hundredDir, &ok);
    merge(oneDir, &ok);
    letter(&ok);
    for (int i = 0; i < runs && ok; ++i) {
        plain.push_back(letter(&ok));
        one.push_back(merge(oneDir, &ok));
        hundred.push_back(merge(hundredDir, &ok));
    }
    // The largest merges last: the children's peak memory is then theirs.
    // The full letter draws 40 lines a page: so does its floor.
    std::vector<double> firstStart, tenThousand, engineFloor;
    for (int i = 0; i < 3 && ok; ++i) {
        firstStart.push_back(merge(firstStartDir, &ok));
        tenThousand.push_back(merge(tenThousandDir, &ok));
        engineFloor.push_back(timeRun(QStringLiteral(FLOOR_PDF),
                                      {tenThousandDir.filePath(QStringLiteral("floor.pdf")),
                                       QStringLiteral("10000"), QStringLiteral("40")},
                                      floorEnv, tenThousandDir.path(), &ok));
    }
    if (!ok)
        return 1;
    struct rusage children = {};
    getrusage(RUSAGE_CHILDREN, &children);
    const double peakMiB = double(children.ru_maxrss) / 1024.0;
    benchrow::print("10,000 first-start letters to PDF", firstStart, "< 3000 ms");
    benchrow::print("10,000 full letters to PDF", tenThousand, "-",
                    "Qt PDF of 10,000 pages of 40 lines (floor)");
    benchrow::print("Qt PDF of 10,000 pages of 40 lines (floor)", engineFloor);
    std::printf("bench_mergedletters: peak memory of the largest merge %.1f MiB "
                "(target < 100 MiB)\n",
                peakMiB);
    benchrow::print("100 letters to PDF, --customers txt", hundred, "< 2000 ms",
                    "1 letter to PDF, --customers txt (floor)");
    benchrow::print("1 letter to PDF, --customers txt (floor)", one);
    benchrow::print("tavrint --pdf of the saved letter", plain);
    const double h = medianOf(hundred), o = medianOf(one), p = medianOf(plain);
    std::printf(
        "bench_mergedletters: 100 letters to PDF median_ms=%.1f (target < 2000); "
        "floors: 1 letter %.1f ms, --pdf alone %.1f ms; ratio to 1 letter %.2f, "
        "per further letter %.2f ms (%d runs, PDF %lld bytes)\n",
        h, o, p, h / o, (h - o) / 99.0, runs,
        static_cast<long long>(QFileInfo(hundredDir.filePath(QStringLiteral("all.pdf"))).size()));
    return 0;
}

// One letter for every customer, as a user waits for it: the whole
// `tavrint --pdf all.pdf --customers txt` process for 100 customers of
// smpl1.txt around a full letter, paired in the same run with its floors:
// the same command for one customer, and `tavrint --pdf` of the saved letter
// alone. Each run is a fresh process, offscreen.
//
//   bench_mergedletters TAVRINT [runs]
// Target: 100 letters under 2 s.

#include "benchletter.h"

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

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A program directory with a full letter and `customers` customers.
bool makeProgramDir(const QString &dir, const QString &binary, int customers)
{
    if (!QFile::copy(binary, dir + QStringLiteral("/tavrint")))
        return false;
    const char *names[] = {"1本文", "2宛名", "3署名", nullptr, "5標題", "6記書き", "7記", "8結"};
    const int lineCounts[8] = {12, 4, 6, 0, 1, 12, 1, 3};
    for (int b = 0; b < 8; ++b) {
        if (!names[b])
            continue; // the issue date is today's date
        QStringList lines;
        for (int k = 0; k < lineCounts[b]; ++k)
            lines
                << QStringLiteral("拝啓　貴社ますますご清栄のこととお慶び申し上げます。%1").arg(k);
        if (!writeBytes(dir + QStringLiteral("/Data/") + QString::fromUtf8(names[b]) +
                            QStringLiteral(".txt"),
                        cp932::encode(lines.join(QStringLiteral("\r\n")))))
            return false;
    }
    QStringList rows;
    for (int i = 0; i < customers; ++i)
        rows << QStringLiteral("株式会社 山田商事%1,山田 太郎%1,営業部 第%1課,〒100-0005,"
                               "東京都千代田区丸の内1-2-%1 丸の内ビルディング%1階,03-3211-0001")
                    .arg(i);
    return writeBytes(dir + QStringLiteral("/smpl1.txt"),
                      cp932::encode(rows.join(QStringLiteral("\r\n"))));
}

double timeRun(const QString &program, const QStringList &args, const QProcessEnvironment &env,
               const QString &workDir, bool *ok)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    const bool finished = p.waitForFinished(60000);
    const double ms = t.nsecsElapsed() / 1e6;
    *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!*ok)
        std::fprintf(stderr, "%s failed: %s\n", qUtf8Printable(program),
                     p.readAllStandardError().constData());
    return ms;
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

    QTemporaryDir hundredDir, oneDir;
    if (!makeProgramDir(hundredDir.path(), binary, 100) ||
        !makeProgramDir(oneDir.path(), binary, 1)) {
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
    if (!ok)
        return 1;
    const double h = medianOf(hundred), o = medianOf(one), p = medianOf(plain);
    std::printf(
        "bench_mergedletters: 100 letters to PDF median_ms=%.1f (target < 2000); "
        "floors: 1 letter %.1f ms, --pdf alone %.1f ms; ratio to 1 letter %.2f, "
        "per further letter %.2f ms (%d runs, PDF %lld bytes)\n",
        h, o, p, h / o, (h - o) / 99.0, runs,
        static_cast<long long>(QFileInfo(hundredDir.filePath(QStringLiteral("all.pdf"))).size()));
    return 0;
}

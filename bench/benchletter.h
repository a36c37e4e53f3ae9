// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/cp932.h"
#include "print/renderpage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

// A full letter for the print benchmarks: eight boxes, 40 lines in all,
// placed as on a 1024 screen's page.
inline QList<RenderBox> fullLetterBoxes()
{
    const int lineCounts[8] = {12, 4, 6, 1, 1, 12, 1, 3};
    const QPoint corners[8] = {{62, 265},  {45, 46},   {45, 658},  {412, 46},
                               {206, 188}, {143, 452}, {262, 394}, {472, 612}};
    QList<RenderBox> boxes;
    for (int b = 0; b < 8; ++b) {
        QFont font(b % 2 ? QStringLiteral("IPAPGothic") : QStringLiteral("IPAPMincho"));
        font.setPixelSize(19);
        QStringList lines;
        for (int k = 0; k < lineCounts[b]; ++k)
            lines
                << QStringLiteral("拝啓　貴社ますますご清栄のこととお慶び申し上げます。%1").arg(k);
        boxes.append(RenderBox{corners[b], font, -19, Qt::black, lines});
    }
    return boxes;
}

inline double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline bool writeBenchFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A program directory holding a copy of `binary` and the same full letter as
// box texts (box D has no text file: its text is today's date).
inline bool writeLetterProgramDir(const QString &dir, const QString &binary)
{
    if (!QFile::copy(binary, dir + QStringLiteral("/tavrint")))
        return false;
    const char *names[] = {"1本文", "2宛名", "3署名", nullptr, "5標題", "6記書き", "7記", "8結"};
    const int lineCounts[8] = {12, 4, 6, 0, 1, 12, 1, 3};
    for (int b = 0; b < 8; ++b) {
        if (!names[b])
            continue;
        QStringList lines;
        for (int k = 0; k < lineCounts[b]; ++k)
            lines
                << QStringLiteral("拝啓　貴社ますますご清栄のこととお慶び申し上げます。%1").arg(k);
        if (!writeBenchFile(dir + QStringLiteral("/Data/") + QString::fromUtf8(names[b]) +
                                QStringLiteral(".txt"),
                            cp932::encode(lines.join(QStringLiteral("\r\n")))))
            return false;
    }
    return true;
}

// Runs `program` to its end in `workDir`; the milliseconds it took. `ok` says
// whether it ended normally with status 0 within a minute.
inline double timeRun(const QString &program, const QStringList &args,
                      const QProcessEnvironment &env, const QString &workDir, bool *ok)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workDir);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    const bool finished = p.waitForFinished(60000);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!*ok)
        std::fprintf(stderr, "%s failed: %s\n", qUtf8Printable(program),
                     p.readAllStandardError().constData());
    return ms;
}

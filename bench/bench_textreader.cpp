// SPDX-License-Identifier: GPL-3.0-or-later
// The customer text reader on 10k, 100k and 1M lines of about 60 bytes of
// Japanese code-page-932 text: reading the file, splitting, the table, the
// list entries and the removal of ideographic spaces from them.
//
// Warm: repeated rounds in one process. Cold: a fresh process per round,
// timing its first read, as a user's first click after a start pays it
// (code page tables, heap growth). The file itself stays in the page cache.
// Targets: 100k lines under 300 ms, 1M lines under 3 s.
#include "benchcustomers.h"
#include "benchrow.h"

#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "platform/cp932.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// One read of the file as the window's handler does it; milliseconds, or a
// negative value when the lines did not all arrive.
double readOnce(const QString &path, int lines)
{
    CustomerTable table;
    QElapsedTimer timer;
    timer.start();
    const auto result = textcustomerreader::read(path, 1, table);
    const QStringList shown =
        customerlist::listEntriesWithout(result ? result->entries : QStringList(), QChar(0x3000));
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return shown.size() == lines ? ms : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--cold") == 0) {
        std::printf("%.3f\n", readOnce(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3])));
        return 0;
    }
    QCoreApplication app(argc, argv);

    struct Size
    {
        const char *name;
        int lines;
        int warmRounds;
        int coldRounds;
        const char *target;
    };
    const Size sizes[] = {{"10k", 10000, 21, 0, "< 30 ms"},
                          {"100k", 100000, 11, 7, "< 300 ms"},
                          {"1M", 1000000, 5, 5, "< 3000 ms"}};
    QTemporaryDir dir;
    for (const Size &size : sizes) {
        const QByteArray bytes = customerFile(size.lines);
        const QString path = dir.filePath(QStringLiteral("smpl1.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        file.close();

        std::vector<double> warm, cold;
        for (int round = 0; round < size.warmRounds; ++round) {
            warm.push_back(readOnce(path, size.lines));
            if (warm.back() < 0)
                return 1;
        }
        for (int round = 0; round < size.coldRounds; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--cold"), path, QString::number(size.lines)});
            if (!child.waitForFinished(60000))
                return 1;
            cold.push_back(child.readAllStandardOutput().trimmed().toDouble());
            if (cold.back() <= 0)
                return 1;
        }
        const QByteArray warmName = "text read " + QByteArray(size.name) + " lines, warm";
        benchrow::print(warmName.constData(), warm, size.target);
        if (!cold.empty()) {
            const QByteArray coldName = "text read " + QByteArray(size.name) + " lines, cold";
            benchrow::print(coldName.constData(), cold, size.target);
        }
    }
    return 0;
}

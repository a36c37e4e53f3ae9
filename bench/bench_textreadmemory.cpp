// SPDX-License-Identifier: GPL-3.0-or-later
// The customer text reader as "TXTから取得" runs it, cold: each run is a
// fresh process that reads smpl1.txt into the customer table and cleans the
// list entries, after the file's pages were dropped from the page cache
// (as far as the kernel allows). Prints the read time and the peak memory
// the read added (VmHWM after the read less VmRSS before it), against the
// file's size. A fresh process that only reads the file's bytes is the
// floor for the time.
//
//   bench_textreadmemory [runs]

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

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void dropFromCache(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

int child(const QString &path, bool floorOnly)
{
    const qint64 before = statusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    qsizetype entries = 0;
    if (floorOnly) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        entries = file.readAll().size();
    } else {
        CustomerTable table;
        CustomerRead result = textcustomerreader::read(path, 1, table);
        const QStringList shown =
            result
                ? customerlist::listEntriesWithout(std::move(result.value().entries), QChar(0x3000))
                : QStringList();
        entries = shown.size();
    }
    const double ms = t.nsecsElapsed() / 1e6;
    const qint64 peak = statusKb("VmHWM:");
    std::printf("%.1f %lld %lld\n", ms, static_cast<long long>(peak - before),
                static_cast<long long>(entries));
    return 0;
}

QByteArray customerFile(qsizetype targetBytes, int fieldRepeat)
{
    QByteArray bytes;
    bytes.reserve(targetBytes + 1024);
    for (int i = 0; bytes.size() < targetBytes; ++i) {
        const QString company = QString::fromUtf8("株式会社 ソ表能").repeated(fieldRepeat);
        bytes.append(
            cp932::encode(QString::fromUtf8("%1%2,山田 太郎,\"港区芝,1-1\",03-1234-5678\r\n")
                              .arg(company)
                              .arg(i % 100000)));
    }
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0)
        return child(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "floor") == 0);

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    struct Case
    {
        const char *label;
        qsizetype bytes;
        int fieldRepeat;
    };
    const Case cases[] = {
        {"1M lines of ~60 bytes", 0, 1},
        {"100 MB of ~60-byte lines", 100 * 1000 * 1000, 1},
        {"100 MB of ~600-byte lines", 100 * 1000 * 1000, 40},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("smpl1.txt"));
    for (const Case &c : cases) {
        // 1M lines of the short line: 60 bytes each.
        const QByteArray bytes =
            customerFile(c.bytes > 0 ? c.bytes : qsizetype(1000000) * 60 - 1, c.fieldRepeat);
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return 1;
        }
        std::vector<double> readMs, floorMs, ratio;
        long long lines = 0;
        for (int i = 0; i < runs; ++i) {
            for (const bool floor : {true, false}) {
                dropFromCache(path);
                QProcess p;
                p.start(QString::fromLocal8Bit(argv[0]),
                        {QStringLiteral("--child"), path,
                         floor ? QStringLiteral("floor") : QStringLiteral("read")});
                if (!p.waitForFinished(120000) || p.exitCode() != 0)
                    return 1;
                const QList<QByteArray> out = p.readAllStandardOutput().trimmed().split(' ');
                if (floor) {
                    floorMs.push_back(out.value(0).toDouble());
                } else {
                    readMs.push_back(out.value(0).toDouble());
                    ratio.push_back(out.value(1).toDouble() * 1024 / double(bytes.size()));
                    lines = out.value(2).toLongLong();
                }
            }
        }
        const std::string readName = std::string("text read, cold, ") + c.label;
        const std::string floorName = std::string("file bytes only, cold, ") + c.label;
        benchrow::print(readName.c_str(), readMs, "-", floorName.c_str());
        benchrow::print(floorName.c_str(), floorMs);
        std::sort(ratio.begin(), ratio.end());
        std::printf("%s: %.1f MB, %lld lines; peak memory %.2fx the file (max %.2fx)\n",
                    readName.c_str(), bytes.size() / 1e6, lines, benchrow::median(ratio),
                    ratio.back());
    }
    return 0;
}

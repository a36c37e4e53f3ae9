// The customer text reader on 10k, 100k and 1M lines of about 60 bytes of
// Japanese code-page-932 text: splitting, the table, the list entries and the
// removal of ideographic spaces from them. Targets: 100k lines well under
// 300 ms, 1M lines under 3 s.
#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "platform/cp932.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray customerFile(int lines)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 64);
    for (int i = 0; i < lines; ++i) {
        // About 60 bytes: double-byte names with 0x5C trail bytes, a
        // half-width space, a quoted field with a comma.
        const QString line = QString::fromUtf8("株式会社 ソ表能%1,山田 太郎,\"港区芝,1-1\",03-1234-5678\r\n").arg(i % 100000);
        bytes.append(cp932::encode(line));
    }
    return bytes;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main()
{
    struct Size { const char *name; int lines; int rounds; };
    const Size sizes[] = {{"10k", 10000, 21}, {"100k", 100000, 11}, {"1M", 1000000, 5}};
    QTemporaryDir dir;
    for (const Size &size : sizes) {
        const QByteArray bytes = customerFile(size.lines);
        std::vector<double> fromBytes, fromFile;
        for (int round = 0; round < size.rounds; ++round) {
            CustomerTable table;
            QElapsedTimer timer;
            timer.start();
            const auto result = textcustomerreader::readBytes(bytes, 1, table);
            const QStringList shown = customerlist::listEntriesWithout(result.entries, QChar(0x3000));
            fromBytes.push_back(timer.nsecsElapsed() / 1e6);
            if (shown.size() != size.lines || result.count != size.lines)
                return 1;
        }
        const QString path = dir.filePath(QStringLiteral("smpl1.txt"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
        file.close();
        for (int round = 0; round < size.rounds; ++round) {
            CustomerTable table;
            QElapsedTimer timer;
            timer.start();
            const auto result = textcustomerreader::read(path, 1, table);
            const QStringList shown = customerlist::listEntriesWithout(result.entries, QChar(0x3000));
            fromFile.push_back(timer.nsecsElapsed() / 1e6);
            if (shown.size() != size.lines)
                return 1;
        }
        std::printf("textreader_%s (%lld bytes): median %.1f ms\n", size.name, static_cast<long long>(bytes.size()),
                    median(fromBytes));
        std::printf("textreader_%s_from_file: median %.1f ms\n", size.name, median(fromFile));
    }
    return 0;
}

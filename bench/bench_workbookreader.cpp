// The workbook reader, FreeXL in its child process included, on a workbook
// of 200 customers and on one of 65,536 (a whole .xls sheet of rows, of
// which a read takes the first 200); and the rebuild of the list from the
// table when the company/person selector switches.
//
//   bench_workbookreader [DIRECTORY]
//
// DIRECTORY holds bench.xls and bench-65536.xls as make-test-workbooks.pl
// writes them with --large; without it they are written to a temporary one.
#include "benchrow.h"

#include "customers/customerlist.h"
#include "customers/customertable.h"
#include "customers/workbookreader.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QTemporaryDir temporary;
    QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    if (argc <= 1) {
        const int status = QProcess::execute(
            QStringLiteral("perl"), {QStringLiteral(TAVRINT_SCRIPTS_DIR "/make-test-workbooks.pl"),
                                     dir, QStringLiteral("--large")});
        if (status != 0) {
            std::fprintf(stderr, "make-test-workbooks.pl failed\n");
            return 1;
        }
    }

    struct Book
    {
        const char *file;
        const char *name;
        int rounds;
        const char *target;
    };
    const Book books[] = {
        {"bench.xls", "workbook read, 200 rows", 31, "< 300 ms"},
        {"bench-65536.xls", "workbook read, 65,536 rows (200 taken)", 7, "< 300 ms"},
    };
    std::vector<double> switches;
    for (const Book &book : books) {
        const QString path = dir + QLatin1Char('/') + QLatin1String(book.file);
        std::vector<double> reads;
        for (int round = 0; round < book.rounds; ++round) {
            CustomerTable table;
            QElapsedTimer timer;
            timer.start();
            const workbookreader::Result result = workbookreader::read(path, 1, table);
            reads.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!result.ok()) {
                std::fprintf(stderr, "%s\n", qPrintable(result.errorMessage));
                return 1;
            }
            timer.restart();
            const QStringList entries = customerlist::workbookEntries(table, result.count, 0);
            switches.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (entries.size() != result.count)
                return 1;
        }
        benchrow::print(book.name, reads, book.target);
    }
    benchrow::print("selector switch, 200 workbook rows", switches, "< 16 ms");
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Submitting the printed page of a full letter to the default printer, from
// the render page to the job handed to CUPS. Needs the test printer of
// scripts/cups-test-printer.sh (CUPS_SERVER); skips without it.
// Target: median under 300 ms.
#include "benchletter.h"
#include "benchrow.h"

#include "print/printerplayback.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
        std::printf(
            "bench_printjob: skipped (no CUPS_SERVER; start scripts/cups-test-printer.sh)\n");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);

    const RenderPage page = RenderPage::build(590, 834, fullLetterBoxes(), 2);
    constexpr int kRounds = 15;
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const Result<QString> printed =
            printerplayback::printRenderPage(page, QStringLiteral("Tavrint bench"));
        if (!printed) {
            std::fprintf(stderr, "bench_printjob: %s\n", qUtf8Printable(printed.error()));
            return 1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("bench_printjob: %d jobs of %d lines\n", kRounds, int(page.runs().size()));
    benchrow::print("print job submitted to CUPS", times, "< 300 ms");
    return 0;
}

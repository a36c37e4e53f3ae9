// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with a box text of one unbroken 5 MiB line ("AAAA…", no break
// opportunity anywhere), to the window's first painted frame: each run is a
// fresh process that does what main() does for a first start in a program
// directory holding that box text; the time is launch to the first paint.
// The process then closes the window (saving the box texts) and exits. The same start with an empty
// program directory, and a bare Qt window shown to its first paint, are the
// floors. Uses the platform the environment names (an X server when
// QT_QPA_PLATFORM=xcb and DISPLAY are set).
//
//   bench_longboxline [runs]

#include "benchrow.h"

#include "customers/tflist.h"
#include "platform/fontsubstitution.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            QTimer::singleShot(0, m_window, [w = m_window] { w->close(); });
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_done = false;
};

int child(int argc, char *argv[], const QString &programDir)
{
    QApplication app(argc, argv);
    if (programDir == QLatin1String("-")) { // the floor: a bare window
        QWidget window;
        window.resize(741, 652);
        FirstPaint firstPaint(&window);
        window.installEventFilter(&firstPaint);
        window.show();
        return app.exec();
    }
    fontsubstitution::install();
    TForm1 form(programDir + QStringLiteral("/tavrint"));
    TFList list;
    form.setDataHolder(&list);
    FirstPaint firstPaint(&form);
    form.installEventFilter(&firstPaint);
    form.show();
    return app.exec();
}

struct Case
{
    const char *label;
    QByteArray boxText; // for Data/1本文.txt; null: none
    bool bareWindow = false;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const Case cases[] = {
        {"bare Qt window (floor)", QByteArray(), true},
        {"program, empty program directory", QByteArray()},
        {"program, 5 MiB unbroken box line", QByteArray(5 * 1024 * 1024, 'A')},
        {"program, 5 MiB of kanji in one line",
         QByteArray("\x8a\xbf").repeated(5 * 1024 * 1024 / 2)},
    };
    const char *floorName = cases[0].label;
    double emptyMs = 0;
    for (const Case &c : cases) {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i) {
            QTemporaryDir dir;
            if (!c.boxText.isNull()) {
                QDir().mkpath(dir.filePath(QStringLiteral("Data")));
                QFile file(dir.filePath(QStringLiteral("Data/1本文.txt")));
                if (!file.open(QIODevice::WriteOnly) || file.write(c.boxText) < 0)
                    return 1;
            }
            QProcess p;
            QElapsedTimer t;
            t.start();
            p.start(QString::fromLocal8Bit(argv[0]),
                    {QStringLiteral("--child"), c.bareWindow ? QStringLiteral("-") : dir.path()});
            if (!p.waitForReadyRead(300000)) {
                std::fprintf(stderr, "%s: run %d never painted\n", c.label, i);
                return 1;
            }
            times.push_back(t.nsecsElapsed() / 1e6);
            if (!p.waitForFinished(300000) || p.exitCode() != 0) {
                std::fprintf(stderr, "%s: run %d failed: %s\n", c.label, i,
                             p.readAllStandardError().constData());
                return 1;
            }
        }
        const double m = benchrow::median(times);
        benchrow::print(c.label, times, "-", c.bareWindow ? "-" : floorName);
        if (!c.bareWindow && c.boxText.isNull())
            emptyMs = m;
        else if (emptyMs > 0 && !c.boxText.isNull())
            std::printf("%s: %+.1f ms over the empty start\n", c.label, m - emptyMs);
    }
    return 0;
}

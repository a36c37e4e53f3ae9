// Start-up of the program to its first shown frame and back out, offscreen:
// each run is a fresh process that does what main() does for a first start
// (application, fonts, the main window's set-up in an empty program
// directory, show), waits for the window's first paint, then closes the
// window (writing the settings and box texts) and exits. The parent times
// launch to exit.
//
//   bench_startup [runs]        prints "startup: median X ms (min .. max)"

#include "customers/tflist.h"
#include "platform/fontsubstitution.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// Closes the window once it has painted its first frame.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget *window) : m_window(window) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
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
    fontsubstitution::install();
    TForm1 form(programDir + QStringLiteral("/tavrint"));
    TFList list;
    form.setDataHolder(&list);
    FirstPaint firstPaint(&form);
    form.installEventFilter(&firstPaint);
    form.show();
    return app.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv, QString::fromLocal8Bit(argv[2]));

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child"), dir.path()});
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i, p.readAllStandardError().constData());
            return 1;
        }
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("startup: median %.1f ms (min %.1f, max %.1f, %d runs)\n", times[times.size() / 2],
                times.front(), times.back(), runs);
    return 0;
}

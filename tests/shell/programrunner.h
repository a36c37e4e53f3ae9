#pragma once

#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

#include "../testfiles.h"

// Starts the real program the way a user does: the executable copied into a
// program directory of its own, shown on the test X server, with a private
// runtime directory (so each test has its own single-instance lock) and the
// test printer. Drives it with xdotool.
class ProgramRunner : public ProgramDir
{
public:
    ProgramRunner();
    ~ProgramRunner();

    // Empty when the end-to-end tests can run; otherwise why not.
    static QString unavailableReason();

    // A first start; true once its window is on the screen.
    bool start();
    // Another start of the same executable with one argument (or none);
    // the process, not yet finished.
    std::unique_ptr<QProcess> launch(const QStringList &arguments);
    // Runs a start to its end; its exit code, or -1 when it did not end
    // within `timeoutMs`.
    int runToEnd(const QStringList &arguments, int timeoutMs = 10000, qint64 *elapsedMs = nullptr);

    // Clicks at a point of the window's client area.
    bool click(QPoint at);
    // Presses the close button "X" and waits for the process to end.
    bool closeByButton(int timeoutMs = 10000);
    void killHard();
    bool isRunning() const;
    // Windows titled "Tavrint" on the test display.
    int windowCount() const;

    QProcess &process() { return *m_process; }
    // An environment variable for the starts that follow.
    void setEnvironment(const QString &name, const QString &value)
    {
        m_extraEnv.insert(name, value);
    }

private:
    bool startOnce();
    QProcessEnvironment environment() const;
    QString windowId() const;
    static QString xdotool(const QStringList &arguments, const QProcessEnvironment &env);

    QTemporaryDir m_runtime;
    std::unique_ptr<QProcess> m_process;
    QProcessEnvironment m_extraEnv;
};

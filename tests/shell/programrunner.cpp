#include "programrunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/stat.h>

namespace {
QString programBinary()
{
    return QStringLiteral(TAVRINT_BINARY_DIR "/shell/tavrint");
}
} // namespace

ProgramRunner::ProgramRunner()
{
    ::chmod(QFile::encodeName(m_runtime.path()).constData(), 0700);
    QFile::copy(programBinary(), path(QStringLiteral("tavrint")));
}

ProgramRunner::~ProgramRunner()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString ProgramRunner::unavailableReason()
{
    if (qEnvironmentVariableIsEmpty("TAVRINT_TEST_DISPLAY"))
        return QStringLiteral(
            "no test X server (./test.sh starts one and sets TAVRINT_TEST_DISPLAY)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed");
    if (!QFileInfo::exists(programBinary()))
        return QStringLiteral("the program is not built");
    return QString();
}

QProcessEnvironment ProgramRunner::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("TAVRINT_TEST_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    // No session bus: Qt would otherwise start dbus-launch at every start.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    for (const QString &name : m_extraEnv.keys())
        env.insert(name, m_extraEnv.value(name));
    return env;
}

QString ProgramRunner::xdotool(const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), arguments);
    if (!p.waitForFinished(15000))
        p.kill();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

std::unique_ptr<QProcess> ProgramRunner::launch(const QStringList &arguments)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(environment());
    p->setWorkingDirectory(programDir());
    p->start(path(QStringLiteral("tavrint")), arguments);
    p->waitForStarted(5000);
    return p;
}

bool ProgramRunner::start()
{
    // A start that ends at once is reported and tried once more: on a
    // loaded machine the X server or the previous instance's exit may lag.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (startOnce())
            return true;
        if (m_process->state() != QProcess::NotRunning)
            return false; // running, but no window: no point in a second one
        QThread::msleep(500);
    }
    return false;
}

bool ProgramRunner::startOnce()
{
    m_process = launch({});
    // The window exists once xdotool finds it; give it a moment to settle.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 15000) {
        if (m_process->state() == QProcess::NotRunning) {
            qWarning("the program ended at start: exit %d (%s), stderr: %s", m_process->exitCode(),
                     m_process->exitStatus() == QProcess::NormalExit ? "normal" : "crash",
                     m_process->readAllStandardError().constData());
            return false;
        }
        if (!windowId().isEmpty()) {
            QThread::msleep(150);
            return true;
        }
        // Waiting through QProcess (not a plain sleep) lets it notice an
        // exit, so a start that died is retried instead of awaited.
        m_process->waitForFinished(50);
    }
    return false;
}

int ProgramRunner::runToEnd(const QStringList &arguments, int timeoutMs, qint64 *elapsedMs)
{
    QElapsedTimer t;
    t.start();
    auto p = launch(arguments);
    const bool ended = p->waitForFinished(timeoutMs);
    if (elapsedMs)
        *elapsedMs = t.elapsed();
    if (!ended) {
        p->kill();
        p->waitForFinished(2000);
        return -1;
    }
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
}

QString ProgramRunner::windowId() const
{
    if (!m_process)
        return QString();
    const QString pid = QString::number(m_process->processId());
    const QString ids =
        xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 pid, QStringLiteral("--name"), QStringLiteral("^Tavrint$")},
                environment());
    return ids.section(QLatin1Char('\n'), 0, 0);
}

int ProgramRunner::windowCount() const
{
    const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), QStringLiteral("^Tavrint$")},
                                environment());
    return ids.isEmpty() ? 0 : int(ids.split(QLatin1Char('\n')).size());
}

bool ProgramRunner::click(QPoint at)
{
    const QString id = windowId();
    if (id.isEmpty())
        return false;
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(at.x()),
             QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")},
            environment());
    QThread::msleep(200);
    return true;
}

bool ProgramRunner::closeByButton(int timeoutMs)
{
    // "X" lies on the left panel (at 10, 0) at 197, client height - 32.
    const QString id = windowId();
    if (id.isEmpty())
        return false;
    const QString geometry = xdotool({QStringLiteral("getwindowgeometry"), id}, environment());
    const QString size =
        geometry.section(QStringLiteral("Geometry: "), 1).section(QLatin1Char('\n'), 0, 0);
    const int height = size.section(QLatin1Char('x'), 1).toInt();
    click(QPoint(10 + 197 + 11, height - 32 + 13));
    return m_process->waitForFinished(timeoutMs);
}

void ProgramRunner::killHard()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process->processId()), SIGKILL);
        m_process->waitForFinished(5000);
    }
}

bool ProgramRunner::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

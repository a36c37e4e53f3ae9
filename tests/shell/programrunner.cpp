// SPDX-License-Identifier: GPL-3.0-or-later
#include "programrunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <QDirIterator>
#include <QRegularExpression>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

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
    env.insert(QStringLiteral("DISPLAY"),
               m_display.isEmpty() ? qEnvironmentVariable("TAVRINT_TEST_DISPLAY") : m_display);
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

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
} // namespace

QString ProgramRunner::runAsUnprivileged()
{
    if (::geteuid() != 0)
        return QString(); // already an ordinary user
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("setpriv is not installed");
    m_unprivileged = true;
    return QString();
}

void ProgramRunner::handOverFolders()
{
    // The program folder and everything the test wrote into it, and the
    // runtime folder, belong to the user the program runs as. A file that
    // cannot be handed over fails the test that needs it.
    const QStringList roots = {QDir::cleanPath(programDir()), m_runtime.path()};
    for (const QString &root : roots) {
        [[maybe_unused]] const int owned =
            ::lchown(QFile::encodeName(root).constData(), kNobody, kNogroup);
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            [[maybe_unused]] const int entryOwned =
                ::lchown(QFile::encodeName(it.next()).constData(), kNobody, kNogroup);
        }
    }
}

std::unique_ptr<QProcess> ProgramRunner::launch(const QStringList &arguments)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(environment());
    p->setWorkingDirectory(programDir());
    if (m_unprivileged) {
        // setpriv execs the program, so the process id stays the program's.
        handOverFolders();
        QStringList args = {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                            QStringLiteral("--clear-groups"), path(QStringLiteral("tavrint"))};
        p->start(QStringLiteral("setpriv"), args + arguments);
    } else {
        p->start(path(QStringLiteral("tavrint")), arguments);
    }
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
        // Half a second for the previous instance's socket and the X
        // server's clients to go before the second try.
        QThread::msleep(500);
    }
    return false;
}

void ProgramRunner::releaseEscape() const
{
    // xdotool dies of an X error when the window its key went to is gone
    // (the Escape closed the dialog) before it sends the key's release; the
    // X server then repeats a held Escape into every later test's boxes. A
    // release of a key that is up is dropped by the server.
    xdotool({QStringLiteral("keyup"), QStringLiteral("Escape")}, environment());
}

bool ProgramRunner::startOnce()
{
    if (!m_screenOrigin)
        releaseEscape(); // whatever an earlier test's xdotool left held
    m_process = launch({});
    m_standardError.clear();
    // The window exists once xdotool finds it (on Wayland: once the program
    // has handed the compositor its first picture); give it a moment.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 15000) {
        if (m_process->state() == QProcess::NotRunning) {
            qWarning("the program ended at start: exit %d (%s), stderr: %s", m_process->exitCode(),
                     m_process->exitStatus() == QProcess::NormalExit ? "normal" : "crash",
                     standardError().constData());
            return false;
        }
        // On Wayland, keys typed before the compositor gives the window the
        // keyboard are dropped, not queued: the window is there for input
        // once it has shown a picture and the keyboard has entered it.
        static const QRegularExpression keyboardEntered(
            QStringLiteral(R"(wl_keyboard@\d+\.enter\()"));
        const bool shown = m_screenOrigin
                               ? standardError().contains(".attach(wl_buffer") &&
                                     QString::fromUtf8(standardError()).contains(keyboardEntered)
                               : !windowId().isEmpty();
        if (shown && m_screenOrigin) {
            // The compositor's own X window gets the X keyboard focus: with
            // none set, the focus follows the pointer, and weston, told of
            // that only by pointer crossings, now and then drops the keys.
            xdotool({QStringLiteral("search"), QStringLiteral("--class"),
                     QStringLiteral("Weston Compositor"), QStringLiteral("windowfocus"),
                     QStringLiteral("--sync")},
                    environment());
        }
        if (shown)
            return true; // input sent from now on waits in the queue for it
        // Waiting through QProcess (not a plain sleep) lets it notice an
        // exit, so a start that died is retried instead of awaited.
        m_process->waitForFinished(50);
    }
    return false;
}

QByteArray ProgramRunner::standardError()
{
    if (m_process)
        m_standardError += m_process->readAllStandardError();
    return m_standardError;
}

QStringList ProgramRunner::pointerTo(QPoint at) const
{
    auto n = [](int v) { return QString::number(v); };
    if (m_screenOrigin)
        return {QStringLiteral("mousemove"), n(m_screenOrigin->x() + at.x()),
                n(m_screenOrigin->y() + at.y())};
    return {QStringLiteral("mousemove"), QStringLiteral("--window"), windowId(), n(at.x()),
            n(at.y())};
}

bool ProgramRunner::isShown() const
{
    return m_screenOrigin ? isRunning() : !windowId().isEmpty();
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
    // A search that meets a window being destroyed (a dialog just closed)
    // can come back empty: a running program's window is looked for again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        // The title names the current letter when it has a name.
        const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--pid"), pid, QStringLiteral("--name"),
                                     QStringLiteral("^(.+ — )?Tavrint$")},
                                    environment());
        if (!ids.isEmpty() || m_process->state() != QProcess::Running)
            return ids.section(QLatin1Char('\n'), 0, 0);
        QThread::msleep(100);
    }
    return QString();
}

bool ProgramRunner::waitForWindow(const QString &title, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    const QString pid = QString::number(m_process ? m_process->processId() : 0);
    while (t.elapsed() < timeoutMs) {
        const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--pid"), pid, QStringLiteral("--name"),
                                     QRegularExpression::escape(title)},
                                    environment());
        if (!ids.isEmpty())
            return true;
        if (m_process)
            m_process->waitForFinished(50);
    }
    return false;
}

bool ProgramRunner::waitUntilHandled()
{
    // The program handles its window system input in order: the save
    // dialog's shortcut, sent after everything else, opens its window only
    // once the input before it has been handled. Escape closes it again,
    // once the dialog has the keyboard (with no window manager, the program
    // gives it the focus a moment after it shows).
    const QString title = QStringLiteral("PDFに保存…");
    if (!key(QStringLiteral("ctrl+shift+s")) || !waitForWindow(title)) {
        qWarning("the save dialog did not open");
        return false;
    }
    const QStringList search = {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                QStringLiteral("--name"), title};
    QElapsedTimer t;
    t.start();
    int unseen = 0; // searches in a row that found no dialog
    while (t.elapsed() < 10000) {
        if (xdotool(search, environment()).isEmpty()) {
            if (++unseen == 3) // not a search that missed it
                return true;
        } else {
            unseen = 0;
            xdotool(search + QStringList{QStringLiteral("windowfocus"), QStringLiteral("key"),
                                         QStringLiteral("Escape")},
                    environment());
            releaseEscape();
        }
        m_process->waitForFinished(100);
    }
    qWarning("the save dialog did not close");
    return false;
}

bool ProgramRunner::waitForWindowCount(int count, int timeoutMs) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (windowCount() == count)
            return true;
        if (m_process)
            m_process->waitForFinished(50);
    }
    qWarning("%d windows titled Tavrint, not %d", windowCount(), count);
    return false;
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
    if (!isShown())
        return false;
    xdotool(pointerTo(at) + QStringList{QStringLiteral("click"), QStringLiteral("1")},
            environment());
    return true;
}

bool ProgramRunner::rightClick(QPoint at)
{
    if (!isShown())
        return false;
    xdotool(pointerTo(at) + QStringList{QStringLiteral("click"), QStringLiteral("3")},
            environment());
    return true;
}

QString ProgramRunner::windowTitle() const
{
    const QString id = windowId();
    if (id.isEmpty())
        return QString();
    return xdotool({QStringLiteral("getwindowname"), id}, environment()).trimmed();
}

bool ProgramRunner::drag(QPoint from, QPoint to)
{
    if (!isShown())
        return false;
    xdotool(pointerTo(from) + QStringList{QStringLiteral("mousedown"), QStringLiteral("1")} +
                pointerTo((from + to) / 2) + pointerTo(to) +
                QStringList{QStringLiteral("mouseup"), QStringLiteral("1")},
            environment());
    return true;
}

bool ProgramRunner::typeText(const QString &text)
{
    if (!isShown())
        return false;
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text},
            environment());
    return true;
}

bool ProgramRunner::key(const QString &keys)
{
    // To the focused window: keys sent to a window by id are synthetic, and
    // Qt does not take those.
    if (!isShown())
        return false;
    xdotool({QStringLiteral("key"), keys}, environment());
    return true;
}

void ProgramRunner::sendSignal(int signalNumber)
{
    if (isRunning())
        ::kill(pid_t(m_process->processId()), signalNumber);
}

int ProgramRunner::waitForExit(int timeoutMs)
{
    if (!m_process)
        return -1;
    if (m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(timeoutMs))
        return -1;
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

QSize ProgramRunner::windowSize() const
{
    const QString id = windowId();
    if (id.isEmpty())
        return QSize();
    const QString geometry = xdotool({QStringLiteral("getwindowgeometry"), id}, environment());
    const QString size =
        geometry.section(QStringLiteral("Geometry: "), 1).section(QLatin1Char('\n'), 0, 0);
    return QSize(size.section(QLatin1Char('x'), 0, 0).toInt(),
                 size.section(QLatin1Char('x'), 1).toInt());
}

bool ProgramRunner::closeByButton(int timeoutMs)
{
    // "X" lies on the left panel (at 10, 0) at 197, client height - 32.
    int height = m_clientHeight;
    if (!m_screenOrigin) {
        height = windowSize().height();
        if (height <= 0)
            return false;
    }
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

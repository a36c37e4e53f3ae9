// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/firstframeprobe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

class FirstFrameProbe : public QObject
{
public:
    FirstFrameProbe(QWidget *window, int fd) : QObject(window), m_fd(fd) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == parent() && !m_seen) {
            m_seen = true;
            // The children paint and the frame is flushed in the same pass
            // as this event; a zero timer fires once that pass is over.
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

private:
    void report()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        char line[64];
        const int length = std::snprintf(line, sizeof line, "first-frame %lld\n",
                                         now.tv_sec * 1000000000LL + now.tv_nsec);
        if (length > 0 && ::write(m_fd, line, size_t(length)) < 0)
            std::perror("first-frame report");
        ::close(m_fd);
        parent()->removeEventFilter(this);
        deleteLater();
    }

    int m_fd;
    bool m_seen = false;
};

} // namespace

void firstframeprobe::installFromEnvironment(QWidget *window)
{
    bool ok = false;
    const int fd = qEnvironmentVariableIntValue("TAVRINT_FIRST_FRAME_FD", &ok);
    if (!ok || fd < 0)
        return;
    window->installEventFilter(new FirstFrameProbe(window, fd));
}

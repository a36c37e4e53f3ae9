// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// One pipe for the process: a signal handler can reach nothing else.
int g_pipe[2] = {-1, -1};

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onTerminationSignal(int signalNumber)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a signal to act on; this one may be lost.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

bool ignoredAtStart(int signalNumber)
{
    struct sigaction current = {};
    return ::sigaction(signalNumber, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    for (int signalNumber : kSignals) {
        if (signalNumber != SIGTERM && ignoredAtStart(signalNumber))
            continue;
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signalNumber, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    // Back to the defaults: without the notifier nobody would act on them.
    for (int signalNumber : kSignals) {
        struct sigaction current = {};
        if (::sigaction(signalNumber, nullptr, &current) == 0 &&
            current.sa_handler == onTerminationSignal)
            ::signal(signalNumber, SIG_DFL);
    }
}

void TerminationSignals::readPending()
{
    unsigned char bytes[16];
    for (;;) {
        const ssize_t count = ::read(g_pipe[0], bytes, sizeof bytes);
        if (count <= 0)
            return;
        for (ssize_t i = 0; i < count; ++i)
            emit received(bytes[i]);
    }
}

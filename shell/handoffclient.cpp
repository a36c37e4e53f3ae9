// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/handoffclient.h"

#include "shell/handoffmessage.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace handoffclient {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kRetryInterval{20};

int millisecondsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

// Waits for `events` on `fd` until the deadline; false on time-out or error.
bool waitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int result = ::poll(&p, 1, millisecondsLeft(deadline));
        if (result > 0)
            return true;
        if (result == 0 || errno != EINTR)
            return false;
    }
}

class Socket
{
public:
    Socket() : fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    const int fd;
};

// One connection: send the whole message, then wait for the acknowledgement.
bool tryOnce(const sockaddr_un &address, const QByteArray &message, Clock::time_point deadline)
{
    Socket socket;
    if (socket.fd < 0)
        return false;
    // A Unix socket connects at once or fails at once (EAGAIN: backlog full).
    if (::connect(socket.fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return false;

    qsizetype sent = 0;
    while (sent < message.size()) {
        // MSG_NOSIGNAL: an instance that drops us must not kill us by SIGPIPE.
        const ssize_t n = ::send(socket.fd, message.constData() + sent,
                                 size_t(message.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(socket.fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }

    for (;;) {
        if (!waitFor(socket.fd, POLLIN, deadline))
            return false;
        char ack = 0;
        const ssize_t n = ::recv(socket.fd, &ack, 1, 0);
        if (n == 1) {
            if (ack != handoff::kAck || millisecondsLeft(deadline) <= 0)
                return false;
            break;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        return false; // closed without taking the message
    }

    // The instance holds the message; it applies it only on this answer,
    // so an answer never sent (we gave up) means the text never arrives.
    for (;;) {
        const ssize_t n = ::send(socket.fd, &handoff::kConfirm, 1, MSG_NOSIGNAL);
        if (n == 1)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            waitFor(socket.fd, POLLOUT, deadline))
            continue;
        return false;
    }
}

} // namespace

int deliver(const QString &socketPath, const QString &marker, const QString &addressee,
            std::chrono::milliseconds retryWindow)
{
    const auto message = handoff::encode({marker, addressee});
    const QByteArray path = QFile::encodeName(socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (!message || path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return 1;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));

    const Clock::time_point deadline = Clock::now() + retryWindow;
    for (;;) {
        if (tryOnce(address, *message, deadline))
            return 0;
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return 1;
        std::this_thread::sleep_for(std::min<Clock::duration>(left, kRetryInterval));
    }
}

} // namespace handoffclient

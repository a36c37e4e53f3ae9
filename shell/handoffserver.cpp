// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/handoffserver.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <utility>

namespace {

using Deliver = std::function<void(const handoff::Message &)>;

// One client connection, from accept to its end, on the server's thread.
// Owns its socket.
class HandOffConnection : public QObject
{
public:
    HandOffConnection(QLocalSocket *socket, Deliver deliver, int timeoutMs, QObject *parent)
        : QObject(parent), m_socket(socket), m_deliver(std::move(deliver))
    {
        socket->setParent(this);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &HandOffConnection::timedOut);
        connect(socket, &QLocalSocket::readyRead, this, &HandOffConnection::readBytes);
        connect(socket, &QLocalSocket::disconnected, this, &HandOffConnection::peerClosed);
        m_timer.start(timeoutMs);
        // Bytes may have arrived before the connection was picked up.
        if (socket->bytesAvailable() > 0)
            QTimer::singleShot(0, this, &HandOffConnection::readBytes);
    }

private:
    enum class State { Reading, AwaitingConfirmation, Done };

    void readBytes()
    {
        if (m_state == State::Done) {
            m_socket->readAll(); // nothing more is expected; ignore it
            return;
        }
        while (m_socket->bytesAvailable() > 0) {
            // Never hold more than the limit plus one byte, the proof of excess.
            const qint64 room = handoff::kMaxMessageBytes - m_buffer.size() + 1;
            m_buffer += m_socket->read(room);
            if (m_buffer.size() > handoff::kMaxMessageBytes)
                return drop();
        }
        if (m_state == State::AwaitingConfirmation)
            return readConfirmation();
        const handoff::Decoded decoded = handoff::decode(m_buffer);
        switch (decoded.status) {
        case handoff::Decoded::NeedMore:
            return;
        case handoff::Decoded::Invalid:
            return drop();
        case handoff::Decoded::Complete:
            // One message per connection, and the sender speaks again only
            // after our acknowledgement: anything behind it is garbage.
            if (decoded.consumed != m_buffer.size())
                return drop();
            m_message = decoded.message;
            m_buffer.clear();
            m_state = State::AwaitingConfirmation;
            m_socket->write(&handoff::kAck, 1);
            m_socket->flush();
            return;
        }
    }

    void readConfirmation()
    {
        if (m_buffer.isEmpty())
            return;
        if (m_buffer.size() != 1 || m_buffer[0] != handoff::kConfirm)
            return drop();
        m_state = State::Done;
        m_timer.stop();
        m_buffer.clear();
        m_deliver(m_message);
        m_socket->disconnectFromServer();
        deleteLater();
    }

    void timedOut()
    {
        // After a stall of the process (stopped, swapped out) the bytes may
        // sit unread while the timer fires first: read before giving up.
        readBytes();
        if (m_state != State::Done)
            drop();
    }

    void peerClosed()
    {
        // The confirmation may arrive together with the close.
        if (m_state != State::Done && m_socket->bytesAvailable() > 0)
            readBytes();
        // A sender that closed before confirming has given up: its message
        // is dropped, however complete.
        if (m_state != State::Done)
            drop();
    }

    void drop()
    {
        m_state = State::Done;
        m_timer.stop();
        m_buffer.clear();
        m_socket->abort();
        deleteLater();
    }

    QLocalSocket *m_socket;
    Deliver m_deliver;
    QTimer m_timer;
    QByteArray m_buffer;
    handoff::Message m_message;
    State m_state = State::Reading;
};

// The socket and its connections, all on the server's thread.
class HandOffListener : public QObject
{
public:
    HandOffListener(Deliver deliver, int clientTimeoutMs)
        : m_server(this), m_deliver(std::move(deliver)), m_clientTimeoutMs(clientTimeoutMs)
    {
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        connect(&m_server, &QLocalServer::newConnection, this, &HandOffListener::accept);
    }

    bool listen(const QString &socketPath)
    {
        QLocalServer::removeServer(socketPath);
        return m_server.listen(socketPath);
    }
    QString errorString() const { return m_server.errorString(); }
    QString fullServerName() const { return m_server.fullServerName(); }

private:
    void accept()
    {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            new HandOffConnection(socket, m_deliver, m_clientTimeoutMs, this);
    }

    QLocalServer m_server;
    Deliver m_deliver;
    int m_clientTimeoutMs;
};

// How soon a refused ready check is asked again.
constexpr int kReadyRetryMs = 20;

} // namespace

HandOffServer::HandOffServer(Receiver receiver, QObject *parent)
    : QObject(parent), m_receiver(std::move(receiver))
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &HandOffServer::applyPending);
    m_thread.setObjectName(QStringLiteral("hand-off"));
}

HandOffServer::~HandOffServer()
{
    // The listener and its connections go with the thread's last events;
    // messages it still posts to us are dropped with this object.
    m_thread.quit();
    m_thread.wait();
}

Result<void> HandOffServer::listen(const QString &socketPath)
{
    if (m_listener)
        return fail(QStringLiteral("already listening"));
    QPointer<HandOffServer> self(this);
    auto *listener = new HandOffListener(
        [self](const handoff::Message &message) {
            // Runs on the server's thread; the queue lives on ours.
            QMetaObject::invokeMethod(
                self.data(),
                [self, message] {
                    if (self)
                        self->enqueue(message);
                },
                Qt::QueuedConnection);
        },
        m_clientTimeoutMs);
    listener->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, listener, &QObject::deleteLater);
    m_listener = listener;
    m_thread.start();

    bool ok = false;
    QString error;
    QMetaObject::invokeMethod(
        listener,
        [&] {
            ok = listener->listen(socketPath);
            error = listener->errorString();
            m_socketPath = listener->fullServerName();
        },
        Qt::BlockingQueuedConnection);
    if (!ok)
        return fail(error);
    return {};
}

void HandOffServer::enqueue(const handoff::Message &message)
{
    m_pending.append(message);
    applyPending();
}

void HandOffServer::applyPending()
{
    // The receiver may run a nested event loop (an error box) that brings
    // the next message here again: that one waits for the first to finish.
    if (m_applying)
        return;
    QPointer<HandOffServer> self(this);
    while (!m_pending.isEmpty()) {
        if (m_readyCheck && !m_readyCheck()) {
            m_retry.start(kReadyRetryMs);
            return;
        }
        const handoff::Message message = m_pending.takeFirst();
        m_applying = true;
        if (m_receiver)
            m_receiver(message.marker, message.addressee);
        if (!self)
            return;
        m_applying = false;
    }
}

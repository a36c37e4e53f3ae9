#include "shell/handoffserver.h"

#include "shell/handoffmessage.h"

#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

namespace {

// One client connection, from accept to its end. Owns its socket.
class HandOffConnection : public QObject
{
public:
    HandOffConnection(QLocalSocket *socket, const HandOffServer::Receiver &receiver, int timeoutMs,
                      QObject *parent)
        : QObject(parent), m_socket(socket), m_receiver(receiver)
    {
        socket->setParent(this);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &HandOffConnection::timedOut);
        connect(socket, &QLocalSocket::readyRead, this, &HandOffConnection::readMessage);
        connect(socket, &QLocalSocket::disconnected, this, &HandOffConnection::finish);
        m_timer.start(timeoutMs);
        // Bytes may have arrived before the connection was picked up.
        if (socket->bytesAvailable() > 0)
            QTimer::singleShot(0, this, &HandOffConnection::readMessage);
    }

private:
    enum class State { Reading, Applying, Done };

    void readMessage()
    {
        if (m_state != State::Reading) {
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
        const handoff::Decoded decoded = handoff::decode(m_buffer);
        switch (decoded.status) {
        case handoff::Decoded::NeedMore:
            return;
        case handoff::Decoded::Invalid:
            return drop();
        case handoff::Decoded::Complete:
            // One message per connection: anything behind it is garbage.
            if (decoded.consumed != m_buffer.size())
                return drop();
            return apply(decoded.message);
        }
    }

    void apply(const handoff::Message &message)
    {
        m_state = State::Applying;
        m_timer.stop();
        m_buffer.clear();
        // The receiver may run a nested event loop (an error box); the
        // connection and even the server may be gone when it returns.
        QPointer<HandOffConnection> self(this);
        const HandOffServer::Receiver receiver = m_receiver;
        if (receiver)
            receiver(message.marker, message.addressee);
        if (!self)
            return;
        m_state = State::Done;
        m_socket->write(&handoff::kAck, 1);
        m_socket->disconnectFromServer(); // after the ack is written
        m_timer.start();                  // bounds the wait for a client that never reads
    }

    void timedOut()
    {
        // After a stall of the UI thread the message may sit unread while
        // the timer fires first: read before giving up on the client.
        if (m_state == State::Reading) {
            readMessage();
            if (m_state != State::Reading)
                return;
        }
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

    void finish()
    {
        if (m_state == State::Applying)
            return; // the receiver's nested loop; apply() finishes the job
        m_state = State::Done;
        m_timer.stop();
        deleteLater();
    }

    QLocalSocket *m_socket;
    const HandOffServer::Receiver &m_receiver;
    QTimer m_timer;
    QByteArray m_buffer;
    State m_state = State::Reading;
};

} // namespace

HandOffServer::HandOffServer(Receiver receiver, QObject *parent)
    : QObject(parent), m_receiver(std::move(receiver))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &HandOffServer::acceptConnections);
}

HandOffServer::~HandOffServer() = default;

bool HandOffServer::listen(const QString &socketPath)
{
    QLocalServer::removeServer(socketPath);
    return m_server.listen(socketPath);
}

void HandOffServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection())
        new HandOffConnection(socket, m_receiver, m_clientTimeoutMs, this);
}

#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

// The running instance's end of the hand-off. Listens on the per-user socket
// on the UI thread's event loop and never blocks on a client: each
// connection must deliver one valid message within the client time-out, or
// it is dropped without any change. A complete message is applied through
// the receiver, and only then is the acknowledgement byte sent back.
class HandOffServer : public QObject
{
    Q_OBJECT
public:
    using Receiver = std::function<void(const QString &marker, const QString &addressee)>;

    explicit HandOffServer(Receiver receiver, QObject *parent = nullptr);
    ~HandOffServer() override;

    // Starts listening at `socketPath`, first removing a socket left by an
    // instance that crashed. Call only while holding the single-instance
    // lock, which guarantees no live instance owns that socket.
    bool listen(const QString &socketPath);
    QString errorString() const { return m_server.errorString(); }
    QString socketPath() const { return m_server.fullServerName(); }

    // How long a client may take to deliver its message.
    void setClientTimeout(int milliseconds) { m_clientTimeoutMs = milliseconds; }
    int clientTimeout() const { return m_clientTimeoutMs; }

private:
    void acceptConnections();

    QLocalServer m_server;
    Receiver m_receiver;
    int m_clientTimeoutMs = 2000;
};

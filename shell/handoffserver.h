// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include "shell/handoffmessage.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <functional>

// The running instance's end of the hand-off. The per-user socket is served
// on a thread of its own, so a second start is answered within milliseconds
// even while the window reads a long customer file or shows a modal box.
// Each connection must deliver one valid message within the client time-out,
// or it is dropped without any change. A complete message is acknowledged at
// once; only when the second start then confirms it (proof that it has not
// given up) is it queued for the owner's thread, where the receiver applies
// the queued messages in order as soon as the ready check allows.
class HandOffServer : public QObject
{
    Q_OBJECT
public:
    using Receiver = std::function<void(const QString &marker, const QString &addressee)>;
    using ReadyCheck = std::function<bool()>;

    explicit HandOffServer(Receiver receiver, QObject *parent = nullptr);
    ~HandOffServer() override;

    // Starts listening at `socketPath`, first removing a socket left by an
    // instance that crashed. Call only while holding the single-instance
    // lock, which guarantees no live instance owns that socket.
    Result<void> listen(const QString &socketPath);
    QString socketPath() const { return m_socketPath; }

    // How long a client may take to deliver its message (and its
    // confirmation). Set before listen().
    void setClientTimeout(int milliseconds) { m_clientTimeoutMs = milliseconds; }
    int clientTimeout() const { return m_clientTimeoutMs; }

    // Asked on the owner's thread before a queued message is applied; while
    // it answers false (the window is not built yet, or a modal box is up)
    // the messages wait, and it is asked again shortly.
    void setReadyCheck(ReadyCheck check) { m_readyCheck = std::move(check); }
    // Confirmed messages not yet applied.
    qsizetype pendingCount() const { return m_pending.size(); }

private:
    void enqueue(const handoff::Message &message);
    void applyPending();

    Receiver m_receiver;
    ReadyCheck m_readyCheck;
    QThread m_thread;
    QObject *m_listener = nullptr; // lives on m_thread
    QList<handoff::Message> m_pending;
    QTimer m_retry;
    bool m_applying = false;
    int m_clientTimeoutMs = 2000;
    QString m_socketPath;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT as events: a logout without a session message,
// systemd, `shutdown` or Ctrl+C on the terminal end the program through one
// of them, and the letter must be saved as a close saves it. The handler
// only writes the signal's number into a pipe; `received` is emitted from
// the event loop, where the program may do anything.
//
// SIGHUP and SIGINT that were ignored when the program started (nohup, a
// background job of a shell) stay ignored; SIGTERM is always caught.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // False when the pipe could not be made; the signals then end the
    // program as they would without this object.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The office's fax server the letters go out through: a HylaFAX server,
// reached with hylafax-client's sendfax and faxstat, or a CUPS queue that
// takes fax jobs (a multifunction printer), given the number as the job
// option "phone".
namespace fax {

enum class Kind {
    HylaFax,
    CupsQueue,
};

struct Service
{
    Kind kind = Kind::HylaFax;
    // HylaFAX: the server, "host" or "host:port"; empty: FAXSERVER, else
    // the machine itself, as HylaFAX's own tools choose.
    QString host;
    QString queue; // CUPS: the fax queue's name

    // "HylaFAX (faxserver)", "CUPS (fax-queue)"
    QString description() const;
    bool operator==(const Service &) const = default;
};

// The settings file of its own, written only once the user chose a service.
QString settingsPath(const QString &programDir);
// The service in `programDir`'s settings; HylaFAX with the default host
// without them. A file that names no service we know is an error.
Result<Service> configured(const QString &programDir);
Result<void> save(const QString &programDir, const Service &service);

// The number as it is dialled: digits only. Blanks, "-" and parentheses
// are dropped; "+" leads an international number (dialled as 00...);
// anything else, or no digit at all, is refused with a text that says why.
Result<QString> dialledNumber(const QString &text);

// A fax the server took: its job id, and where the send log says to look for
// it ("hylafax://host/12", "cups://queue/34").
struct Job
{
    QString id;
    QString reference;
};
// Hands `pdf` to the server for `number` (already dialled form); `recipient`
// names the addressee in the server's queue.
Result<Job> send(const Service &service, const QByteArray &pdf, const QString &number,
                 const QString &recipient, const QString &title);

// What the server says of the jobs behind `references` now: 待機中, 送信中,
// 完了, 失敗; a reference the server no longer knows has none, and a server
// that cannot be asked gives its error for each.
QHash<QString, QString> statesOf(const QStringList &references);

} // namespace fax

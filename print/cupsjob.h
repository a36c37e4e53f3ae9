// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A PDF handed to a CUPS queue as it is, one job: the letter with documents
// after it, which no painter could draw page for page, and fax jobs, whose
// number travels as the job option "phone". The scheduler is the one the
// environment names (CUPS_SERVER), as for every print.
namespace cupsjob {

using Options = QList<QPair<QString, QString>>;

// The job's id on `queue`, or the scheduler's reason.
Result<int> submit(const QString &queue, const QByteArray &pdf, const QString &title,
                   const Options &options = {});

// The state of job `id` as a word a user reads: 待機中, 送信中, 完了, 失敗
// (or 中止); nothing when the scheduler does not know it.
QString stateOf(const QString &queue, int id);

} // namespace cupsjob

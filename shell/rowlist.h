// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QList>
#include <QString>

// The rows of a customer list a merge is limited to, as written after
// --only: "3", "1-4", "2,5-7,12", counted from 1 as the list shows them.
namespace rowlist {

// A stretch of rows, both ends counted from 1 and included.
struct Span
{
    qint64 first = 0;
    qint64 last = 0;
    friend bool operator==(const Span &, const Span &) = default;
};

// The spans written in `text`, or why they cannot be read. The list's
// length is not known yet, so a row beyond it is found by rows().
Result<QList<Span>> parse(const QString &text);

// The 0-based rows of a list of `count` customers the spans name, each once
// and in list order (the order a merge sends them in, whatever the order
// written). An error names the first row the list does not have.
Result<QList<int>> rows(const QList<Span> &spans, int count);

} // namespace rowlist

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a read of a customer list gives, whichever file it came from: the
// entries and the count, or why it failed and what the list and the count
// label show after it.
struct CustomerRows
{
    // Entry k is the list entry of row k.
    QStringList entries;
    int count = 0;
};

struct CustomerReadError
{
    enum class Kind {
        OpenFailed, // the file could not be read as a whole
        BadLine,    // a text line with an open quote before field 5
        CellFailed, // a workbook cell had no text form: earlier rows stored
    };

    Kind kind = Kind::OpenFailed;
    // What the list and the count show after the failed read; nothing where
    // they keep what they showed.
    std::optional<QStringList> entries;
    std::optional<int> count;
    QString text;
};

using CustomerRead = Result<CustomerRows, CustomerReadError>;

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"

// A read, whatever it came to, in the terms the reader tests compare.
enum class ReadKind { Read, OpenFailed, BadLine, CellFailed };

inline ReadKind kindOf(const CustomerRead &read)
{
    if (read)
        return ReadKind::Read;
    switch (read.failure().kind) {
    case CustomerReadError::Kind::OpenFailed:
        return ReadKind::OpenFailed;
    case CustomerReadError::Kind::BadLine:
        return ReadKind::BadLine;
    case CustomerReadError::Kind::CellFailed:
        return ReadKind::CellFailed;
    }
    return ReadKind::OpenFailed;
}

// The entries and the count a read left for the list and the label; none
// (empty, 0) where they keep what they showed.
inline QStringList entriesOf(const CustomerRead &read)
{
    return read ? read->entries : read.failure().entries.value_or(QStringList());
}

inline int countOf(const CustomerRead &read)
{
    return read ? read->count : read.failure().count.value_or(0);
}

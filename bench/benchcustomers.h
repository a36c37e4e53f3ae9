// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/cp932.h"

#include <QByteArray>
#include <QString>

// A customer text file of `lines` lines as the benchmarks read it: about 60
// bytes each, double-byte names with 0x5C trail bytes, a half-width space and
// a quoted field holding a comma.
inline QByteArray customerFile(int lines)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 64);
    for (int i = 0; i < lines; ++i)
        bytes.append(cp932::encode(
            QString::fromUtf8("株式会社 ソ表能%1,山田 太郎,\"港区芝,1-1\",03-1234-5678\r\n")
                .arg(i % 100000)));
    return bytes;
}

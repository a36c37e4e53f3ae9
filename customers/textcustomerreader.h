// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerread.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

class CustomerTable;

// The customer text file (code page 932 or UTF-8, see textcharset.h): one
// customer per line, fields split by the delimited-text rule after every
// half-width space became an ideographic space. Fields 0 to 5 go into table
// columns 0 to 5, and a seventh field, the fax number, where a line has one,
// into column 6; the key field (0 company, 1 person) becomes the customer's
// list entry.
namespace textcustomerreader {

// Reads the file at `path`. `keyIndex` is the selector's item index. The
// count is the number of lines in the file, also after a bad line, when the
// list shows nothing; a missing file reads as none. Entry k is the key of
// row k, the ideographic spaces still in (see listEntriesWithout()).
CustomerRead read(const QString &path, int keyIndex, CustomerTable &table);

// Called now and then during a read with the offset below which the bytes
// are still needed; everything from there on has been read.
using ReleaseRead = std::function<void(qsizetype from)>;

// The same for the file's bytes (a NUL byte ends the text).
CustomerRead readBytes(QByteArrayView bytes, int keyIndex, CustomerTable &table,
                       const ReleaseRead &release = {});

// Turns one line's bytes into text.
using LineDecoder = QString (*)(QByteArrayView line);
// The decoder for a file's lines, chosen once from the whole file's bytes:
// UTF-8 or code page 932, by the rule of textcharset::detect.
LineDecoder lineDecoderFor(QByteArrayView bytes);

} // namespace textcustomerreader

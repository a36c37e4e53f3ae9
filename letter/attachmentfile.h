// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The documents attached to the current letter, kept beside its box texts
// in "Data/添付ファイル.txt": one full path a line, UTF-8 (a path may hold
// any character), LF. A letter that never had one has no such file, so its
// folder stays as it was.
namespace attachmentfile {

QString filePath(const QString &programDir);

QByteArray encode(const QStringList &paths);
// Blank lines and surrounding blanks are dropped; nothing else is judged
// here: a path that no longer leads to a PDF is refused when the letter
// goes out.
QStringList decode(const QByteArray &bytes);

// The list in `programDir`; empty without the file. A file that cannot be
// read gives its error.
Result<QStringList> load(const QString &programDir);

} // namespace attachmentfile

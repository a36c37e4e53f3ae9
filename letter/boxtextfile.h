// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"
#include "platform/result.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The box text files: one code-page-932 file per box beside the executable,
// "Data/1本文.txt" and so on (the names themselves are UTF-8 on disk).
// Box D has no text file: its text is today's date, written at every start.
namespace boxtextfile {

// The data directory below the program directory; start-up creates it under
// this same spelling.
inline constexpr QStringView kDataDirName = u"Data";

// Box indices of the boxes with a text file, in load and save order.
inline constexpr std::array<int, 7> kTextBoxes = boxtable::kTextFileBoxes;

bool hasTextFile(int boxIndex);
// "1本文.txt"; empty for box D.
QString fileName(int boxIndex);
// programDir ends with "/": programDir + "Data/" + fileName(); empty for box D.
QString filePath(const QString &programDir, int boxIndex);

// Reads a box text file by the loading rule: its text, line breaks as CR LF,
// cut at the first NUL; nothing for a missing file, which is no error (the
// box keeps its text); the open error for a file that cannot be read.
Result<std::optional<QString>> loadBoxText(const QString &path);

// The file content for a box text: exactly the text, breaks as CR LF, no
// break added at the end; characters code page 932 lacks become "?".
QByteArray encodeBoxText(QStringView text);

// Replaces the file with the text in one atomic step; a read-only file or an
// unwritable directory is refused and left as it was. The error is the
// create error message.
Result<void> saveBoxText(const QString &path, QStringView text);

// Whether the close saves the addressee box: only in stored mode 1, only when
// the text is more than blanks and control characters (the ideographic space
// counts as text), and only when no hand-off marker (any text of exactly two
// bytes) sits in Edit2.
bool shouldSaveAddressee(int storedMode, QStringView addresseeText, QStringView edit2Text);

// "ファイル "<path>". <reason> は開けません"
QString openErrorMessage(const QString &path, const QString &reason);
// "ファイル "<path>". <reason> を作成できません"
QString createErrorMessage(const QString &path, const QString &reason);

} // namespace boxtextfile

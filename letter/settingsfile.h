// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

class ProfileFile;

// Names, keys and defaults of the layout settings file: one section named
// after the executable, one file per class of screen height, so that each
// screen height keeps a layout of its own.
namespace settingsfile {

// The settings directory below the program directory; start-up creates it
// under this same spelling.
inline constexpr QStringView kInitDirName = u"Init";

// Names derive from the executable's file name ("letter.exe"); a path is
// reduced to its last component first.
// "letter.exe" -> "letter": everything from the last "." on is dropped.
QString sectionName(QStringView executableName);
// round(screen height / 20), halves to even: 768 -> 38, 1050 -> 52.
int heightClass(int screenHeight);
// "letter.exe" at screen height 768 -> "letter38.ini": the extension is
// replaced by the height class and ".ini" (appended to a name without ".").
QString fileName(QStringView executableName, int screenHeight);
// programDir ends with "/": programDir + "Init/" + fileName().
QString filePath(const QString &programDir, QStringView executableName, int screenHeight);

inline constexpr QStringView kFormLeft = u"FormLeft";
inline constexpr QStringView kFormTop = u"FormTop";

inline constexpr int kDefaultFormLeft = 20;
inline constexpr int kDefaultFormTop = 10;
inline constexpr int kDefaultFontSize = 9;
// "MS P明朝" with half-width "MS P" (4D 53 20 50 96 BE 92 A9), not the
// full-width face the form gives the memos.
QString defaultFontName();

enum class BoxKey { FontName, FontSize, Left, Top, Width, Height };

// The six keys of a box in the order they are written (and read).
inline constexpr std::array<BoxKey, 6> kBoxKeyOrder = {
    BoxKey::FontName, BoxKey::FontSize, BoxKey::Left, BoxKey::Top, BoxKey::Width, BoxKey::Height};

// "mm1" for box index 0 .. "mm8" for box index 7.
QString keyPrefix(int boxIndex);
// "mm1FontName", "mm3Width", ...
QString boxKey(int boxIndex, BoxKey key);

// All 50 keys in the order the close writes them: FormTop, FormLeft, then
// each box's six keys, boxes in index order.
QStringList writeOrder();

// "<path> に書き込めません"
QString writeErrorMessage(const QString &path);

// Saves the document to its own path in one atomic replace; the error is
// the write error message for that path.
Result<void> save(const ProfileFile &settings);

} // namespace settingsfile

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The layout names Windows faces ("ＭＳ Ｐ明朝", "MS UI Gothic", ...) that a
// Linux desktop does not have. Each is mapped to an installed face with the
// same metrics (the IPA fonts for the Japanese ones), so Japanese text never
// shows as empty boxes and the stored face names stay the Windows ones.
namespace fontsubstitution {

// The installed faces that stand in for a Windows face, best first; empty
// for a face the program does not know.
QStringList substitutesFor(const QString &windowsFace);

// Registers every mapping with QFont; call once after the application exists.
void install();

// The family a face is drawn in: the face itself where it is installed,
// else the first installed face that stands in for it, else the face (and
// the font system then picks one). Drawing in the installed family directly
// spares the font system its search for a family that is not there, which
// costs a start milliseconds; the glyphs are the same.
QString drawnFamily(const QString &face);

} // namespace fontsubstitution

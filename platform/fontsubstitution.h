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

} // namespace fontsubstitution

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace fontfamilies {

// The families the font chooser lists, as a user of the desktop knows them:
// the font system names a family that several foundries make once per
// foundry ("C059 [UKWN]", "C059 [urw]"); the list shows it once, by its
// name alone ("C059"), which chooses the same family. Order is kept.
QStringList shown(const QStringList &families);

} // namespace fontfamilies

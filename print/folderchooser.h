// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Which folder the user wants files written into: the folder dialog, behind
// a seam so that tests answer it instead of a person (as savefilechooser).
namespace folderchooser {

// Returns the chosen folder, or an empty text when the user cancelled.
using Chooser =
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposed)>;

void setInstance(Chooser chooser);
void resetInstance();

QString choose(QWidget *parent, const QString &caption, const QString &proposed);

} // namespace folderchooser

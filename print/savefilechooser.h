// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Where the user wants a file saved: the save dialog, behind a seam so that
// tests answer it instead of a person.
namespace savefilechooser {

// Returns the chosen path, or an empty text when the user cancelled.
// `proposedPath` is the folder and name the dialog opens with.
using Chooser = std::function<QString(QWidget *parent, const QString &caption,
                                      const QString &proposedPath, const QString &filter)>;

// Stands `chooser` in for the save dialog until resetInstance().
void setInstance(Chooser chooser);
void resetInstance();

QString choose(QWidget *parent, const QString &caption, const QString &proposedPath,
               const QString &filter);

} // namespace savefilechooser

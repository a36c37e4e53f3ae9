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

// Replaces the chooser; returns the previous one. An empty one restores the
// save dialog.
Chooser setChooser(Chooser chooser);

QString choose(QWidget *parent, const QString &caption, const QString &proposedPath,
               const QString &filter);

} // namespace savefilechooser

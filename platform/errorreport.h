// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// The application's default error report: an error ends the event handler
// that raised it and is shown in a message box captioned "Tavrint".
// The box itself is drawn by the shell; tests install a presenter of their
// own to capture the text instead of blocking on a modal box.
namespace errorreport {

// The text as shown: "." is appended when the last character sorts after ".".
QString displayText(const QString &message);

using Presenter = std::function<void(const QString &displayText)>;

// Makes `presenter` the one errors are shown through; resetInstance()
// leaves none.
void setInstance(Presenter presenter);
void resetInstance();

// Shows the error through the current presenter (nothing when none is set).
void show(const QString &message);

} // namespace errorreport

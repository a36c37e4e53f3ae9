// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// What the user is told of something that went well (the faxes a server
// took, with their job ids): a message box captioned "Tavrint", as the
// error report's, and the same seam for tests to read it instead.
namespace noticereport {

using Presenter = std::function<void(const QString &text)>;

void setInstance(Presenter presenter);
void resetInstance();

// Shows the text through the current presenter (nothing when none is set).
void show(const QString &text);

} // namespace noticereport

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shows errors of the application's default error report in a message box:
// caption "Tavrint", the error icon and an OK button.
void installMessageBoxErrorPresenter();

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shows errors of the application's default error report in a message box:
// caption "Tavrint", the error icon and an OK button.
void installMessageBoxErrorPresenter();
// Shows the notices of the notice report in the same way, with the
// information icon.
void installMessageBoxNoticePresenter();

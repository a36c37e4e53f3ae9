// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace qttranslations {

// Qt's own texts (the save dialog's "保存" and "キャンセル", message box and
// progress buttons) in Japanese, whatever the locale says: every word the
// window shows is Japanese, and a dialog in English beside it is a dialog
// from another program. Loads Qt's qtbase_ja catalogue from Qt's
// translations folder; false when it is not installed (the dialogs then
// stay in English).
bool installJapanese(QCoreApplication &application);

} // namespace qttranslations

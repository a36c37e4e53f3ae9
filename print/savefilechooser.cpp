// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/savefilechooser.h"

#include <QFileDialog>

namespace savefilechooser {

namespace {
Chooser &current()
{
    static Chooser chooser;
    return chooser;
}
} // namespace

void setInstance(Chooser chooser)
{
    current() = std::move(chooser);
}

void resetInstance()
{
    current() = nullptr;
}

QString choose(QWidget *parent, const QString &caption, const QString &proposedPath,
               const QString &filter)
{
    if (current())
        return current()(parent, caption, proposedPath, filter);
    // The dialog asks before it lets an existing file be replaced.
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

} // namespace savefilechooser

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/folderchooser.h"

#include <QFileDialog>

namespace folderchooser {

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

QString choose(QWidget *parent, const QString &caption, const QString &proposed)
{
    if (current())
        return current()(parent, caption, proposed);
    return QFileDialog::getExistingDirectory(parent, caption, proposed);
}

} // namespace folderchooser

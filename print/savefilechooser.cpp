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

Chooser setChooser(Chooser chooser)
{
    Chooser previous = std::move(current());
    current() = std::move(chooser);
    return previous;
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

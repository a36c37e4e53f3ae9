// The receiving side of a second start's hand-off.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "shell/panel.h"

#include <QLineEdit>

namespace {
// The addressee memo as a second start finds it: the page is the panel
// captioned " " among the window's children, frame B the one captioned " "
// among the page's, then its inner panel and the memo inside that.
template <typename T> T *firstChild(QWidget *parent, const std::function<bool(T *)> &accept)
{
    if (!parent)
        return nullptr;
    for (QObject *o : parent->children()) {
        if (auto *t = qobject_cast<T *>(o); t && accept(t))
            return t;
    }
    return nullptr;
}
} // namespace

void TForm1::receiveHandOff(const QString &marker, const QString &addressee)
{
    // The marker goes first, into the only edit field among the window's own
    // children; its change handler recolours frame B.
    if (auto *edit = firstChild<QLineEdit>(this, [](QLineEdit *) { return true; }))
        edit->setText(marker);

    auto captioned = [](Panel *p) { return p->caption() == QLatin1String(" "); };
    Panel *pagePanel = firstChild<Panel>(this, captioned);
    Panel *frameB = firstChild<Panel>(pagePanel, captioned);
    Panel *inner = firstChild<Panel>(frameB, [](Panel *) { return true; });
    if (auto *memo = firstChild<BoxMemo>(inner, [](BoxMemo *) { return true; }))
        memo->setText(addressee);
}

void TForm1::Edit2Change()
{
    const unsigned colour = boxtable::kHandOffColour.value();
    frameColours[boxtable::kAddresseeBox] = colour;
    frames[boxtable::kAddresseeBox]->setColour(
        QColor(boxtable::kHandOffColour.r, boxtable::kHandOffColour.g, boxtable::kHandOffColour.b));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxtable.h"

namespace boxtable {

namespace {
const Box kBoxes[kBoxCount] = {
    {'A', "PanelA", "Panel1", "Memo1", "本文", {120, 160, 180}, QRect(40, 187, 346, 84)},
    {'B', "PanelB", "Panel2", "Memo2", "宛名", {250, 250, 10}, QRect(30, 25, 201, 71)},
    {'C', "PanelC", "Panel3", "Memo3", "署名", {180, 120, 120}, QRect(30, 475, 201, 106)},
    {'D', "PanelD", "Panel4", "Memo4", "発行日", {60, 60, 255}, QRect(295, 25, 126, 35)},
    {'E', "PanelE", "Panel5", "Memo5", "標題", {250, 220, 220}, QRect(151, 130, 145, 35)},
    {'F', "PanelF", "Panel6", "Memo6", "記書き", {0, 128, 0}, QRect(100, 320, 226, 71)},
    {'G', "PanelG", "Panel7", "Memo7", "記", {250, 220, 220}, QRect(185, 275, 36, 35)},
    {'H', "PanelH", "Panel9", "Memo8", "結", {250, 220, 220}, QRect(340, 440, 61, 35)},
};
} // namespace

const Box &box(int index)
{
    Q_ASSERT(index >= 0 && index < kBoxCount);
    return kBoxes[index];
}

QString fieldName(int index)
{
    return QString::fromUtf8(box(index).field);
}

int indexFromFrameName(QStringView name)
{
    if (name.size() != 6 || !name.startsWith(QLatin1String("Panel")))
        return -1;
    const char16_t last = name.back().unicode();
    return (last >= u'A' && last <= u'H') ? int(last - u'A') : -1;
}

int indexFromMemoName(QStringView name)
{
    if (name.size() != 5 || !name.startsWith(QLatin1String("Memo")))
        return -1;
    const char16_t last = name.back().unicode();
    return (last >= u'1' && last <= u'8') ? int(last - u'1') : -1;
}

} // namespace boxtable

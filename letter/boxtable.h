#pragma once

#include <QRect>
#include <QString>
#include <QStringView>

#include <array>

// The eight letter boxes. The box index (0..7) is the key every part of the
// program names a box by: letters A..H, box numbers 1..8, settings keys
// "mm1".."mm8", text files "1本文.txt".. and the widget names.
namespace boxtable {

constexpr int kBoxCount = 8;

// The page the design rectangles were drawn on.
constexpr int kDesignPageWidth = 430;
constexpr int kDesignPageHeight = 606;
constexpr int kDesignBorderWidth = 10;

struct Rgb
{
    int r, g, b;
    // Windows colour value: red in the low byte.
    constexpr unsigned value() const { return unsigned(r) | unsigned(g) << 8 | unsigned(b) << 16; }
};

struct Box
{
    char letter;       // 'A'..'H'
    const char *frame; // "PanelA"
    const char *inner; // "Panel1" ("Panel9" for H: Panel8 is the list's panel)
    const char *memo;  // "Memo1"
    const char *field; // field name, UTF-8: "本文"
    Rgb frameColour;   // edit-mode colour
    QRect design;      // frame on the 430 x 606 design page
};

const Box &box(int index);
QString fieldName(int index);

// Box number 1..8 as used in key prefixes and file names.
constexpr int boxNumber(int index)
{
    return index + 1;
}

// "PanelA".."PanelH" -> 0..7, -1 otherwise.
int indexFromFrameName(QStringView name);
// "Memo1".."Memo8" -> 0..7, -1 otherwise.
int indexFromMemoName(QStringView name);

// The title group: title (E), notes heading (G), closing mark (H).
constexpr bool inTitleGroup(int index)
{
    return index == 4 || index == 6 || index == 7;
}

// Frames in their stacking (creation) order: B at the bottom, H on top.
constexpr std::array<int, kBoxCount> kCreationOrder = {1, 0, 2, 3, 4, 5, 6, 7};

// Box D shows the issue date and has no text file.
constexpr int kIssueDateBox = 3;
constexpr int kAddresseeBox = 1;
constexpr int kNotesBox = 5;

// Hand-off colour of frame B.
constexpr Rgb kHandOffColour{255, 190, 110};

} // namespace boxtable

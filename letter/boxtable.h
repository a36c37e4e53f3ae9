// SPDX-License-Identifier: GPL-3.0-or-later
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

// What each box holds; a role's value is its box index.
enum class Role {
    Body,
    Addressee,
    Signature,
    IssueDate,
    Title,
    ItemizedNotes,
    NotesHeading,
    ClosingMark,
};

constexpr int indexOf(Role role)
{
    return static_cast<int>(role);
}

// Box D shows the issue date and has no text file.
constexpr int kIssueDateBox = indexOf(Role::IssueDate);
constexpr int kAddresseeBox = indexOf(Role::Addressee);
constexpr int kNotesBox = indexOf(Role::ItemizedNotes);

// The title group: title (E), notes heading (G), closing mark (H) share one
// face, and G and H follow E's size.
constexpr std::array<int, 3> kTitleGroup = {indexOf(Role::Title), indexOf(Role::NotesHeading),
                                            indexOf(Role::ClosingMark)};
constexpr bool inTitleGroup(int index)
{
    for (int member : kTitleGroup) {
        if (member == index)
            return true;
    }
    return false;
}

// The boxes the preview brings to the front, in this order (H on top).
constexpr std::array<int, 4> kRaisedInPreview = {indexOf(Role::IssueDate), indexOf(Role::Title),
                                                 indexOf(Role::NotesHeading),
                                                 indexOf(Role::ClosingMark)};

// Frames kept in the page's horizontal centre, in this order: E, F, G.
constexpr std::array<int, 3> kCentredBoxes = {indexOf(Role::Title), indexOf(Role::ItemizedNotes),
                                              indexOf(Role::NotesHeading)};

// The boxes with a text file, in load and save order: all but the issue
// date (box numbers 1, 2, 3, 5, 6, 7, 8).
constexpr std::array<int, 7> kTextFileBoxes = {
    indexOf(Role::Body),       indexOf(Role::Addressee),     indexOf(Role::Signature),
    indexOf(Role::Title),      indexOf(Role::ItemizedNotes), indexOf(Role::NotesHeading),
    indexOf(Role::ClosingMark)};

// Frames in their stacking (creation) order: B at the bottom, H on top.
constexpr std::array<int, kBoxCount> kCreationOrder = {
    indexOf(Role::Addressee),    indexOf(Role::Body),       indexOf(Role::Signature),
    indexOf(Role::IssueDate),    indexOf(Role::Title),      indexOf(Role::ItemizedNotes),
    indexOf(Role::NotesHeading), indexOf(Role::ClosingMark)};

// Hand-off colour of frame B.
constexpr Rgb kHandOffColour{255, 190, 110};

} // namespace boxtable

// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows the letter's boxes: every change of a box goes into
// the letter and onto the page together, and what is typed into a text area
// goes into the letter as it is typed.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "shell/panel.h"

#include <QLabel>
#include <QToolButton>

namespace {
// Whether the box prints other than typed: a customer's field or the date.
bool printsFilled(const QString &text)
{
    return letterfields::hasFields(text) || text.contains(datestyle::fieldMarker());
}
} // namespace

void TForm1::setFramePageRect(int box, const QRect &rect)
{
    if (m_letter.box(box).frame == rect)
        return;
    m_letter.setFrame(box, rect);
    placeFrame(box);
    noteLetterChanged();
}

void TForm1::placeFrame(int box)
{
    // The page has a one-pixel border; the letter counts frames from the
    // area inside it.
    const int off = Pnl0->clientOffset();
    const QRect target = m_letter.box(box).frame.translated(off, off);
    if (frames[box]->geometry() != target)
        frames[box]->setGeometry(target);
    layoutFrame(box);
}

void TForm1::layoutFrame(int box)
{
    Panel *frame = frames[box];
    const int bw = frame->borderWidth();
    const QRect inside(bw, bw, qMax(0, frame->width() - 2 * bw), qMax(0, frame->height() - 2 * bw));
    innerPanels[box]->setGeometry(inside);
    memos[box]->setGeometry(0, 0, inside.width(), inside.height());
}

void TForm1::setBoxText(int box, const QString &text)
{
    m_letter.setText(box, text);
    showBoxText(box);
    noteLetterChanged();
}

void TForm1::showBoxText(int box)
{
    // The preview shows a box's fields filled, as they print; edit mode
    // shows them as typed, so that they can be edited.
    const bool printed = spbA->isChecked() && printsFilled(m_letter.box(box).text);
    m_showingText = true;
    memos[box]->setText(printed ? m_letter.printedText(box) : m_letter.box(box).text);
    m_showingText = false;
    m_showsPrintedText[box] = printed;
}

void TForm1::showBoxTexts()
{
    // Only the boxes with fields look different in the preview: the others
    // keep their text area as it is, caret and undo included.
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        const bool printed = spbA->isChecked() && printsFilled(m_letter.box(box).text);
        if (printed || m_showsPrintedText[box])
            showBoxText(box);
    }
}

void TForm1::setCustomer(std::optional<letterfields::Values> values)
{
    m_letter.setCustomer(std::move(values));
    showBoxTexts();
}

void TForm1::takeTypedText(int box)
{
    if (m_showingText)
        return;
    m_letter.setText(box, memos[box]->text());
    noteLetterChanged();
}

void TForm1::setBoxFont(int box, const QFont &font)
{
    m_letter.setFace(box, font.family());
    m_letter.setPixelHeight(box, font.pixelSize());
    memos[box]->setFont(m_letter.font(box));
    noteLetterChanged();
}

void TForm1::setBoxPoints(int box, int points)
{
    m_letter.setPoints(box, points);
    memos[box]->setFont(m_letter.font(box));
    noteLetterChanged();
}

void TForm1::showBox(int box)
{
    frames[box]->setBorderWidth(m_letter.page().borderWidth);
    memos[box]->setFont(m_letter.font(box));
    placeFrame(box);
    showBoxText(box);
}

void TForm1::setCurrentBox(int box)
{
    m_currentBox = box;
    Label1->setText(boxtable::fieldName(box));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// How the window shows the letter: every control that shows a part of the
// letter follows the document's signal for that part, and what is typed
// into a text area goes to the document as it is typed.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "shell/panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace {
// Whether the box prints other than typed: a customer's field, the date or
// the page count.
bool printsFilled(const QString &text)
{
    return letterfields::hasFields(text) || text.contains(datestyle::fieldMarker()) ||
           text.contains(letterfields::marker(letterfields::kPageCountName));
}
} // namespace

void TForm1::bindDocument()
{
    const LetterDocument *doc = &m_document;
    connect(doc, &LetterDocument::textChanged, this, &TForm1::showBoxText);
    connect(doc, &LetterDocument::frameChanged, this, &TForm1::placeFrame);
    connect(doc, &LetterDocument::fontChanged, this, &TForm1::showBoxFont);
    connect(doc, &LetterDocument::frameColourChanged, this, &TForm1::showFrameColour);
    connect(doc, &LetterDocument::customerChanged, this, &TForm1::showBoxTexts);
    connect(doc, &LetterDocument::lineSpacingChanged, this, &TForm1::showLineSpacing);
    connect(doc, &LetterDocument::storedModeChanged, this, &TForm1::showStoredMode);
    connect(doc, &LetterDocument::currentBoxChanged, this,
            [this](int box) { Label1->setText(boxtable::fieldName(box)); });
    connect(doc, &LetterDocument::handOffMarkerChanged, this, [this](const QString &marker) {
        if (Edit2->text() != marker)
            Edit2->setText(marker);
    });
    connect(doc, &LetterDocument::reloaded, this, [this] {
        for (int box = 0; box < boxtable::kBoxCount; ++box)
            showBox(box);
    });
    // Whatever changes what a close would save is kept aside soon after.
    connect(doc, &LetterDocument::changed, this, &TForm1::scheduleRecoveryCopy);
}

void TForm1::placeFrame(int box)
{
    // The page has a one-pixel border; the letter counts frames from the
    // area inside it.
    const int off = Pnl0->clientOffset();
    const QRect target = m_document.letter().box(box).frame.translated(off, off);
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

void TForm1::showBoxText(int box)
{
    // The preview shows a box's fields filled, as they print; edit mode
    // shows them as typed, so that they can be edited.
    const LetterModel &letter = m_document.letter();
    const bool printed = spbA->isChecked() && printsFilled(letter.box(box).text);
    const QString shown = printed ? letter.printedText(box) : letter.box(box).text;
    // A text area that shows the letter's text already keeps its caret and
    // undo: this is the text just typed into it.
    m_showsPrintedText[box] = printed;
    if (memos[box]->text() != shown)
        memos[box]->setText(shown);
}

void TForm1::showBoxTexts()
{
    // Only the boxes with fields look different in the preview.
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        const bool printed = spbA->isChecked() && printsFilled(m_document.letter().box(box).text);
        if (printed || m_showsPrintedText[box])
            showBoxText(box);
    }
}

void TForm1::takeTypedText(int box)
{
    // What a box shows filled in the preview is not the letter's text.
    if (!m_showsPrintedText[box])
        m_document.setText(box, memos[box]->text());
}

void TForm1::showBoxFont(int box)
{
    memos[box]->setFont(m_document.letter().font(box));
}

void TForm1::showFrameColour(int box)
{
    // The preview's frames are white whatever their colour.
    const boxtable::Rgb c = m_document.frameColour(box);
    frames[box]->setColour(spbA->isChecked() ? QColor(Qt::white) : QColor(c.r, c.g, c.b));
}

void TForm1::showBox(int box)
{
    frames[box]->setBorderWidth(m_document.letter().page().borderWidth);
    showBoxFont(box);
    placeFrame(box);
    showBoxText(box);
}

void TForm1::showLineSpacing()
{
    const QString shown = QString::number(m_document.letter().lineSpacingDigit());
    if (Edit1->text() != shown)
        Edit1->setText(shown);
}

void TForm1::showStoredMode(StoredMode mode)
{
    // The option of the mode shows checked. Its handler is what set the
    // mode, so it does not run again.
    QRadioButton *option = nullptr;
    switch (mode) {
    case StoredMode::Initial:
        option = RadioButton1;
        break;
    case StoredMode::TextList:
        option = RadioButton2;
        break;
    case StoredMode::WorkbookList:
        option = RadioButton3;
        break;
    case StoredMode::MergeWorkbook:
        option = RadioButton4;
        break;
    case StoredMode::NotChosen:
        break;
    }
    if (option && !option->isChecked()) {
        const QSignalBlocker quiet(option);
        option->setChecked(true);
    }
}

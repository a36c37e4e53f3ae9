// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/letterdocument.h"

#include "letter/boxfontrule.h"
#include "letter/centring.h"
#include "letter/framezone.h"
#include "letter/namedletter.h"
#include "platform/cp932.h"
#include "platform/pdffiles.h"

#include <algorithm>

LetterDocument::LetterDocument(const QString &programDir, const QString &executableName,
                               const ScreenMetrics &screen, QObject *parent)
    : QObject(parent), m_letter(programDir, executableName, screen)
{
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        m_frameColours[box] = boxtable::box(box).frameColour;
}

void LetterDocument::load(const QDate &today, QStringList *errors)
{
    m_letter.load(today, errors);
    emit reloaded();
    emit changed();
}

Result<void> LetterDocument::reloadAddressee()
{
    const QString before = m_letter.box(boxtable::kAddresseeBox).text;
    const Result<void> loaded = m_letter.LoadBoxText(boxtable::kAddresseeBox);
    if (m_letter.box(boxtable::kAddresseeBox).text != before) {
        emit textChanged(boxtable::kAddresseeBox);
        emit changed();
    }
    return loaded;
}

void LetterDocument::setText(int box, const QString &text)
{
    // A text area hands back what it shows after every keystroke: the same
    // text again is no change.
    if (cp932::normalizeLineBreaks(cp932::representable(text)) == m_letter.box(box).text)
        return;
    m_letter.setText(box, text);
    emit textChanged(box);
    emit changed();
}

void LetterDocument::setFrameOnly(int box, const QRect &frame)
{
    if (m_letter.box(box).frame == frame)
        return;
    m_letter.setFrame(box, frame);
    emit frameChanged(box);
}

void LetterDocument::setFrame(int box, const QRect &frame)
{
    const QRect before = m_letter.box(box).frame;
    setFrameOnly(box, frame);
    if (m_letter.box(box).frame != before)
        emit changed();
}

void LetterDocument::finishFrame(int box, int minimumHeight)
{
    setFrame(box, framezone::limited(m_letter.box(box).frame, minimumHeight));
    centreFrames();
}

void LetterDocument::centreFrames()
{
    bool moved = false;
    for (int box : centring::kCentredBoxes) {
        QRect r = m_letter.box(box).frame;
        r.moveLeft(centring::centredLeft(m_letter.page().pageWidth, r.width()));
        moved = moved || r != m_letter.box(box).frame;
        setFrameOnly(box, r);
    }
    if (moved)
        emit changed();
}

void LetterDocument::setPixelHeightOnly(int box, int pixelHeight)
{
    m_letter.setPixelHeight(box, pixelHeight);
    emit fontChanged(box);
}

void LetterDocument::setFont(int box, const QString &face, int pixelHeight)
{
    const QList<int> boxes = boxtable::inTitleGroup(box) ? QList<int>(boxtable::kTitleGroup.begin(),
                                                                      boxtable::kTitleGroup.end())
                                                         : QList<int>{box};
    for (int member : boxes) {
        m_letter.setFace(member, face);
        setPixelHeightOnly(member, pixelHeight);
    }
    if (boxtable::inTitleGroup(box)) {
        using boxtable::Role;
        const int title = m_letter.points(boxtable::indexOf(Role::Title));
        const int heading = boxtable::indexOf(Role::NotesHeading);
        m_letter.setPoints(heading, boxfontrule::notesHeadingPoints(title));
        emit fontChanged(heading);
        const int mark = boxtable::indexOf(Role::ClosingMark);
        m_letter.setPoints(mark, m_letter.points(heading));
        emit fontChanged(mark);
    }
    emit changed();
}

void LetterDocument::setPoints(int box, int points)
{
    m_letter.setPoints(box, points);
    emit fontChanged(box);
    emit changed();
}

void LetterDocument::setCurrentBox(int box)
{
    if (box < 0 || box >= boxtable::kBoxCount)
        return;
    m_currentBox = box;
    emit currentBoxChanged(box);
}

void LetterDocument::setLineSpacingDigit(int digit)
{
    const int held = std::clamp(digit, 0, 9);
    if (held == m_letter.lineSpacingDigit())
        return;
    m_letter.setLineSpacingDigit(held);
    emit lineSpacingChanged(held);
}

void LetterDocument::stepLineSpacing(int steps)
{
    setLineSpacingDigit(m_letter.lineSpacingDigit() + steps);
}

void LetterDocument::setStoredMode(StoredMode mode)
{
    setCustomer(std::nullopt);
    if (mode == m_letter.storedMode())
        return;
    m_letter.setStoredMode(mode);
    emit storedModeChanged(mode);
    // The stored mode decides whether the close saves box B.
    emit changed();
}

void LetterDocument::setHandOffMarker(const QString &marker)
{
    if (marker == m_letter.handOffMarker())
        return;
    m_letter.setHandOffMarker(marker);
    m_frameColours[boxtable::kAddresseeBox] = boxtable::kHandOffColour;
    emit handOffMarkerChanged(marker);
    emit frameColourChanged(boxtable::kAddresseeBox);
    emit changed();
}

void LetterDocument::setCustomer(std::optional<letterfields::Values> values)
{
    if (!values && !m_letter.customer())
        return;
    m_letter.setCustomer(std::move(values));
    emit customerChanged();
}

void LetterDocument::setAttachments(const QStringList &paths)
{
    int pages = 0;
    for (const QString &path : paths) {
        if (const Result<int> counted = pdffiles::pageCount(path))
            pages += *counted;
    }
    if (paths == m_letter.attachments() && pages == m_letter.attachedPages())
        return;
    m_letter.setAttachments(paths, pages);
    emit attachmentsChanged();
    emit changed();
}

void LetterDocument::setWindowPos(QPoint pos)
{
    if (pos == m_letter.windowPos())
        return;
    m_letter.setWindowPos(pos);
    emit changed();
}

void LetterDocument::setWindowPositionKnown(bool known)
{
    m_letter.setWindowPositionKnown(known);
}

void LetterDocument::setDateStyle(datestyle::Style style, const QDate &today)
{
    if (style == m_letter.dateStyle())
        return;
    m_letter.setDateStyle(style, today);
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        if (box == boxtable::kIssueDateBox ||
            m_letter.box(box).text.contains(datestyle::fieldMarker()))
            emit textChanged(box);
    }
    emit changed();
}

void LetterDocument::applyNamedLetter(const NamedLetter &named, const QDate &today)
{
    named.applyTo(m_letter, today);
    emit reloaded();
    emit changed();
}

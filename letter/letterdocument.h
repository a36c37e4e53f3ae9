// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"
#include "letter/lettermodel.h"

#include <QObject>

struct NamedLetter;

#include <array>
#include <optional>

// The letter being edited: it owns the letter (LetterModel) and the state of
// the editing session around it (the current box, each frame's edit-mode
// colour), is the one place that changes them, and holds the letter's
// rules: the title group shares one face with its heading and mark at 85 %,
// frames E, F and G stay centred, the line spacing digit stays 0..9, a
// hand-off marks frame B. Views ask it for a change and show what it signals;
// whatever must follow every change of what a close would save (the
// recovery copy) follows changed().
class LetterDocument : public QObject
{
    Q_OBJECT
public:
    LetterDocument(const QString &programDir, const QString &executableName,
                   const ScreenMetrics &screen, QObject *parent = nullptr);

    const LetterModel &letter() const { return m_letter; }

    // Start-up's reads (see LetterModel::load); signals reloaded().
    void load(const QDate &today, QStringList *errors);
    // The addressee as last saved, read again; a missing file leaves it.
    Result<void> reloadAddressee();

    // ---- the boxes ----
    // The texts are taken as a box shows them: line breaks CR LF, what code
    // page 932 lacks as "?".
    void setText(int box, const QString &text);
    // The frame follows the mouse without limits while it is dragged;
    // finishFrame applies them when the button is released.
    void setFrame(int box, const QRect &frame);
    // The frame held to its least size (a screen's minimum height, a width
    // that leaves the rim), then frames E, F and G centred again.
    void finishFrame(int box, int minimumHeight);
    // Frames E, F and G in the horizontal centre of the page.
    void centreFrames();
    // A face and character height for a box, bold and italic never; a box
    // of the title group gives its face to the group and its size decides
    // the heading's and the mark's.
    void setFont(int box, const QString &face, int pixelHeight);
    void setPoints(int box, int points);

    // ---- the session ----
    int currentBox() const { return m_currentBox; }
    void setCurrentBox(int box);
    // Each frame's edit-mode colour.
    boxtable::Rgb frameColour(int box) const { return m_frameColours[box]; }

    // 0..9; anything else is held to the nearer end.
    void setLineSpacingDigit(int digit);
    void stepLineSpacing(int steps);

    // The data source mode last processed; no customer is chosen in a mode
    // just entered.
    void setStoredMode(StoredMode mode);
    // A second start's marker: after it the addressee is not saved for the
    // rest of the run, and frame B shows the hand-off colour.
    void setHandOffMarker(const QString &marker);
    // The customer whose cells fill the fields; none after a hand-off.
    void setCustomer(std::optional<letterfields::Values> values);

    // The PDF files that go out after the cover, in order; their pages are
    // counted now for 《枚数》, and again when the letter goes out.
    void setAttachments(const QStringList &paths);

    void setWindowPos(QPoint pos);
    void setWindowPositionKnown(bool known);

    // 西暦 or 和暦: box D shows `today` in it, as does every 《日付》.
    void setDateStyle(datestyle::Style style, const QDate &today);
    // A letter kept under a name put into this one (NamedLetter::applyTo);
    // signals reloaded().
    void applyNamedLetter(const NamedLetter &named, const QDate &today);

signals:
    void textChanged(int box);
    void frameChanged(int box);
    void fontChanged(int box);
    void frameColourChanged(int box);
    void currentBoxChanged(int box);
    void lineSpacingChanged(int digit);
    void storedModeChanged(StoredMode mode);
    void handOffMarkerChanged(const QString &marker);
    void customerChanged();
    // The attachment list or its page count; 《枚数》 prints anew.
    void attachmentsChanged();
    // Everything may differ: the letter was loaded.
    void reloaded();
    // What a close would write may differ now.
    void changed();

private:
    void setFrameOnly(int box, const QRect &frame);
    void setPixelHeightOnly(int box, int pixelHeight);

    LetterModel m_letter;
    int m_currentBox = 0;
    std::array<boxtable::Rgb, boxtable::kBoxCount> m_frameColours{};
};

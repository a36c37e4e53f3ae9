// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QFont>

class QLabel;
class QLineEdit;
class QListWidget;

// The chooser of the box fonts: face, style and a size of 8..24 points, with
// OK, Cancel and an Apply that can be pressed any number of times while the
// dialog is open. It works on one font value of its own, the chosen font,
// which it opens with and returns in. Attributes it offers no choice for
// (underline, strike-out, ...) pass through unchanged. The size is carried
// as a pixel size (the character height) at the screen's pixels per inch.
class FontDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMinPoints = 8;
    static constexpr int kMaxPoints = 24;

    explicit FontDialog(QWidget *parent);

    QFont chosenFont() const { return m_chosen; }
    // Only stores the value; the lists take it up when the dialog next opens,
    // so a change made from an applied() handler does not alter the choice
    // on screen.
    void setChosenFont(const QFont &font) { m_chosen = font; }

    // Opens modally from the chosen font. True on OK, with the choice stored
    // into the chosen font; false on Cancel, leaving it as it was (or as the
    // last Apply stored it).
    bool execute();

signals:
    // Apply has stored the current choice into the chosen font.
    void applied();

private:
    // The lists, the sample and the buttons are built when the dialog first
    // opens: the window's first frame does not wait for them (the standard
    // buttons alone look up the icon theme).
    void buildParts();
    void showChosenFont();
    void storeChoice();
    QFont choice() const;
    int typedPoints() const;
    void holdTypedSize();
    void sizeTyped(const QString &text);
    void updateSample();

    QFont m_chosen;
    QListWidget *m_familyList = nullptr;
    QListWidget *m_styleList = nullptr;
    QLineEdit *m_sizeEdit = nullptr;
    QListWidget *m_sizeList = nullptr;
    QLabel *m_sample = nullptr;
};

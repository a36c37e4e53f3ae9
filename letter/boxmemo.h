// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

class QMenu;

// The text area of a letter box: word-wrapping, no scroll bars, no border,
// no document margin (the margin would shift both the wrapping and the
// printed position). Characters that code page 932 cannot hold are replaced
// by "?" as they enter, so the box shows exactly what is saved and printed.
// Text goes in and out with CR LF line breaks, as the box text files hold it.
// A text with a line longer than any box can show is shown up to a point
// (see overlongline.h); the unseen rest is handed back by text() for as long
// as the shown text still ends where it was cut.
// While the box is empty and editable it shows its role (本文, 宛名, ...) in
// light grey; that hint is never part of the text, so it is neither printed
// nor saved, and it disappears with the page's input in preview.
// Its context menu holds the field chooser, "差し込み項目", which puts a
// field (《FAX》, ...) at the caret, and beside it the date field 《日付》.
class BoxMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    BoxMemo(QWidget *parent, const QString &objectName);

    QString text() const;              // lines joined by CR LF
    void setText(const QString &text); // any line breaks; replaces everything

    static QString fieldMenuTitle(); // "差し込み項目"

signals:
    // The context menu is about to open: the window may add to it.
    void contextMenuAboutToShow(QMenu *menu);

protected:
    void changeEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;

private:
    void showRoleWhileEditable();

    QString m_unseenRest; // line breaks as LF
    QString m_cutAnchor;  // the shown text's end when it was cut
    QString m_role;       // the field name, from the memo's name
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxmemo.h"

#include "letter/boxtable.h"
#include "letter/datestyle.h"
#include "letter/letterfields.h"
#include "letter/overlongline.h"
#include "platform/cp932.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>

#include <memory>

BoxMemo::BoxMemo(QWidget *parent, const QString &objectName) : QPlainTextEdit(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(0);
    setTabChangesFocus(false);
    setFocusPolicy(Qt::ClickFocus); // not a tab stop
    setBackgroundVisible(false);
    // The preview disables the page; the text must still look as printed,
    // so the disabled look is the normal one.
    QPalette pal = palette();
    const QColor text = pal.color(QPalette::Active, QPalette::WindowText);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, Qt::white);
        pal.setColor(group, QPalette::Text, text);
    }
    // The role hint is lighter than any text a user would print.
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::PlaceholderText, QColor(0xB4, 0xB4, 0xB4));
    setPalette(pal);

    // "Memo1" .. "Memo8" hold boxes 0 .. 7.
    bool ok = false;
    const int box = objectName.mid(4).toInt(&ok) - 1;
    if (ok && box >= 0 && box < boxtable::kBoxCount)
        m_role = boxtable::fieldName(box);
    showRoleWhileEditable();
}

void BoxMemo::showRoleWhileEditable()
{
    // The preview disables the page: the boxes then look as printed.
    setPlaceholderText(isEnabled() ? m_role : QString());
}

void BoxMemo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        showRoleWhileEditable();
    QPlainTextEdit::changeEvent(event);
}

QString BoxMemo::text() const
{
    QString plain = document()->toRawText();
    plain.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    plain.replace(QChar::LineSeparator, QLatin1Char('\n'));
    // The unseen rest belongs after the shown text only while the end that
    // was cut is still there; once the user has replaced or cleared it, the
    // box holds what it shows.
    if (!m_unseenRest.isEmpty() && plain.endsWith(m_cutAnchor))
        plain += m_unseenRest;
    return cp932::normalizeLineBreaks(plain);
}

void BoxMemo::setText(const QString &text)
{
    QString clean = cp932::representable(text);
    clean.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    clean.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype shown = overlongline::shownLength(clean);
    m_unseenRest = clean.mid(shown);
    clean.truncate(shown);
    m_cutAnchor = m_unseenRest.isEmpty() ? QString() : clean.right(64);
    setPlainText(clean);
}

void BoxMemo::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        const QString clean = cp932::representable(typed);
        if (clean != typed) {
            insertPlainText(clean);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void BoxMemo::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString clean = cp932::representable(commit);
    if (clean == commit) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(clean, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&replaced);
}

bool BoxMemo::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void BoxMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    QString clean = cp932::representable(source->text());
    clean.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    clean.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    insertPlainText(clean);
}

QString BoxMemo::fieldMenuTitle()
{
    return QStringLiteral("差し込み項目");
}

void BoxMemo::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    menu->addSeparator();
    QMenu *fields = menu->addMenu(fieldMenuTitle());
    fields->setObjectName(QStringLiteral("fieldMenu"));
    for (const letterfields::Field &field : letterfields::kFields) {
        const QString marker = letterfields::marker(QStringView(field.name));
        connect(fields->addAction(marker), &QAction::triggered, this,
                [this, marker] { insertPlainText(marker); });
    }
    fields->setEnabled(!isReadOnly());
    // Today's date in the letter's style is no customer's cell: it sits
    // beside the customer fields, and prints with or without a customer.
    // So is the page count that goes out with the letter.
    const struct
    {
        QString marker;
        QString what;
        const char *name;
    } letterFields[] = {
        {datestyle::fieldMarker(), QStringLiteral(" 今日の日付"), "dateField"},
        {letterfields::marker(letterfields::kPageCountName),
         QStringLiteral(" 送信枚数（本状を含む）"), "pageCountField"},
    };
    for (const auto &field : letterFields) {
        QAction *action = menu->addAction(field.marker + field.what);
        action->setObjectName(QLatin1String(field.name));
        action->setEnabled(!isReadOnly());
        connect(action, &QAction::triggered, this,
                [this, marker = field.marker] { insertPlainText(marker); });
    }
    emit contextMenuAboutToShow(menu.get());
    menu->exec(event->globalPos());
}

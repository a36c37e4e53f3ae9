// SPDX-License-Identifier: GPL-3.0-or-later
// Named letters in the window: the menu of a right click on a bare spot of
// the page or the left panel keeps the letter under a name, switches to a
// kept one, renames and deletes them; the title names the current one. Box
// D's own menu chooses how the letter writes its dates.

#include "shell/tform1.h"
#include "shell/windowtexts.h"

#include "letter/boxmemo.h"
#include "letter/namedletters.h"
#include "platform/clock.h"
#include "platform/errorreport.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace {
// What a menu of the letters' names does with the one chosen.
enum Purpose { Open, Rename, Delete };

QAction *separator(QObject *parent)
{
    auto *action = new QAction(parent);
    action->setSeparator(true);
    return action;
}

// False (after the error report) when `result` failed.
bool reported(const Result<void> &result)
{
    if (!result)
        errorreport::show(result.error());
    return result.ok();
}
} // namespace

void TForm1::setUpNamedLetters()
{
    m_letterName = NamedLetters(m_document.letter().programDir()).current();

    auto *keep = new QAction(windowtexts::keepLetterCaption(), this);
    keep->setObjectName(QStringLiteral("actKeepLetter"));
    connect(keep, &QAction::triggered, this, [this] { askToKeepLetter(); });

    const struct
    {
        Purpose purpose;
        const char *name;
        QString title;
    } menus[] = {
        {Open, "lettersMenu", QStringLiteral("文書を開く")},
        {Rename, "renameLetterMenu", QStringLiteral("文書の名前を変更")},
        {Delete, "deleteLetterMenu", QStringLiteral("文書を削除")},
    };
    m_pageMenuActions.append(separator(this));
    m_pageMenuActions.append(keep);
    for (const auto &entry : menus) {
        auto *menu = new QMenu(entry.title, this);
        menu->setObjectName(QString::fromLatin1(entry.name));
        // The folder may have changed since the last look (a colleague's
        // letter copied in): the names are read as the menu opens.
        connect(menu, &QMenu::aboutToShow, this,
                [this, menu, purpose = entry.purpose] { fillLettersMenu(menu, purpose); });
        fillLettersMenu(menu, entry.purpose);
        m_pageMenuActions.append(menu->menuAction());
    }

    connect(
        memos[boxtable::kIssueDateBox], &BoxMemo::contextMenuAboutToShow, this,
        [this](QMenu *menu) {
            QMenu *styles = menu->addMenu(QStringLiteral("日付の書式"));
            styles->setObjectName(QStringLiteral("dateStyleMenu"));
            auto *group = new QActionGroup(styles);
            for (datestyle::Style style : {datestyle::Style::Western, datestyle::Style::Japanese}) {
                QAction *action = styles->addAction(datestyle::name(style) + QStringLiteral("（") +
                                                    datestyle::format(Clock::today(), style) +
                                                    QStringLiteral("）"));
                action->setCheckable(true);
                action->setChecked(m_document.letter().dateStyle() == style);
                group->addAction(action);
                connect(action, &QAction::triggered, this, [this, style] { setDateStyle(style); });
            }
        });
}

void TForm1::fillLettersMenu(QMenu *menu, int purpose)
{
    menu->clear();
    const QStringList names = NamedLetters(m_document.letter().programDir()).names();
    if (names.isEmpty()) {
        menu->addAction(QStringLiteral("（保存した文書はありません）"))->setEnabled(false);
        return;
    }
    for (const QString &name : names) {
        QAction *action = menu->addAction(name);
        action->setCheckable(purpose == Open);
        action->setChecked(purpose == Open && name == m_letterName);
        connect(action, &QAction::triggered, this, [this, name, purpose] {
            if (purpose == Open) {
                switchToLetter(name);
            } else if (purpose == Rename) {
                bool ok = false;
                const QString to = QInputDialog::getText(this, QStringLiteral("文書の名前を変更"),
                                                         QStringLiteral("新しい名前:"),
                                                         QLineEdit::Normal, name, &ok);
                if (ok)
                    renameLetter(name, to);
            } else if (QMessageBox::question(
                           this, QStringLiteral("Tavrint"),
                           QStringLiteral("文書「%1」を削除しますか？").arg(name)) ==
                       QMessageBox::Yes) {
                deleteLetter(name);
            }
        });
    }
}

void TForm1::askToKeepLetter()
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, windowtexts::keepLetterCaption(), QStringLiteral("文書の名前:"),
                              QLineEdit::Normal, m_letterName, &ok);
    if (!ok)
        return;
    if (name != m_letterName && NamedLetters(m_document.letter().programDir()).contains(name) &&
        QMessageBox::question(
            this, QStringLiteral("Tavrint"),
            QStringLiteral("文書「%1」はもうあります。置き換えますか？").arg(name)) !=
            QMessageBox::Yes)
        return;
    keepLetterAs(name);
}

bool TForm1::keepLetterAs(const QString &name)
{
    const NamedLetters store(m_document.letter().programDir());
    if (!reported(NamedLetters::checkName(name)))
        return false;
    // The layouts it was kept with on other screens stay; a damaged file is
    // simply replaced.
    const Result<NamedLetter> old = store.contains(name) ? store.read(name) : NamedLetter();
    const NamedLetter kept = NamedLetter::capture(m_document.letter(), old ? *old : NamedLetter());
    if (!reported(store.write(name, kept)))
        return false;
    m_letterName = name;
    showLetterName();
    return reported(store.setCurrent(name));
}

void TForm1::keepNamedLetter()
{
    if (m_letterName.isEmpty())
        return;
    // The current letter itself is saved by now: a named copy that cannot
    // be written is said, but holds no close up.
    keepLetterAs(m_letterName);
}

bool TForm1::switchToLetter(const QString &name)
{
    const NamedLetters store(m_document.letter().programDir());
    // Read first: a letter that cannot be read leaves everything as it is.
    const Result<NamedLetter> next = store.read(name);
    if (!next) {
        errorreport::show(next.error());
        return false;
    }
    // Nothing of the letter switched from is lost: it is saved as the close
    // saves it, and kept under its name.
    if (!runClose())
        return false;

    m_document.applyNamedLetter(*next, Clock::today());
    m_letterName = name;
    // The current letter's files hold the letter switched to, so a start
    // (or --pdf) finds it there as after a close; the title tells of the
    // switch once they do.
    const bool saved = reported(store.setCurrent(name)) && runClose();
    showLetterName();
    return saved;
}

bool TForm1::renameLetter(const QString &from, const QString &to)
{
    if (!reported(NamedLetters(m_document.letter().programDir()).rename(from, to)))
        return false;
    if (m_letterName == from) {
        m_letterName = to;
        showLetterName();
    }
    return true;
}

bool TForm1::deleteLetter(const QString &name)
{
    if (!reported(NamedLetters(m_document.letter().programDir()).remove(name)))
        return false;
    if (m_letterName == name) {
        m_letterName.clear();
        showLetterName();
    }
    return true;
}

void TForm1::setDateStyle(datestyle::Style style)
{
    m_document.setDateStyle(style, Clock::today());
}

void TForm1::showLetterName()
{
    // Document first, then the program, as the desktops write it: Qt adds
    // " — Tavrint" to any title that does not end so already.
    setWindowTitle(m_letterName.isEmpty() ? QStringLiteral("Tavrint")
                                          : m_letterName + QStringLiteral(" — Tavrint"));
}

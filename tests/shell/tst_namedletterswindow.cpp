// SPDX-License-Identifier: GPL-3.0-or-later
// Named letters through the main window, in a program directory of their
// own: keep, switch (nothing of the letter switched from is lost), delete,
// a damaged letter, the title, and the menus of the date.

#include "formfixture.h"

#include "letter/boxmemo.h"
#include "platform/cp932.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

class TestNamedLettersWindow : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void keepChangeSwitchBack();
    void deleteTheCurrentLetter();
    void damagedLetterLeavesTheCurrentOne();
    void contextMenus();
    void untouchedLetterMakesNoNewFiles();

private:
    QString dataText(const QString &file) const
    {
        return cp932::decode(m_fixture->readFile(QStringLiteral("Data/") + file));
    }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestNamedLettersWindow::keepChangeSwitchBack()
{
    TForm1 &f = m_fixture->start();
    ui(f).memos[0]->setText(u8("見積の本文"));
    ui(f).memos[4]->setText(u8("御見積書送付のご案内"));
    QVERIFY(TForm1Access::keepLetterAs(f, u8("見積書送付")));
    QCOMPARE(f.windowTitle(), u8("見積書送付 — Tavrint"));

    ui(f).memos[0]->setText(u8("請求の本文"));
    ui(f).memos[4]->setText(u8("ご請求書送付のご案内"));
    QVERIFY(TForm1Access::keepLetterAs(f, u8("請求書送付")));

    QVERIFY(TForm1Access::switchToLetter(f, u8("見積書送付")));
    QCOMPARE(ui(f).memos[0]->text(), u8("見積の本文"));
    QCOMPARE(ui(f).memos[4]->text(), u8("御見積書送付のご案内"));
    QCOMPARE(f.windowTitle(), u8("見積書送付 — Tavrint"));
    // The current letter's own files hold it, as after a close.
    QCOMPARE(dataText(u8("1本文.txt")), u8("見積の本文"));

    // An edit goes with the letter switched from.
    ui(f).memos[0]->setText(u8("見積の本文（改）"));
    QVERIFY(TForm1Access::switchToLetter(f, u8("請求書送付")));
    QCOMPARE(ui(f).memos[0]->text(), u8("請求の本文"));
    QVERIFY(TForm1Access::switchToLetter(f, u8("見積書送付")));
    QCOMPARE(ui(f).memos[0]->text(), u8("見積の本文（改）"));
    QVERIFY(m_fixture->errors.isEmpty());

    // A new start finds the letter and its name where the close left them.
    QVERIFY(f.close());
    TForm1 &g = m_fixture->start();
    QCOMPARE(g.windowTitle(), u8("見積書送付 — Tavrint"));
    QCOMPARE(ui(g).memos[0]->text(), u8("見積の本文（改）"));
}

void TestNamedLettersWindow::deleteTheCurrentLetter()
{
    TForm1 &f = m_fixture->start();
    ui(f).memos[0]->setText(u8("本文"));
    QVERIFY(TForm1Access::keepLetterAs(f, u8("見積")));
    QVERIFY(TForm1Access::deleteLetter(f, u8("見積")));
    QCOMPARE(f.windowTitle(), u8("Tavrint"));
    QCOMPARE(ui(f).memos[0]->text(), u8("本文")); // the current letter stays
    // No name any more: a start has none either.
    QVERIFY(f.close());
    QVERIFY(!QFile::exists(m_fixture->path(u8("Init/currentletter.txt"))));
    QCOMPARE(m_fixture->start().windowTitle(), u8("Tavrint"));
}

void TestNamedLettersWindow::damagedLetterLeavesTheCurrentOne()
{
    m_fixture->writeFile(u8("Letters/壊れた.ini"), QByteArray("\xff\xfe garbage"));
    TForm1 &f = m_fixture->start();
    ui(f).memos[0]->setText(u8("今の本文"));
    QVERIFY(!TForm1Access::switchToLetter(f, u8("壊れた")));
    QVERIFY(!TForm1Access::switchToLetter(f, u8("ない")));
    QCOMPARE(m_fixture->errors.size(), 2);
    QVERIFY(m_fixture->errors.first().contains(u8("壊れています")));
    QVERIFY(m_fixture->errors.last().contains(u8("ありません")));
    QCOMPARE(ui(f).memos[0]->text(), u8("今の本文"));
    QCOMPARE(f.windowTitle(), u8("Tavrint"));
}

// Box D's menu chooses the style; any box's menu puts 《日付》 at the caret.
void TestNamedLettersWindow::contextMenus()
{
    TForm1 &f = m_fixture->start();
    auto openMenu = [](BoxMemo *memo, const std::function<void(QMenu *)> &use) {
        QTimer::singleShot(0, memo, [use] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            use(menu);
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                memo->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(memo->viewport(), &event);
    };
    openMenu(ui(f).memos[3], [](QMenu *menu) {
        auto *styles = menu->findChild<QMenu *>(QStringLiteral("dateStyleMenu"));
        QVERIFY(styles);
        QCOMPARE(styles->actions().size(), 2);
        QVERIFY(styles->actions().at(0)->isChecked()); // 西暦
        styles->actions().at(1)->trigger();
    });
    QCOMPARE(ui(f).memos[3]->text(), u8("令和9年3月6日"));
    QCOMPARE(f.document().letter().dateStyle(), datestyle::Style::Japanese);
    // Other boxes have no date style to choose.
    openMenu(ui(f).memos[0], [](QMenu *menu) {
        QVERIFY(!menu->findChild<QMenu *>(QStringLiteral("dateStyleMenu")));
        auto *date = menu->findChild<QAction *>(QStringLiteral("dateField"));
        QVERIFY(date);
        date->trigger();
    });
    QCOMPARE(f.document().letter().box(0).text, u8("《日付》"));
    QCOMPARE(f.document().letter().printedText(0), u8("令和9年3月6日"));
}

void TestNamedLettersWindow::untouchedLetterMakesNoNewFiles()
{
    TForm1 &f = m_fixture->start();
    ui(f).memos[0]->setText(u8("本文"));
    QVERIFY(f.close());
    QVERIFY(!QFile::exists(m_fixture->path(u8("Letters"))));
    QVERIFY(!QFile::exists(m_fixture->path(u8("Init/currentletter.txt"))));
    QVERIFY(!m_fixture->readFile(u8("Init/tavrint38.ini")).contains("DateStyle"));
}

QTEST_MAIN(TestNamedLettersWindow)
#include "tst_namedletterswindow.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The window's keyboard shortcuts reach the same handlers as the mouse and
// add nothing to the tab order.

#include "formfixture.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "shell/panel.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestShortcuts : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void ctrlDigitEntersBox_data();
    void ctrlDigitEntersBox();
    void ctrlDigitInPreviewDoesNothing();
    void f5TogglesPreview();
    void ctrlPStartsPrintTimer_data();
    void ctrlPStartsPrintTimer();
    void ctrlFOpensFontChooserForCurrentBox();
    void tabOrderUnchanged();

private:
    TForm1 &form() { return m_fixture->form(); }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestShortcuts::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
}

void TestShortcuts::ctrlDigitEntersBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("label");
    QTest::newRow("Ctrl+1 body") << int(Qt::Key_1) << 0 << QStringLiteral("本文");
    QTest::newRow("Ctrl+2 addressee") << int(Qt::Key_2) << 1 << QStringLiteral("宛名");
    QTest::newRow("Ctrl+4 issue date") << int(Qt::Key_4) << 3 << QStringLiteral("発行日");
    QTest::newRow("Ctrl+7 notes heading") << int(Qt::Key_7) << 6 << QStringLiteral("記");
    QTest::newRow("Ctrl+8 closing mark") << int(Qt::Key_8) << 7 << QStringLiteral("結");
}

void TestShortcuts::ctrlDigitEntersBox()
{
    QFETCH(int, key);
    QFETCH(int, box);
    QFETCH(QString, label);
    TForm1 &f = form();
    // Start from another box so the key, not the start-up state, decides.
    ui(f).memos[box == 5 ? 4 : 5]->setFocus();
    QTest::keyClick(&f, Qt::Key(key), Qt::ControlModifier);
    QTRY_COMPARE(QApplication::focusWidget(), ui(f).memos[box]);
    QCOMPARE(f.document().currentBox(), box);
    QCOMPARE(ui(f).Label1->text(), label);
}

void TestShortcuts::ctrlDigitInPreviewDoesNothing()
{
    TForm1 &f = form();
    ui(f).spbA->click();
    QTest::keyClick(&f, Qt::Key_3, Qt::ControlModifier);
    QVERIFY(QApplication::focusWidget() != ui(f).memos[2]);
    QCOMPARE(f.document().currentBox(), 0);
}

void TestShortcuts::f5TogglesPreview()
{
    TForm1 &f = form();
    QTest::keyClick(&f, Qt::Key_F5);
    QVERIFY(ui(f).spbA->isChecked());
    QVERIFY(!ui(f).Pnl0->isEnabled());
    QTest::keyClick(&f, Qt::Key_F5);
    QVERIFY(!ui(f).spbA->isChecked());
    QVERIFY(ui(f).Pnl0->isEnabled());
}

void TestShortcuts::ctrlPStartsPrintTimer_data()
{
    QTest::addColumn<bool>("fromBox");
    QTest::newRow("focus on the window") << false;
    QTest::newRow("caret in a box") << true;
}

void TestShortcuts::ctrlPStartsPrintTimer()
{
    QFETCH(bool, fromBox);
    TForm1 &f = form();
    QWidget *target = &f;
    if (fromBox) {
        ui(f).memos[0]->setFocus();
        target = ui(f).memos[0];
    }
    const QString before = ui(f).memos[0]->text();
    QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
    const bool started = ui(f).Timer1->isActive();
    ui(f).Timer1->stop(); // no job for this test
    QVERIFY(started);
    QCOMPARE(ui(f).memos[0]->text(), before); // the key typed nothing
}

void TestShortcuts::ctrlFOpensFontChooserForCurrentBox()
{
    TForm1 &f = form();
    ui(f).memos[2]->setFocus();
    QTRY_COMPARE(f.document().currentBox(), 2);
    bool shown = false;
    QTimer::singleShot(0, ui(f).FontDialog1, [&] {
        shown = ui(f).FontDialog1->isVisible();
        ui(f).FontDialog1->reject();
    });
    QTest::keyClick(ui(f).memos[2], Qt::Key_F, Qt::ControlModifier);
    QVERIFY(shown);
    QCOMPARE(f.document().currentBox(), 2);
}

void TestShortcuts::tabOrderUnchanged()
{
    // Tab still walks only the controls that took it before: the options,
    // the selector and the list; never a box.
    TForm1 &f = form();
    ui(f).RadioButton1->setFocus();
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *w = QApplication::focusWidget();
        for (BoxMemo *memo : ui(f).memos)
            QVERIFY2(w != memo, qPrintable(memo->objectName()));
        QVERIFY(w != ui(f).spb5 && w != ui(f).spbA && w != ui(f).spb2);
    }
}

QTEST_MAIN(TestShortcuts)
#include "tst_shortcuts.moc"

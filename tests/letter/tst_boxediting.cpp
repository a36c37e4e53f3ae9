// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting, moving and resizing boxes with a real mouse on the shown
// window, and the box font rule through the font chooser.

#include "../shell/formfixture.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "letter/fontsize.h"
#include "letter/framezone.h"
#include "shell/panel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestBoxEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }

    void zones_data();
    void zones();
    void hoverCursor();
    void drag_data();
    void drag();
    void titleComesBackToCentre();
    void pressSelectsBox();
    void clickIntoMemoBringsFrameToFront();

    void fontRule_data();
    void fontRule();
    void boldItalicRemoved();
    void cancelAfterApplyKeepsFonts();
    void doubleClickOpensDialogForThatBox();

private:
    TForm1 &form() { return m_fixture->form(); }
    void dragFrame(int box, QPoint from, QPoint delta) { m_fixture->dragFrame(box, from, delta); }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestBoxEditing::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void TestBoxEditing::zones_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("zone");
    // A 200 x 60 frame; the boundary 12 from the edge belongs to the edge.
    QTest::newRow("(188,3) top strip, right edge") << QPoint(188, 3) << int(FrameZone::RightEdge);
    QTest::newRow("(187,3) top strip, interior") << QPoint(187, 3) << int(FrameZone::Interior);
    QTest::newRow("(195,30) right strip") << QPoint(195, 30) << int(FrameZone::RightEdge);
    QTest::newRow("(10,55) bottom strip") << QPoint(10, 55) << int(FrameZone::BottomEdge);
    QTest::newRow("(190,55) corner") << QPoint(190, 55) << int(FrameZone::Corner);
    QTest::newRow("(3,47) left strip, bottom edge boundary")
        << QPoint(3, 48) << int(FrameZone::BottomEdge);
}

void TestBoxEditing::zones()
{
    QFETCH(QPoint, point);
    QTEST(int(framezone::at(point.x(), point.y(), 200, 60)), "zone");
}

void TestBoxEditing::hoverCursor()
{
    Panel *a = ui(form()).frames[0];
    QTest::mouseMove(a, QPoint(a->width() - 3, 2));
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    QTest::mouseMove(a, QPoint(a->width() - 3, a->height() - 3));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(a, QPoint(2, 2));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    // The page's free area resets it.
    QTest::mouseMove(ui(form()).Pnl0, QPoint(5, 150));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestBoxEditing::drag_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    // First-run layout at 768: A 45,201,371,90; D 306,27,135,30; B 32,27,215,76.
    QTest::newRow("moved left of the page ends at -6")
        << 0 << QPoint(2, 2) << QPoint(-80, 0) << QRect(-6, 201, 371, 90);
    QTest::newRow("moved above the page ends at -3")
        << 1 << QPoint(2, 2) << QPoint(0, -60) << QRect(32, -3, 215, 76);
    QTest::newRow("10 high ends 30 high on a 768 screen")
        << 1 << QPoint(20, 72) << QPoint(0, -66) << QRect(32, 27, 215, 30);
    QTest::newRow("20 wide ends 38 wide")
        << 0 << QPoint(368, 3) << QPoint(-351, 0) << QRect(45, 201, 38, 90);
    QTest::newRow("corner sizes both ways")
        << 3 << QPoint(133, 28) << QPoint(10, 20) << QRect(306, 27, 145, 50);
    QTest::newRow("past the right edge stays there")
        << 3 << QPoint(2, 2) << QPoint(100, 300) << QRect(406, 327, 135, 30);
    QTest::newRow("press without move changes nothing")
        << 2 << QPoint(2, 2) << QPoint(0, 0) << QRect(32, 511, 215, 114);
}

void TestBoxEditing::drag()
{
    QFETCH(int, box);
    QFETCH(QPoint, from);
    QFETCH(QPoint, delta);
    dragFrame(box, from, delta);
    QTEST(form().document().letter().box(box).frame, "expected");
    // Every press re-centres E, F and G.
    QCOMPARE(form().document().letter().box(4).frame.left(), 153);
    QCOMPARE(form().document().letter().box(5).frame.left(), 109);
    QCOMPARE(form().document().letter().box(6).frame.left(), 212);
}

void TestBoxEditing::titleComesBackToCentre()
{
    dragFrame(4, QPoint(3, 3), QPoint(-100, 40));
    QCOMPARE(form().document().letter().box(4).frame, QRect(153, 180, 155, 30));
}

void TestBoxEditing::pressSelectsBox()
{
    QCOMPARE(ui(form()).Label1->text(), QStringLiteral("本文"));
    dragFrame(2, QPoint(2, 2), QPoint(0, 0));
    QCOMPARE(form().document().currentBox(), 2);
    QCOMPARE(ui(form()).Label1->text(), QStringLiteral("署名"));
    QCOMPARE(ui(form()).frames[2]->colour(), QColor(180, 120, 120));
}

void TestBoxEditing::clickIntoMemoBringsFrameToFront()
{
    // Put D under B first, then click into D's text.
    m_fixture->moveFrameTo(3, QPoint(40, 30));
    ui(form()).frames[1]->raise();
    QTest::mouseClick(ui(form()).memos[3]->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(ui(form()).Pnl0->children().last(), ui(form()).frames[3]);
    QCOMPARE(form().document().currentBox(), 3);
    QCOMPARE(ui(form()).Label1->text(), QStringLiteral("発行日"));
}

void TestBoxEditing::fontRule_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("points");
    QTest::addColumn<QList<int>>("expected"); // Memo1..Memo8 after applying
    // At 768 the first-run sizes are 11 11 9 11 13 11 11 11.
    QTest::newRow("F alone") << 5 << 14 << QList<int>{11, 11, 9, 11, 13, 14, 11, 11};
    QTest::newRow("E gives G and H 85 %") << 4 << 16 << QList<int>{11, 11, 9, 11, 16, 11, 14, 14};
    QTest::newRow("G current, 20 -> 20/17/17")
        << 6 << 20 << QList<int>{11, 11, 9, 11, 20, 11, 17, 17};
    QTest::newRow("10 -> 8/8 (half to even)") << 4 << 10 << QList<int>{11, 11, 9, 11, 10, 11, 8, 8};
    QTest::newRow("H current, 8 -> 8/7/7") << 7 << 8 << QList<int>{11, 11, 9, 11, 8, 11, 7, 7};
}

void TestBoxEditing::fontRule()
{
    QFETCH(int, current);
    QFETCH(int, points);
    QFETCH(QList<int>, expected);
    TForm1 &f = form();
    f.Memo1Enter(ui(f).memos[current]); // the box whose text has the caret
    QFont chosen(QStringLiteral("IPAPGothic"));
    chosen.setPixelSize(fontsize::pixelHeightFromPoints(points, 96));
    ui(f).FontDialog1->setChosenFont(chosen);
    f.FontDialog1Apply();
    for (int box = 0; box < boxtable::kBoxCount; ++box)
        QCOMPARE(f.document().letter().points(box), expected[box]);
    const bool group = boxtable::inTitleGroup(current);
    QCOMPARE(ui(f).memos[6]->font().family() == QLatin1String("IPAPGothic"), group);
}

void TestBoxEditing::boldItalicRemoved()
{
    TForm1 &f = form();
    QTimer::singleShot(0, ui(f).FontDialog1, [&] {
        auto *styles = ui(f).FontDialog1->findChild<QListWidget *>(QStringLiteral("styleList"));
        styles->setCurrentRow(3); // bold italic
        auto *size = ui(f).FontDialog1->findChild<QLineEdit *>(QStringLiteral("sizeEdit"));
        size->setText(QStringLiteral("12"));
        ui(f).FontDialog1->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    });
    f.spb2Click();
    const QFont a = ui(f).memos[0]->font();
    QVERIFY(!a.bold());
    QVERIFY(!a.italic());
    QCOMPARE(f.document().letter().points(0), 12);
    QVERIFY(!ui(f).FontDialog1->chosenFont().bold());
    QVERIFY(!ui(f).FontDialog1->chosenFont().italic());
}

void TestBoxEditing::cancelAfterApplyKeepsFonts()
{
    TForm1 &f = form();
    f.Memo1Enter(ui(f).memos[5]);
    QTimer::singleShot(0, ui(f).FontDialog1, [&] {
        auto *size = ui(f).FontDialog1->findChild<QLineEdit *>(QStringLiteral("sizeEdit"));
        size->setText(QStringLiteral("18"));
        ui(f).FontDialog1->findChild<QPushButton *>(QStringLiteral("applyButton"))->click();
        ui(f).FontDialog1->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
    });
    f.spb2Click();
    QCOMPARE(f.document().letter().points(5), 18);
}

void TestBoxEditing::doubleClickOpensDialogForThatBox()
{
    TForm1 &f = form();
    QFont d = ui(f).memos[3]->font();
    d.setFamily(QStringLiteral("IPAGothic"));
    f.Memo1Enter(ui(f).memos[3]);
    ui(f).FontDialog1->setChosenFont(d);
    f.FontDialog1Apply();
    f.Memo1Enter(ui(f).memos[0]);
    QString openedWith;
    QTimer::singleShot(0, ui(f).FontDialog1, [&] {
        openedWith = ui(f).FontDialog1->chosenFont().family();
        auto *size = ui(f).FontDialog1->findChild<QLineEdit *>(QStringLiteral("sizeEdit"));
        size->setText(QStringLiteral("15"));
        ui(f).FontDialog1->findChild<QPushButton *>(QStringLiteral("okButton"))->click();
    });
    QTest::mouseClick(ui(f).memos[3]->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(ui(f).memos[3]->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(openedWith, QStringLiteral("IPAGothic"));
    QCOMPARE(f.document().currentBox(), 3);
    QCOMPARE(f.document().letter().points(3), 15);
    QCOMPARE(f.document().letter().points(0), 11);
}

QTEST_MAIN(TestBoxEditing)
#include "tst_boxediting.moc"

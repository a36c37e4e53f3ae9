// SPDX-License-Identifier: GPL-3.0-or-later
// The control tree of the main window against the layout tables.

#include "formfixture.h"

#include "letter/boxmemo.h"
#include "shell/panel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStringListModel>
#include <QTest>
#include <QToolButton>

class TestTForm1Layout : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_fixture = std::make_unique<FormFixture>();
        m_fixture->start();
    }
    void cleanup() { m_fixture.reset(); }

    void controls_data();
    void controls();
    void windowFitsItsControls();
    void frames_data();
    void frames();
    void onlyEdit2AmongDirectEditFields();
    void captionsFindFrameB();
    void resizingRule();
    void customerListColumns_data();
    void customerListColumns();
    void previewToggle();
    void lineSpacingDigit();
    void windowsFacesResolveToIpaFonts_data();
    void windowsFacesResolveToIpaFonts();

private:
    QWidget *find(const QString &name)
    {
        TForm1 &f = m_fixture->form();
        return f.objectName() == name ? &f : f.findChild<QWidget *>(name);
    }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestTForm1Layout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("hidden");
    // At a 768 screen: the page is 461 x 652, Pnl1 as high, the buttons 32
    // above the bottom of the 652-high client area.
    QTest::newRow("Pnl1") << "Pnl1"
                          << "Form1" << QRect(10, 0, 256, 652) << "" << false;
    QTest::newRow("Pnl0") << "Pnl0"
                          << "Form1" << QRect(280, 0, 461, 652) << " " << false;
    QTest::newRow("Edit2") << "Edit2"
                           << "Form1" << QRect(0, 0, 0, 18) << "" << false;
    QTest::newRow("spbA") << "spbA"
                          << "Pnl1" << QRect(20, 150, 65, 28) << "プレビュー" << false;
    QTest::newRow("spb5") << "spb5"
                          << "Pnl1" << QRect(20, 185, 65, 28) << "印刷" << false;
    QTest::newRow("spb4") << "spb4"
                          << "Pnl1" << QRect(173, 620, 23, 26) << "_" << false;
    QTest::newRow("spb3") << "spb3"
                          << "Pnl1" << QRect(197, 620, 23, 26) << "X" << false;
    QTest::newRow("Label2") << "Label2"
                            << "Pnl1" << QRect(65, 235, 96, 25) << "" << true;
    QTest::newRow("GroupBox1") << "GroupBox1"
                               << "Pnl1" << QRect(15, 20, 81, 101) << "" << false;
    QTest::newRow("spb2") << "spb2"
                          << "GroupBox1" << QRect(10, 20, 60, 30) << "フォント" << false;
    QTest::newRow("Label1") << "Label1"
                            << "GroupBox1" << QRect(8, 60, 64, 30) << "本文" << false;
    QTest::newRow("Edit1") << "Edit1"
                           << "Pnl1" << QRect(20, 230, 36, 28) << "2" << true;
    QTest::newRow("GroupBox2") << "GroupBox2"
                               << "Pnl1" << QRect(135, 20, 106, 141) << "" << false;
    QTest::newRow("Label4") << "Label4"
                            << "GroupBox2" << QRect(8, 100, 80, 30) << "" << false;
    QTest::newRow("RadioButton1") << "RadioButton1"
                                  << "GroupBox2" << QRect(5, 15, 90, 17) << "初期値" << false;
    QTest::newRow("RadioButton2") << "RadioButton2"
                                  << "GroupBox2" << QRect(5, 35, 90, 17) << "TXTから取得" << false;
    QTest::newRow("RadioButton3") << "RadioButton3"
                                  << "GroupBox2" << QRect(5, 55, 90, 17) << "XLSから取得" << false;
    QTest::newRow("RadioButton4") << "RadioButton4"
                                  << "GroupBox2" << QRect(5, 75, 90, 17) << "XLSから差込" << false;
    QTest::newRow("Panel8 follows Pnl1 (652 - 270)")
        << "Panel8"
        << "Pnl1" << QRect(15, 230, 236, 382) << "" << false;
    QTest::newRow("pgc1 fills Panel8") << "pgc1"
                                       << "Panel8" << QRect(1, 1, 234, 380) << "" << false;
    QTest::newRow("Label3") << "Label3"
                            << "TabSheet2" << QRect(155, 0, 68, 31) << "" << false;
    QTest::newRow("ListBox1 on the sheet's bottom")
        << "ListBox1"
        << "TabSheet2" << QRect(0, 38, 226, 334) << "" << false;
    QTest::newRow("RadioGroup1") << "RadioGroup1"
                                 << "TabSheet2" << QRect(2, 0, 150, 31) << "" << false;
}

void TestTForm1Layout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, hidden);

    QWidget *w = find(name);
    QVERIFY2(w, qPrintable(name));
    QVERIFY(w->parentWidget());
    // The page control's sheets sit in the stack's own container.
    QString parentName = w->parentWidget()->objectName();
    if (parentName == QLatin1String("qt_tabwidget_stackedwidget") || parentName.isEmpty())
        parentName = w->parentWidget()->parentWidget()->objectName();
    QCOMPARE(parentName, parent);
    QCOMPARE(w->geometry(), geometry);
    QString text;
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        text = b->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
        text = l->text();
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        text = e->text();
    else if (auto *p = qobject_cast<Panel *>(w))
        text = p->caption();
    QCOMPARE(text, caption);
    QCOMPARE(w->isHidden(), hidden);
}

void TestTForm1Layout::windowFitsItsControls()
{
    QCOMPARE(m_fixture->form().size(), QSize(741, 652));
    QCOMPARE(m_fixture->form().windowTitle(), QStringLiteral("Tavrint"));
}

void TestTForm1Layout::frames_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("caption");
    QTest::newRow("A") << 0 << "PanelA"
                       << "Panel1"
                       << "Memo1"
                       << "";
    QTest::newRow("B") << 1 << "PanelB"
                       << "Panel2"
                       << "Memo2"
                       << " ";
    QTest::newRow("H") << 7 << "PanelH"
                       << "Panel9"
                       << "Memo8"
                       << "";
}

void TestTForm1Layout::frames()
{
    QFETCH(int, box);
    QFETCH(QString, frame);
    QFETCH(QString, inner);
    QFETCH(QString, memo);
    QFETCH(QString, caption);
    TForm1 &f = m_fixture->form();
    QCOMPARE(ui(f).frames[box]->objectName(), frame);
    QCOMPARE(ui(f).frames[box]->parentWidget(), ui(f).Pnl0);
    QCOMPARE(ui(f).frames[box]->caption(), caption);
    QCOMPARE(ui(f).innerPanels[box]->objectName(), inner);
    QCOMPARE(ui(f).innerPanels[box]->parentWidget(), ui(f).frames[box]);
    QCOMPARE(ui(f).memos[box]->objectName(), memo);
    QCOMPARE(ui(f).memos[box]->parentWidget(), ui(f).innerPanels[box]);
    // The rim: the memo fills the frame inside the border width (5 at 768).
    QCOMPARE(ui(f).memos[box]->mapTo(ui(f).frames[box], QPoint()), QPoint(5, 5));
    QCOMPARE(ui(f).memos[box]->width(), ui(f).frames[box]->width() - 10);
}

void TestTForm1Layout::onlyEdit2AmongDirectEditFields()
{
    TForm1 &f = m_fixture->form();
    const auto edits = f.findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(edits.size(), 1);
    QCOMPARE(edits.first(), ui(f).Edit2);
    // Frames stack B (bottom), A, C .. H (top).
    const QObjectList order = ui(f).Pnl0->children();
    QStringList names;
    for (QObject *o : order)
        names << o->objectName();
    QCOMPARE(names, (QStringList{"PanelB", "PanelA", "PanelC", "PanelD", "PanelE", "PanelF",
                                 "PanelG", "PanelH"}));
}

void TestTForm1Layout::captionsFindFrameB()
{
    TForm1 &f = m_fixture->form();
    f.receiveHandOff(QStringLiteral("01"), QStringLiteral("x\r\ny"));
    QCOMPARE(ui(f).memos[1]->text(), QStringLiteral("x\r\ny"));
    QCOMPARE(ui(f).Edit2->text(), QStringLiteral("01"));
    QCOMPARE(ui(f).frames[1]->colour(), QColor(255, 190, 110));
}

void TestTForm1Layout::resizingRule()
{
    // A 1080 screen gives an 834-high page: Panel8 834 - 270, the list
    // sheet-high less 38, two columns half the inner width each.
    m_fixture.reset(); // its end restores the real screen
    m_fixture = std::make_unique<FormFixture>(ScreenMetrics{1920, 1080, 96});
    TForm1 &f = m_fixture->start();
    QCOMPARE(ui(f).Pnl1->height(), 834);
    QCOMPARE(ui(f).Panel8->geometry(), QRect(15, 230, 236, 564));
    QCOMPARE(ui(f).ListBox1->geometry(), QRect(0, 38, 226, 564 - 2 - 8 - 38));
    QCOMPARE(ui(f).spb3->y(), 834 - 32);
}

void TestTForm1Layout::customerListColumns_data()
{
    QTest::addColumn<int>("screenHeight");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("sideways");
    // 768: the list is 334 high, 330 inside the frame: 20 rows of 16 px.
    QTest::newRow("768: 40 entries fill two columns") << 768 << 40 << false;
    QTest::newRow("768: 41 entries need a third column") << 768 << 41 << true;
    QTest::newRow("768: empty list") << 768 << 0 << false;
    QTest::newRow("768: one entry") << 768 << 1 << false;
    // 1080: 516 high, 512 inside: 31 whole rows short of the last pixel.
    QTest::newRow("1080: 62 entries, two full columns") << 1080 << 62 << false;
    QTest::newRow("1080: 63 entries scroll sideways") << 1080 << 63 << true;
    QTest::newRow("1080: 500 entries scroll sideways") << 1080 << 500 << true;
}

void TestTForm1Layout::customerListColumns()
{
    QFETCH(int, screenHeight);
    QFETCH(int, count);
    QFETCH(bool, sideways);
    m_fixture.reset();
    m_fixture = std::make_unique<FormFixture>(ScreenMetrics{1366, screenHeight, 96});
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << QString::number(i);
    TForm1Access::customers(f).setEntries(entries);
    // The view lays its entries out in batches, from its own timer: the
    // last one placed is the end of it.
    if (count > 0)
        QTRY_VERIFY(ui(f).ListBox1->visualRect(ui(f).ListBox1Items->index(count - 1)).isValid());

    QCOMPARE(ui(f).ListBox1->horizontalScrollBar()->isVisible(), sideways);
    const int inner = ui(f).ListBox1->width() - 2 * ui(f).ListBox1->frameWidth();
    const int columnWidth = inner / 2;
    const int rows = (ui(f).ListBox1->viewport()->height() - 1) / 16;
    if (count == 0)
        return;
    // Entries run down the first column, 16 px apart, then on in the
    // second, each column half the inner width.
    auto rectOf = [&](int row) {
        return ui(f).ListBox1->visualRect(ui(f).ListBox1Items->index(row));
    };
    QCOMPARE(rectOf(0).topLeft(), QPoint(0, 0));
    QCOMPARE(rectOf(0).height(), 16);
    QCOMPARE(rectOf(0).width(), columnWidth);
    if (count > rows) {
        QCOMPARE(rectOf(rows - 1).top(), (rows - 1) * 16);
        QCOMPARE(rectOf(rows).topLeft(), QPoint(columnWidth, 0));
    }
    if (!sideways) // everything in sight, in two columns
        QVERIFY(rectOf(count - 1).right() < inner);
    else
        QVERIFY(ui(f).ListBox1->horizontalScrollBar()->maximum() > 0);
}

void TestTForm1Layout::previewToggle()
{
    TForm1 &f = m_fixture->form();
    QCOMPARE(ui(f).frames[0]->colour(), QColor(120, 160, 180));
    QVERIFY(ui(f).Pnl0->isEnabled());
    QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
    QVERIFY(ui(f).spbA->isChecked());
    QVERIFY(!ui(f).Pnl0->isEnabled());
    for (Panel *p : ui(f).frames)
        QCOMPARE(p->colour(), QColor(Qt::white));
    const QObjectList top = ui(f).Pnl0->children();
    QCOMPARE(top.last()->objectName(), QStringLiteral("PanelH"));
    QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
    QVERIFY(!ui(f).spbA->isChecked());
    QVERIFY(ui(f).Pnl0->isEnabled());
    QCOMPARE(ui(f).frames[5]->colour(), QColor(0, 128, 0));
    // D, E, G, H stay in front after the preview.
    QStringList order;
    for (QObject *o : ui(f).Pnl0->children())
        order << o->objectName();
    QCOMPARE(order.mid(4), (QStringList{"PanelD", "PanelE", "PanelG", "PanelH"}));
}

void TestTForm1Layout::lineSpacingDigit()
{
    TForm1 &f = m_fixture->form();
    QCOMPARE(f.document().letter().lineSpacingDigit(), 2);
    ui(f).Edit1->show();
    ui(f).Edit1->setFocus();
    QTest::keyClick(ui(f).Edit1, Qt::Key_Backspace);
    QCOMPARE(f.document().letter().lineSpacingDigit(), 0);
    QCOMPARE(ui(f).Edit1->text(), QStringLiteral("0"));
    ui(f).Edit1->setText(QStringLiteral("x"));
    QCOMPARE(ui(f).Edit1->text(), QStringLiteral("0"));
}

void TestTForm1Layout::windowsFacesResolveToIpaFonts_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("resolved");
    QTest::newRow("ＭＳ Ｐ明朝 (the memos)") << "ＭＳ Ｐ明朝"
                                             << "IPAPMincho";
    QTest::newRow("MS P明朝 (the settings default)") << "MS P明朝"
                                                     << "IPAPMincho";
    QTest::newRow("ＭＳ Ｐゴシック (the window)") << "ＭＳ Ｐゴシック"
                                                  << "IPAPGothic";
    QTest::newRow("ＭＳ ゴシック (the list)") << "ＭＳ ゴシック"
                                              << "IPAGothic";
    QTest::newRow("MS UI Gothic (the buttons)") << "MS UI Gothic"
                                                << "IPAPGothic";
}

void TestTForm1Layout::windowsFacesResolveToIpaFonts()
{
    QFETCH(QString, face);
    QFont f(face);
    f.setPixelSize(15);
    QTEST(QFontInfo(f).family(), "resolved");
    QCOMPARE(QFontInfo(ui(m_fixture->form()).memos[0]->font()).family(),
             QStringLiteral("IPAPMincho"));
}

QTEST_MAIN(TestTForm1Layout)
#include "tst_tform1layout.moc"

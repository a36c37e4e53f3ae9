// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/boxtable.h"

#include <array>

class BoxMemo;
class CustomerListModel;
class FontDialog;
class Panel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QRadioButton;
class QStackedWidget;
class QTimer;
class QToolButton;
class QWidget;

// The main window's controls, named as the layout names them. The window
// owns them (they are its children) and keeps them to itself: they show the
// letter, they never hold it.
struct TForm1Controls
{
    Panel *Pnl1 = nullptr;
    Panel *Pnl0 = nullptr;
    QLineEdit *Edit2 = nullptr;

    QToolButton *spbA = nullptr;
    QToolButton *spb5 = nullptr;
    QToolButton *spb4 = nullptr;
    QToolButton *spb3 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QToolButton *spb2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label4 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    Panel *Panel8 = nullptr;
    QStackedWidget *pgc1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLabel *Label3 = nullptr;
    QListView *ListBox1 = nullptr;              // shows the customer list session
    CustomerListModel *ListBox1Items = nullptr; // ListBox1's model over it
    QWidget *RadioGroup1 = nullptr;
    QRadioButton *RadioGroup1Item0 = nullptr; // "会社名"
    QRadioButton *RadioGroup1Item1 = nullptr; // "担当者名"

    std::array<Panel *, boxtable::kBoxCount> frames{};      // PanelA..PanelH by box index
    std::array<Panel *, boxtable::kBoxCount> innerPanels{}; // Panel1..Panel7, Panel9
    std::array<BoxMemo *, boxtable::kBoxCount> memos{};     // Memo1..Memo8

    FontDialog *FontDialog1 = nullptr;
    QTimer *Timer1 = nullptr;
};

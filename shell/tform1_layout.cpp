// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls as the layout fixes them: names, kinds,
// geometry, captions, fonts, colours, visibility, and the event bindings.

#include "shell/tform1.h"

#include "customers/customerlistmodel.h"
#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "shell/customerlistdelegate.h"
#include "shell/panel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

namespace {

const QColor kFormGrey(144, 144, 144);
const QColor kSilver(192, 192, 192);
const QColor kNavy(0, 0, 128);

QFont layoutFont(const char *face, int pixels, bool bold = false)
{
    QFont f(QString::fromUtf8(face));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

template <typename W> W *named(W *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QToolButton *speedButton(QWidget *parent, const char *name, const QRect &geometry,
                         const char *caption, const QFont &font)
{
    auto *b = named(new QToolButton(parent), name, geometry);
    b->setText(QString::fromUtf8(caption));
    b->setFont(font);
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QLabel *silverLabel(QWidget *parent, const char *name, const QRect &geometry, const QFont &font)
{
    auto *l = named(new QLabel(parent), name, geometry);
    l->setFont(font);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, kSilver);
    pal.setColor(QPalette::WindowText, kNavy);
    l->setPalette(pal);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::ButtonText, colour);
    w->setPalette(pal);
}

QGroupBox *flatGroupBox(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *g = named(new QGroupBox(parent), name, geometry);
    g->setFlat(true);
    g->setStyleSheet(
        QStringLiteral("QGroupBox#%1 { border: 1px solid rgb(96, 96, 96); margin: 0px; }")
            .arg(QLatin1String(name)));
    return g;
}

} // namespace

void TForm1::buildControls()
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kFormGrey);
    setPalette(pal);
    setFont(layoutFont("ＭＳ Ｐゴシック", 12));
    resize(716, 613);
    move(23, 112);

    // Creation order decides stacking: the page first, then the left panel,
    // then the marker field.
    Pnl1 = new Panel(this, QStringLiteral("Pnl1"), kFormGrey);
    Pnl1->setGeometry(10, 0, 256, 606);
    Pnl0 = new Panel(this, QStringLiteral("Pnl0"), Qt::white, Panel::Edge::FlatLine,
                     QStringLiteral(" "));
    Pnl0->setGeometry(280, 0, 430, 606);
    Pnl0->setMouseTracking(true);

    Edit2 = named(new QLineEdit(this), "Edit2", QRect(0, 0, 0, 18));
    Edit2->setReadOnly(true);
    Edit2->setFrame(false);
    Edit2->setFocusPolicy(Qt::NoFocus);

    // ---- left panel ----
    const QFont uiGothic15 = layoutFont("MS UI Gothic", 15);
    spbA = speedButton(Pnl1, "spbA", QRect(20, 150, 65, 28), "プレビュー", uiGothic15);
    spbA->setCheckable(true);
    spb5 = speedButton(Pnl1, "spb5", QRect(20, 185, 65, 28), "印刷", uiGothic15);
    setTextColour(spb5, Qt::black);
    const QFont gothicBold15 = layoutFont("ＭＳ ゴシック", 15, true);
    spb4 = speedButton(Pnl1, "spb4", QRect(173, 565, 23, 26), "_", gothicBold15);
    spb3 = speedButton(Pnl1, "spb3", QRect(197, 565, 23, 26), "X", gothicBold15);

    Label2 = named(new QLabel(Pnl1), "Label2", QRect(65, 235, 96, 25));
    Label2->setFont(layoutFont("ＭＳ Ｐゴシック", 17));
    Label2->hide();

    GroupBox1 = flatGroupBox(Pnl1, "GroupBox1", QRect(15, 20, 81, 101));
    GroupBox1->setFocusPolicy(Qt::TabFocus); // the options hand the focus here
    spb2 = speedButton(GroupBox1, "spb2", QRect(10, 20, 60, 30), "フォント", uiGothic15);
    Label1 = silverLabel(GroupBox1, "Label1", QRect(8, 60, 64, 30),
                         layoutFont("MS UI Gothic", 15, true));

    Edit1 = named(new QLineEdit(Pnl1), "Edit1", QRect(20, 230, 36, 28));
    Edit1->setFont(layoutFont("Lucida Sans Unicode", 19));
    Edit1->setMaxLength(1);
    Edit1->setAlignment(Qt::AlignCenter);
    Edit1->hide();

    GroupBox2 = flatGroupBox(Pnl1, "GroupBox2", QRect(135, 20, 106, 141));
    Label4 =
        silverLabel(GroupBox2, "Label4", QRect(8, 100, 80, 30), layoutFont("Georgia Bold", 15));
    const QFont uiGothic12 = layoutFont("MS UI Gothic", 12);
    const char *optionCaptions[4] = {"初期値", "TXTから取得", "XLSから取得", "XLSから差込"};
    QRadioButton **options[4] = {&RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "RadioButton" + QByteArray::number(i + 1);
        auto *rb =
            named(new QRadioButton(GroupBox2), name.constData(), QRect(5, 15 + 20 * i, 90, 17));
        rb->setText(QString::fromUtf8(optionCaptions[i]));
        rb->setFont(uiGothic12);
        *options[i] = rb;
    }
    RadioButton1->setChecked(true);

    Panel8 =
        new Panel(Pnl1, QStringLiteral("Panel8"), QColor(160, 160, 160), Panel::Edge::LoweredBevel);
    Panel8->setGeometry(15, 230, 236, 336);
    pgc1 = named(new QStackedWidget(Panel8), "pgc1", QRect(1, 1, 234, 334));
    pgc1->setContentsMargins(4, 4, 4, 4); // the page control's own border
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    pgc1->addWidget(TabSheet1);
    pgc1->addWidget(TabSheet2);
    pgc1->setCurrentIndex(1);

    Label3 = named(new QLabel(TabSheet2), "Label3", QRect(155, 0, 68, 31));
    Label3->setFont(layoutFont("Georgia", 16));
    setTextColour(Label3, kNavy);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    ListBox1 = named(new QListView(TabSheet2), "ListBox1", QRect(0, 38, 226, 266));
    ListBox1->setFont(layoutFont("ＭＳ ゴシック", 16));
    ListBox1->setFrameShape(QFrame::Box);
    ListBox1->setLineWidth(1);
    ListBox1->setFlow(QListView::TopToBottom);
    ListBox1->setWrapping(true);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setLayoutMode(QListView::Batched);
    ListBox1->setBatchSize(2000);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setItemDelegate(new CustomerListDelegate(ListBox1));
    // The list shows the customer list session; two customers of the same
    // name are told apart by their addressee block.
    ListBox1Items = new CustomerListModel(&m_customers, ListBox1);
    ListBox1->setModel(ListBox1Items);

    RadioGroup1 = named(new QFrame(TabSheet2), "RadioGroup1", QRect(2, 0, 150, 31));
    static_cast<QFrame *>(RadioGroup1)->setFrameShape(QFrame::Box);
    RadioGroup1->setFont(uiGothic12);
    auto *group = new QButtonGroup(RadioGroup1);
    RadioGroup1Item0 =
        named(new QRadioButton(RadioGroup1), "RadioGroup1Item0", QRect(6, 7, 68, 17));
    RadioGroup1Item0->setText(QStringLiteral("会社名"));
    RadioGroup1Item1 =
        named(new QRadioButton(RadioGroup1), "RadioGroup1Item1", QRect(76, 7, 72, 17));
    RadioGroup1Item1->setText(QStringLiteral("担当者名"));
    group->addButton(RadioGroup1Item0, 0);
    group->addButton(RadioGroup1Item1, 1);
    RadioGroup1Item1->setChecked(true);

    // ---- the page and its eight letter boxes, as the letter starts ----
    for (int box : boxtable::kCreationOrder) {
        const boxtable::Box &b = boxtable::box(box);
        auto *frame = new Panel(Pnl0, QLatin1String(b.frame), kSilver, Panel::Edge::None,
                                box == boxtable::kAddresseeBox ? QStringLiteral(" ") : QString());
        frame->setBorderWidth(boxtable::kDesignBorderWidth);
        frame->setCursor(Qt::SizeFDiagCursor);
        frame->setMouseTracking(true);
        auto *inner = new Panel(frame, QLatin1String(b.inner), Qt::white);
        auto *memo = new BoxMemo(inner, QLatin1String(b.memo));
        memo->setFont(m_document.letter().font(box));
        frames[box] = frame;
        innerPanels[box] = inner;
        memos[box] = memo;
        placeFrame(box);
    }

    FontDialog1 = new FontDialog(this);
    FontDialog1->setObjectName(QStringLiteral("FontDialog1"));
    FontDialog1->setChosenFont(layoutFont("MS UI Gothic", 24));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(55);
    Timer1->setSingleShot(true);

    setMouseTracking(true);
    Pnl1->setMouseTracking(true);
}

void TForm1::bindEvents()
{
    // One application-wide filter dispatches the mouse, key, focus and wheel
    // events of the controls to their handlers (eventFilter); the wheel rule
    // covers every control of the window.
    qApp->installEventFilter(this);

    connect(spb2, &QToolButton::clicked, this, [this] { spb2Click(); });
    connect(spbA, &QToolButton::clicked, this, [this] { spbAClick(); });
    connect(spb3, &QToolButton::clicked, this, [this] { spb3Click(); });
    connect(spb4, &QToolButton::clicked, this, [this] { spb4Click(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        // What the user types goes into the letter at once.
        connect(memos[box]->document(), &QTextDocument::contentsChanged, this,
                [this, box] { takeTypedText(box); });
    }
    connect(FontDialog1, &FontDialog::applied, this, [this] { FontDialog1Apply(); });
    for (QRadioButton *rb : {RadioButton1, RadioButton2, RadioButton3, RadioButton4}) {
        // The click fires only when the option becomes checked, also when the
        // program checks it (the fallback to mode 1 relies on that).
        connect(rb, &QRadioButton::toggled, this, [this, rb](bool on) {
            if (on)
                RadioButton1Click(rb);
        });
    }
    connect(RadioGroup1Item1, &QRadioButton::toggled, this, [this] { RadioGroup1Click(); });
    // The sideways scroll bar depends on how many entries there are.
    connect(ListBox1Items, &QAbstractItemModel::modelReset, this, &TForm1::fitCustomerListColumns);
    // The count label shows the session's count.
    connect(&m_customers, &CustomerListSession::countTextChanged, Label3, &QLabel::setText);
    // The list's click is a change of the selected entry, by mouse or keys;
    // the focus arriving or the program refilling the list selects nothing.
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) {
                if (!selected.isEmpty())
                    ListBox1Click();
            });
    setUpPdfSaving();
    setUpMergedLetters();
    setUpNamedLetters();
    setUpAttachments();
    setUpFax();
    setUpCalibration();
}

// ---- geometry helpers -----------------------------------------------------

int TForm1::radioGroupItemIndex() const
{
    if (RadioGroup1Item0->isChecked())
        return 0;
    if (RadioGroup1Item1->isChecked())
        return 1;
    return -1;
}

void TForm1::setActivePage(int index)
{
    pgc1->setCurrentIndex(index);
}

void TForm1::applyResizingRules()
{
    // Panel8 keeps its top at 230 and its bottom 40 above Pnl1's bottom; the
    // page control fills it inside the bevel; the list sits on the sheet's
    // bottom edge, 38 below its top.
    Panel8->setGeometry(15, 230, 236, qMax(0, Pnl1->height() - 270));
    pgc1->setGeometry(1, 1, Panel8->width() - 2, qMax(0, Panel8->height() - 2));
    const QRect sheet = pgc1->contentsRect();
    ListBox1->setGeometry(0, 38, sheet.width(), qMax(0, sheet.height() - 38));
    fitCustomerListColumns();
}

void TForm1::fitCustomerListColumns()
{
    // Two columns share the list's inner width. The view lays its columns
    // out in the height left below a sideways scroll bar whenever one may
    // appear, which costs a row and can push the last entries into a third
    // column: so the bar is decided here, from the rows two columns hold
    // without it, and the view is told plainly whether there is one.
    const int frame = 2 * ListBox1->frameWidth();
    const int innerWidth = ListBox1->width() - frame;
    // The view starts a new column once an entry would touch the last
    // pixel row, so it counts rows in the height less one pixel.
    const int rowsWithoutBar =
        qMax(0, ListBox1->height() - frame - 1) / CustomerListDelegate::kItemHeight;
    const bool sideways = ListBox1Items->rowCount() > 2 * rowsWithoutBar;
    ListBox1->setHorizontalScrollBarPolicy(sideways ? Qt::ScrollBarAlwaysOn
                                                    : Qt::ScrollBarAlwaysOff);
    ListBox1->setGridSize(QSize(innerWidth / 2, CustomerListDelegate::kItemHeight));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/fontdialog.h"

#include "letter/fontfamilies.h"
#include "letter/fontsize.h"
#include "platform/rounding.h"
#include "platform/screenmetrics.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Rows of the style list, in the order the Windows chooser shows them.
enum StyleRow { Regular, Italic, Bold, BoldItalic };

int screenPpi()
{
    return ScreenMetrics::current().pixelsPerInch;
}

int heldPoints(int points)
{
    return qBound(FontDialog::kMinPoints, points, FontDialog::kMaxPoints);
}

int pointsOf(const QFont &font)
{
    if (font.pixelSize() > 0)
        return fontsize::pointsFromPixelHeight(font.pixelSize(), screenPpi());
    if (font.pointSizeF() > 0)
        return rounding::halfEven(font.pointSizeF());
    return FontDialog::kMinPoints;
}

QListWidget *makeList(const QString &objectName, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

} // namespace

FontDialog::FontDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォント"));
}

void FontDialog::buildParts()
{
    m_familyList = makeList(QStringLiteral("familyList"), this);
    m_styleList = makeList(QStringLiteral("styleList"), this);
    m_sizeEdit = new QLineEdit(this);
    m_sizeList = makeList(QStringLiteral("sizeList"), this);
    m_sample = new QLabel(QStringLiteral("Aaあぁアァ亜宇"), this);

    m_styleList->addItems({QStringLiteral("標準"), QStringLiteral("斜体"), QStringLiteral("太字"),
                           QStringLiteral("太字 斜体")});
    for (int points = kMinPoints; points <= kMaxPoints; ++points)
        m_sizeList->addItem(QString::number(points));

    // Digits only; the value is held to 8..24 when editing ends, on OK and
    // on Apply, so a typed 30 becomes 24 rather than being refused.
    m_sizeEdit->setObjectName(QStringLiteral("sizeEdit"));
    m_sizeEdit->setValidator(new QIntValidator(0, 999, m_sizeEdit));

    m_familyList->setMinimumWidth(200);
    m_styleList->setMinimumWidth(100);
    m_sizeList->setFixedWidth(70);
    m_sizeEdit->setFixedWidth(70);

    m_sample->setObjectName(QStringLiteral("sampleLabel"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(fontsize::pixelHeightFromPoints(kMaxPoints, screenPpi()) * 3 / 2);
    auto *sampleBox = new QGroupBox(QStringLiteral("サンプル"), this);
    (new QVBoxLayout(sampleBox))->addWidget(m_sample);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    QPushButton *apply = buttons->button(QDialogButtonBox::Apply);
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    apply->setObjectName(QStringLiteral("applyButton"));
    ok->setText(QStringLiteral("OK"));
    cancel->setText(QStringLiteral("キャンセル"));
    apply->setText(QStringLiteral("適用(&A)"));
    ok->setDefault(true);

    auto *familyLabel = new QLabel(QStringLiteral("フォント名(&F):"), this);
    auto *styleLabel = new QLabel(QStringLiteral("スタイル(&Y):"), this);
    auto *sizeLabel = new QLabel(QStringLiteral("サイズ(&S):"), this);
    familyLabel->setBuddy(m_familyList);
    styleLabel->setBuddy(m_styleList);
    sizeLabel->setBuddy(m_sizeEdit);

    auto *grid = new QGridLayout(this);
    grid->addWidget(familyLabel, 0, 0);
    grid->addWidget(styleLabel, 0, 1);
    grid->addWidget(sizeLabel, 0, 2);
    grid->addWidget(m_familyList, 1, 0, 2, 1);
    grid->addWidget(m_styleList, 1, 1, 2, 1);
    grid->addWidget(m_sizeEdit, 1, 2);
    grid->addWidget(m_sizeList, 2, 2);
    grid->addWidget(sampleBox, 3, 0, 1, 3);
    grid->addWidget(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);

    connect(m_familyList, &QListWidget::currentRowChanged, this, &FontDialog::updateSample);
    connect(m_styleList, &QListWidget::currentRowChanged, this, &FontDialog::updateSample);
    connect(m_sizeList, &QListWidget::currentTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty() && m_sizeEdit->text() != text)
            m_sizeEdit->setText(text);
        updateSample();
    });
    connect(m_sizeEdit, &QLineEdit::textEdited, this, &FontDialog::sizeTyped);
    connect(m_sizeEdit, &QLineEdit::editingFinished, this, &FontDialog::holdTypedSize);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        storeChoice();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(apply, &QPushButton::clicked, this, [this] {
        storeChoice();
        emit applied();
    });
}

bool FontDialog::execute()
{
    if (!m_familyList)
        buildParts();
    showChosenFont();
    m_familyList->setFocus();
    return exec() == QDialog::Accepted;
}

void FontDialog::showChosenFont()
{
    // The face name is stored in the settings file, so a face this machine
    // does not have (a Windows face) stays listed and chosen instead of
    // being silently replaced by another.
    const QString family = m_chosen.family();
    QStringList installed;
    for (const QString &f : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(f))
            installed.append(f);
    }
    QStringList families = fontfamilies::shown(installed);
    if (!family.isEmpty() && !families.contains(family))
        families.prepend(family);
    m_familyList->clear();
    m_familyList->addItems(families);
    m_familyList->setCurrentRow(families.indexOf(family));
    if (m_familyList->currentItem())
        m_familyList->scrollToItem(m_familyList->currentItem(),
                                   QAbstractItemView::PositionAtCenter);

    const bool bold = m_chosen.bold();
    const bool italic = m_chosen.italic();
    m_styleList->setCurrentRow(bold ? (italic ? BoldItalic : Bold) : (italic ? Italic : Regular));

    m_sizeEdit->setText(QString::number(heldPoints(pointsOf(m_chosen))));
    holdTypedSize();
    updateSample();
}

void FontDialog::storeChoice()
{
    holdTypedSize();
    m_chosen = choice();
}

// The chosen font with the face, style and size on screen.
QFont FontDialog::choice() const
{
    QFont font = m_chosen;
    if (const QListWidgetItem *item = m_familyList->currentItem())
        font.setFamily(item->text());
    const int style = m_styleList->currentRow();
    font.setBold(style == Bold || style == BoldItalic);
    font.setItalic(style == Italic || style == BoldItalic);
    font.setPixelSize(fontsize::pixelHeightFromPoints(typedPoints(), screenPpi()));
    return font;
}

// The size in the field held to 8..24; a field left empty keeps the size
// the dialog opened with.
int FontDialog::typedPoints() const
{
    bool ok = false;
    const int typed = m_sizeEdit->text().toInt(&ok);
    return heldPoints(ok ? typed : pointsOf(m_chosen));
}

void FontDialog::holdTypedSize()
{
    const QString held = QString::number(typedPoints());
    if (m_sizeEdit->text() != held)
        m_sizeEdit->setText(held);
    sizeTyped(held);
}

// Keeps the size list on the typed size while the user types; the value is
// held to the limits only when editing ends.
void FontDialog::sizeTyped(const QString &text)
{
    const QList<QListWidgetItem *> items = m_sizeList->findItems(text, Qt::MatchExactly);
    m_sizeList->setCurrentItem(items.isEmpty() ? nullptr : items.first());
    updateSample();
}

void FontDialog::updateSample()
{
    m_sample->setFont(choice());
}

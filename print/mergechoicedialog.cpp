// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/mergechoicedialog.h"

#include "print/letterpage.h"
#include "print/mergechoicemodel.h"
#include "shell/windowtexts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The preview's sheet: A4's proportions at a size that leaves the list room
// on a small screen; the letter is readable enough to tell customers apart.
constexpr int kPreviewWidth = 300;
constexpr int kPreviewHeight = kPreviewWidth * RenderPage::kHeight / RenderPage::kWidth;

MergeChoiceDialog::Chooser &instance()
{
    static MergeChoiceDialog::Chooser chooser;
    return chooser;
}

} // namespace

MergeChoiceDialog::MergeChoiceDialog(const Offer &offer, const QString &caption, QWidget *parent)
    : QDialog(parent), m_offer(offer)
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("mergeChoice"));

    m_model = new MergeChoiceModel(offer.table, offer.count, offer.layout, this);
    m_filter = new MergeChoiceFilter(m_model, this);

    m_filterEdit = new QLineEdit(this);
    m_filterEdit->setObjectName(QStringLiteral("filter"));
    m_filterEdit->setPlaceholderText(windowtexts::mergeFilterPlaceholder());
    m_filterEdit->setClearButtonEnabled(true);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("customers"));
    m_view->setModel(m_filter);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->resizeColumnToContents(MergeChoiceModel::RowNumber);
    m_view->setMinimumWidth(420);

    auto *selectAll = new QPushButton(windowtexts::selectAllCaption(), this);
    selectAll->setObjectName(QStringLiteral("selectAll"));
    auto *selectNone = new QPushButton(windowtexts::selectNoneCaption(), this);
    selectNone->setObjectName(QStringLiteral("selectNone"));

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setFixedSize(kPreviewWidth + 2, kPreviewHeight + 2);
    m_preview->setFrameShape(QFrame::Box);
    m_preview->setAlignment(Qt::AlignCenter);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("count"));

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(windowtexts::mergeRunCaption());
    m_buttons->button(QDialogButtonBox::Cancel)->setText(windowtexts::cancelCaption());

    auto *choices = new QHBoxLayout;
    choices->addWidget(selectAll);
    choices->addWidget(selectNone);
    choices->addStretch();
    choices->addWidget(m_count);
    auto *list = new QVBoxLayout;
    list->addWidget(m_filterEdit);
    list->addWidget(m_view, 1);
    list->addLayout(choices);
    auto *sides = new QHBoxLayout;
    sides->addLayout(list, 1);
    sides->addWidget(m_preview, 0, Qt::AlignTop);
    auto *all = new QVBoxLayout(this);
    all->addLayout(sides, 1);
    all->addWidget(m_buttons);

    connect(m_filterEdit, &QLineEdit::textChanged, m_filter, &MergeChoiceFilter::setText);
    connect(selectAll, &QPushButton::clicked, this, [this] { selectShown(true); });
    connect(selectNone, &QPushButton::clicked, this, [this] { selectShown(false); });
    connect(m_model, &MergeChoiceModel::checkedCountChanged, this, &MergeChoiceDialog::showCount);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                showPreviewOf(current.isValid() ? m_filter->mapToSource(current).row() : -1);
            });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showCount(m_model->checkedCount());
    if (m_filter->rowCount() > 0)
        m_view->setCurrentIndex(m_filter->index(0, MergeChoiceModel::Company));
    else
        showPreviewOf(-1);
}

MergeChoiceDialog::~MergeChoiceDialog() = default;

QList<int> MergeChoiceDialog::chosenRows() const
{
    return m_model->checkedRows();
}

void MergeChoiceDialog::selectShown(bool checked)
{
    m_model->setChecked(m_filter->shownRows(), checked);
}

void MergeChoiceDialog::showPreviewOf(int row)
{
    if (row < 0 || row >= m_offer.count) {
        m_previewPage.reset();
        m_preview->setPixmap(QPixmap());
        m_preview->setText(windowtexts::noPreviewText());
        return;
    }
    // The page the run will make for this customer, from the same render.
    m_previewPage =
        letterpage::merged(m_offer.letter, m_offer.table, QList<int>{row}, m_offer.layout).page(0);
    const qreal ratio = devicePixelRatioF();
    QImage sheet(QSize(kPreviewWidth, kPreviewHeight) * ratio, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    m_previewPage->play(painter, QRect(0, 0, kPreviewWidth, kPreviewHeight));
    painter.end();
    m_preview->setPixmap(QPixmap::fromImage(sheet));
}

void MergeChoiceDialog::showCount(int checked)
{
    m_count->setText(windowtexts::mergeCountText(checked, m_offer.count));
    // Nothing to send is no run.
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(checked > 0);
}

std::optional<QList<int>> MergeChoiceDialog::choose(QWidget *parent, const Offer &offer,
                                                    const QString &caption)
{
    if (instance())
        return instance()(parent, offer, caption);
    MergeChoiceDialog dialog(offer, caption, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenRows();
}

void MergeChoiceDialog::setInstance(Chooser chooser)
{
    instance() = std::move(chooser);
}

void MergeChoiceDialog::resetInstance()
{
    instance() = nullptr;
}

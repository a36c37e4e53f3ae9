// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/attachmentsdialog.h"

#include "platform/pdffiles.h"

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kPagesRole = Qt::UserRole + 1; // -1: the file cannot go out

QListWidgetItem *itemFor(const QString &path)
{
    auto *item = new QListWidgetItem;
    item->setData(Qt::UserRole, path);
    const Result<int> pages = pdffiles::pageCount(path);
    item->setData(kPagesRole, pages ? *pages : -1);
    const QString name = QFileInfo(path).fileName();
    item->setText(pages ? QStringLiteral("%1 (%2枚)").arg(name).arg(*pages)
                        : QStringLiteral("%1 (送れません)").arg(name));
    item->setToolTip(pages ? path : pages.error());
    if (!pages)
        item->setForeground(Qt::red);
    return item;
}

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}
} // namespace

QString AttachmentsDialog::caption()
{
    return QStringLiteral("添付ファイル…");
}

AttachmentsDialog::AttachmentsDialog(const QStringList &paths, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("attachmentsDialog"));
    setWindowTitle(QStringLiteral("添付ファイル"));
    setAcceptDrops(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("attachmentList"));
    m_list->setMinimumSize(420, 200);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("attachmentTotal"));

    auto *add = button(QStringLiteral("追加…"), "addButton", this);
    auto *remove = button(QStringLiteral("削除"), "removeButton", this);
    auto *up = button(QStringLiteral("上へ"), "upButton", this);
    auto *down = button(QStringLiteral("下へ"), "downButton", this);
    connect(add, &QPushButton::clicked, this, &AttachmentsDialog::chooseFiles);
    connect(remove, &QPushButton::clicked, this, [this] {
        delete m_list->takeItem(m_list->currentRow());
        showTotal();
    });
    connect(up, &QPushButton::clicked, this, [this] { move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { move(1); });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *side = new QVBoxLayout;
    for (QPushButton *b : {add, remove, up, down})
        side->addWidget(b);
    side->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(m_list);
    row->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("送付状の後に、この順で送ります（PDFのみ）"), this));
    layout->addLayout(row);
    layout->addWidget(m_total);
    layout->addWidget(buttons);
    addFiles(paths);
}

QStringList AttachmentsDialog::paths() const
{
    QStringList paths;
    for (int i = 0; i < m_list->count(); ++i)
        paths.append(m_list->item(i)->data(Qt::UserRole).toString());
    return paths;
}

void AttachmentsDialog::addFiles(const QStringList &paths)
{
    for (const QString &path : paths)
        m_list->addItem(itemFor(QFileInfo(path).absoluteFilePath()));
    showTotal();
}

void AttachmentsDialog::showTotal()
{
    int pages = 0;
    bool unsendable = false;
    for (int i = 0; i < m_list->count(); ++i) {
        const int counted = m_list->item(i)->data(kPagesRole).toInt();
        unsendable = unsendable || counted < 0;
        pages += std::max(0, counted);
    }
    m_total->setText(
        QStringLiteral("送信枚数: 本状を含め %1 枚%2")
            .arg(1 + pages)
            .arg(unsendable ? QStringLiteral("（送れないファイルがあります）") : QString()));
}

void AttachmentsDialog::chooseFiles()
{
    addFiles(QFileDialog::getOpenFileNames(this, QStringLiteral("添付するPDF"), QString(),
                                           QStringLiteral("PDF (*.pdf *.PDF)")));
}

void AttachmentsDialog::move(int step)
{
    const int row = m_list->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= m_list->count())
        return;
    m_list->insertItem(to, m_list->takeItem(row));
    m_list->setCurrentRow(to);
}

QStringList AttachmentsDialog::pdfFilesOf(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile() ||
            !url.toLocalFile().endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            return {};
        paths.append(url.toLocalFile());
    }
    return paths;
}

void AttachmentsDialog::dragEnterEvent(QDragEnterEvent *event)
{
    if (!pdfFilesOf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void AttachmentsDialog::dropEvent(QDropEvent *event)
{
    addFiles(pdfFilesOf(event->mimeData()));
    event->acceptProposedAction();
}

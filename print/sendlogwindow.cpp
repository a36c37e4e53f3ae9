// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/sendlogwindow.h"

#include "platform/errorreport.h"
#include "print/faxservice.h"
#include "print/sendlog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// A fax row's destination: the number, then where its job is followed.
QString referenceOf(const sendlog::Entry &entry)
{
    if (entry.method != sendlog::Method::Fax)
        return QString();
    return entry.destination.section(u' ', 1);
}
} // namespace

QString SendLogWindow::caption()
{
    return QStringLiteral("送付記録…");
}

SendLogWindow::SendLogWindow(const QString &programDir, QWidget *parent)
    : QDialog(parent), m_programDir(programDir)
{
    setObjectName(QStringLiteral("sendLogWindow"));
    setWindowTitle(QStringLiteral("送付記録"));
    m_table = new QTableWidget(0, 6, this);
    m_table->setObjectName(QStringLiteral("sendLogTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("日時"), QStringLiteral("方法"),
                                        QStringLiteral("宛先"), QStringLiteral("標題"),
                                        QStringLiteral("出力先"), QStringLiteral("状態")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(760, 320);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *again = buttons->addButton(QStringLiteral("更新"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("refreshButton"));
    connect(again, &QPushButton::clicked, this, &SendLogWindow::refresh);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
}

bool SendLogWindow::refresh()
{
    const Result<QList<sendlog::Entry>> read = sendlog::read(m_programDir);
    if (!read) {
        errorreport::show(read.error());
        return false;
    }
    QStringList references;
    for (const sendlog::Entry &entry : *read) {
        if (const QString reference = referenceOf(entry); !reference.isEmpty())
            references.append(reference);
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QHash<QString, QString> states = fax::statesOf(references);
    QGuiApplication::restoreOverrideCursor();

    m_table->setRowCount(static_cast<int>(read->size()));
    int row = 0;
    // Newest first: the log is written oldest first.
    for (auto it = read->crbegin(); it != read->crend(); ++it, ++row) {
        const sendlog::Entry &entry = *it;
        const QString reference = referenceOf(entry);
        const QStringList cells = {
            entry.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            sendlog::methodName(entry.method),
            entry.addressee,
            entry.title,
            entry.destination,
            reference.isEmpty() ? QString() : states.value(reference, QStringLiteral("不明")),
        };
        for (int column = 0; column < cells.size(); ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    m_table->resizeColumnsToContents();
    return true;
}

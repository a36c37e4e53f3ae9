// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/faxconfirmdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString FaxConfirmDialog::caption()
{
    return QStringLiteral("FAX送信…");
}

QString FaxConfirmDialog::everyoneCaption()
{
    return QStringLiteral("全員分をFAX送信");
}

FaxConfirmDialog::FaxConfirmDialog(const QString &number, const QString &addressee, int pages,
                                   const fax::Service &service, bool everyCustomer, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("faxConfirm"));
    setWindowTitle(QStringLiteral("FAX送信"));
    setMinimumWidth(420); // a server name or a queue reads whole
    auto *form = new QFormLayout;
    if (!everyCustomer) {
        m_number = new QLineEdit(number, this);
        m_number->setObjectName(QStringLiteral("faxNumber"));
        form->addRow(QStringLiteral("FAX番号"), m_number);
        connect(m_number, &QLineEdit::textChanged, this, &FaxConfirmDialog::check);
    } else {
        form->addRow(QStringLiteral("FAX番号"),
                     new QLabel(QStringLiteral("各顧客の《FAX》の番号"), this));
    }
    auto *to = new QLabel(addressee, this);
    to->setObjectName(QStringLiteral("faxAddressee"));
    form->addRow(QStringLiteral("宛先"), to);
    auto *count = new QLabel(QStringLiteral("本状を含め %1 枚").arg(pages), this);
    count->setObjectName(QStringLiteral("faxPages"));
    form->addRow(QStringLiteral("送信枚数"), count);

    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("faxService"));
    m_kind->addItem(QStringLiteral("HylaFAX サーバー"));
    m_kind->addItem(QStringLiteral("CUPS のFAXキュー"));
    m_kind->setCurrentIndex(service.kind == fax::Kind::CupsQueue ? 1 : 0);
    m_where =
        new QLineEdit(service.kind == fax::Kind::CupsQueue ? service.queue : service.host, this);
    m_where->setObjectName(QStringLiteral("faxServer"));
    m_where->setPlaceholderText(fax::Service{}.description());
    form->addRow(QStringLiteral("送信サービス"), m_kind);
    form->addRow(QStringLiteral("サーバー / キュー"), m_where);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &FaxConfirmDialog::check);
    connect(m_where, &QLineEdit::textChanged, this, &FaxConfirmDialog::check);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("faxProblem"));
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    auto *buttons = new QDialogButtonBox(this);
    m_send = buttons->addButton(QStringLiteral("送信"), QDialogButtonBox::AcceptRole);
    m_send->setObjectName(QStringLiteral("sendButton"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    check();
}

QString FaxConfirmDialog::number() const
{
    return m_number ? m_number->text() : QString();
}

fax::Service FaxConfirmDialog::service() const
{
    fax::Service service;
    service.kind = m_kind->currentIndex() == 1 ? fax::Kind::CupsQueue : fax::Kind::HylaFax;
    (service.kind == fax::Kind::CupsQueue ? service.queue : service.host) =
        m_where->text().trimmed();
    return service;
}

void FaxConfirmDialog::check()
{
    // Nothing goes to a number that is none, nor to a queue without a name.
    QString problem;
    if (m_number) {
        const Result<QString> dialled = fax::dialledNumber(m_number->text());
        if (!dialled)
            problem = dialled.error();
    }
    if (problem.isEmpty() && service().kind == fax::Kind::CupsQueue && service().queue.isEmpty())
        problem = QStringLiteral("FAXのキューの名前を入れてください");
    m_problem->setText(problem);
    m_send->setEnabled(problem.isEmpty());
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/faxservice.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "FAX送信": what is about to go, before it goes. The number (from the
// customer's 《FAX》 cell, editable; refused unless it is a fax number), the
// addressee, the pages with the cover, and the fax service, which the user
// may change here.
class FaxConfirmDialog : public QDialog
{
    Q_OBJECT
public:
    // `number` empty: a run for every customer, each to its own number;
    // `addressee` then says how many.
    FaxConfirmDialog(const QString &number, const QString &addressee, int pages,
                     const fax::Service &service, bool everyCustomer, QWidget *parent);

    QString number() const;
    fax::Service service() const;

    static QString caption();         // "FAX送信…"
    static QString everyoneCaption(); // "全員分をFAX送信"

private:
    void check();

    QLineEdit *m_number = nullptr;
    QComboBox *m_kind;
    QLineEdit *m_where;
    QLabel *m_problem;
    QPushButton *m_send;
};

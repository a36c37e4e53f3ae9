// SPDX-License-Identifier: GPL-3.0-or-later
// The customer list and the addressee block.

#include "shell/tform1.h"

#include "customers/addressblock.h"
#include "customers/customerfields.h"
#include "customers/customerlist.h"
#include "customers/customersource.h"
#include "customers/tflist.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>

namespace {
// The block of a list read from the text file or from the workbook.
addressblock::Layout layoutFor(StoredMode mode)
{
    return customersource::layoutOf(mode == StoredMode::TextList
                                        ? customersource::Source::TextList
                                        : customersource::Source::WorkbookList);
}
} // namespace

void TForm1::ListBox1Click()
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    const int i = selected.isEmpty() ? -1 : selected.first().row();
    if (i < 0)
        return;
    Label3->setText(QString::number(i + 1) + QLatin1Char('/') + QString::number(m_customerCount));
    const addressblock::Layout layout = layoutFor(m_letter.storedMode());
    // The clicked customer's cells fill the letter's fields from now on.
    setCustomer(customerfields::of(m_list->sg1, i, layout));
    setBoxText(boxtable::kAddresseeBox, addressblock::compose(m_list->sg1, i, layout));
}

QString TForm1::customerToolTip(int row) const
{
    if (!m_list || row < 0 || row >= m_customerCount)
        return QString();
    // The block as a click would write it, without its indents.
    QStringList lines = addressblock::compose(m_list->sg1, row, layoutFor(m_letter.storedMode()))
                            .split(QLatin1String("\r\n"));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(u'\n');
}

void TForm1::RadioGroup1Click()
{
    ListBox1->setFocus();
    const int n = m_customerCount;
    ListBox1Items->setStringList({});
    if (RadioButton2->isChecked()) {
        RadioButton1Click(RadioButton2); // reads the text file again
    } else if (RadioButton3->isChecked()) {
        // The workbook is not read again: the list is rebuilt from the table.
        ListBox1Items->setStringList(
            customerlist::workbookEntries(m_list->sg1, n, radioGroupItemIndex()));
    }
    Label3->setText(QLatin1Char('/') + QString::number(m_customerCount));
}

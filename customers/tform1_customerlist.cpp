// SPDX-License-Identifier: GPL-3.0-or-later
// The customer list and the addressee block.

#include "shell/tform1.h"

#include "customers/tflist.h"

#include <QItemSelectionModel>
#include <QListView>
#include <QRadioButton>

void TForm1::setDataHolder(TFList *list)
{
    m_customers.setHolder(list);
}

void TForm1::ListBox1Click()
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    const int i = selected.isEmpty() ? -1 : selected.first().row();
    if (i < 0)
        return;
    m_customers.choose(i);
    // The clicked customer's cells fill the letter's fields from now on.
    m_document.setCustomer(m_customers.customerValues(i));
    m_document.setText(boxtable::kAddresseeBox, m_customers.addresseeBlock(i));
}

void TForm1::RadioGroup1Click()
{
    ListBox1->setFocus();
    m_customers.setEntries({});
    if (m_document.letter().storedMode() == StoredMode::TextList) {
        RadioButton1Click(RadioButton2); // reads the text file again
    } else if (m_document.letter().storedMode() == StoredMode::WorkbookList) {
        // The workbook is not read again: the list is rebuilt from the table.
        m_customers.rekey(radioGroupItemIndex());
    }
    m_customers.showCount();
}

// The customer list and the addressee block.

#include "shell/tform1.h"

#include "customers/addressblock.h"
#include "customers/customerlist.h"
#include "customers/tflist.h"
#include "letter/boxmemo.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>

void TForm1::ListBox1Click()
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    const int i = selected.isEmpty() ? -1 : selected.first().row();
    if (i < 0)
        return;
    Label3->setText(QString::number(i + 1) + QLatin1Char('/') + QString::number(customerCount));
    const auto layout =
        RadioButton2->isChecked() ? addressblock::Layout::Text : addressblock::Layout::Workbook;
    memos[boxtable::kAddresseeBox]->setText(addressblock::compose(FList->sg1, i, layout));
}

QString TForm1::customerToolTip(int row) const
{
    if (!FList || row < 0 || row >= customerCount)
        return QString();
    const auto layout =
        RadioButton2->isChecked() ? addressblock::Layout::Text : addressblock::Layout::Workbook;
    // The block as a click would write it, without its indents.
    QStringList lines = addressblock::compose(FList->sg1, row, layout).split(QLatin1String("\r\n"));
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.join(u'\n');
}

void TForm1::RadioGroup1Click()
{
    ListBox1->setFocus();
    const int n = customerCount;
    ListBox1Items->setStringList({});
    if (RadioButton2->isChecked()) {
        RadioButton1Click(RadioButton2); // reads the text file again
    } else if (RadioButton3->isChecked()) {
        // The workbook is not read again: the list is rebuilt from the table.
        ListBox1Items->setStringList(
            customerlist::workbookEntries(FList->sg1, n, radioGroupItemIndex()));
    }
    Label3->setText(QLatin1Char('/') + QString::number(customerCount));
}

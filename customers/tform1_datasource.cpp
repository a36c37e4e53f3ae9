// The four data source options and what choosing one loads.

#include "shell/tform1.h"

#include "customers/customerlist.h"
#include "customers/tflist.h"
#include "customers/workbookfile.h"
#include "letter/boxmemo.h"
#include "platform/desktopopener.h"
#include "platform/errorreport.h"
#include "platform/fileinuse.h"

#include <QFile>
#include <QGroupBox>

#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>
#include <utility>

namespace {
QString sourceFileName(int mode, const QString &programDir)
{
    switch (mode) {
    case 2:
        return QStringLiteral("smpl1.txt");
    case 3:
        return workbookfile::customerWorkbookName(programDir);
    case 4:
        return QStringLiteral("smpl3.xls");
    default:
        return QString();
    }
}

// The fallback to 初期値 stays silent as an error goes, but a one-line note
// on the blank page says which file was looked for, and where, so that the
// user learns where smpl1.txt and the workbooks belong. Any later choice
// takes it away.
void noteMissingSource(QWidget *blankPage, const QString &path)
{
    auto *note = blankPage->findChild<QLabel *>(QStringLiteral("missingSourceNote"));
    if (path.isEmpty()) {
        if (note)
            note->hide();
        return;
    }
    if (!note) {
        note = new QLabel(blankPage);
        note->setObjectName(QStringLiteral("missingSourceNote"));
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        note->setGeometry(blankPage->contentsRect().adjusted(6, 6, -6, -6));
    }
    note->setText(QStringLiteral("ファイルが見つかりません: ") + path);
    note->show();
    qWarning("%s", qPrintable(note->text()));
}

// The count label's tag and caption after a read.
void showCustomerCount(TForm1 &form, int count)
{
    form.customerCount = count;
    form.Label3->setText(QLatin1Char('/') + QString::number(count));
}

// What a workbook read shows. Only a complete read changes the count; after
// a cell without a text form the list shows the rows read before it, and
// after a failed open the list, the table and the count stay as they were.
void showWorkbookRead(TForm1 &form, const workbookreader::Result &result)
{
    switch (result.status) {
    case workbookreader::Result::Status::OpenFailed:
        break;
    case workbookreader::Result::Status::CellFailed:
        form.ListBox1Items->setStringList(result.entries);
        break;
    case workbookreader::Result::Status::Read:
        form.ListBox1Items->setStringList(result.entries);
        showCustomerCount(form, result.count);
        return;
    }
    errorreport::show(result.errorMessage);
}
} // namespace

void TForm1::RadioButton1Click(QRadioButton *sender)
{
    noteLetterChanged(); // the stored mode decides whether the close saves box B
    noteMissingSource(TabSheet1, QString());
    GroupBox1->setFocus();
    Label3->clear();
    // The mode is the digit that ends the option's name.
    storedMode = sender->objectName().mid(11, 1).toInt();
    Label4->setText(sourceFileName(storedMode, programDir));

    if (storedMode > 1 && !QFile::exists(programDir + Label4->text())) {
        // Checking the first option runs this handler again, for mode 1.
        const QString lookedFor = programDir + Label4->text();
        RadioButton1->setChecked(true);
        storedMode = 1;
        noteMissingSource(TabSheet1, lookedFor);
        return;
    }

    setActivePage(storedMode == 2 || storedMode == 3 ? 1 : 0);

    if (storedMode == 4) {
        if (!IsFileInUse(programDir + Label4->text()))
            OpenMergeWorkbook();
        return;
    }

    ListBox1->hide();
    LoadForMode();
    ListBox1->show(); // also after a reader's error
}

void TForm1::LoadForMode()
{
    if (storedMode != 1)
        memos[boxtable::kAddresseeBox]->setText(QString());
    if (storedMode == 2 || storedMode == 3)
        setActivePage(1);

    switch (storedMode) {
    case 1:
        LoadBoxText(boxtable::kAddresseeBox); // a missing file leaves the box
        break;
    case 2:
        LoadTextList();
        break;
    case 3:
        showWorkbookRead(*this,
                         FList->Button2Click(programDir + Label4->text(), radioGroupItemIndex()));
        break;
    default:
        break;
    }
}

void TForm1::LoadTextList()
{
    ListBox1Items->setStringList({});
    textcustomerreader::Result result =
        FList->Button1Click(programDir + Label4->text(), radioGroupItemIndex());
    // The count is the file's line count, shown also when a line was bad.
    showCustomerCount(*this, result.count);
    if (!result.ok()) {
        // After a bad line the entries read so far would sit at other rows'
        // places, so the list stays empty; the table and the count stand.
        errorreport::show(result.errorMessage);
        return;
    }
    ListBox1Items->setStringList(
        customerlist::listEntriesWithout(std::move(result.entries), QChar(0x3000)));
}

bool TForm1::IsFileInUse(const QString &path)
{
    return fileinuse::isInUse(path);
}

void TForm1::OpenMergeWorkbook()
{
    desktopopener::open(programDir + Label4->text());
}

// The four data source options and what choosing one loads.

#include "shell/tform1.h"

#include "customers/customerlist.h"
#include "customers/tflist.h"
#include "customers/workbookfile.h"
#include "letter/boxmemo.h"
#include "platform/desktopopener.h"
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
} // namespace

void TForm1::RadioButton1Click(QRadioButton *sender)
{
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
        FList->Button2Click();
        break;
    default:
        break;
    }
}

void TForm1::LoadTextList()
{
    QStringList entries;
    if (!FList->Button1Click(entries))
        return; // the list stays empty
    ListBox1Items->setStringList(
        customerlist::listEntriesWithout(std::move(entries), QChar(0x3000)));
}

bool TForm1::IsFileInUse(const QString &path)
{
    return fileinuse::isInUse(path);
}

void TForm1::OpenMergeWorkbook()
{
    desktopopener::open(programDir + Label4->text());
}

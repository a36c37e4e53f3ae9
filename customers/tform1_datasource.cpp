// SPDX-License-Identifier: GPL-3.0-or-later
// The four data source options and what choosing one loads.

#include "shell/tform1.h"

#include "customers/customerlist.h"
#include "customers/customersource.h"
#include "customers/tflist.h"
#include "platform/desktopopener.h"
#include "platform/errorreport.h"
#include "platform/fileinuse.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>

#include <optional>

namespace {
// The file each mode names; 初期値 names none.
std::optional<customersource::Source> sourceOf(StoredMode mode)
{
    switch (mode) {
    case StoredMode::TextList:
        return customersource::Source::TextList;
    case StoredMode::WorkbookList:
        return customersource::Source::WorkbookList;
    case StoredMode::MergeWorkbook:
        return customersource::Source::MergeWorkbook;
    case StoredMode::NotChosen:
    case StoredMode::Initial:
        break;
    }
    return std::nullopt;
}
} // namespace

StoredMode TForm1::modeOf(const QRadioButton *option) const
{
    // The options in their order stand for modes 1 to 4.
    if (option == RadioButton2)
        return StoredMode::TextList;
    if (option == RadioButton3)
        return StoredMode::WorkbookList;
    if (option == RadioButton4)
        return StoredMode::MergeWorkbook;
    return StoredMode::Initial;
}

// The fallback to 初期値 stays silent as an error goes, but a one-line note
// on the blank page says which file was looked for, and where, so that the
// user learns where smpl1.txt and the workbooks belong. Any later choice
// takes it away.
void TForm1::noteMissingSource(const QString &path)
{
    auto *note = TabSheet1->findChild<QLabel *>(QStringLiteral("missingSourceNote"));
    if (path.isEmpty()) {
        if (note)
            note->hide();
        return;
    }
    if (!note) {
        note = new QLabel(TabSheet1);
        note->setObjectName(QStringLiteral("missingSourceNote"));
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note->setTextInteractionFlags(Qt::TextSelectableByMouse);
        note->setGeometry(TabSheet1->contentsRect().adjusted(6, 6, -6, -6));
    }
    note->setText(QStringLiteral("ファイルが見つかりません: ") + path);
    note->show();
    qWarning("%s", qPrintable(note->text()));
}

void TForm1::showCustomerCount(int count)
{
    m_customerCount = count;
    Label3->setText(QLatin1Char('/') + QString::number(count));
}

void TForm1::RadioButton1Click(QRadioButton *sender)
{
    noteMissingSource(QString());
    GroupBox1->setFocus();
    Label3->clear();
    const StoredMode mode = modeOf(sender);
    m_letter.setStoredMode(mode);
    setCustomer(std::nullopt); // no customer chosen in the new mode yet
    noteLetterChanged();       // the stored mode decides whether the close saves box B
    const std::optional<customersource::Source> source = sourceOf(mode);
    m_sourceFile = source ? customersource::fileName(*source, m_letter.programDir()) : QString();
    Label4->setText(m_sourceFile);

    if (source && !QFile::exists(m_letter.programDir() + m_sourceFile)) {
        // Checking the first option runs this handler again, for mode 1.
        const QString lookedFor = m_letter.programDir() + m_sourceFile;
        RadioButton1->setChecked(true);
        m_letter.setStoredMode(StoredMode::Initial);
        noteMissingSource(lookedFor);
        return;
    }

    const bool listed = mode == StoredMode::TextList || mode == StoredMode::WorkbookList;
    setActivePage(listed ? 1 : 0);

    if (mode == StoredMode::MergeWorkbook) {
        if (!IsFileInUse(m_letter.programDir() + m_sourceFile))
            OpenMergeWorkbook();
        return;
    }

    ListBox1->hide();
    LoadForMode();
    ListBox1->show(); // also after a reader's error
}

void TForm1::LoadForMode()
{
    const StoredMode mode = m_letter.storedMode();
    if (mode != StoredMode::Initial)
        setBoxText(boxtable::kAddresseeBox, QString());

    switch (mode) {
    case StoredMode::Initial: {
        // The addressee as last saved; a missing file leaves the box.
        const Result<void> loaded = m_letter.LoadBoxText(boxtable::kAddresseeBox);
        if (!loaded)
            errorreport::show(loaded.error());
        else
            setBoxText(boxtable::kAddresseeBox, m_letter.box(boxtable::kAddresseeBox).text);
        break;
    }
    case StoredMode::TextList:
        setActivePage(1);
        LoadTextList();
        break;
    case StoredMode::WorkbookList: {
        setActivePage(1);
        showCustomerRead(customersource::read(*m_list, customersource::Source::WorkbookList,
                                              m_letter.programDir() + m_sourceFile,
                                              radioGroupItemIndex()));
        break;
    }
    case StoredMode::NotChosen:
    case StoredMode::MergeWorkbook:
        break;
    }
}

void TForm1::LoadTextList()
{
    ListBox1Items->setStringList({});
    // The count is the file's line count, shown also when a line was bad;
    // after a bad line the list stays empty, the table and the count stand.
    showCustomerRead(customersource::read(*m_list, customersource::Source::TextList,
                                          m_letter.programDir() + m_sourceFile,
                                          radioGroupItemIndex()));
}

void TForm1::showCustomerRead(const CustomerRead &read)
{
    if (const std::optional<QStringList> entries = customersource::shownEntries(read))
        ListBox1Items->setStringList(*entries);
    if (const std::optional<int> count = customersource::shownCount(read))
        showCustomerCount(*count);
    if (!read)
        errorreport::show(read.error());
}

bool TForm1::IsFileInUse(const QString &path)
{
    return fileinuse::isInUse(path);
}

void TForm1::OpenMergeWorkbook()
{
    desktopopener::open(m_letter.programDir() + m_sourceFile);
}

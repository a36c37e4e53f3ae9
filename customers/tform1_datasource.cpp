// SPDX-License-Identifier: GPL-3.0-or-later
// The four data source options and what choosing one loads.

#include "shell/tform1.h"

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

void TForm1::RadioButton1Click(QRadioButton *sender)
{
    noteMissingSource(QString());
    GroupBox1->setFocus();
    m_customers.hideCount();
    // No customer is chosen in the new mode yet; the stored mode decides
    // whether the close saves box B.
    const StoredMode mode = modeOf(sender);
    m_document.setStoredMode(mode);
    const std::optional<customersource::Source> source = sourceOf(mode);
    const bool listed = mode == StoredMode::TextList || mode == StoredMode::WorkbookList;
    m_customers.setSource(listed ? source : std::nullopt);
    const QString programDir = m_document.letter().programDir();
    m_sourceFile = source ? customersource::fileName(*source, programDir) : QString();
    Label4->setText(m_sourceFile);

    if (source && !QFile::exists(programDir + m_sourceFile)) {
        // Back to 初期値: checking its option runs this handler again, for it.
        const QString lookedFor = programDir + m_sourceFile;
        RadioButton1->setChecked(true);
        m_document.setStoredMode(StoredMode::Initial);
        noteMissingSource(lookedFor);
        return;
    }

    setActivePage(listed ? 1 : 0);

    if (mode == StoredMode::MergeWorkbook) {
        if (!IsFileInUse(programDir + m_sourceFile))
            OpenMergeWorkbook();
        return;
    }

    ListBox1->hide();
    LoadForMode();
    ListBox1->show(); // also after a reader's error
}

void TForm1::LoadForMode()
{
    const StoredMode mode = m_document.letter().storedMode();
    if (mode != StoredMode::Initial)
        m_document.setText(boxtable::kAddresseeBox, QString());

    switch (mode) {
    case StoredMode::Initial: {
        // The addressee as last saved; a missing file leaves the box.
        const Result<void> loaded = m_document.reloadAddressee();
        if (!loaded)
            errorreport::show(loaded.error());
        break;
    }
    case StoredMode::TextList:
        setActivePage(1);
        LoadTextList();
        break;
    case StoredMode::WorkbookList: {
        setActivePage(1);
        showCustomerRead(m_customers.read(customersource::Source::WorkbookList,
                                          m_document.letter().programDir() + m_sourceFile,
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
    // The count is the file's line count, shown also when a line was bad;
    // after a bad line the list stays empty, the table and the count stand.
    showCustomerRead(m_customers.read(customersource::Source::TextList,
                                      m_document.letter().programDir() + m_sourceFile,
                                      radioGroupItemIndex()));
}

void TForm1::showCustomerRead(const CustomerRead &read)
{
    if (!read)
        errorreport::show(read.error());
}

bool TForm1::IsFileInUse(const QString &path)
{
    return fileinuse::isInUse(path);
}

void TForm1::OpenMergeWorkbook()
{
    desktopopener::open(m_document.letter().programDir() + m_sourceFile);
}

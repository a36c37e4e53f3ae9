#include "customers/tflist.h"

#include "customers/textcustomerreader.h"
#include "customers/workbookreader.h"
#include "platform/errorreport.h"
#include "shell/tform1.h"

#include <QLabel>
#include <QStringListModel>

TFList::TFList(TForm1 &form) : m_form(form) {}

namespace {
void showCount(TForm1 &form, int count)
{
    form.customerCount = count;
    form.Label3->setText(QLatin1Char('/') + QString::number(count));
}
} // namespace

bool TFList::Button1Click(QStringList &entries)
{
    const QString path = m_form.programDir + m_form.Label4->text();
    m_form.ListBox1Items->setStringList({});
    auto result = textcustomerreader::read(path, m_form.radioGroupItemIndex(), sg1);
    // After a bad line the entries read so far would sit at other rows'
    // places, so the list stays empty; the table and the count stand.
    entries = std::move(result.entries);
    showCount(m_form, result.count);
    if (!result.ok()) {
        errorreport::show(result.errorMessage);
        return false;
    }
    return true;
}

bool TFList::Button2Click()
{
    const QString path = m_form.programDir + m_form.Label4->text();
    auto result = workbookreader::read(path, m_form.radioGroupItemIndex(), sg1);
    switch (result.status) {
    case workbookreader::Result::Status::OpenFailed:
        break; // list, table and count as they were
    case workbookreader::Result::Status::CellFailed:
        m_form.ListBox1Items->setStringList(result.entries);
        break;
    case workbookreader::Result::Status::Read:
        m_form.ListBox1Items->setStringList(result.entries);
        showCount(m_form, result.count);
        return true;
    }
    errorreport::show(result.errorMessage);
    return false;
}

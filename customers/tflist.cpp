#include "customers/tflist.h"

textcustomerreader::Result TFList::Button1Click(const QString &path, int keyIndex)
{
    return textcustomerreader::read(path, keyIndex, sg1);
}

workbookreader::Result TFList::Button2Click(const QString &path, int keyIndex)
{
    return workbookreader::read(path, keyIndex, sg1);
}

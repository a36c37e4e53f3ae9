// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/tflist.h"

CustomerRead TFList::Button1Click(const QString &path, int keyIndex)
{
    return textcustomerreader::read(path, keyIndex, sg1);
}

CustomerRead TFList::Button2Click(const QString &path, int keyIndex)
{
    return workbookreader::read(path, keyIndex, sg1);
}

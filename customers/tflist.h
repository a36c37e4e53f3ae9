// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customertable.h"
#include "customers/textcustomerreader.h"
#include "customers/workbookreader.h"

#include <QString>

// The data holder: owns the customer table and runs the two readers that
// fill it. It has no window: the main window's handlers pass in the file and
// the key the user chose, then show what a read returns (the list entries,
// the customer count and the error to report).
class TFList
{
public:
    CustomerTable sg1;

    // The customer text file at `path`; `keyIndex` is the company/person
    // selector's item. The list entries still hold the ideographic spaces
    // that stood for the file's half-width spaces.
    CustomerRead Button1Click(const QString &path, int keyIndex);

    // The customer workbook at `path`; `keyIndex` as above.
    CustomerRead Button2Click(const QString &path, int keyIndex);
};

#pragma once

#include "customers/customertable.h"

class TForm1;

// The data holder: owns the customer table and its two readers, which the
// main window calls. It has no window of its own.
class TFList
{
public:
    explicit TFList(TForm1 &form);

    CustomerTable sg1;

    // The readers fill the table and the count label, and the customer list
    // (the text reader hands its entries to the caller, which shows them
    // once, after taking the spaces out); false after an error was reported.
    bool Button1Click(QStringList &entries); // text reader
    bool Button2Click(); // workbook reader

private:
    TForm1 &m_form;
};

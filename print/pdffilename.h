// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The names of the PDFs a run of one PDF per customer writes:
// "0003_株式会社　山田商事.pdf", the customer's row in the list (from 1) and
// its company. The row number makes every name of one run its own, so two
// customers of the same company never overwrite each other's file, and the
// files sort in list order.
namespace pdffilename {

// The longest name, in UTF-8 bytes, that the usual file systems all take
// (255), less room for the temporary name a save writes first.
constexpr int kMaxNameBytes = 200;

// `company` made safe to be part of a file name: every character that a
// Linux, Windows or macOS file name cannot hold, or that a shell or a mail
// program trips over (/ \ : * ? " < > | and control characters), becomes
// "_"; blanks and dots at either end go; the rest is kept as written,
// ideographic spaces included.
QString safePart(const QString &company);

// The file name of the customer at list row `row` (1-based) of a list of
// `count` customers: the row with at least four digits (more when the list is
// longer, so that the names still sort), "_" and the safe company, cut
// to kMaxNameBytes on a character boundary, then ".pdf". Without a company,
// the row number alone.
QString forCustomer(int row, int count, const QString &company);

} // namespace pdffilename

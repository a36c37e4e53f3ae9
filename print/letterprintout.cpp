// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out onto the default printer. Apart from the PDFs' file because
// the printer needs Qt's print support, which the command line never loads.

#include "print/letteroutput.h"

#include "print/letteroutputsteps.h"
#include "print/printerplayback.h"

namespace letteroutput {

Outcome print(const LetterModel &letter, documentname::JobNamer &jobNames)
{
    // A calibration file the user edited into nonsense stops the print
    // before a sheet is wasted on letterhead.
    const Result<printercalibration::Table> calibrations =
        printercalibration::load(letter.programDir());
    if (!calibrations)
        return calibrations.failure();
    const QDateTime at = Clock::now();
    const Result<QString> printed = printerplayback::printRenderPage(
        letterpage::build(letter), jobNames.next(at), *calibrations);
    if (!printed)
        return printed.failure();
    return delivered(letter, {letterpage::heading(letter)}, at, sendlog::Method::Print, *printed);
}

Outcome printMerged(const LetterModel &letter, const Customers &customers,
                    documentname::JobNamer &jobNames, const Progress &progress)
{
    const MergedLetters letters = mergedLetters(letter, customers);
    if (letters.count() == 0)
        return fail(nothingChosenText());
    const Result<printercalibration::Table> calibrations =
        printercalibration::load(letter.programDir());
    if (!calibrations)
        return calibrations.failure();
    const Result<QString> printed = printerplayback::printRenderPages(
        letters.count(), pagesOf(letters, progress), jobNames.next(Clock::now()),
        progress.keepGoing, *calibrations);
    if (!printed)
        return printed.failure();
    return deliveredMerge(letter, customers, sendlog::Method::Print, *printed);
}

} // namespace letteroutput

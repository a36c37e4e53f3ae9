// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out onto the default printer. Apart from the PDFs' file because
// the printer needs Qt's print support, which the command line never loads.

#include "print/letteroutput.h"

#include "print/letteroutputsteps.h"
#include "print/printerplayback.h"

namespace letteroutput {

Outcome print(const LetterModel &letter, documentname::JobNamer &jobNames)
{
    const Result<LetterModel> going = goingOut(letter);
    if (!going)
        return going.failure();
    // A calibration file the user edited into nonsense stops the print
    // before a sheet is wasted on letterhead.
    const Result<printercalibration::Table> calibrations =
        printercalibration::load(letter.programDir());
    if (!calibrations)
        return calibrations.failure();
    const QDateTime at = Clock::now();
    const RenderPage page = letterpage::build(*going);
    // A letter alone is drawn on the printer as it always was.
    const Result<QString> printed =
        going->attachments().isEmpty()
            ? printerplayback::printRenderPage(page, jobNames.next(at), *calibrations)
            : printerplayback::printWithAttachments(
                  1, [&page](qsizetype) { return page; }, jobNames.next(at), going->attachments(),
                  {}, *calibrations);
    if (!printed)
        return printed.failure();
    return delivered(*going, {letterpage::heading(*going)}, at, sendlog::Method::Print, *printed);
}

Outcome printMerged(const LetterModel &letter, const Customers &customers,
                    documentname::JobNamer &jobNames, const Progress &progress)
{
    const Result<GoingMerge> going = mergeGoingOut(letter, customers);
    if (!going)
        return going.failure();
    const Result<printercalibration::Table> calibrations =
        printercalibration::load(letter.programDir());
    if (!calibrations)
        return calibrations.failure();
    const MergedLetters &letters = going->letters;
    const Result<QString> printed = printerplayback::printWithAttachments(
        letters.count(), pagesOf(letters, progress), jobNames.next(Clock::now()),
        going->letter.attachments(), progress.keepGoing, *calibrations);
    if (!printed)
        return printed.failure();
    return deliveredMerge(going->letter, customers, sendlog::Method::Print, *printed);
}

} // namespace letteroutput

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
    const QDateTime at = Clock::now();
    const RenderPage page = letterpage::build(*going);
    // A letter alone is drawn on the printer as it always was.
    const Result<QString> printed =
        going->attachments().isEmpty()
            ? printerplayback::printRenderPage(page, jobNames.next(at))
            : printerplayback::printWithAttachments(
                  1, [&page](qsizetype) { return page; }, jobNames.next(at), going->attachments());
    if (!printed)
        return printed.failure();
    return delivered(*going, {letterpage::heading(*going)}, at, sendlog::Method::Print, *printed);
}

Outcome printMerged(const LetterModel &letter, const Customers &customers,
                    documentname::JobNamer &jobNames, const Progress &progress)
{
    const Result<LetterModel> going = goingOut(letter);
    if (!going)
        return going.failure();
    const MergedLetters letters = mergedLetters(*going, customers);
    const Result<QString> printed = printerplayback::printWithAttachments(
        letters.count(), pagesOf(letters, progress), jobNames.next(Clock::now()),
        going->attachments(), progress.keepGoing);
    if (!printed)
        return printed.failure();
    return deliveredMerge(*going, customers, sendlog::Method::Print, *printed);
}

} // namespace letteroutput

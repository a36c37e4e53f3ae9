// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/lettermodel.h"
#include "platform/clock.h"
#include "print/letteroutput.h"
#include "print/letterpage.h"
#include "print/pageplayback.h"

// The steps the ways out share, for the files that implement them.
namespace letteroutput {

// The letter as it goes out: each attachment opened and its pages counted
// now, so that 《枚数》 prints what really goes; the first that cannot go
// out, named.
Result<LetterModel> goingOut(const LetterModel &letter);
// "送る顧客が選ばれていません": a merge whose choice leaves no customer.
QString nothingChosenText();

// A merge as it goes out: the letter with its documents counted, and a
// letter for each chosen customer; refused when none is chosen.
struct GoingMerge
{
    LetterModel letter;
    MergedLetters letters;
};
Result<GoingMerge> mergeGoingOut(const LetterModel &letter, const Customers &customers);

// A merge's letters, and a source of their pages that tells the progress
// which letter it begins.
MergedLetters mergedLetters(const LetterModel &letter, const Customers &customers);
pageplayback::PageSource pagesOf(const MergedLetters &letters, const Progress &progress);

// The rows of `letters` that went out at `at` by `method` to `destination`,
// into the letter's send log: every way out writes its rows through here.
Result<void> logSent(const LetterModel &letter, const QList<letterpage::Heading> &letters,
                     const QDateTime &at, sendlog::Method method, const QString &destination);

// The last step: `letters` went out at `at` by `method` to `destination`,
// and their rows go into the letter's send log.
Outcome delivered(const LetterModel &letter, const QList<letterpage::Heading> &letters,
                  const QDateTime &at, sendlog::Method method, const QString &destination);
// The same for a merge's letters, at the moment it ends.
Outcome deliveredMerge(const LetterModel &letter, const Customers &customers,
                       sendlog::Method method, const QString &destination);

} // namespace letteroutput

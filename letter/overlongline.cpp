// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/overlongline.h"

namespace overlongline {

qsizetype shownLength(QStringView text, qsizetype longestLine)
{
    qsizetype lineStart = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i] == u'\n') {
            lineStart = i + 1;
            continue;
        }
        if (i - lineStart < longestLine)
            continue;
        // i is the first character past the limit: cut before it, or before
        // the high half of a pair it would split.
        qsizetype cut = i;
        if (text[cut].isLowSurrogate() && text[cut - 1].isHighSurrogate())
            --cut;
        return cut;
    }
    return n;
}

} // namespace overlongline

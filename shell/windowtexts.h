// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The captions and notes the window adds to its fixed controls: its menu
// entries for the ways out and the notes it shows over the customer list.
namespace windowtexts {

inline QString savePdfCaption()
{
    return QStringLiteral("PDFに保存…");
}

inline QString saveMergedPdfCaption()
{
    return QStringLiteral("全員分をPDFに保存…");
}

inline QString printMergedCaption()
{
    return QStringLiteral("全員分を印刷");
}

inline QString nothingToMergeText()
{
    return QStringLiteral("差し込む宛先がありません。「TXTから取得」か「XLSから取得」で"
                          "顧客の一覧を読み込んでください");
}

inline QString recoveredNoteText()
{
    return QStringLiteral("前回終了時の内容を復元しました");
}

} // namespace windowtexts

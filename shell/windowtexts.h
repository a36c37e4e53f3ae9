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

inline QString savePdfEachCaption()
{
    return QStringLiteral("1件ずつPDFに保存…");
}

inline QString calibrationCaption()
{
    return QStringLiteral("印刷位置の調整…");
}

// The dialog that chooses a merge's customers.
inline QString mergeFilterPlaceholder()
{
    return QStringLiteral("絞り込み（どの欄でも）");
}

inline QString selectAllCaption()
{
    return QStringLiteral("全て選択");
}

inline QString selectNoneCaption()
{
    return QStringLiteral("全て解除");
}

inline QString mergeRunCaption()
{
    return QStringLiteral("実行");
}

inline QString cancelCaption()
{
    return QStringLiteral("キャンセル");
}

inline QString noPreviewText()
{
    return QStringLiteral("顧客を選ぶと、その宛名の送付状が表示されます");
}

// "3 / 12 通を送ります"
inline QString mergeCountText(int chosen, int count)
{
    return QStringLiteral("%1 / %2 通を送ります").arg(chosen).arg(count);
}

inline QString recoveredNoteText()
{
    return QStringLiteral("前回終了時の内容を復元しました");
}

inline QString keepLetterCaption()
{
    return QStringLiteral("この文書を名前を付けて保存…");
}

} // namespace windowtexts

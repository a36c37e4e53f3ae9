// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/datestyle.h"
#include "platform/result.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <utility>

class LetterModel;

// A letter kept under a name: what the close would save of the current
// letter (the box texts, box B only when the close saves it, each box's
// font and frame for every screen-height class it was kept on) and its date
// style. It lives in one file of its own that a user can mail to a
// colleague and open in any editor:
//
//   [Letter]
//   DateStyle=和暦
//   [Layout38]
//   mm1FontName=ＭＳ Ｐ明朝
//   mm1FontSize=11
//   ...
//   [1本文]
//   |拝啓　時下ますますご清栄のことと
//   |お慶び申し上げます。
//   [添付ファイル]
//   |/home/yamada/見積書.pdf
//
// UTF-8, since its file name is UTF-8 too and every editor opens it; the
// layout keys are those of the settings file, read by the same rules. Each
// text line is written after a "|", so a line may begin with anything,
// "[" included, and keep its blanks; a text has as many lines as it has
// "|" lines (an empty text is a single "|").
struct NamedLetter
{
    using Keys = QList<std::pair<QString, QString>>; // in the settings file's order

    datestyle::Style dateStyle = datestyle::Style::Western;
    QMap<int, Keys> layouts;  // by screen-height class
    QMap<int, QString> texts; // by box index, CR LF line breaks
    // The PDF files that go after the cover, a path a "|" line; the section
    // is written only for a letter that has any.
    QStringList attachments;

    // Files larger than this are refused rather than read.
    static constexpr qsizetype kMaxFileSize = 4 * 1024 * 1024;

    QByteArray toBytes() const;
    // The letter in a file's content; why it is none when damaged.
    static Result<NamedLetter> fromBytes(const QByteArray &bytes);

    // What a close of `letter` would keep: its date style, its layout for
    // its screen-height class (the other classes of `kept` stay), and the
    // texts of the boxes the close saves.
    static NamedLetter capture(const LetterModel &letter, NamedLetter kept);
    static NamedLetter capture(const LetterModel &letter) { return capture(letter, {}); }
    // Puts the letter into `letter`: its texts, its date style (box D gets
    // `today` in it) and, when it was kept on this screen-height class, each
    // box's font and frame. Boxes it has no text for keep theirs.
    void applyTo(LetterModel &letter, const QDate &today) const;
};

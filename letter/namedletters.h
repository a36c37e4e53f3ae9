// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "letter/namedletter.h"
#include "platform/result.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The letters kept under a name: one file each, "Letters/<name>.ini" in the
// program directory, so that a user can copy one to a colleague or take it
// from one. The current letter itself stays in Init/ and Data/; a named
// letter is copied into it when the user switches to it and out of it when
// the user keeps it. Which named letter the current one came from is noted
// in Init/currentletter.txt, a file that exists only while there is one.
class NamedLetters
{
public:
    static constexpr QStringView kDirName = u"Letters";
    static constexpr QStringView kSuffix = u".ini";
    static constexpr QStringView kCurrentFile = u"currentletter.txt";
    // A file name holds at most this many bytes, the suffix included.
    static constexpr qsizetype kMaxFileNameBytes = 255;

    // `programDir` ends with "/".
    explicit NamedLetters(const QString &programDir);

    // Why `name` cannot name a letter (a name becomes a file name as it is):
    // empty, ".", "..", or beginning with a dot (a hidden file), holding "/"
    // or a control character, or too long for a file name. Nothing when it
    // can.
    static Result<void> checkName(const QString &name);

    QString directory() const;
    QString path(const QString &name) const;

    // The names of the letters there are, in the order of the user's locale.
    QStringList names() const;
    bool contains(const QString &name) const;

    // The letter of that name; the error says why there is none.
    Result<NamedLetter> read(const QString &name) const;
    // Keeps `letter` under `name`, replacing a letter of that name.
    Result<void> write(const QString &name, const NamedLetter &letter) const;
    // Refuses a name that is taken: a letter is never written over by one
    // of another name.
    Result<void> rename(const QString &from, const QString &to) const;
    Result<void> remove(const QString &name) const;

    // The name of the letter the current one came from; empty for none.
    QString current() const;
    // An empty name removes the note.
    Result<void> setCurrent(const QString &name) const;

    // "文書「<name>」はありません"
    static QString unknownMessage(const QString &name);

private:
    QString m_programDir;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The integer rule of the settings file: decimal within the 32-bit range, or
// hexadecimal ("$1E", "x1E", "0x1E") of at most eight significant digits
// taken as a two's-complement pattern; one leading sign. Anything else fails.
std::optional<qint32> parseProfileInt(QStringView text);

// An INI document with the semantics of Windows' private profile functions,
// in code page 932 with CR LF lines. Section and key names match without
// regard to ASCII case (Japanese names match exactly); values are read with
// the blanks around them removed, enclosing quotes dropped and at most
// 2047 bytes. Writing replaces a value in its line, adds a new key after the
// last entry of its section and a new section at the end; every other byte of
// the file stays as it was.
//
// Load once, read or set any number of values in memory, save once: the save
// replaces the file atomically. The file is parsed lazily and only for the
// sections asked for, so a huge or hostile file costs time and memory in
// proportion to its size, no more.
class ProfileFile
{
public:
    // Larger files are treated as unreadable rather than held in memory.
    static constexpr qsizetype kMaxFileSize = 256 * 1024 * 1024;

    // The longest value a read returns, in bytes.
    static constexpr qsizetype kMaxValueBytes = 2047;

    // The document of the file at `path`: an empty one when there is no
    // file; the system's reason when the file exists but cannot be read (a
    // document of its content would be lost when saved over it).
    static Result<ProfileFile> load(const QString &path);
    // A document over the given file content, with no path (tests, tools).
    static ProfileFile fromBytes(const QByteArray &bytes);

    QString path() const { return m_path; }
    // Whether the document was read from a file (else there was none).
    bool existed() const { return m_existed; }

    // The value of a key, or nothing when the section or the key is missing;
    // a key with nothing after "=" gives an empty text.
    std::optional<QString> value(QStringView section, QStringView key) const;
    QString readString(QStringView section, QStringView key, const QString &defaultValue) const;
    // A missing key or a value that is no integer gives the default.
    qint32 readInt(QStringView section, QStringView key, qint32 defaultValue) const;

    // Line breaks and NUL in the value become blanks, so that a value always
    // stays on its line.
    void setValue(QStringView section, QStringView key, const QString &value);
    void setInt(QStringView section, QStringView key, qint32 value);

    // The document as it would be saved.
    QByteArray toBytes() const;

    // Replaces the file at path() atomically. Fails for a document that has no
    // path, and for the reasons of atomicfile::write().
    Result<void> save() const;

private:
    struct KeyState
    {
        bool inSource = false;
        qsizetype valueStart = 0; // right after "=" in the source
        qsizetype valueEnd = 0;   // end of the line's content
        QByteArray spelling;      // for a key not in the source
        std::optional<QByteArray> written;
    };
    struct SectionState
    {
        bool inSource = false;
        qsizetype anchorEnd = 0; // end of the last entry line (or the header)
        bool anchorHasBreak = true;
        qsizetype bodyStart = 0; // the lines after the header
        qsizetype bodyEnd = 0;
        // First key line per hash of the folded name (see indexInsert).
        std::vector<quint64> index;
        qsizetype indexCount = 0;
        QByteArray spelling;
        QHash<QByteArray, KeyState> keys; // by folded name
        QList<QByteArray> addedKeys;      // folded names not in the source, in order
    };

    SectionState &section(const QByteArray &folded, const QByteArray &spelling) const;
    KeyState &key(SectionState &section, const QByteArray &folded,
                  const QByteArray &spelling) const;

    QString m_path;
    bool m_existed = false;
    QByteArray m_source;
    // Filled on demand by const lookups; the document itself does not change.
    mutable QHash<QByteArray, SectionState> m_sections; // by folded name
    mutable QList<QByteArray> m_addedSections;          // folded names, in order
};

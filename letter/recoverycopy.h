// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// What a close at some moment would have written, kept aside so that a run
// that never reaches its close (kill -9, a crash, a lost display, a power
// cut) loses nothing: the settings file and the box text files, each with
// its name below the program directory and its exact bytes, in the order
// the close writes them.
//
// The copy is one file: a header, the files, and a SHA-256 of all of it. A
// copy that is cut short, altered or names a file the close never writes is
// damaged and is never applied, not even in part.
namespace recoverycopy {

struct File
{
    QString relativePath; // "Init/tavrint38.ini", "Data/1本文.txt"
    QByteArray bytes;

    bool operator==(const File &) const = default;
};
using Files = QList<File>;

// Only the names a close writes: "Init/<name>.ini" and "Data/<name>.txt",
// with no further folder in them.
bool isLetterFilePath(QStringView relativePath);

QByteArray encode(const Files &files);
// The files of an intact copy; nothing for a damaged one.
std::optional<Files> decode(const QByteArray &copy);

} // namespace recoverycopy

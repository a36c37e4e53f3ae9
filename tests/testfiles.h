// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The file helpers every test shares: reading and writing files the way
// another program would, and a fresh program directory to do it in.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

inline QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

// The file's bytes, or `ifUnreadable`.
inline QByteArray readAll(const QString &path,
                          const QByteArray &ifUnreadable = QByteArrayLiteral("<unreadable>"))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ifUnreadable;
    return file.readAll();
}

// Writes the bytes directly, as another program would.
inline bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A program directory of its own in a temporary folder, removed with it.
// Files are named relative to it ("Data/1本文.txt"); writing one creates the
// folders on its way, as a user copying files in would.
class ProgramDir
{
public:
    QString programDir() const { return m_dir.path() + QLatin1Char('/'); }
    QString path(const QString &relative) const { return programDir() + relative; }
    void writeFile(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        writePlain(path(relative), bytes);
    }
    // The file's bytes; empty when it cannot be read.
    QByteArray readFile(const QString &relative) const { return readAll(path(relative), {}); }

private:
    QTemporaryDir m_dir;
};

#pragma once

// Small file helpers the tests share.

#include <QByteArray>
#include <QFile>
#include <QString>

inline QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

// The file's bytes, or "<unreadable>".
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

// Writes the bytes directly, as another program would.
inline bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>

struct zip;
struct zip_file;

// A workbook in today's formats is a ZIP archive of XML parts. This opens one
// read-only (libzip) and hands out its parts as sequential devices that
// refuse to give more than a cap of uncompressed bytes, so that a zip bomb or
// a part of endless XML costs bounded time and memory.
class ZipArchive
{
public:
    enum class Failure {
        None,
        Damaged,   // not a ZIP archive, or a damaged one
        Encrypted, // the part is protected by a password
        TooLarge,  // the part holds more than the cap
    };

    // Whether libzip can be opened. Without it every archive fails to open.
    static bool libraryAvailable();

    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // `path` in the file system's encoding.
    bool openFile(const QByteArray &path);
    // The bytes must outlive the archive.
    bool openBytes(QByteArrayView bytes);

    // Whether the archive holds a part of that name (exact, else ignoring case).
    bool contains(const QString &name) const;

    // The part as a device (opened for reading), or why it cannot be opened
    // (Damaged or Encrypted). Reading past `maxBytes` of uncompressed data
    // fails and sets the device's failure to TooLarge; a damaged stream sets
    // Damaged.
    class Part;
    Result<std::unique_ptr<Part>, Failure> open(const QString &name, qint64 maxBytes) const;

private:
    qint64 locate(const QString &name) const;
    zip *m_zip = nullptr;
};

class ZipArchive::Part : public QIODevice
{
public:
    Part(zip_file *file, qint64 maxBytes);
    ~Part() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_ended; }
    Failure failure() const { return m_failure; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file *m_file;
    qint64 m_left;
    bool m_ended = false;
    Failure m_failure = Failure::None;
};

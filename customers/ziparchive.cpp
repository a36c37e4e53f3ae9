#include "customers/ziparchive.h"

#include <zip.h>

ZipArchive::ZipArchive() = default;

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

bool ZipArchive::openFile(const QByteArray &path)
{
    int error = 0;
    m_zip = zip_open(path.constData(), ZIP_RDONLY, &error);
    return m_zip != nullptr;
}

bool ZipArchive::openBytes(QByteArrayView bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(bytes.data(), zip_uint64_t(bytes.size()), 0, &error);
    if (source) {
        m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!m_zip)
            zip_source_free(source);
    }
    zip_error_fini(&error);
    return m_zip != nullptr;
}

qint64 ZipArchive::locate(const QString &name) const
{
    if (!m_zip)
        return -1;
    const QByteArray utf8 = name.toUtf8();
    zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), 0);
    if (index < 0)
        index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    return index;
}

bool ZipArchive::contains(const QString &name) const
{
    return locate(name) >= 0;
}

std::unique_ptr<ZipArchive::Part> ZipArchive::open(const QString &name, qint64 maxBytes,
                                                   Failure &failure) const
{
    const qint64 index = locate(name);
    if (index < 0) {
        failure = Failure::Damaged;
        return nullptr;
    }
    zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(m_zip));
        failure =
            code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP
                ? Failure::Encrypted
                : Failure::Damaged;
        return nullptr;
    }
    failure = Failure::None;
    auto part = std::make_unique<Part>(file, maxBytes);
    part->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return part;
}

QByteArray ZipArchive::readAll(const QString &name, qint64 maxBytes, Failure &failure) const
{
    const std::unique_ptr<Part> part = open(name, maxBytes, failure);
    if (!part)
        return {};
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const qint64 n = part->read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    failure = part->failure();
    return failure == Failure::None ? bytes : QByteArray();
}

ZipArchive::Part::Part(zip_file *file, qint64 maxBytes) : m_file(file), m_left(maxBytes) {}

ZipArchive::Part::~Part()
{
    zip_fclose(m_file);
}

qint64 ZipArchive::Part::readData(char *data, qint64 maxSize)
{
    if (m_ended)
        return m_failure == Failure::None ? 0 : -1;
    // One byte more than the cap allows tells a full part from a larger one.
    const qint64 want = qMin(maxSize, m_left + 1);
    const zip_int64_t n = zip_fread(m_file, data, zip_uint64_t(want));
    if (n < 0) {
        m_ended = true;
        m_failure = Failure::Damaged; // also a wrong checksum at the end
        return -1;
    }
    if (n > m_left) {
        m_ended = true;
        m_failure = Failure::TooLarge;
        return -1;
    }
    m_left -= n;
    if (n == 0)
        m_ended = true;
    return n;
}

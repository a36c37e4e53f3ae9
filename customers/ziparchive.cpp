// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/ziparchive.h"

#include "platform/lazylibrary.h"

#include <zip.h>

#include <optional>

namespace {

// libzip's functions as the archive calls them, from libzip.so.4 opened at
// the first workbook in today's formats.
struct LibZip
{
    decltype(&zip_open) open = nullptr;
    decltype(&zip_open_from_source) openFromSource = nullptr;
    decltype(&zip_source_buffer_create) sourceBufferCreate = nullptr;
    decltype(&zip_source_free) sourceFree = nullptr;
    decltype(&zip_error_init) errorInit = nullptr;
    decltype(&zip_error_fini) errorFini = nullptr;
    decltype(&zip_error_code_zip) errorCodeZip = nullptr;
    decltype(&zip_get_error) getError = nullptr;
    decltype(&zip_name_locate) nameLocate = nullptr;
    decltype(&zip_fopen_index) fopenIndex = nullptr;
    decltype(&zip_fread) fread = nullptr;
    decltype(&zip_fclose) fclose = nullptr;
    decltype(&zip_discard) discard = nullptr;
};

const std::optional<LibZip> &libzip()
{
    static const std::optional<LibZip> functions = []() -> std::optional<LibZip> {
        LazyLibrary library("libzip.so.4");
        LibZip f;
        if (library.load() && library.resolve("zip_open", f.open) &&
            library.resolve("zip_open_from_source", f.openFromSource) &&
            library.resolve("zip_source_buffer_create", f.sourceBufferCreate) &&
            library.resolve("zip_source_free", f.sourceFree) &&
            library.resolve("zip_error_init", f.errorInit) &&
            library.resolve("zip_error_fini", f.errorFini) &&
            library.resolve("zip_error_code_zip", f.errorCodeZip) &&
            library.resolve("zip_get_error", f.getError) &&
            library.resolve("zip_name_locate", f.nameLocate) &&
            library.resolve("zip_fopen_index", f.fopenIndex) &&
            library.resolve("zip_fread", f.fread) && library.resolve("zip_fclose", f.fclose) &&
            library.resolve("zip_discard", f.discard))
            return f;
        return std::nullopt;
    }();
    return functions;
}

// Only reached once an archive is open, so the library is there.
const LibZip &lib()
{
    return *libzip();
}

} // namespace

bool ZipArchive::libraryAvailable()
{
    return libzip().has_value();
}

ZipArchive::ZipArchive() = default;

ZipArchive::~ZipArchive()
{
    if (m_zip)
        lib().discard(m_zip);
}

bool ZipArchive::openFile(const QByteArray &path)
{
    if (!libraryAvailable())
        return false;
    int error = 0;
    m_zip = lib().open(path.constData(), ZIP_RDONLY, &error);
    return m_zip != nullptr;
}

bool ZipArchive::openBytes(QByteArrayView bytes)
{
    if (!libraryAvailable())
        return false;
    zip_error_t error;
    lib().errorInit(&error);
    zip_source_t *source =
        lib().sourceBufferCreate(bytes.data(), zip_uint64_t(bytes.size()), 0, &error);
    if (source) {
        m_zip = lib().openFromSource(source, ZIP_RDONLY, &error);
        if (!m_zip)
            lib().sourceFree(source);
    }
    lib().errorFini(&error);
    return m_zip != nullptr;
}

qint64 ZipArchive::locate(const QString &name) const
{
    if (!m_zip)
        return -1;
    const QByteArray utf8 = name.toUtf8();
    zip_int64_t index = lib().nameLocate(m_zip, utf8.constData(), 0);
    if (index < 0)
        index = lib().nameLocate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    return index;
}

bool ZipArchive::contains(const QString &name) const
{
    return locate(name) >= 0;
}

Result<std::unique_ptr<ZipArchive::Part>, ZipArchive::Failure>
ZipArchive::open(const QString &name, qint64 maxBytes) const
{
    const qint64 index = locate(name);
    if (index < 0)
        return Failure::Damaged;
    zip_file_t *file = lib().fopenIndex(m_zip, zip_uint64_t(index), 0);
    if (!file) {
        const int code = lib().errorCodeZip(lib().getError(m_zip));
        return code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP
                   ? Failure::Encrypted
                   : Failure::Damaged;
    }
    auto part = std::make_unique<Part>(file, maxBytes);
    part->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return part;
}

ZipArchive::Part::Part(zip_file *file, qint64 maxBytes) : m_file(file), m_left(maxBytes) {}

ZipArchive::Part::~Part()
{
    lib().fclose(m_file);
}

qint64 ZipArchive::Part::readData(char *data, qint64 maxSize)
{
    if (m_ended)
        return m_failure == Failure::None ? 0 : -1;
    // One byte more than the cap allows tells a full part from a larger one.
    const qint64 want = qMin(maxSize, m_left + 1);
    const zip_int64_t n = lib().fread(m_file, data, zip_uint64_t(want));
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

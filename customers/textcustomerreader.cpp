// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/textcustomerreader.h"

#include "customers/customertable.h"
#include "customers/delimitedtext.h"
#include "platform/cp932.h"
#include "platform/textcharset.h"

#include <QFile>
#include <QFileInfo>

#include <sys/mman.h>
#include <unistd.h>

#include <limits>
#include <utility>
#include <vector>

namespace textcustomerreader {

namespace {

constexpr int kStoredFields = 6;
// The fax number, a later addition: stored when a line has it, and never
// required, so that files written for the six fields read as before.
constexpr int kFaxField = 6;
constexpr char16_t kIdeographicSpace = u'\u3000';
// How many bytes of a mapped file are read before they are given back.
constexpr qsizetype kReleaseStep = 4 << 20;

// The number of lines: CR LF, lone LF and lone CR end a line; a break at
// the very end adds no line. Neither CR nor LF is ever the second byte of a
// double-byte character, so the bytes can be split before decoding.
qsizetype countLines(QByteArrayView bytes)
{
    qsizetype lines = 0;
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\r') {
            if (i + 1 < n && p[i + 1] == '\n')
                ++i;
        } else if (p[i] != '\n') {
            continue;
        }
        ++lines;
        lineStart = i + 1;
    }
    return lines + (lineStart < n ? 1 : 0);
}

// Walks the lines from the last to the first without a list of them: `end`
// is where the current line ends; previous() moves to the line before.
class LinesBackwards
{
public:
    explicit LinesBackwards(QByteArrayView bytes) : m_bytes(bytes), m_end(bytes.size())
    {
        // A break at the very end closes the last line; it starts none.
        skipBreakBefore(m_end);
    }

    // The current line; moves on to the one before it.
    QByteArrayView takeLine()
    {
        qsizetype start = m_end;
        while (start > 0 && m_bytes[start - 1] != '\r' && m_bytes[start - 1] != '\n')
            --start;
        const QByteArrayView line = m_bytes.sliced(start, m_end - start);
        m_end = start;
        skipBreakBefore(m_end);
        return line;
    }
    qsizetype position() const { return m_end; }

private:
    void skipBreakBefore(qsizetype &at) const
    {
        if (at > 0 && m_bytes[at - 1] == '\n') {
            --at;
            if (at > 0 && m_bytes[at - 1] == '\r')
                --at;
        } else if (at > 0 && m_bytes[at - 1] == '\r') {
            --at;
        }
    }

    QByteArrayView m_bytes;
    qsizetype m_end;
};

// The line as the splitter sees it: half-width spaces made ideographic, so
// that they stay inside their field, and eight commas appended, so that
// fields 0 to 5 always exist unless a quote is left open.
QString preparedLine(const QString &line)
{
    QString prepared(line.size() + 8, Qt::Uninitialized);
    QChar *out = prepared.data();
    for (const QChar c : line)
        *out++ = c == u' ' ? QChar(kIdeographicSpace) : c;
    for (int i = 0; i < 8; ++i)
        *out++ = QLatin1Char(',');
    return prepared;
}

QString indexErrorMessage(qsizetype index)
{
    return QString::fromUtf8("リストのインデックスが範囲を超えています (%1)").arg(index);
}

// A file that exists but cannot be read: the list and the count show none.
CustomerReadError openFailed(const QString &path, const QFile &file)
{
    return CustomerReadError{
        CustomerReadError::Kind::OpenFailed, QStringList(), 0,
        QString::fromUtf8("ファイル \"%1\". %2 は開けません").arg(path, file.errorString())};
}

} // namespace

LineDecoder lineDecoderFor(QByteArrayView bytes)
{
    return textcharset::detect(bytes) == textcharset::Charset::Utf8 ? &textcharset::decodeUtf8
                                                                    : &cp932::decode;
}

CustomerRead readBytes(QByteArrayView bytes, int keyIndex, CustomerTable &table,
                       const ReleaseRead &release)
{
    const int key = keyIndex == 1 ? 1 : 0;
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes = bytes.first(nul);
    const LineDecoder decode = lineDecoderFor(bytes);
    // The byte-order mark says how to read the file; it is no part of the
    // first customer's name.
    bytes = textcharset::withoutByteOrderMark(bytes);

    const int count = int(qMin<qsizetype>(countLines(bytes), std::numeric_limits<int>::max()));
    table.setRowCount(count);
    if (count == 0)
        return CustomerRows{};
    table.reserveRows(count);

    // The lines are handled last to first and the first malformed one met
    // ends the read, so the lines after it stay stored while the lines before
    // it are never touched. Each line is decoded on its own: the file's text
    // is never held whole a second time.
    QStringList entries(count);
    LinesBackwards lines(bytes);
    qsizetype released = bytes.size();
    for (int row = count - 1; row >= 0; --row) {
        const QStringList fields =
            delimitedtext::split(preparedLine(decode(lines.takeLine())), kFaxField + 1);
        const int stored = int(qMin<qsizetype>(fields.size(), kStoredFields));
        for (int column = 0; column < stored; ++column)
            table.setCell(column, row, fields[column]);
        if (stored < kStoredFields) {
            // The entries would sit at other rows' places: the list shows
            // nothing, the count the lines all the same.
            return CustomerReadError{CustomerReadError::Kind::BadLine, QStringList(), count,
                                     indexErrorMessage(stored)};
        }
        // A file without fax numbers makes no column for them; one that has
        // some overwrites what an earlier workbook left there in every row.
        const QString fax = fields.size() > kFaxField ? fields[kFaxField] : QString();
        if (!fax.isEmpty() || table.hasColumn(kFaxField))
            table.setCell(kFaxField, row, fax);
        entries[row] = fields[key];
        if (release && released - lines.position() >= kReleaseStep) {
            released = lines.position();
            release(released);
        }
    }
    return CustomerRows{std::move(entries), count};
}

CustomerRead read(const QString &path, int keyIndex, CustomerTable &table)
{
    if (!QFileInfo(path).isFile())
        return CustomerRows{}; // no file, no customers: the table untouched
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return openFailed(path, file);
    // Mapped, the file's pages are the page cache's, not ours, and those
    // already read are given back as the read goes on: a file of hundreds of
    // megabytes costs the table, not the table plus the file.
    const qint64 size = file.size();
    if (size > 0 && size <= std::numeric_limits<qsizetype>::max()) {
        if (uchar *mapped = file.map(0, size)) {
            const auto start = reinterpret_cast<quintptr>(mapped);
            const qsizetype page = qsizetype(::sysconf(_SC_PAGESIZE));
            CustomerRead result = readBytes(
                QByteArrayView(mapped, qsizetype(size)), keyIndex, table, [&](qsizetype from) {
                    // Whole pages from `from` to the end.
                    const quintptr first =
                        (start + quintptr(from) + quintptr(page) - 1) & ~quintptr(page - 1);
                    const quintptr end = start + quintptr(size);
                    if (first < end)
                        ::madvise(reinterpret_cast<void *>(first), end - first, MADV_DONTNEED);
                });
            file.unmap(mapped);
            return result;
        }
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return openFailed(path, file);
    return readBytes(bytes, keyIndex, table);
}

} // namespace textcustomerreader

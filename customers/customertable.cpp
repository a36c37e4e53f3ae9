// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customertable.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
// Cells are stored in chunks of this many bytes (2 MiB), so that a growing
// column never copies what it holds; a longer cell gets a chunk of its own.
constexpr quint32 kChunkBits = 21;
constexpr quint32 kChunkSize = 1u << kChunkBits;
constexpr quint32 kMaxChunks = 1u << (32 - kChunkBits);
// A cell whose characters all lie below U+0100 (digits, ASCII names) is
// kept at one byte a character; others at two.
constexpr quint32 kWide = 0x80000000u;
constexpr quint32 kMaxLength = kWide - 1;

bool fitsOneByte(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}
} // namespace

struct CustomerTable::Column
{
    struct Span
    {
        quint32 where = 0;  // chunk << kChunkBits | offset
        quint32 length = 0; // characters, kWide when two bytes each

        qsizetype characters() const { return qsizetype(length & kMaxLength); }
        size_t bytes() const { return size_t(characters()) * ((length & kWide) ? 2 : 1); }
    };

    std::vector<std::vector<char>> chunks;
    std::vector<Span> cells; // per row
    qsizetype live = 0;      // bytes cells refer to
    qsizetype unused = 0;    // bytes of overwritten cells

    char *at(Span span)
    {
        return chunks[span.where >> kChunkBits].data() + (span.where & (kChunkSize - 1));
    }
    const char *at(Span span) const
    {
        return chunks[span.where >> kChunkBits].data() + (span.where & (kChunkSize - 1));
    }

    QString text(Span span) const
    {
        if (span.characters() == 0)
            return {};
        if (!(span.length & kWide))
            return QString::fromLatin1(at(span), span.characters());
        QString result(span.characters(), Qt::Uninitialized);
        std::memcpy(result.data(), at(span), span.bytes());
        return result;
    }

    static Span encoded(QStringView text)
    {
        Span span;
        span.length = quint32(text.size()) | (fitsOneByte(text) ? 0 : kWide);
        return span;
    }

    static void write(char *to, QStringView text, Span span)
    {
        if (span.length & kWide) {
            std::memcpy(to, text.utf16(), span.bytes());
            return;
        }
        for (const QChar c : text)
            *to++ = char(c.unicode());
    }

    // Places `text` at the end; false when the column is full.
    bool append(QStringView text, Span &span)
    {
        span = encoded(text);
        const size_t bytes = span.bytes();
        const bool ownChunk = bytes > kChunkSize;
        if (ownChunk || chunks.empty() || chunks.back().size() + bytes > kChunkSize) {
            if (chunks.size() >= kMaxChunks) {
                span = {};
                return false;
            }
            chunks.emplace_back();
            chunks.back().reserve(ownChunk ? bytes : kChunkSize);
        }
        std::vector<char> &chunk = chunks.back();
        span.where = quint32((chunks.size() - 1) << kChunkBits | chunk.size());
        chunk.resize(chunk.size() + bytes);
        write(at(span), text, span);
        live += qsizetype(bytes);
        return true;
    }

    // Copies the cells still referred to into fresh chunks.
    void compact()
    {
        Column packed;
        packed.cells.resize(cells.size());
        for (size_t row = 0; row < cells.size(); ++row) {
            const Span span = cells[row];
            if (span.characters() > 0)
                packed.append(text(span), packed.cells[row]);
        }
        *this = std::move(packed);
    }
};

CustomerTable::CustomerTable() = default;
CustomerTable::~CustomerTable() = default;
CustomerTable::CustomerTable(CustomerTable &&) noexcept = default;
CustomerTable &CustomerTable::operator=(CustomerTable &&) noexcept = default;

QString CustomerTable::cell(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0 || !m_columns[size_t(column)])
        return {};
    const Column &col = *m_columns[size_t(column)];
    if (size_t(row) >= col.cells.size())
        return {};
    return col.text(col.cells[size_t(row)]);
}

void CustomerTable::setCell(int column, int row, QStringView text)
{
    if (column < 0 || column >= kColumns || row < 0)
        return;
    auto &slot = m_columns[size_t(column)];
    if (!slot) {
        if (text.isEmpty())
            return; // reads empty as it is
        slot = std::make_unique<Column>();
        slot->cells.reserve(size_t(m_reservedRows));
    }
    Column &col = *slot;
    if (size_t(row) >= col.cells.size()) {
        if (text.isEmpty())
            return;
        col.cells.resize(size_t(row) + 1);
    }
    text = text.first(qMin<qsizetype>(text.size(), kMaxLength));
    Column::Span &span = col.cells[size_t(row)];
    const Column::Span wanted = Column::encoded(text);
    if (!text.isEmpty() && wanted.bytes() <= span.bytes()) {
        // Fits where the old text was: a rewrite does not grow the column.
        const qsizetype freed = qsizetype(span.bytes() - wanted.bytes());
        Column::write(col.at(span), text, wanted);
        span.length = wanted.length;
        col.unused += freed;
        col.live -= freed;
        return;
    }
    col.unused += qsizetype(span.bytes());
    col.live -= qsizetype(span.bytes());
    span = {};
    if (text.isEmpty())
        return;
    // Rewrites with longer texts (another file read into the same rows)
    // leave dead text behind; once it outweighs the live text, it goes.
    if (col.unused > col.live && col.unused > qsizetype(kChunkSize))
        col.compact();
    // Beyond 4 GiB in one column the cell is kept empty, never wrapped.
    col.append(text, col.cells[size_t(row)]);
}

void CustomerTable::reserveRows(int rows)
{
    m_reservedRows = rows;
    for (auto &col : m_columns) {
        if (col)
            col->cells.reserve(size_t(rows));
    }
}

bool CustomerTable::hasColumn(int column) const
{
    return column >= 0 && column < kColumns && m_columns[size_t(column)] != nullptr;
}

qsizetype CustomerTable::storedBytes() const
{
    qsizetype bytes = 0;
    for (const auto &col : m_columns) {
        if (col) {
            bytes += qsizetype(col->cells.capacity() * sizeof(Column::Span));
            for (const auto &chunk : col->chunks)
                bytes += qsizetype(chunk.capacity());
        }
    }
    return bytes;
}

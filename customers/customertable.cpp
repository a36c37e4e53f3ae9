#include "customers/customertable.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdint>

namespace {
// Cells are stored in chunks of this many characters (2 MiB), so that a
// growing column never copies what it holds; a longer cell gets a chunk of
// its own.
constexpr quint32 kChunkBits = 20;
constexpr quint32 kChunkSize = 1u << kChunkBits;
constexpr quint32 kMaxChunks = 1u << (32 - kChunkBits);
} // namespace

struct CustomerTable::Column
{
    struct Span
    {
        quint32 where = 0; // chunk << kChunkBits | offset
        quint32 length = 0;
    };

    std::vector<std::vector<char16_t>> chunks;
    std::vector<Span> cells; // per row
    qsizetype live = 0;      // characters cells refer to
    qsizetype unused = 0;    // characters of overwritten cells

    const char16_t *at(Span span) const
    {
        return chunks[span.where >> kChunkBits].data() + (span.where & (kChunkSize - 1));
    }
    char16_t *at(Span span)
    {
        return chunks[span.where >> kChunkBits].data() + (span.where & (kChunkSize - 1));
    }

    // Places `text` and returns where; false when the column is full.
    bool append(QStringView text, Span &span)
    {
        const auto length = size_t(text.size());
        const bool ownChunk = length > kChunkSize;
        if (ownChunk || chunks.empty() || chunks.back().size() + length > kChunkSize) {
            if (chunks.size() >= kMaxChunks)
                return false;
            chunks.emplace_back();
            chunks.back().reserve(ownChunk ? length : kChunkSize);
        }
        std::vector<char16_t> &chunk = chunks.back();
        span.where = quint32((chunks.size() - 1) << kChunkBits | chunk.size());
        span.length = quint32(length);
        chunk.insert(chunk.end(), text.utf16(), text.utf16() + length);
        live += qsizetype(length);
        return true;
    }

    // Copies the cells still referred to into fresh chunks.
    void compact()
    {
        Column packed;
        packed.cells.resize(cells.size());
        for (size_t row = 0; row < cells.size(); ++row) {
            const Span span = cells[row];
            if (span.length > 0)
                packed.append(QStringView(at(span), qsizetype(span.length)), packed.cells[row]);
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
    const Column::Span span = col.cells[size_t(row)];
    if (span.length == 0)
        return {};
    return QString(reinterpret_cast<const QChar *>(col.at(span)), qsizetype(span.length));
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
    Column::Span &span = col.cells[size_t(row)];
    const auto length = quint32(qMin<qsizetype>(text.size(), qsizetype(UINT32_MAX)));
    if (length <= span.length && length > 0) {
        // Fits where the old text was: a rewrite does not grow the column.
        std::copy(text.utf16(), text.utf16() + length, col.at(span));
        col.unused += span.length - length;
        col.live -= span.length - length;
        span.length = length;
        return;
    }
    col.unused += span.length;
    col.live -= span.length;
    span = {};
    if (length == 0)
        return;
    // Rewrites with longer texts (another file read into the same rows)
    // leave dead text behind; once it outweighs the live text, it goes.
    if (col.unused > col.live && col.unused > qsizetype(kChunkSize)) {
        col.compact();
    }
    Column::Span &fresh = col.cells[size_t(row)];
    if (!col.append(text.first(length), fresh))
        fresh = {}; // beyond 8 GiB in one column: kept empty, never wrapped
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
                bytes += qsizetype(chunk.capacity() * sizeof(char16_t));
        }
    }
    return bytes;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <vector>

// The customer table: text cells in columns 0..7, one row per customer.
// Any cell can be written whatever the row count; a cell never written reads
// empty; setting the row count erases nothing, so cells of an earlier, longer
// read stay stored (they are never read: readers stop at the count).
//
// A customer file can hold millions of rows, so the cells are kept compact:
// a column exists only once something was written into it (the text file
// never fills columns 6 and 7), and a column keeps its cells' characters back
// to back in one buffer with eight bytes per cell saying where each lies.
class CustomerTable
{
public:
    static constexpr int kColumns = 8;

    CustomerTable();
    ~CustomerTable();
    CustomerTable(CustomerTable &&) noexcept;
    CustomerTable &operator=(CustomerTable &&) noexcept;

    QString cell(int column, int row) const;
    void setCell(int column, int row, QStringView text);

    int rowCount() const { return m_rowCount; }
    void setRowCount(int rows) { m_rowCount = rows; }

    // Room for `rows` rows without further growth, for readers that know
    // their size in advance.
    void reserveRows(int rows);

    // Whether anything was ever written into the column.
    bool hasColumn(int column) const;
    // Heap bytes the cells take, for the memory benchmark.
    qsizetype storedBytes() const;

private:
    struct Column;
    std::array<std::unique_ptr<Column>, kColumns> m_columns;
    int m_reservedRows = 0;
    int m_rowCount = 1;
};

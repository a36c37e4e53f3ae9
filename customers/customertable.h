#pragma once

#include <QString>

#include <vector>

// The customer table: text cells in columns 0..7, one row per customer.
// Any cell can be written whatever the row count; a cell never written reads
// empty; setting the row count erases nothing, so cells of an earlier, longer
// read stay stored (they are never read: readers stop at the count).
class CustomerTable
{
public:
    static constexpr int kColumns = 8;

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);

    int rowCount() const { return m_rowCount; }
    void setRowCount(int rows) { m_rowCount = rows; }

    // Room for `rows` rows without further growth, for readers that know
    // their size in advance.
    void reserveRows(int rows);

private:
    // Column-major, each column grown on write.
    std::vector<QString> m_columns[kColumns];
    int m_rowCount = 1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/customerlistmodel.h"

#include <QTest>

class TestCustomerListModel : public QObject
{
    Q_OBJECT
private slots:
    void toolTips_data();
    void toolTips();
};

void TestCustomerListModel::toolTips_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("tips"); // per row, empty for none

    QTest::newRow("all names differ") << QStringList{"山田", "佐藤"} << QStringList{"", ""};
    QTest::newRow("a name twice") << QStringList{"山田", "佐藤", "山田"}
                                  << QStringList{"row 0", "", "row 2"};
    QTest::newRow("a name three times")
        << QStringList{"a", "a", "a"} << QStringList{"row 0", "row 1", "row 2"};
    QTest::newRow("names that only share a start")
        << QStringList{"山田", "山田太郎"} << QStringList{"", ""};
    QTest::newRow("two empty entries")
        << QStringList{"", "x", ""} << QStringList{"row 0", "", "row 2"};
    QTest::newRow("a source with nothing to say") << QStringList{"b", "b"} << QStringList{"", ""};
}

void TestCustomerListModel::toolTips()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, tips);

    CustomerListModel model;
    model.setStringList(entries);
    const bool silent = QTest::currentDataTag() == QByteArray("a source with nothing to say");
    model.setToolTipSource(
        [silent](int row) { return silent ? QString() : QStringLiteral("row %1").arg(row); });
    for (int row = 0; row < entries.size(); ++row) {
        const QModelIndex index = model.index(row);
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), tips[row]);
        QCOMPARE(index.data(Qt::DisplayRole).toString(),
                 entries[row]); // the entry itself is unchanged
    }
}

QTEST_APPLESS_MAIN(TestCustomerListModel)
#include "tst_customerlistmodel.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/lettertexts.h"

#include <QTest>

class TestLetterTexts : public QObject
{
    Q_OBJECT
private slots:
    void issueDate();
    void monthlyHeading_data();
    void monthlyHeading();
};

void TestLetterTexts::issueDate()
{
    QCOMPARE(lettertexts::issueDate(QDate(2027, 3, 6)), QStringLiteral("2027年03月06日"));
    QCOMPARE(lettertexts::issueDate(QDate(2026, 12, 31)), QStringLiteral("2026年12月31日"));
}

void TestLetterTexts::monthlyHeading_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("January gives December")
        << QDate(2027, 1, 15) << QStringLiteral("12月実績 ご連絡票");
    QTest::newRow("October") << QDate(2026, 10, 1) << QStringLiteral("9月実績 ご連絡票");
    QTest::newRow("November") << QDate(2026, 11, 30) << QStringLiteral("10月実績 ご連絡票");
}

void TestLetterTexts::monthlyHeading()
{
    QFETCH(QDate, today);
    QFETCH(QString, firstLine);
    QCOMPARE(lettertexts::monthlyReportHeading(today),
             firstLine + QStringLiteral("\r\n\r\n送信枚数 ２ 枚 (本状含む)"));
}

QTEST_APPLESS_MAIN(TestLetterTexts)
#include "tst_lettertexts.moc"

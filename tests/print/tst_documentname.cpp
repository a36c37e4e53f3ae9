// SPDX-License-Identifier: GPL-3.0-or-later
// The names that tell letters apart: print jobs and proposed PDF files.

#include "print/documentname.h"

#include <QTest>

class TestDocumentName : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void jobsOfOneSecondStayApart();
};

void TestDocumentName::names_data()
{
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("job");
    QTest::addColumn<QString>("pdf");
    QTest::newRow("afternoon") << QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9))
                               << "Tavrint 2026-12-08 14:05:09"
                               << "Tavrint 2026-12-08 14-05-09.pdf";
    QTest::newRow("just after midnight, 24-hour clock")
        << QDateTime(QDate(2027, 1, 2), QTime(0, 0, 1)) << "Tavrint 2027-01-02 00:00:01"
        << "Tavrint 2027-01-02 00-00-01.pdf";
    QTest::newRow("evening is not 12-hour")
        << QDateTime(QDate(2027, 3, 6), QTime(23, 59, 59)) << "Tavrint 2027-03-06 23:59:59"
        << "Tavrint 2027-03-06 23-59-59.pdf";
}

void TestDocumentName::names()
{
    QFETCH(QDateTime, at);
    QFETCH(QString, job);
    QFETCH(QString, pdf);
    QCOMPARE(documentname::jobName(at), job);
    QCOMPARE(documentname::pdfFileName(at), pdf);
    QVERIFY(!pdf.contains(QLatin1Char(':'))); // a name other systems can hold too
}

void TestDocumentName::jobsOfOneSecondStayApart()
{
    documentname::JobNamer namer;
    const QDateTime first(QDate(2026, 12, 8), QTime(14, 5, 9, 100));
    const QDateTime sameSecond(QDate(2026, 12, 8), QTime(14, 5, 9, 900));
    const QDateTime next(QDate(2026, 12, 8), QTime(14, 5, 10));
    QCOMPARE(namer.next(first), QStringLiteral("Tavrint 2026-12-08 14:05:09"));
    QCOMPARE(namer.next(sameSecond), QStringLiteral("Tavrint 2026-12-08 14:05:09 (2)"));
    QCOMPARE(namer.next(sameSecond), QStringLiteral("Tavrint 2026-12-08 14:05:09 (3)"));
    QCOMPARE(namer.next(next), QStringLiteral("Tavrint 2026-12-08 14:05:10"));
    QCOMPARE(namer.next(first), QStringLiteral("Tavrint 2026-12-08 14:05:09"));
}

QTEST_APPLESS_MAIN(TestDocumentName)
#include "tst_documentname.moc"

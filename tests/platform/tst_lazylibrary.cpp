// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/lazylibrary.h"

#include <QTest>

class TestLazyLibrary : public QObject
{
    Q_OBJECT

private slots:
    void opensAndResolves_data();
    void opensAndResolves();
    void callsThroughTheResolvedFunction();
};

void TestLazyLibrary::opensAndResolves_data()
{
    QTest::addColumn<QByteArray>("soname");
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<bool>("resolves");

    QTest::newRow("FreeXL and one of its functions")
        << QByteArray("libfreexl.so.1") << QByteArray("freexl_open") << true << true;
    QTest::newRow("libzip and one of its functions")
        << QByteArray("libzip.so.4") << QByteArray("zip_open") << true << true;
    QTest::newRow("a function the library lacks")
        << QByteArray("libfreexl.so.1") << QByteArray("freexl_no_such_function") << true << false;
    QTest::newRow("a version that is not installed")
        << QByteArray("libfreexl.so.99") << QByteArray("freexl_open") << false << false;
    QTest::newRow("a library that is not installed")
        << QByteArray("libtavrint-no-such.so.1") << QByteArray("anything") << false << false;
}

void TestLazyLibrary::opensAndResolves()
{
    QFETCH(QByteArray, soname);
    QFETCH(QByteArray, symbol);
    QFETCH(bool, loads);
    QFETCH(bool, resolves);

    LazyLibrary library(soname.constData());
    const Result<void> loaded = library.load();
    QCOMPARE(loaded.ok(), loads);
    if (!loads)
        QVERIFY2(loaded.error().contains(QString::fromLatin1(soname)), qPrintable(loaded.error()));
    int (*function)(const char *) = reinterpret_cast<int (*)(const char *)>(1);
    QCOMPARE(library.resolve(symbol.constData(), function), resolves);
    QCOMPARE(function != nullptr, resolves);
}

void TestLazyLibrary::callsThroughTheResolvedFunction()
{
    LazyLibrary library("libfreexl.so.1");
    QVERIFY(library.load().ok());
    const char *(*version)() = nullptr;
    QVERIFY(library.resolve("freexl_version", version));
    QVERIFY(QByteArray(version()).startsWith("1."));
}

QTEST_GUILESS_MAIN(TestLazyLibrary)
#include "tst_lazylibrary.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// What the window already shows when a reader's error is reported: the
// handler stops at the error, so what it wrote before must be on screen and
// nothing it writes after.

#include "../shell/formfixture.h"
#include "fixturescript.h"

#include "platform/errorreport.h"

#include <QFile>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>
#include <QTest>

class TestReadErrorShown : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void stateAtTheError_data();
    void stateAtTheError();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestReadErrorShown::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    m_fixture->form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_fixture->form()));
}

void TestReadErrorShown::cleanup()
{
    m_fixture.reset();
}

void TestReadErrorShown::stateAtTheError_data()
{
    QTest::addColumn<QString>("source");   // the file that fails
    QTest::addColumn<QByteArray>("bytes"); // empty: a file whose read fails
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("count");

    // The text reader: list emptied, the line count shown, then the error.
    QTest::newRow("text file with a bad line")
        << "smpl1.txt" << QByteArray("A,a\r\n\"open,b\r\nC,c\r\n") << QStringList{} << "/3" << 3;
    QTest::newRow("text file that cannot be read")
        << "smpl1.txt" << QByteArray() << QStringList{} << "/0" << 0;
    // The workbook reader after a text read of two customers: the caption
    // was cleared by the option; the count stands until a read completes.
    QTest::newRow("workbook with a cell of no text form")
        << "nancell.xls" << QByteArray() << QStringList{"担当 1", "担当 2"} << "" << 2;
    QTest::newRow("file that is no workbook")
        << "smpl2.xls" << QByteArray("no workbook") << QStringList{"a", "b"} << "" << 2;
}

void TestReadErrorShown::stateAtTheError()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QFETCH(QString, caption);
    QFETCH(int, count);

    TForm1 &form = m_fixture->form();
    const bool workbook = source.endsWith(QLatin1String(".xls"));
    QRadioButton *option = workbook ? ui(form).RadioButton3 : ui(form).RadioButton2;
    if (workbook) {
        m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\n"));
        QTest::mouseClick(ui(form).RadioButton2, Qt::LeftButton);
        QCOMPARE(form.customers().count(), 2);
        if (source == QLatin1String("nancell.xls")) {
            const QString failed =
                runFixtureScript("make-test-workbooks.pl", m_fixture->programDir());
            QVERIFY2(failed.isEmpty(), qPrintable(failed));
            QVERIFY(QFile::rename(m_fixture->path(source),
                                  m_fixture->path(QStringLiteral("smpl2.xls"))));
        } else {
            m_fixture->writeFile(source, bytes);
        }
    } else if (bytes.isEmpty()) {
        // Its reads fail even for root.
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), m_fixture->path(source)));
    } else {
        m_fixture->writeFile(source, bytes);
    }

    struct Seen
    {
        QStringList entries;
        QString caption;
        int count = -1;
        bool listVisible = true;
    };
    QList<Seen> seen;
    errorreport::setInstance([&](const QString &) {
        seen.append({form.customers().entries(), ui(form).Label3->text(), form.customers().count(),
                     ui(form).ListBox1->isVisible()});
    });
    QTest::mouseClick(option, Qt::LeftButton);

    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().entries, entries);
    QCOMPARE(seen.first().caption, caption);
    QCOMPARE(seen.first().count, count);
    QVERIFY(!seen.first().listVisible); // hidden while the source loads
    // Nothing is written after the error, and the list is shown again.
    QCOMPARE(form.customers().entries(), entries);
    QCOMPARE(ui(form).Label3->text(), caption);
    QVERIFY(ui(form).ListBox1->isVisible());
}

QTEST_MAIN(TestReadErrorShown)
#include "tst_readerrorshown.moc"

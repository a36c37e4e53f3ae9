// SPDX-License-Identifier: GPL-3.0-or-later
// A data source whose file is missing falls back to 初期値 as always, and the
// blank page then names the file that was looked for, with its folder.

#include "../shell/formfixture.h"

#include "platform/desktopopener.h"

#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

class TestMissingSource : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void missingFileIsNamed_data();
    void missingFileIsNamed();
    void noteGoesWithNextChoice();
    void presentFileShowsNoNote();

private:
    TForm1 &form() { return m_fixture->form(); }
    QLabel *note()
    {
        return ui(form()).TabSheet1->findChild<QLabel *>(QStringLiteral("missingSourceNote"));
    }
    QRadioButton *option(int mode)
    {
        return std::array{ui(form()).RadioButton1, ui(form()).RadioButton2, ui(form()).RadioButton3,
                          ui(form()).RadioButton4}[mode - 1];
    }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestMissingSource::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    desktopopener::setInstance([](const QString &) {});
}

void TestMissingSource::cleanup()
{
    desktopopener::resetInstance();
    m_fixture.reset();
}

void TestMissingSource::missingFileIsNamed_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("file");
    QTest::newRow("TXTから取得") << 2 << QStringLiteral("smpl1.txt");
    QTest::newRow("XLSから取得") << 3 << QStringLiteral("smpl2.xls");
    QTest::newRow("XLSから差込") << 4 << QStringLiteral("smpl3.xls");
}

void TestMissingSource::missingFileIsNamed()
{
    QFETCH(int, mode);
    QFETCH(QString, file);
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("ファイルが見つかりません: ") +
                                                  m_fixture->path(file)));
    QTest::mouseClick(option(mode), Qt::LeftButton);
    // The fallback itself is unchanged: 初期値, mode 1, the blank page, no error.
    QVERIFY(ui(form()).RadioButton1->isChecked());
    QCOMPARE(form().document().letter().storedMode(), StoredMode::Initial);
    QCOMPARE(ui(form()).pgc1->currentIndex(), 0);
    QCOMPARE(ui(form()).Label4->text(), QString());
    QVERIFY(m_fixture->errors.isEmpty());
    QVERIFY(note());
    QVERIFY(note()->isVisible());
    QVERIFY2(note()->text().endsWith(m_fixture->path(file)), qPrintable(note()->text()));
}

void TestMissingSource::noteGoesWithNextChoice()
{
    QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("ファイルが見つかりません: ") +
                                                  m_fixture->path(QStringLiteral("smpl3.xls"))));
    QTest::mouseClick(ui(form()).RadioButton4, Qt::LeftButton);
    QVERIFY(note()->isVisible());
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), "a,b\r\n");
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(form().document().letter().storedMode(), StoredMode::TextList);
    QVERIFY(!note()->isVisible());
}

void TestMissingSource::presentFileShowsNoNote()
{
    m_fixture->writeFile(QStringLiteral("smpl3.xls"), "not opened here");
    QTest::mouseClick(ui(form()).RadioButton4, Qt::LeftButton);
    QCOMPARE(form().document().letter().storedMode(), StoredMode::MergeWorkbook);
    QVERIFY(!note() || !note()->isVisible());
}

QTEST_MAIN(TestMissingSource)
#include "tst_missingsource.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The data source options, the customer list and the addressee block,
// through the main window.

#include "../shell/formfixture.h"
#include "fixturescript.h"

#include "letter/boxmemo.h"
#include "platform/cp932.h"
#include "platform/desktopopener.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TestDataSource : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void missingFileFallsBackToMode1();
    void checkedOptionDoesNothing();
    void selectorRightAfterStart();
    void textFileFillsListAndBlock();
    void keyboardSelectionActsAsClick();
    void selectorRereadsTextFile();
    void addresseeNotStoredInMode2();
    void badLineEmptiesList();
    void mergeWorkbook_data();
    void mergeWorkbook();
    void workbookFillsListAndBlock();
    void workbookSelectorRebuildsFromTable();
    void corruptWorkbookChangesNothing();
    void workbookInTodaysFormats_data();
    void workbookInTodaysFormats();
    void typingJumpsToTheCustomer_data();
    void typingJumpsToTheCustomer();
    void sameNameToldApartByTooltip();

private:
    TForm1 &form() { return m_fixture->form(); }
    QStringList entries() { return form().customers().entries(); }
    void clickEntry(int row)
    {
        const QModelIndex index = ui(form()).ListBox1Items->index(row);
        QTest::mouseClick(ui(form()).ListBox1->viewport(), Qt::LeftButton, {},
                          ui(form()).ListBox1->visualRect(index).center());
    }
    void writeWorkbooks();

    QTemporaryDir m_books; // every workbook the scripts write
    std::unique_ptr<FormFixture> m_fixture;
    QStringList m_opened;
};

void TestDataSource::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    m_opened.clear();
    desktopopener::setInstance([this](const QString &path) { m_opened << path; });
}

void TestDataSource::cleanup()
{
    desktopopener::resetInstance();
    m_fixture.reset();
}

void TestDataSource::writeWorkbooks()
{
    const QString failed = runFixtureScript("make-test-workbooks.pl", m_fixture->programDir());
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    QVERIFY(QFile::copy(m_fixture->path(QStringLiteral("customers.xls")),
                        m_fixture->path(QStringLiteral("smpl2.xls"))));
}

void TestDataSource::missingFileFallsBackToMode1()
{
    m_fixture->writeFile(QStringLiteral("Data/2宛名.txt"),
                         cp932::encode(QStringLiteral("保存した宛名")));
    ui(form()).memos[1]->setText(QStringLiteral("typed"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QVERIFY(ui(form()).RadioButton1->isChecked());
    QCOMPARE(form().document().letter().storedMode(), StoredMode::Initial);
    QCOMPARE(ui(form()).pgc1->currentIndex(), 0);
    QCOMPARE(ui(form()).Label4->text(), QString());
    QCOMPARE(ui(form()).Label3->text(), QString());
    QCOMPARE(ui(form()).memos[1]->text(), QStringLiteral("保存した宛名"));
    QVERIFY(m_fixture->errors.isEmpty());
}

void TestDataSource::checkedOptionDoesNothing()
{
    ui(form()).memos[1]->setText(QStringLiteral("typed"));
    QTest::mouseClick(ui(form()).RadioButton1, Qt::LeftButton);
    QCOMPARE(form().document().letter().storedMode(), StoredMode::NotChosen);
    QCOMPARE(ui(form()).memos[1]->text(), QStringLiteral("typed"));
}

void TestDataSource::selectorRightAfterStart()
{
    QTest::mouseClick(ui(form()).RadioGroup1Item0, Qt::LeftButton);
    QVERIFY(entries().isEmpty());
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/0"));
}

void TestDataSource::textFileFillsListAndBlock()
{
    m_fixture->writeFile(
        QStringLiteral("smpl1.txt"),
        cp932::encode(QStringLiteral("株式会社 ソ表,山田 太郎,営業部,x,東京都\r\n"
                                     "B社,佐藤,,,\nC社,鈴木 一郎,総務課,,大阪\r")));
    ui(form()).memos[1]->setText(QStringLiteral("old"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(form().document().letter().storedMode(), StoredMode::TextList);
    QCOMPARE(ui(form()).pgc1->currentIndex(), 1);
    QCOMPARE(ui(form()).Label4->text(), QStringLiteral("smpl1.txt"));
    QCOMPARE(ui(form()).memos[1]->text(), QString()); // emptied before reading
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/3"));
    // Person key: the list loses the spaces the table keeps.
    QCOMPARE(entries(), (QStringList{"山田太郎", "佐藤", "鈴木一郎"}));
    clickEntry(2);
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("3/3"));
    QCOMPARE(ui(form()).memos[1]->text(),
             QStringLiteral("C社\r\n総務課\r\n  鈴木　一郎  様\r\n   大阪"));
    clickEntry(0);
    QCOMPARE(ui(form()).memos[1]->text(),
             QStringLiteral("株式会社　ソ表\r\n営業部\r\n  山田　太郎  様\r\n   東京都"));
}

void TestDataSource::keyboardSelectionActsAsClick()
{
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\nC,c\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    clickEntry(0);
    QTest::keyClick(ui(form()).ListBox1, Qt::Key_Down);
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("2/3"));
    QVERIFY(ui(form()).memos[1]->text().startsWith(QStringLiteral("B\r\n")));
}

void TestDataSource::selectorRereadsTextFile()
{
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    clickEntry(1);
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\nC,c\r\n"));
    QTest::mouseClick(ui(form()).RadioGroup1Item0, Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{"A", "B", "C"}));
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/3"));
    QCOMPARE(ui(form()).memos[1]->text(), QString());
}

void TestDataSource::addresseeNotStoredInMode2()
{
    const QByteArray stored = cp932::encode(QStringLiteral("保存した宛名"));
    m_fixture->writeFile(QStringLiteral("Data/2宛名.txt"), stored);
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\nC,c\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    clickEntry(2);
    QVERIFY(form().close());
    QCOMPARE(m_fixture->readFile(QStringLiteral("Data/2宛名.txt")), stored);
}

void TestDataSource::badLineEmptiesList()
{
    // Line 2 leaves a quote open before field 5: the lines after it stay in
    // the table, but the list is emptied rather than left misaligned.
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\n\"open,b\r\nC,c\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(m_fixture->errors.size(), 1);
    QVERIFY(m_fixture->errors.first().startsWith(
        QStringLiteral("リストのインデックスが範囲を超えています (")));
    QVERIFY(entries().isEmpty());
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/3"));
    QVERIFY(ui(form()).ListBox1->isVisible());
    QCOMPARE(form().customers().holder()->sg1.cell(0, 2), QStringLiteral("C"));
}

void TestDataSource::mergeWorkbook_data()
{
    QTest::addColumn<QString>("inUseBy");
    QTest::addColumn<bool>("opened");
    QTest::newRow("free") << "" << true;
    QTest::newRow("an office lock file beside it") << "lockfile" << false;
    QTest::newRow("an advisory lock held") << "flock" << false;
}

void TestDataSource::mergeWorkbook()
{
    QFETCH(QString, inUseBy);
    QFETCH(bool, opened);
    m_fixture->writeFile(QStringLiteral("smpl3.xls"), QByteArray("x"));
    int fd = -1;
    if (inUseBy == QLatin1String("lockfile"))
        m_fixture->writeFile(QStringLiteral(".~lock.smpl3.xls#"), QByteArray("x"));
    if (inUseBy == QLatin1String("flock")) {
        fd = ::open(QFile::encodeName(m_fixture->path(QStringLiteral("smpl3.xls"))).constData(),
                    O_RDONLY);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX) == 0);
    }
    ui(form()).memos[1]->setText(QStringLiteral("kept"));
    QTest::mouseClick(ui(form()).RadioButton4, Qt::LeftButton);
    if (fd >= 0)
        ::close(fd);
    QCOMPARE(form().document().letter().storedMode(), StoredMode::MergeWorkbook);
    QCOMPARE(ui(form()).pgc1->currentIndex(), 0);
    QCOMPARE(ui(form()).Label4->text(), QStringLiteral("smpl3.xls"));
    QCOMPARE(ui(form()).memos[1]->text(), QStringLiteral("kept"));
    QCOMPARE(m_opened.size(), opened ? 1 : 0);
    if (opened)
        QCOMPARE(m_opened.first(), m_fixture->path(QStringLiteral("smpl3.xls")));
}

void TestDataSource::workbookFillsListAndBlock()
{
    writeWorkbooks();
    ui(form()).memos[1]->setText(QStringLiteral("old"));
    QTest::mouseClick(ui(form()).RadioButton3, Qt::LeftButton);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(QLatin1Char('\n'))));
    QCOMPARE(form().document().letter().storedMode(), StoredMode::WorkbookList);
    QCOMPARE(ui(form()).memos[1]->text(), QString());
    // Person key (column 3): rows 1 to 5; row 6 has no person.
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/5"));
    QCOMPARE(entries().size(), 5);
    QCOMPARE(entries().at(0), QStringLiteral("山田太郎"));
    QCOMPARE(entries().at(2), QStringLiteral("鈴木 一郎")); // one entry despite its line break
    clickEntry(0);
    QCOMPARE(
        ui(form()).memos[1]->text(),
        QStringLiteral("株式会社 山田\r\n東京都ソ表能区1-2-3\r\n  山田 太郎  様\r\n   〒100-0001"));
}

void TestDataSource::workbookSelectorRebuildsFromTable()
{
    writeWorkbooks();
    QTest::mouseClick(ui(form()).RadioGroup1Item0, Qt::LeftButton); // company key
    QTest::mouseClick(ui(form()).RadioButton3, Qt::LeftButton);
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/3")); // the gap in row 4 ends it
    ui(form()).memos[1]->setText(QStringLiteral("kept"));
    QFile::remove(m_fixture->path(QStringLiteral("smpl2.xls"))); // not read again
    QTest::mouseClick(ui(form()).RadioGroup1Item1, Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{"山田太郎", "佐藤　花子", "鈴木 一郎"}));
    QCOMPARE(ui(form()).Label3->text(), QStringLiteral("/3"));
    QCOMPARE(ui(form()).memos[1]->text(), QStringLiteral("kept"));
}

void TestDataSource::corruptWorkbookChangesNothing()
{
    m_fixture->writeFile(QStringLiteral("smpl1.txt"), QByteArray("A,a\r\nB,b\r\n"));
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    m_fixture->writeFile(QStringLiteral("smpl2.xls"), QByteArray("PK\x03\x04 this is no workbook"));
    QTest::mouseClick(ui(form()).RadioButton3, Qt::LeftButton);
    QCOMPARE(m_fixture->errors.size(), 1);
    QVERIFY(m_fixture->errors.first().contains(QStringLiteral("smpl2.xls")));
    QVERIFY(m_fixture->errors.first().contains(QStringLiteral("は開けません")));
    QCOMPARE(entries(), (QStringList{"a", "b"}));
    QCOMPARE(form().customers().count(), 2);
    QVERIFY(ui(form()).ListBox1->isVisible());
}

void TestDataSource::initTestCase()
{
    QVERIFY(m_books.isValid());
    for (const char *script : {"make-test-workbooks.pl", "make-test-office-workbooks.pl"}) {
        const QString failed = runFixtureScript(script, m_books.path());
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }
}

void TestDataSource::workbookInTodaysFormats_data()
{
    QTest::addColumn<QStringList>("copies"); // fixture, name beside the program, ...
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("count");

    QTest::newRow("only smpl2.xlsx") << QStringList{"customers.xlsx", "smpl2.xlsx"} << "smpl2.xlsx"
                                     << "/5";
    QTest::newRow("only smpl2.ods") << QStringList{"customers.ods", "smpl2.ods"} << "smpl2.ods"
                                    << "/5";
    QTest::newRow("smpl2.xlsx before smpl2.ods")
        << QStringList{"many.xlsx", "smpl2.xlsx", "customers.ods", "smpl2.ods"} << "smpl2.xlsx"
        << "/200";
    QTest::newRow("smpl2.xls wins over the others")
        << QStringList{"customers.xls", "smpl2.xls", "many.xlsx", "smpl2.xlsx"} << "smpl2.xls"
        << "/5";
    QTest::newRow(".xlsx saved as smpl2.xls")
        << QStringList{"many.xlsx", "smpl2.xls"} << "smpl2.xls"
        << "/200";
}

void TestDataSource::workbookInTodaysFormats()
{
    QFETCH(QStringList, copies);
    QFETCH(QString, label);
    QFETCH(QString, count);

    for (qsizetype i = 0; i + 1 < copies.size(); i += 2)
        QVERIFY(QFile::copy(m_books.filePath(copies[i]), m_fixture->path(copies[i + 1])));

    QTest::mouseClick(ui(form()).RadioButton3, Qt::LeftButton);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(QLatin1Char('\n'))));
    QCOMPARE(form().document().letter().storedMode(), StoredMode::WorkbookList);
    QCOMPARE(ui(form()).Label4->text(), label);
    QCOMPARE(ui(form()).Label3->text(), count);
    clickEntry(0);
    QVERIFY(ui(form()).memos[1]->text().contains(QStringLiteral("様")));
}

void TestDataSource::typingJumpsToTheCustomer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("throughInputMethod"); // Japanese arrives committed by the input method
    QTest::addColumn<int>("row");

    QTest::newRow("one letter") << "s" << false << 2;
    QTest::newRow("letters narrow the search") << "sat" << false << 3;
    QTest::newRow("upper case matches too") << "SU" << false << 4;
    QTest::newRow("kanji from the input method") << "山田" << true << 0;
    QTest::newRow("longer kanji reach the later entry") << "山本" << true << 5;
    QTest::newRow("no match stays") << "x" << false << -1;
}

void TestDataSource::typingJumpsToTheCustomer()
{
    QFETCH(QString, typed);
    QFETCH(bool, throughInputMethod);
    QFETCH(int, row);

    m_fixture->writeFile(QStringLiteral("smpl1.txt"),
                         QStringLiteral("A社,山田 太郎\r\nB社,伊藤\r\nC社,sasaki\r\nD社,sato\r\n"
                                        "E社,suzuki\r\nF社,山本\r\n")
                             .toUtf8());
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(entries().size(), 6);
    ui(form()).ListBox1->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&form()));
    if (throughInputMethod) {
        // The input method serves only widgets that ask for it.
        QVERIFY(ui(form()).ListBox1->testAttribute(Qt::WA_InputMethodEnabled));
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QCoreApplication::sendEvent(ui(form()).ListBox1, &commit);
    } else {
        QTest::keyClicks(ui(form()).ListBox1, typed);
    }
    const QModelIndexList selected = ui(form()).ListBox1->selectionModel()->selectedIndexes();
    QCOMPARE(selected.isEmpty() ? -1 : selected.first().row(), row);
    // A jump is a click: the block follows; no jump leaves the box empty.
    const QString company =
        row >= 0 ? QStringLiteral("ABCDEF").mid(row, 1) + QStringLiteral("社") : QString();
    QCOMPARE(ui(form()).memos[1]->text().section(QLatin1Char('\r'), 0, 0), company);
}

void TestDataSource::sameNameToldApartByTooltip()
{
    m_fixture->writeFile(QStringLiteral("smpl1.txt"),
                         QStringLiteral("株式会社 山田商事,山田 太郎,営業部\r\n東西物産,佐藤\r\n"
                                        "山田工業,山田 太郎,総務課\r\n")
                             .toUtf8());
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(entries(), (QStringList{"山田太郎", "佐藤", "山田太郎"}));
    auto tip = [this](int row) {
        return ui(form()).ListBox1Items->index(row).data(Qt::ToolTipRole).toString();
    };
    QCOMPARE(tip(0), QStringLiteral("株式会社　山田商事\n営業部\n山田　太郎  様"));
    QCOMPARE(tip(2), QStringLiteral("山田工業\n総務課\n山田　太郎  様"));
    QCOMPARE(tip(1), QString()); // a name of its own needs none
    // The rows keep their height.
    QCOMPARE(ui(form()).ListBox1->visualRect(ui(form()).ListBox1Items->index(1)).height(), 16);
}

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"

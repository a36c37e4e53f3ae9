// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog that chooses a merge's customers: what the checks send, what
// the filter shows, what the preview draws and what the count says.

#include "customers/addressblock.h"
#include "customers/customertable.h"
#include "letter/lettermodel.h"
#include "platform/clock.h"
#include "platform/fontsubstitution.h"
#include "print/letteroutput.h"
#include "print/letterpage.h"
#include "print/mergechoicedialog.h"
#include "print/mergechoicemodel.h"

#include "../poppler.h"
#include "../testfiles.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {
const QDateTime kAt(QDate(2027, 3, 6), QTime(10, 11, 12));

// Twelve customers of a text list: company, person, a third and a fourth
// cell, the address in column 4.
const char *const kCustomers[12][5] = {
    {"株式会社　山田商事", "山田　太郎", "営業部", "〒100-0005", "東京都千代田区"},
    {"有限会社　青葉印刷", "佐藤　花子", "総務課", "〒980-0811", "宮城県仙台市"},
    {"北斗運輸株式会社", "鈴木　一郎", "物流部", "〒060-0001", "北海道札幌市"},
    {"株式会社　みなと電機", "高橋　健二", "購買部", "〒231-0023", "神奈川県横浜市"},
    {"中部精工株式会社", "田中　美咲", "技術部", "〒460-0008", "愛知県名古屋市"},
    {"株式会社　浪速フーズ", "伊藤　誠", "営業部", "〒530-0001", "大阪府大阪市"},
    {"京都織物株式会社", "渡辺　和子", "企画部", "〒600-8001", "京都府京都市"},
    {"株式会社　瀬戸内造船", "山本　修", "資材部", "〒720-0001", "広島県福山市"},
    {"博多商会", "中村　由美", "仕入課", "〒812-0011", "福岡県福岡市"},
    {"Shinshu Soft", "小林　大輔", "開発部", "〒380-0001", "長野県長野市"},
    {"四国化学工業株式会社", "加藤　恵", "品質部", "〒760-0001", "香川県高松市"},
    {"株式会社　琉球トラベル", "吉田　翔", "営業部", "〒900-0001", "沖縄県那覇市"},
};

QString company(int row)
{
    return u8(kCustomers[row][0]);
}

// What tells a letter's addressee apart in the PDF's text: the fourth line
// of the block, which has no blank inside.
QString address(int row)
{
    return u8(kCustomers[row][4]);
}

QString pageText(const RenderPage &page)
{
    QStringList texts;
    for (const RenderRun &run : page.runs())
        texts << run.text;
    return texts.join(QLatin1Char('\n'));
}
} // namespace

class TestMergeChoice : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkedCustomersGoOut_data();
    void checkedCustomersGoOut();
    void filterNarrows_data();
    void filterNarrows();
    void selectionActsOnWhatIsShown();
    void previewShowsTheSelectedCustomer_data();
    void previewShowsTheSelectedCustomer();
    void noneCheckedIsNoRun();

private:
    MergeChoiceDialog::Offer offer() const
    {
        return {*m_letter, m_table, 12, addressblock::Layout::Text};
    }
    template <typename T> T *child(const char *name) const
    {
        return m_dialog->findChild<T *>(QString::fromLatin1(name));
    }
    void check(int row, bool checked);

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<LetterModel> m_letter;
    std::unique_ptr<MergeChoiceDialog> m_dialog;
    CustomerTable m_table;
};

void TestMergeChoice::initTestCase()
{
    fontsubstitution::install();
    for (int row = 0; row < 12; ++row)
        for (int column = 0; column < 5; ++column)
            m_table.setCell(column, row, u8(kCustomers[row][column]));
    m_table.setRowCount(12);
}

void TestMergeChoice::init()
{
    Clock::setInstance(kAt);
    m_dir = std::make_unique<ProgramDir>();
    m_letter = std::make_unique<LetterModel>(m_dir->programDir(), QStringLiteral("tavrint"),
                                             ScreenMetrics{1366, 768, 96});
    m_letter->load(kAt.date(), nullptr);
    m_letter->setText(0, QStringLiteral("BODYOFEVERYLETTER"));
    m_dialog = std::make_unique<MergeChoiceDialog>(offer(), QStringLiteral("全員分をPDFに保存…"));
}

void TestMergeChoice::cleanup()
{
    m_dialog.reset();
    m_letter.reset();
    m_dir.reset();
    Clock::resetInstance();
}

// As a click on the row's check box does: through the model the view shows.
void TestMergeChoice::check(int row, bool checked)
{
    QAbstractItemModel *shown = child<QTableView>("customers")->model();
    for (int i = 0; i < shown->rowCount(); ++i) {
        const QModelIndex cell = shown->index(i, MergeChoiceModel::RowNumber);
        if (shown->data(cell).toInt() == row + 1) {
            QVERIFY(
                shown->setData(cell, checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
            return;
        }
    }
    QFAIL("the row is not shown");
}

void TestMergeChoice::checkedCustomersGoOut_data()
{
    QTest::addColumn<QList<int>>("checked"); // in the order the user checks them
    QTest::addColumn<QList<int>>("sent");    // in list order

    QTest::newRow("three of twelve") << QList<int>{2, 7, 10} << QList<int>{2, 7, 10};
    QTest::newRow("checked backwards, sent in list order")
        << QList<int>{11, 4, 0} << QList<int>{0, 4, 11};
    QTest::newRow("one") << QList<int>{5} << QList<int>{5};
}

void TestMergeChoice::checkedCustomersGoOut()
{
    QFETCH(QList<int>, checked);
    QFETCH(QList<int>, sent);
    QCOMPARE(child<QLabel>("count")->text(), QStringLiteral("12 / 12 通を送ります"));
    QCOMPARE(m_dialog->chosenRows().size(), 12);

    child<QPushButton>("selectNone")->click();
    for (int row : checked)
        check(row, true);
    QCOMPARE(child<QLabel>("count")->text(),
             QStringLiteral("%1 / 12 通を送ります").arg(sent.size()));
    QCOMPARE(m_dialog->chosenRows(), sent);

    // The run takes the choice: a page per chosen customer, in list order.
    letteroutput::Customers customers{m_table, 12, addressblock::Layout::Text};
    customers.rows = m_dialog->chosenRows();
    const QString pdf = m_dir->path(QStringLiteral("chosen.pdf"));
    const letteroutput::Outcome outcome = letteroutput::saveMergedPdf(*m_letter, customers, pdf);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome->letters, sent.size());
    QCOMPARE(poppler::pageCount(pdf), sent.size());
    for (int page = 0; page < sent.size(); ++page) {
        const QString text = poppler::pageText(pdf, page + 1);
        for (int row = 0; row < 12; ++row) {
            const bool expected = row == sent[page];
            QVERIFY2(text.contains(address(row)) == expected,
                     qPrintable(
                         QStringLiteral("page %1, %2:\n%3").arg(page + 1).arg(address(row), text)));
        }
    }
}

void TestMergeChoice::filterNarrows_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("nothing typed") << QString() << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QTest::newRow("part of a company") << u8("株式会社") << QList<int>{0, 2, 3, 4, 5, 6, 7, 10, 11};
    QTest::newRow("a person") << u8("佐藤") << QList<int>{1};
    QTest::newRow("a department") << u8("営業部") << QList<int>{0, 5, 11};
    QTest::newRow("the address column") << u8("福岡") << QList<int>{8};
    QTest::newRow("a postcode") << u8("〒600") << QList<int>{6};
    QTest::newRow("latin, any case") << QStringLiteral("shinshu") << QList<int>{9};
    QTest::newRow("blanks around") << u8("  佐藤 ") << QList<int>{1};
    QTest::newRow("no one") << QStringLiteral("zzz") << QList<int>{};
}

void TestMergeChoice::filterNarrows()
{
    QFETCH(QString, filter);
    QFETCH(QList<int>, shown);
    child<QLineEdit>("filter")->setText(filter);
    QAbstractItemModel *view = child<QTableView>("customers")->model();
    QList<int> rows;
    for (int i = 0; i < view->rowCount(); ++i)
        rows << view->data(view->index(i, MergeChoiceModel::RowNumber)).toInt() - 1;
    QCOMPARE(rows, shown);
    // Hiding a customer does not uncheck it.
    QCOMPARE(m_dialog->chosenRows().size(), 12);
}

void TestMergeChoice::selectionActsOnWhatIsShown()
{
    child<QLineEdit>("filter")->setText(u8("営業部"));
    child<QPushButton>("selectNone")->click();
    QCOMPARE(m_dialog->chosenRows(), (QList<int>{1, 2, 3, 4, 6, 7, 8, 9, 10}));
    child<QLineEdit>("filter")->clear();
    child<QPushButton>("selectNone")->click();
    child<QLineEdit>("filter")->setText(u8("北海道"));
    child<QPushButton>("selectAll")->click();
    child<QLineEdit>("filter")->setText(u8("愛知"));
    child<QPushButton>("selectAll")->click();
    QCOMPARE(m_dialog->chosenRows(), (QList<int>{2, 4}));
    QCOMPARE(child<QLabel>("count")->text(), QStringLiteral("2 / 12 通を送ります"));
}

void TestMergeChoice::previewShowsTheSelectedCustomer_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("shownIndex"); // the row of the list as the filter shows it
    QTest::addColumn<int>("customer");

    QTest::newRow("the first at the start") << QString() << 0 << 0;
    QTest::newRow("the sixth") << QString() << 5 << 5;
    QTest::newRow("the second shown under a filter") << u8("営業部") << 1 << 5;
}

void TestMergeChoice::previewShowsTheSelectedCustomer()
{
    QFETCH(QString, filter);
    QFETCH(int, shownIndex);
    QFETCH(int, customer);
    QTableView *view = child<QTableView>("customers");
    child<QLineEdit>("filter")->setText(filter);
    view->setCurrentIndex(view->model()->index(shownIndex, MergeChoiceModel::Company));

    QVERIFY(m_dialog->previewPage().has_value());
    const QString text = pageText(*m_dialog->previewPage());
    QVERIFY2(text.contains(company(customer)), qPrintable(text));
    QVERIFY2(text.contains(u8(kCustomers[customer][1])), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("BODYOFEVERYLETTER")));
    for (int other = 0; other < 12; ++other)
        if (other != customer)
            QVERIFY2(!text.contains(company(other)), qPrintable(text));

    // The very page the run prints for that customer, run for run.
    const RenderPage printed =
        letterpage::merged(*m_letter, m_table, 12, addressblock::Layout::Text).page(customer);
    QCOMPARE(m_dialog->previewPage()->runs().size(), printed.runs().size());
    for (qsizetype i = 0; i < printed.runs().size(); ++i) {
        QCOMPARE(m_dialog->previewPage()->runs()[i].text, printed.runs()[i].text);
        QCOMPARE(m_dialog->previewPage()->runs()[i].position, printed.runs()[i].position);
    }
    // And drawn: the sheet is not blank.
    const QImage shown = child<QLabel>("preview")->pixmap().toImage();
    QVERIFY(!shown.isNull());
    bool inked = false;
    for (int y = 0; y < shown.height() && !inked; ++y)
        for (int x = 0; x < shown.width() && !inked; ++x)
            inked = qGray(shown.pixel(x, y)) < 128;
    QVERIFY(inked);
}

void TestMergeChoice::noneCheckedIsNoRun()
{
    QPushButton *ok = m_dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    QVERIFY(ok && ok->isEnabled());
    child<QPushButton>("selectNone")->click();
    QVERIFY(!ok->isEnabled());
    QCOMPARE(child<QLabel>("count")->text(), QStringLiteral("0 / 12 通を送ります"));
    // A choice of no one makes no file, should a front end ask all the same.
    letteroutput::Customers customers{m_table, 12, addressblock::Layout::Text};
    customers.rows = m_dialog->chosenRows();
    const QString pdf = m_dir->path(QStringLiteral("none.pdf"));
    QVERIFY(!letteroutput::saveMergedPdf(*m_letter, customers, pdf).ok());
    QVERIFY(!QFileInfo::exists(pdf));
    check(3, true);
    QVERIFY(ok->isEnabled());
}

QTEST_MAIN(TestMergeChoice)
#include "tst_mergechoice.moc"

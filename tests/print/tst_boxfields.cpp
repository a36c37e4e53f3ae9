// SPDX-License-Identifier: GPL-3.0-or-later
// Fields in the window: typed and kept as typed in edit mode and in the box
// text file, filled by the chosen customer in the preview, on paper and in
// PDFs, empty without a customer; the field chooser; the send log of a
// letter saved as a PDF.

#include "../shell/formfixture.h"
#include "../testfiles.h"

#include "../testrig.h"
#include "letter/boxmemo.h"
#include "platform/cp932.h"
#include "print/renderpage.h"
#include "print/savefilechooser.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QRadioButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
// Three customers of a text list, each with its own fax number (the
// seventh field) and telephone (the sixth).
const char kCustomers[] = "ALPHACO,PA,DA,100-0001,ADDRA,TEL-A,FAX-A\r\n"
                          "BRAVOCO,PB,DB,200-0002,ADDRB,TEL-B,FAX-B\r\n"
                          "CHARLIECO,PC,DC,300-0003,ADDRC,TEL-C\r\n";
const QString kTyped = QStringLiteral("FAX:《FAX》 TEL:《電話》 〒《郵便番号》 《不明》");

QString printed(const TForm1 &f)
{
    const RenderPage page = renderPage(f);
    QStringList texts;
    for (const RenderRun &run : page.runs())
        texts.append(run.text);
    return texts.join(u'|');
}
} // namespace

class TestBoxFields : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void filledByTheChosenCustomer_data();
    void filledByTheChosenCustomer();
    void noCustomerAfterAModeChangeOrAHandOff_data();
    void noCustomerAfterAModeChangeOrAHandOff();
    void chooserPutsAFieldAtTheCaret();
    void savedPdfIsRecorded();
    void printedLetterIsRecorded();

private:
    TForm1 &form() { return m_fixture->form(); }
    void chooseCustomer(int row)
    {
        ui(form()).ListBox1->setCurrentIndex(ui(form()).ListBox1Items->index(row));
    }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestBoxFields::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->writeFile(u8("smpl1.txt"), QByteArray(kCustomers));
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    ui(form()).memos[0]->setText(kTyped);
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton); // TXTから取得
    QCOMPARE(ui(form()).ListBox1Items->rowCount(), 3);
}

void TestBoxFields::cleanup()
{
    savefilechooser::resetInstance();
    m_fixture.reset();
}

void TestBoxFields::filledByTheChosenCustomer_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("filled");
    QTest::newRow("the first") << 0 << QStringLiteral("FAX:FAX-A TEL:TEL-A 〒100-0001 《不明》");
    QTest::newRow("the second") << 1 << QStringLiteral("FAX:FAX-B TEL:TEL-B 〒200-0002 《不明》");
    QTest::newRow("one without a fax number")
        << 2 << QStringLiteral("FAX: TEL:TEL-C 〒300-0003 《不明》");
}

void TestBoxFields::filledByTheChosenCustomer()
{
    QFETCH(int, row);
    QFETCH(QString, filled);
    chooseCustomer(row);
    // Edit mode shows the fields as typed, the page prints them filled.
    QCOMPARE(ui(form()).memos[0]->text(), kTyped);
    QVERIFY2(printed(form()).contains(filled), qPrintable(printed(form())));
    QVERIFY(!printed(form()).contains(u8("《FAX》")));
    // The preview shows them as they print, and edit mode as typed again.
    QTest::mouseClick(ui(form()).spbA, Qt::LeftButton);
    QCOMPARE(ui(form()).memos[0]->text(), filled);
    QTest::mouseClick(ui(form()).spbA, Qt::LeftButton);
    QCOMPARE(ui(form()).memos[0]->text(), kTyped);
    // The text file keeps what was typed.
    QVERIFY(form().close());
    QCOMPARE(m_fixture->readFile(u8("Data/1本文.txt")), cp932::encode(kTyped));
}

void TestBoxFields::noCustomerAfterAModeChangeOrAHandOff_data()
{
    QTest::addColumn<int>("after"); // 0 nothing chosen, 1 a mode change, 2 a hand-off
    QTest::newRow("nothing chosen yet") << 0;
    QTest::newRow("after a mode change") << 1;
    QTest::newRow("after a hand-off") << 2;
}

void TestBoxFields::noCustomerAfterAModeChangeOrAHandOff()
{
    QFETCH(int, after);
    if (after > 0)
        chooseCustomer(1);
    if (after == 1)
        QTest::mouseClick(ui(form()).RadioButton1, Qt::LeftButton);
    if (after == 2)
        form().receiveHandOff(QStringLiteral("01"), QStringLiteral("HANDED"));
    QVERIFY2(printed(form()).contains(QStringLiteral("FAX: TEL: 〒 《不明》")),
             qPrintable(printed(form())));
    // The preview shows them so too, whatever the list shows.
    QTest::mouseClick(ui(form()).spbA, Qt::LeftButton);
    QCOMPARE(ui(form()).memos[0]->text(), QStringLiteral("FAX: TEL: 〒 《不明》"));
}

void TestBoxFields::chooserPutsAFieldAtTheCaret()
{
    BoxMemo *memo = ui(form()).memos[2];
    memo->setText(QStringLiteral("TEL  様"));
    QTextCursor caret = memo->textCursor();
    caret.setPosition(4);
    memo->setTextCursor(caret);
    QStringList offered;
    QTimer::singleShot(0, memo, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        auto *fields = menu->findChild<QMenu *>(QStringLiteral("fieldMenu"));
        QVERIFY(fields);
        QCOMPARE(fields->title(), BoxMemo::fieldMenuTitle());
        for (QAction *action : fields->actions()) {
            offered.append(action->text());
            if (action->text() == u8("《電話》"))
                action->trigger();
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            memo->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(memo->viewport(), &event);
    QCOMPARE(offered,
             (QStringList{u8("《番号》"), u8("《会社名》"), u8("《担当者》"), u8("《部署》"),
                          u8("《郵便番号》"), u8("《電話》"), u8("《FAX》"), u8("《住所》")}));
    QCOMPARE(memo->text(), u8("TEL 《電話》 様"));
    QCOMPARE(form().document().letter().box(2).text, u8("TEL 《電話》 様"));
}

void TestBoxFields::savedPdfIsRecorded()
{
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("letter.pdf"));
    savefilechooser::setInstance(
        [&](QWidget *, const QString &, const QString &, const QString &) { return path; });
    ui(form()).memos[4]->setText(QStringLiteral("FAX送付のご案内 《会社名》様\r\n二行目"));
    chooseCustomer(1);
    TForm1Access::savePdf(form());
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    const QStringList rows = QString::fromUtf8(m_fixture->readFile(u8("送付記録.csv")))
                                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 2);
    const QStringList fields = rows[1].split(u',');
    QCOMPARE(fields.size(), 5);
    QCOMPARE(fields[0], QStringLiteral("2027-03-06 00:00:00")); // the fixture's clock
    QCOMPARE(fields[1], QStringLiteral("PDF"));
    QCOMPARE(fields[2], QStringLiteral("BRAVOCO"));                   // box B's first line
    QCOMPARE(fields[3], QStringLiteral("FAX送付のご案内 BRAVOCO様")); // box E's, filled
    QCOMPARE(fields[4], path);
    // A cancelled save adds nothing.
    savefilechooser::setInstance(
        [](QWidget *, const QString &, const QString &, const QString &) { return QString(); });
    TForm1Access::savePdf(form());
    QCOMPARE(QString::fromUtf8(m_fixture->readFile(u8("送付記録.csv")))
                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
                 .size(),
             2);
}

void TestBoxFields::printedLetterIsRecorded()
{
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        SKIP_MISSING_RIG(
            "no test printer: start scripts/cups-test-printer.sh and export its variables");
    chooseCustomer(0);
    form().PrintPage();
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    const QStringList rows = QString::fromUtf8(m_fixture->readFile(u8("送付記録.csv")))
                                 .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 2);
    const QStringList fields = rows[1].split(u',');
    QCOMPARE(fields.mid(1), (QStringList{u8("印刷"), u8("ALPHACO"), QString(), u8("tavrint-pdf")}));
}

QTEST_MAIN(TestBoxFields)
#include "tst_boxfields.moc"

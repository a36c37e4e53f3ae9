// SPDX-License-Identifier: GPL-3.0-or-later
// The documents after the cover and the fax, in the window: attached by the
// menu's list and by a drop on the page, shown on the left panel, counted
// in 《枚数》, kept by the close; a fax confirmed and sent to the test
// HylaFAX server; the send log's window with the fax's state.

#include "../shell/formfixture.h"

#include "letter/attachmentsdialog.h"
#include "letter/boxmemo.h"
#include "platform/noticereport.h"
#include "print/faxconfirmdialog.h"
#include "shell/panel.h"

#include "../testpdfs.h"
#include "../testrig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

class TestFaxWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void attachedShownCountedAndKept();
    void pdfFilesDroppedOnThePage_data();
    void pdfFilesDroppedOnThePage();
    void confirmedFaxGoesToTheServer();
    void noNumberNoFax();
    void everyCheckedCustomerWithANumber();

private:
    TForm1 &form() { return m_fixture->form(); }
    QString pdf(const QString &name, int pages)
    {
        m_fixture->writeFile(name, testpdfs::pages(pages));
        return m_fixture->path(name);
    }
    // Runs `action` and, once its dialog of type D shows, `inside` on it.
    template <typename D>
    bool whileShown(const char *action, const std::function<void(D *)> &inside);

    std::unique_ptr<FormFixture> m_fixture;
    QStringList m_notices;
};

void TestFaxWindow::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->writeFile(
        QStringLiteral("Data/1本文.txt"),
        QByteArray("\x91\x97\x90\x4d\x96\x87\x90\x94\x81\x46\x81\x73\x96\x87\x90\x94\x81\x74"));
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    m_notices.clear();
    noticereport::setInstance([this](const QString &text) { m_notices.append(text); });
}

void TestFaxWindow::cleanup()
{
    noticereport::resetInstance();
    m_fixture.reset();
}

template <typename D>
bool TestFaxWindow::whileShown(const char *action, const std::function<void(D *)> &inside)
{
    bool shown = false;
    QTimer::singleShot(0, &form(), [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<D *>(w); dialog && dialog->isVisible()) {
                shown = true;
                inside(dialog);
                return;
            }
        }
    });
    form().findChild<QAction *>(QLatin1String(action))->trigger();
    return shown;
}

void TestFaxWindow::attachedShownCountedAndKept()
{
    const QString first = pdf(QStringLiteral("a.pdf"), 2);
    const QString second = pdf(QStringLiteral("b.pdf"), 1);
    // Through the list: two files added, the second moved up.
    QVERIFY(whileShown<AttachmentsDialog>("actAttachments", [&](AttachmentsDialog *dialog) {
        dialog->addFiles({first, second});
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("attachmentList"));
        QCOMPARE(list->item(0)->text(), QStringLiteral("a.pdf (2枚)"));
        list->setCurrentRow(1);
        dialog->findChild<QPushButton *>(QStringLiteral("upButton"))->click();
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("attachmentTotal"))->text(),
                 QStringLiteral("送信枚数: 本状を含め 4 枚"));
        dialog->accept();
    }));
    QCOMPARE(form().document().letter().attachments(), (QStringList{second, first}));
    auto *note = form().findChild<QLabel *>(QStringLiteral("attachmentsNote"));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("添付 2 件・本状を含め 4 枚"));
    // 《枚数》 shows filled in the preview, as it prints.
    QTest::mouseClick(ui(form()).spbA, Qt::LeftButton);
    QCOMPARE(ui(form()).memos[0]->text(), QStringLiteral("送信枚数：4"));
    QTest::mouseClick(ui(form()).spbA, Qt::LeftButton);

    // The close keeps the list; the next start has it.
    QVERIFY(form().close());
    QCOMPARE(m_fixture->readFile(QStringLiteral("Data/添付ファイル.txt")),
             (second + u'\n' + first + u'\n').toUtf8());
    m_fixture->start();
    QCOMPARE(form().document().letter().attachments(), (QStringList{second, first}));
    QCOMPARE(form().document().letter().sentPages(), 4);
}

void TestFaxWindow::pdfFilesDroppedOnThePage_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("attached");
    QTest::newRow("two PDFs") << QStringList{QStringLiteral("x.pdf"), QStringLiteral("y.PDF")} << 2;
    // A text file dropped on a box is not a document to send.
    QTest::newRow("a PDF and a text file")
        << QStringList{QStringLiteral("x.pdf"), QStringLiteral("z.txt")} << 0;
}

void TestFaxWindow::pdfFilesDroppedOnThePage()
{
    QFETCH(QStringList, names);
    QList<QUrl> urls;
    for (const QString &name : names)
        urls.append(QUrl::fromLocalFile(pdf(name, 1)));
    QMimeData data;
    data.setUrls(urls);
    QWidget *target = ui(form()).memos[0]->viewport();
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QTEST(int(form().document().letter().attachments().size()), "attached");
}

void TestFaxWindow::confirmedFaxGoesToTheServer()
{
    const QString server = qEnvironmentVariable("TAVRINT_FAXSERVER");
    if (server.isEmpty())
        SKIP_MISSING_RIG("no fax server (scripts/hylafax-test-server.sh)");
    form().document().setAttachments({pdf(QStringLiteral("a.pdf"), 3)});
    const bool shown = whileShown<FaxConfirmDialog>("actFax", [&](FaxConfirmDialog *dialog) {
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("faxPages"))->text(),
                 QStringLiteral("本状を含め 4 枚"));
        dialog->findChild<QLineEdit *>(QStringLiteral("faxNumber"))
            ->setText(QStringLiteral("03-5555-6666"));
        dialog->findChild<QLineEdit *>(QStringLiteral("faxServer"))->setText(server);
        dialog->findChild<QPushButton *>(QStringLiteral("sendButton"))->click();
    });
    QVERIFY(shown);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    QCOMPARE(m_notices.size(), 1);
    QVERIFY2(m_notices.first().contains(QStringLiteral("0355556666  ジョブ ")),
             qPrintable(m_notices.first()));
    // The service chosen is kept for the next fax.
    QVERIFY(m_fixture->readFile(QStringLiteral("Init/fax.ini"))
                .contains(QByteArray(QByteArray("Host=") + server.toUtf8())));

    // The send log's window shows the fax, waiting for a modem.
    const bool listed = whileShown<QDialog>("actSendLog", [&](QDialog *window) {
        auto *table = window->findChild<QTableWidget *>(QStringLiteral("sendLogTable"));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 1)->text(), QStringLiteral("FAX"));
        QVERIFY(table->item(0, 4)->text().startsWith(QStringLiteral("0355556666 hylafax://")));
        QCOMPARE(table->item(0, 5)->text(), QStringLiteral("待機中"));
        window->reject();
    });
    QVERIFY(listed);
}

void TestFaxWindow::noNumberNoFax()
{
    const bool shown = whileShown<FaxConfirmDialog>("actFax", [&](FaxConfirmDialog *dialog) {
        auto *send = dialog->findChild<QPushButton *>(QStringLiteral("sendButton"));
        QVERIFY(!send->isEnabled()); // no customer chosen: no number
        dialog->findChild<QLineEdit *>(QStringLiteral("faxNumber"))
            ->setText(QStringLiteral("03-12ab"));
        QVERIFY(!send->isEnabled());
        QVERIFY(dialog->findChild<QLabel *>(QStringLiteral("faxProblem"))
                    ->text()
                    .contains(QStringLiteral("使えない文字")));
        dialog->reject();
    });
    QVERIFY(shown);
    QVERIFY(m_notices.isEmpty());
    QVERIFY(!QFileInfo::exists(m_fixture->path(QStringLiteral("送付記録.csv"))));
}

void TestFaxWindow::everyCheckedCustomerWithANumber()
{
    const QString server = qEnvironmentVariable("TAVRINT_FAXSERVER");
    if (server.isEmpty())
        SKIP_MISSING_RIG("no fax server (scripts/hylafax-test-server.sh)");
    // Three customers: a number, none, one no fax could dial.
    m_fixture->writeFile(QStringLiteral("smpl1.txt"),
                         "ALPHACO,PA,DA,100,ADDRA,TEL-A,03-1111-2222\r\n"
                         "BRAVOCO,PB,DB,200,ADDRB,TEL-B,\r\n"
                         "CHARLIECO,PC,DC,300,ADDRC,TEL-C,03-12ab\r\n");
    QTest::mouseClick(ui(form()).RadioButton2, Qt::LeftButton);
    QCOMPARE(form().customers().mergeCount(), 3);
    const bool shown = whileShown<FaxConfirmDialog>("actFaxMerged", [&](FaxConfirmDialog *dialog) {
        QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("faxAddressee"))->text(),
                 QStringLiteral("3 件の顧客"));
        QVERIFY(!dialog->findChild<QLineEdit *>(QStringLiteral("faxNumber")));
        dialog->findChild<QLineEdit *>(QStringLiteral("faxServer"))->setText(server);
        dialog->findChild<QPushButton *>(QStringLiteral("sendButton"))->click();
    });
    QVERIFY(shown);
    QVERIFY2(m_fixture->errors.isEmpty(), qPrintable(m_fixture->errors.join(u'\n')));
    QCOMPARE(m_notices.size(), 1);
    const QString notice = m_notices.first();
    QVERIFY2(notice.contains(QStringLiteral("1 件のFAXを送りました")) &&
                 notice.contains(QStringLiteral("0311112222")) &&
                 notice.contains(QStringLiteral("送らなかった宛先 2 件")) &&
                 notice.contains(QStringLiteral("BRAVOCO")) &&
                 notice.contains(QStringLiteral("CHARLIECO")),
             qPrintable(notice));
}

QTEST_MAIN(TestFaxWindow)
#include "tst_faxwindow.moc"

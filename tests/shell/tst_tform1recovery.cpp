// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of "nothing lost": the recovery copy holds exactly what
// a close writes, follows every kind of change within a second or two, and
// a signal's close runs even with a dialog open.

#include "formfixture.h"

#include "letter/boxmemo.h"
#include "letter/recoverystore.h"
#include "platform/cp932.h"
#include "shell/panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using recoverycopy::Files;

namespace {
enum class Step { Nothing, TypeIntoA, AddresseeInMode1, AddresseeInMode0, HandOff };

QStringList names(const Files &files)
{
    QStringList list;
    for (const recoverycopy::File &file : files)
        list.append(file.relativePath);
    return list;
}
} // namespace

class TestTForm1Recovery : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void copyHoldsWhatTheCloseWrites_data();
    void copyHoldsWhatTheCloseWrites();
    void everyKindOfChangeIsKept_data();
    void everyKindOfChangeIsKept();
    void signalClosesWithADialogOpen();
    void signalCloseThatFailsSaysSo();
    void recoveredNoteGoesAtTheNextClick();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestTForm1Recovery::copyHoldsWhatTheCloseWrites_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("addresseeWritten");
    QTest::newRow("a first run, untouched") << int(Step::Nothing) << false;
    QTest::newRow("text typed into box A") << int(Step::TypeIntoA) << false;
    QTest::newRow("an addressee in mode 1 is saved") << int(Step::AddresseeInMode1) << true;
    QTest::newRow("an addressee in mode 0 is not") << int(Step::AddresseeInMode0) << false;
    QTest::newRow("after a hand-off it is not") << int(Step::HandOff) << false;
}

void TestTForm1Recovery::copyHoldsWhatTheCloseWrites()
{
    QFETCH(int, step);
    QFETCH(bool, addresseeWritten);
    m_fixture->writeFile(u8"Init/tavrint38.ini",
                         QByteArray("; kept\r\n[other]\r\nx=1\r\n[tavrint]\r\nFormTop=40\r\n"));
    TForm1 &f = m_fixture->start();
    switch (Step(step)) {
    case Step::Nothing:
        break;
    case Step::TypeIntoA:
        ui(f).memos[0]->setText(QStringLiteral("拝啓\r\n末尾に改行\r\n"));
        break;
    case Step::AddresseeInMode1:
    case Step::HandOff:
        ui(f).RadioButton2->setChecked(true); // no smpl1.txt: falls back to mode 1
        ui(f).memos[1]->setText(QStringLiteral("株式会社　山田商事"));
        if (Step(step) == Step::HandOff)
            f.receiveHandOff(QStringLiteral("01"), QStringLiteral("渡された宛名"));
        break;
    case Step::AddresseeInMode0:
        ui(f).memos[1]->setText(QStringLiteral("株式会社　山田商事"));
        break;
    }
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    m_fixture->moveFrameTo(2, QPoint(50, 500));

    const Files copy = f.document().letter().closeFiles();
    QCOMPARE(names(copy).contains(u8"Data/2宛名.txt"), addresseeWritten);
    QVERIFY(!names(copy).contains(u8"Data/4発行日.txt"));
    QCOMPARE(names(copy).first(), u8"Init/tavrint38.ini");

    // The close writes these files, byte for byte, and no others.
    QVERIFY(f.close());
    for (const recoverycopy::File &file : copy)
        QCOMPARE(m_fixture->readFile(file.relativePath), file.bytes);
    QCOMPARE(QFile::exists(m_fixture->path(u8"Data/2宛名.txt")), addresseeWritten);
}

void TestTForm1Recovery::everyKindOfChangeIsKept_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QByteArray>("inCopy");
    QTest::newRow("a keystroke") << 0 << QByteArray("mm1Height");
    QTest::newRow("a moved frame") << 1 << QByteArray("mm3Left=77\r\n");
    QTest::newRow("a resized frame") << 2 << QByteArray("mm3Width=150\r\n");
    QTest::newRow("a font") << 3 << QByteArray("mm1FontSize=20\r\n");
    QTest::newRow("a mode change, which saves box B") << 4 << QByteArray("Data/2");
    QTest::newRow("a moved window") << 5 << QByteArray("FormLeft=123\r\n");
}

void TestTForm1Recovery::everyKindOfChangeIsKept()
{
    QFETCH(int, change);
    QFETCH(QByteArray, inCopy);
    m_fixture->writeFile(u8"Data/2宛名.txt", QByteArray("addressee"));
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    RecoveryStore store(f.document().letter().programDir(), f.document().letter().executableName());
    QVERIFY(store.claim());
    f.keepRecoveryCopiesIn(&store);

    // What the window starts with is on disk already, or no work of the
    // user's: no copy for it.
    TForm1Access::keepRecoveryCopy(f);
    QVERIFY(!QFile::exists(store.copyPath()));

    switch (change) {
    case 0:
        QTest::keyClicks(ui(f).memos[0], QStringLiteral("typed"));
        break;
    case 1:
        m_fixture->moveFrameTo(2, QPoint(77, f.document().letter().box(2).frame.top()));
        break;
    case 2: {
        const QRect c = f.document().letter().box(2).frame;
        m_fixture->dragFrame(2, QPoint(c.width() - 2, c.height() / 2), QPoint(150 - c.width(), 0));
        break;
    }
    case 3:
        m_fixture->applyFontPoints(0, 20);
        break;
    case 4:
        ui(f).RadioButton2->setChecked(true); // no smpl1.txt: mode 1
        break;
    case 5:
        f.move(123, f.y());
        break;
    }
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(store.copyPath()), 2000);
    recoverycopy::Files kept;
    QCOMPARE(store.leftover(&kept), RecoveryStore::Leftover::Intact);
    QCOMPARE(kept, f.document().letter().closeFiles());
    QVERIFY(recoverycopy::encode(kept).contains(inCopy));
    if (change == 0)
        QVERIFY(recoverycopy::encode(kept).contains("typed"));

    // The close writes the files and takes the copy away.
    QVERIFY(f.close());
    QVERIFY(!QFile::exists(store.copyPath()));
}

void TestTForm1Recovery::signalClosesWithADialogOpen()
{
    TForm1 &f = m_fixture->start();
    f.show();
    ui(f).memos[0]->setText(QStringLiteral("ダイアログの下で"));
    int exitCode = -1;
    bool boxClosed = false;
    // A message box holds its own event loop; the signal arrives in it.
    QTimer::singleShot(0, &f, [&] {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tavrint"), QStringLiteral("?"),
                        QMessageBox::Ok, &f);
        QTimer::singleShot(50, &f, [&] { exitCode = f.closeForSignal(); });
        box.exec();
        boxClosed = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(boxClosed, 5000);
    QCOMPARE(exitCode, 0);
    QCOMPARE(m_fixture->readFile(u8"Data/1本文.txt"),
             cp932::encode(QStringLiteral("ダイアログの下で")));
    QVERIFY(m_fixture->readFile(u8"Init/tavrint38.ini").contains("mm1FontName"));
}

void TestTForm1Recovery::signalCloseThatFailsSaysSo()
{
    TForm1 &f = m_fixture->start();
    ui(f).memos[0]->setText(QStringLiteral("保存できない"));
    // A folder where box A's file belongs: its save fails.
    QDir().mkpath(m_fixture->path(u8"Data/1本文.txt"));
    QCOMPARE(f.closeForSignal(), 1);
    // Nobody would read a message box now: the error went to standard
    // error, not to the window's error report.
    QVERIFY(m_fixture->errors.isEmpty());
}

void TestTForm1Recovery::recoveredNoteGoesAtTheNextClick()
{
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    f.showRecoveredNote();
    auto *note = f.findChild<QLabel *>(QStringLiteral("recoveredNote"));
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("前回終了時の内容を復元しました"));
    QVERIFY(ui(f).Pnl1->rect().contains(note->geometry()));
    QTest::mouseClick(ui(f).Pnl0, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!note->isVisible());
}

QTEST_MAIN(TestTForm1Recovery)
#include "tst_tform1recovery.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's set-up and shutdown: error paths, hostile settings,
// the session end, the print trigger, the wheel rule and the preview's
// independence from printing.

#include "formfixture.h"

#include "letter/boxmemo.h"
#include "platform/cp932.h"
#include "print/renderpage.h"
#include "shell/panel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <sys/stat.h>

class TestTForm1Lifecycle : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void readOnlySettingsKeepsWindowOpen();
    void unreadableBoxTextDoesNotStopStartUp();
    void hostileSettingsValues();
    void emptySettingsFileIsNoFirstRun();
    void sessionEndSavesLayoutAndTexts();
    void twoReleasesPrintOnce();
    void previewDoesNotChangeThePicture();
    void wheelScrollsOnlyTheFocusedList();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestTForm1Lifecycle::readOnlySettingsKeepsWindowOpen()
{
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(f.close());
    const QString ini = m_fixture->path(QStringLiteral("Init/tavrint38.ini"));
    const QByteArray before = m_fixture->readFile(QStringLiteral("Init/tavrint38.ini"));
    QVERIFY(!before.isEmpty());

    TForm1 &g = m_fixture->start();
    g.show();
    ui(g).memos[0]->setText(QStringLiteral("新しい本文"));
    QVERIFY(::chmod(QFile::encodeName(ini).constData(), 0444) == 0);
    QVERIFY(!g.close());
    QVERIFY(g.isVisible());
    QCOMPARE(m_fixture->errors, QStringList{ini + QStringLiteral(" に書き込めません.")});
    QCOMPARE(m_fixture->readFile(QStringLiteral("Init/tavrint38.ini")), before);
    // The box texts are not written after the failed close query.
    QCOMPARE(m_fixture->readFile(QStringLiteral("Data/1本文.txt")), QByteArray());
    // Writable again: the next close writes everything.
    QVERIFY(::chmod(QFile::encodeName(ini).constData(), 0644) == 0);
    QVERIFY(g.close());
    QCOMPARE(m_fixture->readFile(QStringLiteral("Data/1本文.txt")),
             cp932::encode(QStringLiteral("新しい本文")));
}

void TestTForm1Lifecycle::unreadableBoxTextDoesNotStopStartUp()
{
    // A directory where box A's file belongs cannot be read as a file.
    QDir().mkpath(m_fixture->path(QStringLiteral("Data/1本文.txt")));
    m_fixture->writeFile(QStringLiteral("Data/3署名.txt"), QByteArray("signature"));
    TForm1 &f = m_fixture->start();
    QCOMPARE(m_fixture->errors.size(), 1);
    QVERIFY(m_fixture->errors.first().startsWith(QStringLiteral("ファイル \"")));
    QVERIFY(m_fixture->errors.first().contains(QStringLiteral("は開けません")));
    // The later boxes, the issue date and the first-run layout all happened.
    QCOMPARE(ui(f).memos[2]->text(), QStringLiteral("signature"));
    QCOMPARE(ui(f).memos[3]->text(), QStringLiteral("2027年03月06日"));
    QCOMPARE(f.document().letter().box(0).frame, QRect(45, 201, 371, 90));
    QCOMPARE(ui(f).frames[0]->colour(), QColor(120, 160, 180));
}

void TestTForm1Lifecycle::hostileSettingsValues()
{
    const QString longFace(1200, QChar(0x660E)); // 2400 bytes of 明
    m_fixture->writeFile(
        QStringLiteral("Init/tavrint38.ini"),
        cp932::encode(
            QString(QStringLiteral("[tavrint]\r\nFormLeft=-2147483648\r\nFormTop=2147483647\r\n"
                                   "mm1FontSize=2147483647\r\nmm1Left=2147483647\r\n"
                                   "mm1Width=-2147483648\r\nmm2FontSize=-50\r\n"
                                   "mm2FontName=") +
                    longFace + QStringLiteral("\r\nmm3Height=$7FFFFFFF\r\nmm4FontSize=0\r\n"))));
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QVERIFY(m_fixture->errors.isEmpty());
    QCOMPARE(f.document().letter().points(0), 400);
    QVERIFY(ui(f).memos[1]->font().pixelSize() >= 1);
    QVERIFY(cp932::encode(f.document().letter().box(1).face).size() <= 31);
    QVERIFY(f.document().letter().box(0).frame.width() >= 0);
    QVERIFY(f.close());
}

void TestTForm1Lifecycle::emptySettingsFileIsNoFirstRun()
{
    m_fixture->writeFile(QStringLiteral("Init/tavrint38.ini"), QByteArray());
    TForm1 &f = m_fixture->start();
    QCOMPARE(f.pos(), QPoint(20, 10));
    for (int box = 0; box < boxtable::kBoxCount; ++box) {
        QCOMPARE(f.document().letter().box(box).face, QStringLiteral("MS P明朝"));
        QCOMPARE(f.document().letter().points(box), 9);
        QCOMPARE(f.document().letter().box(box).frame, boxtable::box(box).design);
    }
    QCOMPARE(ui(f).memos[5]->text(), QString()); // no monthly heading
}

void TestTForm1Lifecycle::sessionEndSavesLayoutAndTexts()
{
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    ui(f).memos[2]->setText(QStringLiteral("署名\r\n"));
    m_fixture->moveFrameTo(2, QPoint(40, 500));
    TForm1Access::sessionEnding(f);
    QCOMPARE(m_fixture->readFile(QStringLiteral("Data/3署名.txt")),
             cp932::encode(QStringLiteral("署名\r\n")));
    QVERIFY(m_fixture->readFile(QStringLiteral("Init/tavrint38.ini")).contains("mm3Left=40\r\n"));
    QVERIFY(!QFile::exists(m_fixture->path(QStringLiteral("Data/2宛名.txt"))));
}

void TestTForm1Lifecycle::twoReleasesPrintOnce()
{
    // No printer reachable: each print shows the error once.
    const QByteArray server = qgetenv("CUPS_SERVER");
    const bool hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    const auto restore = qScopeGuard([&] {
        if (hadServer)
            qputenv("CUPS_SERVER", server);
        else
            qunsetenv("CUPS_SERVER");
    });
    qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
    TForm1 &f = m_fixture->start();
    // The second release comes while the first one's timer runs (no event
    // is handled between them), however slow the machine.
    QTest::mouseRelease(ui(f).spb5, Qt::LeftButton);
    QVERIFY(ui(f).Timer1->isActive());
    QTest::mouseRelease(ui(f).spb5, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_fixture->errors.size(), 1, 3000);
    // Only the timer prints, and it is not running: no second print is
    // on its way.
    QVERIFY(!ui(f).Timer1->isActive());
    QCOMPARE(m_fixture->errors.size(), 1);
}

void TestTForm1Lifecycle::previewDoesNotChangeThePicture()
{
    TForm1 &f = m_fixture->start();
    f.show();
    ui(f).memos[0]->setText(
        QStringLiteral("一行目\r\n\r\n三行目 の 長い 文 が ここで 折り返して 次の "
                       "行に 続きます ここで 折り返して 次の 行に"));
    auto dump = [&f] {
        QStringList out;
        const RenderPage page = renderPage(f);
        for (const RenderRun &r : page.runs())
            out << QStringLiteral("%1,%2,%3,%4")
                       .arg(r.position.x())
                       .arg(r.position.y())
                       .arg(r.height)
                       .arg(r.text);
        return out;
    };
    const QStringList edit = dump();
    QVERIFY(edit.size() >= 4); // the long line wraps
    QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
    QCOMPARE(dump(), edit);
}

void TestTForm1Lifecycle::wheelScrollsOnlyTheFocusedList()
{
    TForm1 &f = m_fixture->start();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QString::number(i);
    TForm1Access::customers(f).setEntries(many);
    QString text;
    for (int i = 0; i < 50; ++i)
        text += QStringLiteral("line\r\n");
    ui(f).memos[0]->setText(text);

    auto wheel = [](QWidget *target) {
        const QPoint at = target->rect().center();
        QWheelEvent e(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    ui(f).memos[0]->setFocus();
    wheel(ui(f).memos[0]->viewport());
    QCOMPARE(ui(f).memos[0]->verticalScrollBar()->value(), 0);
    wheel(ui(f).ListBox1->viewport());
    QCOMPARE(ui(f).ListBox1->horizontalScrollBar()->value(), 0);

    ui(f).ListBox1->setFocus();
    wheel(ui(f).memos[0]->viewport()); // goes to the focused list
    QCOMPARE(ui(f).memos[0]->verticalScrollBar()->value(), 0);
    QVERIFY(ui(f).ListBox1->horizontalScrollBar()->value() > 0);
}

QTEST_MAIN(TestTForm1Lifecycle)
#include "tst_tform1lifecycle.moc"

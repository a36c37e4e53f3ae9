// SPDX-License-Identifier: GPL-3.0-or-later
// Named letters with the real program, as a user meets them: the menu of a
// right click on the left panel keeps the letter under a name, switches to a
// sample and back, and renames; the title names the current letter; a name
// that cannot be a file name is refused in a message box.

#include "programrunner.h"

#include "../testrig.h"
#include "platform/cp932.h"

#include <QDir>
#include <QTest>

namespace {
// A bare spot of the left panel, between the options and the customer list.
const QPoint kBareSpot(10 + 150, 200);

// The page menu's entries below "PDFに保存…" and the two merges.
// PDFに保存…, 全員分をPDFに保存…, 全員分を印刷, 1件ずつPDFに保存…, then the letters.
enum Entry { Keep = 5, Open = 6, Rename = 7 };
} // namespace

class TestNamedLettersEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void keepSwitchAndRename();

private:
    // Opens the page menu and walks to `entry` by the keys, as a user can.
    bool chooseEntry(ProgramRunner &app, Entry entry);
    // ... and to the `index`th letter of its list.
    bool chooseLetter(ProgramRunner &app, Entry entry, int index);
    bool waitForTitle(ProgramRunner &app, const QString &title);
};

void TestNamedLettersEndToEnd::init()
{
    const QString reason = ProgramRunner::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

bool TestNamedLettersEndToEnd::chooseEntry(ProgramRunner &app, Entry entry)
{
    if (!app.rightClick(kBareSpot))
        return false;
    QTest::qWait(500); // the menu opens
    for (int i = 0; i < entry; ++i)
        app.key(QStringLiteral("Down"));
    return true;
}

bool TestNamedLettersEndToEnd::chooseLetter(ProgramRunner &app, Entry entry, int index)
{
    if (!chooseEntry(app, entry))
        return false;
    app.key(QStringLiteral("Right")); // the list opens at its first letter
    QTest::qWait(300);
    for (int i = 0; i < index; ++i)
        app.key(QStringLiteral("Down"));
    return app.key(QStringLiteral("Return"));
}

bool TestNamedLettersEndToEnd::waitForTitle(ProgramRunner &app, const QString &title)
{
    for (int i = 0; i < 100; ++i) {
        if (app.windowTitle() == title)
            return true;
        QTest::qWait(100);
    }
    qWarning("the title is %s", qPrintable(app.windowTitle()));
    return false;
}

void TestNamedLettersEndToEnd::keepSwitchAndRename()
{
    ProgramRunner app;
    for (const QFileInfo &sample : QDir(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/Letters"))
                                       .entryInfoList({QStringLiteral("*.ini")}))
        app.writeFile(QStringLiteral("Letters/") + sample.fileName(),
                      readAll(sample.absoluteFilePath()));
    app.writeFile(QStringLiteral("Data/1本文.txt"), QByteArray("FIRST BODY"));
    QVERIFY(app.start());
    QCOMPARE(app.windowTitle(), QStringLiteral("Tavrint"));

    // A name with "/" is refused; the box says why, and nothing is kept.
    QVERIFY(chooseEntry(app, Keep));
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(app.waitForWindow(u8("この文書を名前を付けて保存…")));
    QVERIFY(app.typeText(QStringLiteral("a/b")));
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(app.waitForWindowCount(2)); // the error report beside the window
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(app.waitForWindowCount(1));
    QCOMPARE(QDir(app.path(QStringLiteral("Letters"))).entryList(QDir::Files).size(), 4);

    // Kept under a name: the title says so.
    QVERIFY(chooseEntry(app, Keep));
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(app.waitForWindow(u8("この文書を名前を付けて保存…")));
    QVERIFY(app.typeText(QStringLiteral("first")));
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(waitForTitle(app, u8("first — Tavrint")));
    QVERIFY(app.readFile(QStringLiteral("Letters/first.ini")).contains("|FIRST BODY\n"));

    // The letters in the list: first, 契約書送付, 見積書送付, 請求書送付, 資料送付.
    QVERIFY(chooseLetter(app, Open, 2));
    QVERIFY(waitForTitle(app, u8("見積書送付 — Tavrint")));
    // Back to the first: it is there as it was kept.
    QVERIFY(chooseLetter(app, Open, 0));
    QVERIFY(waitForTitle(app, u8("first — Tavrint")));
    QCOMPARE(app.readFile(QStringLiteral("Data/1本文.txt")), QByteArray("FIRST BODY"));
    // Switching kept the sample switched from with everything it now holds.
    QVERIFY(app.readFile(u8("Letters/見積書送付.ini")).contains("[Layout38]"));

    // Renamed while current: the title follows.
    QVERIFY(chooseLetter(app, Rename, 0));
    QVERIFY(app.waitForWindow(u8("文書の名前を変更")));
    QVERIFY(app.key(QStringLiteral("ctrl+a")));
    QVERIFY(app.typeText(QStringLiteral("renamed")));
    QVERIFY(app.key(QStringLiteral("Return")));
    QVERIFY(waitForTitle(app, u8("renamed — Tavrint")));
    QVERIFY(!QFile::exists(app.path(QStringLiteral("Letters/first.ini"))));

    QVERIFY(app.closeByButton());
    QCOMPARE(app.readFile(QStringLiteral("Init/currentletter.txt")), QByteArray("renamed\n"));
    QVERIFY(app.readFile(QStringLiteral("Letters/renamed.ini")).contains("|FIRST BODY\n"));
    // The close saved the letter switched to last into the current files.
    QCOMPARE(app.readFile(QStringLiteral("Data/5標題.txt")), QByteArray());
}

QTEST_GUILESS_MAIN(TestNamedLettersEndToEnd)
#include "tst_namedlettersendtoend.moc"

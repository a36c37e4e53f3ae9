// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/boxmemo.h"
#include "letter/overlongline.h"
#include "print/displaylines.h"
#include "print/renderpage.h"

#include <QFontInfo>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QWidget>

namespace {

// IPAGothic is fixed-pitch: every full-width character is one em (15 px),
// every ASCII character half of it.
QFont gothic15()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(15);
    return font;
}

QString repeated(const QString &s, int n)
{
    QString out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

class TestDisplayLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lines_data();
    void lines();
    void hiddenMemoWrapsAtItsCurrentWidth();
    void shownMemoFollowsResize();
    void printedLinesKeepEmptyLineAdvance();
    void overlongLineShownUpToTheCut_data();
    void overlongLineShownUpToTheCut();
    void editsDecideTheUnseenRest_data();
    void editsDecideTheUnseenRest();

private:
    QWidget *m_window = nullptr;
    BoxMemo *m_memo = nullptr;
};

void TestDisplayLines::initTestCase()
{
    QCOMPARE(QFontInfo(gothic15()).family(), QStringLiteral("IPAGothic"));
}

void TestDisplayLines::init()
{
    m_window = new QWidget;
    m_window->resize(600, 400);
    m_memo = new BoxMemo(m_window, QStringLiteral("Memo1"));
    m_memo->setFont(gothic15());
    m_memo->setGeometry(0, 0, 100, 300);
}

void TestDisplayLines::cleanup()
{
    delete m_window;
    m_window = nullptr;
    m_memo = nullptr;
}

void TestDisplayLines::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("expected");

    const QString a = QStringLiteral("あ");
    QTest::newRow("empty text has no lines") << QString() << 100 << QStringList();
    QTest::newRow("one short line")
        << QStringLiteral("abc") << 100 << QStringList{QStringLiteral("abc")};
    QTest::newRow("trailing line break adds no line")
        << QStringLiteral("abc\r\n") << 100 << QStringList{QStringLiteral("abc")};
    QTest::newRow("a lone line break is one empty line")
        << QStringLiteral("\r\n") << 100 << QStringList{QString()};
    QTest::newRow("two trailing line breaks keep one empty line")
        << QStringLiteral("abc\r\n\r\n") << 100 << QStringList{QStringLiteral("abc"), QString()};
    QTest::newRow("empty middle line counts")
        << QStringLiteral("abc\r\n\r\ndef") << 100
        << QStringList{QStringLiteral("abc"), QString(), QStringLiteral("def")};
    // 100 px holds six 15 px characters.
    QTest::newRow("long line wraps at the memo width")
        << repeated(a, 20) << 100
        << QStringList{repeated(a, 6), repeated(a, 6), repeated(a, 6), repeated(a, 2)};
    QTest::newRow("wrapped line then a hard line")
        << repeated(a, 8) + QStringLiteral("\r\nxyz") << 100
        << QStringList{repeated(a, 6), repeated(a, 2), QStringLiteral("xyz")};
    QTest::newRow("wider memo, fewer lines")
        << repeated(a, 20) << 200 << QStringList{repeated(a, 13), repeated(a, 7)};
    // 7.5 px per ASCII character: "aaaa bbbb " fits in 80, "cccc" goes on.
    QTest::newRow("words wrap at spaces")
        << QStringLiteral("aaaa bbbb cccc") << 80
        << QStringList{QStringLiteral("aaaa bbbb "), QStringLiteral("cccc")};
    QTest::newRow("CR only and LF only line breaks")
        << QStringLiteral("a\rb\nc") << 100
        << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
}

void TestDisplayLines::lines()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, expected);

    m_memo->resize(width, 300);
    m_memo->setText(text);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(displayLines(m_memo), expected);
}

void TestDisplayLines::hiddenMemoWrapsAtItsCurrentWidth()
{
    // Never shown: no layout has run, and the memo was resized since.
    m_memo->resize(400, 300);
    m_memo->setText(repeated(QStringLiteral("あ"), 20));
    m_memo->resize(100, 300);
    QCOMPARE(displayLines(m_memo).size(), 4);
}

void TestDisplayLines::shownMemoFollowsResize()
{
    m_memo->setText(repeated(QStringLiteral("あ"), 20));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(displayLines(m_memo).size(), 4);
    m_memo->resize(310, 300); // twenty characters fit
    QCOMPARE(displayLines(m_memo), QStringList{repeated(QStringLiteral("あ"), 20)});
}

void TestDisplayLines::printedLinesKeepEmptyLineAdvance()
{
    m_memo->setText(QStringLiteral("abc\r\n\r\ndef\r\n"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const RenderPage page = RenderPage::build(
        590, 834, {RenderBox::fromFont(QPoint(50, 120), m_memo->font(), displayLines(m_memo))}, 2);
    QCOMPARE(page.runs().size(), 2);
    QCOMPARE(page.runs().at(0).position, QPoint(561, 1346));
    // -15 px -> H -168, advance 166 + 20 per line: "def" two lines down.
    QCOMPARE(page.runs().at(1).text, QStringLiteral("def"));
    QCOMPARE(page.runs().at(1).position, QPoint(561, 1346 + 2 * 186));
}

void TestDisplayLines::overlongLineShownUpToTheCut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shownEnd"); // the last characters on screen and paper

    const qsizetype limit = overlongline::kLongestShownLine;
    QTest::newRow("5 MiB without a break") << QString(5 * 1024 * 1024, u'A') << QString(8, u'A');
    QTest::newRow("overlong second line, lines after it")
        << u"abc\r\n"_qs + QString(limit + 5000, u'B') + u"\r\nxyz\r\n"_qs << QString(8, u'B');
    QTest::newRow("overlong kanji line")
        << QString(limit, u'あ') + QString(3000, u'い') << QString(4, u'あ');
}

void TestDisplayLines::overlongLineShownUpToTheCut()
{
    QFETCH(QString, text);
    QFETCH(QString, shownEnd);

    m_memo->setText(text);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // Saved whole, although only the start is shown.
    QCOMPARE(m_memo->text(), text);
    // Screen and paper take their lines from one layout: what is printed is
    // the shown text, wrapped, and ends at the cut.
    const QStringList lines = displayLines(m_memo);
    const QString printed = lines.join(QString());
    QVERIFY(printed.endsWith(shownEnd));
    QVERIFY(printed.size() < text.size());
    QCOMPARE(m_memo->document()->toPlainText().remove(u'\n'), printed);
}

void TestDisplayLines::editsDecideTheUnseenRest_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("restKept");
    QTest::newRow("typing at the start keeps the rest") << u"start"_qs << true;
    QTest::newRow("clearing the box drops the rest") << u"clear"_qs << false;
    QTest::newRow("clear, then undo brings it back") << u"undo"_qs << true;
    QTest::newRow("typing at the cut drops the rest") << u"end"_qs << false;
}

void TestDisplayLines::editsDecideTheUnseenRest()
{
    QFETCH(QString, edit);
    QFETCH(bool, restKept);
    const QString text = QString(overlongline::kLongestShownLine + 100, u'C');
    m_memo->setText(text);
    QTextCursor cursor = m_memo->textCursor();
    if (edit == u"start") {
        cursor.movePosition(QTextCursor::Start);
        cursor.insertText(u"x"_qs);
    } else if (edit == u"end") {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u"x"_qs);
    } else {
        m_memo->selectAll();
        m_memo->textCursor().removeSelectedText();
        if (edit == u"undo")
            m_memo->undo();
    }
    const QString saved = m_memo->text();
    if (restKept)
        QVERIFY(saved.endsWith(text));
    else
        QVERIFY(saved.size() <= overlongline::kLongestShownLine + 1);
}

QTEST_MAIN(TestDisplayLines)
#include "tst_displaylines.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The letter's display lines, made without a widget, are the lines the box's
// text area shows: for every face the font chooser lists, every size it
// allows, several box widths and texts of every kind, line for line.

#include "letter/boxmemo.h"
#include "letter/boxwrap.h"
#include "letter/fontfamilies.h"
#include "letter/fontsize.h"
#include "platform/fontsubstitution.h"
#include "print/displaylines.h"

#include <QFontDatabase>
#include <QTest>

namespace {
// The text area's widths of boxes from a narrow heading (G) to the body.
constexpr int kWidths[] = {26, 64, 145, 205, 361};

QStringList chooserFaces()
{
    QStringList installed;
    for (const QString &f : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(f))
            installed.append(f);
    }
    // The Windows faces a stored layout names, as the program maps them.
    return QStringList{QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS P明朝")} +
           fontfamilies::shown(installed);
}

QFont boxFont(const QString &face, int points)
{
    QFont font(face);
    font.setPixelSize(fontsize::pixelHeightFromPoints(points, 96));
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}
} // namespace

class TestBoxWrap : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void linesAreTheTextAreas_data();
    void linesAreTheTextAreas();

private:
    QWidget m_window;
    BoxMemo *m_memo = nullptr;
};

void TestBoxWrap::initTestCase()
{
    fontsubstitution::install();
    m_memo = new BoxMemo(&m_window, QStringLiteral("Memo1"));
    m_window.resize(800, 600);
    QVERIFY(chooserFaces().size() > 5);
}

void TestBoxWrap::linesAreTheTextAreas_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("everyFont"); // else a few faces and sizes
    const QString kanji = QStringLiteral(
        "拝啓　時下ますますご清栄のこととお慶び申し上げます。平素は格別のご高配を賜り、"
        "厚く御礼申し上げます。さて、下記の通り書類をお送りいたしますので、ご査収ください。");
    QTest::newRow("Japanese prose") << kanji << true;
    QTest::newRow("Latin words")
        << QStringLiteral("Please find enclosed the documents we discussed on the phone, "
                          "together with the revised quotation.")
        << true;
    QTest::newRow("a word longer than any box")
        << QStringLiteral("Supercalifragilisticexpialidocious-and-then-some-more 株式会社") << true;
    QTest::newRow("CR LF, empty lines, a closing break")
        << QStringLiteral("一行目\r\n\r\n三行目 three\r\n") << true;
    QTest::newRow("spaces at the ends of lines")
        << QStringLiteral("trailing spaces    \r\n    leading spaces\r\n全角　　　\r\n") << true;
    QTest::newRow("lone LF and lone CR") << QStringLiteral("a\nb\rc\r\n\nd") << true;
    QTest::newRow("tabs and digits")
        << QStringLiteral("送信枚数\t２枚\t(本状含む)\r\nTEL 03-1234-5678\tFAX 03-1234-5679")
        << true;
    QTest::newRow("an address block")
        << QStringLiteral("株式会社　山田商事\r\n営業部\r\n  山田　太郎　様\r\n   東京都千代田区"
                          "丸の内１－２－３　山田ビル４階")
        << true;
    QTest::newRow("an over-long line, shown up to its cut")
        << QString(20000, QChar(0x3042)) + QStringLiteral("\r\nnext") << false;
    QTest::newRow("an over-long unbroken Latin run")
        << QStringLiteral("x") + QString(17000, QLatin1Char('y')) << false;
    QTest::newRow("empty") << QString() << true;
}

void TestBoxWrap::linesAreTheTextAreas()
{
    QFETCH(QString, text);
    QFETCH(bool, everyFont);
    const QStringList faces = everyFont ? chooserFaces() : chooserFaces().mid(0, 3);
    const QList<int> sizes =
        everyFont ? QList<int>{8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}
                  : QList<int>{8, 24};
    int compared = 0;
    int wrapped = 0; // comparisons where some hard line took more than one line
    for (const QString &face : faces) {
        for (int points : sizes) {
            const QFont font = boxFont(face, points);
            m_memo->setFont(font);
            for (int width : kWidths) {
                if (!everyFont && width != 205)
                    continue;
                m_memo->resize(width, 100);
                m_memo->setText(text);
                const QStringList shown = displayLines(m_memo);
                const QStringList lines = boxwrap::lines(text, font, width);
                if (shown != lines)
                    QFAIL(qPrintable(QStringLiteral("%1, %2 pt, %3 px: the box shows %4 lines, "
                                                    "the letter %5: first difference at %6")
                                         .arg(face)
                                         .arg(points)
                                         .arg(width)
                                         .arg(shown.size())
                                         .arg(lines.size())
                                         .arg([&] {
                                             qsizetype i = 0;
                                             while (i < shown.size() && i < lines.size() &&
                                                    shown[i] == lines[i])
                                                 ++i;
                                             return i;
                                         }())));
                ++compared;
                if (lines.size() > text.count(QLatin1Char('\n')) + 1)
                    ++wrapped;
            }
        }
    }
    QVERIFY(compared > 0);
    // Every text but the empty one wraps in the narrower boxes.
    QVERIFY(text.isEmpty() || wrapped > 0);
}

QTEST_MAIN(TestBoxWrap)
#include "tst_boxwrap.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// One letter per customer: each page is the letter as it prints now, with
// only the addressee box's lines taken from that customer.

#include "print/mergedletters.h"

#include <QTest>

namespace {

constexpr int kPageWidth = 461; // a screen 768 pixels high
constexpr int kPageHeight = 652;
constexpr int kAddressee = 1;

QList<RenderBox> screenBoxes(const QStringList &addresseeOnScreen)
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(13);
    return {
        RenderBox::fromFont(QPoint(20, 300), font,
                            {QStringLiteral("BODY one"), QStringLiteral("BODY two")}),
        RenderBox::fromFont(QPoint(30, 40), font, addresseeOnScreen),
        RenderBox::fromFont(QPoint(250, 500), font, {QStringLiteral("SIGNATURE")}),
    };
}

// The runs of one box, told by where its lines start.
QStringList textsAt(const RenderPage &page, int x)
{
    QStringList texts;
    for (const RenderRun &run : page.runs())
        if (run.position.x() == x)
            texts.append(run.text);
    return texts;
}

QList<QPoint> positionsOf(const RenderPage &page)
{
    QList<QPoint> points;
    for (const RenderRun &run : page.runs())
        points.append(run.position);
    return points;
}

// X of box B's runs: Round(30 * 6614 / 461).
constexpr int kAddresseeX = 430;

} // namespace

class TestMergedLetters : public QObject
{
    Q_OBJECT
private slots:
    void pageHoldsItsCustomer_data();
    void pageHoldsItsCustomer();
    void otherBoxesAsOnScreen();
    void listOrder();
};

void TestMergedLetters::pageHoldsItsCustomer_data()
{
    QTest::addColumn<QStringList>("onScreen");
    QTest::addColumn<QStringList>("customerLines");
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("four lines replace four")
        << QStringList{"S1", "S2", "S3", "S4"} << QStringList{"C1", "C2", "  P 様", "   A"}
        << QStringList{"C1", "C2", "  P 様", "   A"};
    QTest::newRow("a wrapped address gives five lines")
        << QStringList{"S1"} << QStringList{"C1", "C2", "P", "ADDRESS", "WRAPPED"}
        << QStringList{"C1", "C2", "P", "ADDRESS", "WRAPPED"};
    QTest::newRow("nothing of the screen's longer block stays")
        << QStringList{"S1", "S2", "S3", "S4", "S5", "S6"} << QStringList{"C1"}
        << QStringList{"C1"};
    QTest::newRow("an empty line advances but prints nothing")
        << QStringList{"S1"} << QStringList{"C1", "", "P"} << QStringList{"C1", "P"};
    QTest::newRow("an empty box B on screen still gets the block")
        << QStringList{} << QStringList{"C1", "C2"} << QStringList{"C1", "C2"};
}

void TestMergedLetters::pageHoldsItsCustomer()
{
    QFETCH(QStringList, onScreen);
    QFETCH(QStringList, customerLines);
    QFETCH(QStringList, printed);
    const MergedLetters letters(kPageWidth, kPageHeight, screenBoxes(onScreen), 2, kAddressee, 1,
                                [&](qsizetype) { return customerLines; });
    QCOMPARE(letters.count(), 1);
    const RenderPage page = letters.page(0);
    QCOMPARE(textsAt(page, kAddresseeX), printed);
    // The block starts where the box's text starts on screen.
    const RenderPage alone =
        RenderPage::build(kPageWidth, kPageHeight, {screenBoxes(customerLines).at(1)}, 2);
    QCOMPARE(positionsOf(alone).isEmpty(), printed.isEmpty());
    for (const RenderRun &run : page.runs())
        if (run.position.x() == kAddresseeX)
            QVERIFY(positionsOf(alone).contains(run.position));
}

void TestMergedLetters::otherBoxesAsOnScreen()
{
    const QList<RenderBox> boxes = screenBoxes({QStringLiteral("SCREEN")});
    const RenderPage screen = RenderPage::build(kPageWidth, kPageHeight, boxes, 2);
    const MergedLetters letters(kPageWidth, kPageHeight, boxes, 2, kAddressee, 3,
                                [](qsizetype) { return QStringList{QStringLiteral("X")}; });
    for (qsizetype k = 0; k < letters.count(); ++k) {
        const RenderPage page = letters.page(k);
        QCOMPARE(page.runs().size(), screen.runs().size());
        for (qsizetype r = 0; r < page.runs().size(); ++r) {
            const RenderRun &a = page.runs().at(r);
            const RenderRun &b = screen.runs().at(r);
            QCOMPARE(a.position, b.position);
            QCOMPARE(a.height, b.height);
            if (a.position.x() != kAddresseeX)
                QCOMPARE(a.text, b.text);
        }
    }
}

void TestMergedLetters::listOrder()
{
    QList<qsizetype> asked;
    const MergedLetters letters(kPageWidth, kPageHeight, screenBoxes({}), 2, kAddressee, 4,
                                [&asked](qsizetype i) {
                                    asked.append(i);
                                    return QStringList{QStringLiteral("CUSTOMER%1").arg(i)};
                                });
    for (qsizetype k = 0; k < letters.count(); ++k)
        QCOMPARE(textsAt(letters.page(k), kAddresseeX),
                 QStringList{QStringLiteral("CUSTOMER%1").arg(k)});
    QCOMPARE(asked, (QList<qsizetype>{0, 1, 2, 3}));
}

QTEST_GUILESS_MAIN(TestMergedLetters)
#include "tst_mergedletters.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/renderpage.h"

#include <QFontInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace {

// What a run is expected to become: cell corner and scaled height.
struct Expected
{
    int x, y, h;
    QString text;
    bool operator==(const Expected &o) const
    {
        return x == o.x && y == o.y && h == o.h && text == o.text;
    }
};

char *toString(const Expected &e)
{
    return QTest::toString(
        QStringLiteral("(%1, %2) H %3 \"%4\"").arg(e.x).arg(e.y).arg(e.h).arg(e.text));
}

QList<Expected> expectedOf(const RenderPage &page)
{
    QList<Expected> out;
    for (const RenderRun &run : page.runs())
        out.append({run.position.x(), run.position.y(), run.height, run.text});
    return out;
}

QFont gothic()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(19);
    return font;
}

RenderBox box(int x, int y, int h, const QStringList &lines)
{
    return RenderBox{QPoint(x, y), gothic(), h, Qt::black, lines};
}

QStringList threeLines()
{
    return {QStringLiteral("拝啓"), QStringLiteral("貴社御中"), QStringLiteral("敬具")};
}

// A paint device that records what QPainter asks its engine to draw.
struct DrawnText
{
    QPointF devicePoint;   // the baseline start, in device pixels
    double xScale, yScale; // how the glyphs are scaled on each axis
    double pixelSize;      // the font's em in device pixels
    QString text;
    QColor colour;
    Qt::BGMode background;
    bool clipping;
};

class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QTransform t = state->transform();
        const double xs = std::hypot(t.m11(), t.m12());
        const double ys = std::hypot(t.m21(), t.m22());
        drawn.append({t.map(p), xs, ys, item.font().pixelSize() * ys, item.text(),
                      state->pen().color(), state->backgroundMode(), state->isClipEnabled()});
    }
    QList<DrawnText> drawn;
};

class RecordingDevice : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 9917;
        case PdmHeight:
            return 14033;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 1200;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }
    mutable RecordingEngine engine;
};

// The IPA faces' ascent (hhea 1802 of 2048 units): the cell top lies this
// fraction of the em above the baseline.
constexpr double kIpaAscent = 1802.0 / 2048.0;

} // namespace

Q_DECLARE_METATYPE(RenderBox)
Q_DECLARE_METATYPE(Expected)

class TestRenderPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void build_data();
    void build();
    void fontAttributesCarriedOver();
    void zeroPageSizeGivesEmptyPage();

    void play_data();
    void play();
    void playStopsWhenAsked();
    void playSkipsEmptyRunsAndEmptyFrames();
};

void TestRenderPage::initTestCase()
{
    QCOMPARE(QFontInfo(gothic()).family(), QStringLiteral("IPAGothic"));
}

void TestRenderPage::build_data()
{
    QTest::addColumn<int>("pageWidth");
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QList<RenderBox>>("boxes");
    QTest::addColumn<QList<Expected>>("runs");

    const QStringList three = threeLines();
    const QString a = three.at(0), b = three.at(1), c = three.at(2);

    // 50 * 6614/590 = 560.51 -> 561; 120 * 9354/834 = 1345.90 -> 1346;
    // -19 * 9354/834 = -213.10 -> -213, advance 211 + 20.
    QTest::newRow("worked example, 1024 screen")
        << 590 << 834 << 2 << QList<RenderBox>{box(50, 120, -19, three)}
        << QList<Expected>{{561, 1346, -213, a}, {561, 1577, -213, b}, {561, 1808, -213, c}};

    QTest::newRow("empty boxes draw nothing and move nothing")
        << 590 << 834 << 2
        << QList<RenderBox>{box(10, 10, -19, {}), box(50, 120, -19, three), box(300, 400, -19, {})}
        << QList<Expected>{{561, 1346, -213, a}, {561, 1577, -213, b}, {561, 1808, -213, c}};

    QTest::newRow("digit 0: lines |H + 2| apart")
        << 590 << 834 << 0 << QList<RenderBox>{box(50, 120, -19, three)}
        << QList<Expected>{{561, 1346, -213, a}, {561, 1557, -213, b}, {561, 1768, -213, c}};

    QTest::newRow("digit 9: 90 more per line")
        << 590 << 834 << 9 << QList<RenderBox>{box(50, 120, -19, three)}
        << QList<Expected>{{561, 1346, -213, a}, {561, 1647, -213, b}, {561, 1948, -213, c}};

    QTest::newRow("empty line advances: def two advances below abc")
        << 590 << 834 << 2
        << QList<RenderBox>{box(50, 120, -19,
                                {QStringLiteral("abc"), QString(), QStringLiteral("def")})}
        << QList<Expected>{{561, 1346, -213, QStringLiteral("abc")},
                           {561, 1808, -213, QStringLiteral("def")}};

    QTest::newRow("advance restarts for every box")
        << 590 << 834 << 2
        << QList<RenderBox>{box(50, 120, -19, {QStringLiteral("a1"), QStringLiteral("a2")}),
                            box(50, 400, -19, {QStringLiteral("b1"), QStringLiteral("b2")})}
        // 400 * 9354/834 = 4486.33 -> 4486
        << QList<Expected>{{561, 1346, -213, QStringLiteral("a1")},
                           {561, 1577, -213, QStringLiteral("a2")},
                           {561, 4486, -213, QStringLiteral("b1")},
                           {561, 4717, -213, QStringLiteral("b2")}};

    QTest::newRow("boxes per their own font height")
        << 590 << 834 << 2
        << QList<RenderBox>{box(50, 120, -15, {QStringLiteral("x"), QStringLiteral("y")}),
                            box(50, 120, -24, {QStringLiteral("p"), QStringLiteral("q")})}
        // -15 * 11.2158 = -168.24 -> -168 (advance 166); -24 -> -269.18 -> -269 (advance 267)
        << QList<Expected>{{561, 1346, -168, QStringLiteral("x")},
                           {561, 1532, -168, QStringLiteral("y")},
                           {561, 1346, -269, QStringLiteral("p")},
                           {561, 1633, -269, QStringLiteral("q")}};

    QTest::newRow("overlapping boxes both drawn, in index order")
        << 590 << 834 << 2
        << QList<RenderBox>{box(50, 120, -19, {QStringLiteral("first")}),
                            box(50, 120, -19, {QStringLiteral("second")})}
        << QList<Expected>{{561, 1346, -213, QStringLiteral("first")},
                           {561, 1346, -213, QStringLiteral("second")}};

    // A page twice the picture's size halves every value exactly.
    QTest::newRow("x 560.5 rounds to 560")
        << 13228 << 18708 << 2 << QList<RenderBox>{box(1121, 0, -38, {QStringLiteral("x")})}
        << QList<Expected>{{560, 0, -19, QStringLiteral("x")}};
    QTest::newRow("x 561.5 rounds to 562")
        << 13228 << 18708 << 2 << QList<RenderBox>{box(1123, 0, -38, {QStringLiteral("x")})}
        << QList<Expected>{{562, 0, -19, QStringLiteral("x")}};
    QTest::newRow("y 560.5 rounds to 560, y 561.5 to 562")
        << 13228 << 18708 << 2
        << QList<RenderBox>{box(0, 1121, -38, {QStringLiteral("u")}),
                            box(0, 1123, -38, {QStringLiteral("v")})}
        << QList<Expected>{{0, 560, -19, QStringLiteral("u")}, {0, 562, -19, QStringLiteral("v")}};
    QTest::newRow("H -560.5 rounds to -560, -561.5 to -562")
        << 13228 << 18708 << 0
        << QList<RenderBox>{box(0, 0, -1121, {QStringLiteral("u"), QStringLiteral("u")}),
                            box(0, 0, -1123, {QStringLiteral("v"), QStringLiteral("v")})}
        << QList<Expected>{{0, 0, -560, QStringLiteral("u")},
                           {0, 558, -560, QStringLiteral("u")},
                           {0, 0, -562, QStringLiteral("v")},
                           {0, 560, -562, QStringLiteral("v")}};

    // Quotient first: 6614/461 = 14.347..., -1 * that = -14.35 -> -14.
    // 10 * 9354/652 = 143.47 -> 143; -15 * 14.346 = -215.20 -> -215.
    QTest::newRow("768 screen, frame at leftmost: text left of the sheet")
        << 461 << 652 << 2 << QList<RenderBox>{box(-1, 10, -15, {QStringLiteral("left")})}
        << QList<Expected>{{-14, 143, -215, QStringLiteral("left")}};

    QTest::newRow("positive height advances by H + 2")
        << 590 << 834 << 0
        << QList<RenderBox>{box(0, 0, 19, {QStringLiteral("a"), QStringLiteral("b")})}
        << QList<Expected>{{0, 0, 213, QStringLiteral("a")}, {0, 215, 213, QStringLiteral("b")}};
}

void TestRenderPage::build()
{
    QFETCH(int, pageWidth);
    QFETCH(int, pageHeight);
    QFETCH(int, digit);
    QFETCH(QList<RenderBox>, boxes);
    QFETCH(QList<Expected>, runs);

    const RenderPage page = RenderPage::build(pageWidth, pageHeight, boxes, digit);
    QCOMPARE(expectedOf(page), runs);
}

void TestRenderPage::fontAttributesCarriedOver()
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(21);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikeOut(true);
    const RenderBox in =
        RenderBox::fromFont(QPoint(5, 6), font, {QStringLiteral("x")}, QColor(1, 2, 3));
    QCOMPARE(in.height, -21);

    const RenderPage page = RenderPage::build(590, 834, {in}, 2);
    QCOMPARE(page.runs().size(), 1);
    const RenderRun &run = page.runs().first();
    QCOMPARE(run.font.family(), QStringLiteral("IPAPMincho"));
    QVERIFY(run.font.bold());
    QVERIFY(run.font.italic());
    QVERIFY(run.font.underline());
    QVERIFY(run.font.strikeOut());
    QCOMPARE(run.height, -236); // -21 * 11.2158 = -235.53
    QCOMPARE(run.colour, QColor(1, 2, 3));
}

void TestRenderPage::zeroPageSizeGivesEmptyPage()
{
    QVERIFY(RenderPage::build(0, 834, {box(1, 1, -19, {QStringLiteral("x")})}, 2).runs().isEmpty());
    QVERIFY(
        RenderPage::build(590, -1, {box(1, 1, -19, {QStringLiteral("x")})}, 2).runs().isEmpty());
}

void TestRenderPage::play_data()
{
    QTest::addColumn<QRect>("frame");
    // A printer's destination: offsets 167, printable 9583 x 13699 at 1200 dpi.
    QTest::newRow("1200 dpi printable area shifted by its offsets")
        << QRect(QPoint(167, 167), QPoint(167 + 9583 - 1, 167 + 13699 - 1));
    QTest::newRow("picture's own size at the origin") << QRect(0, 0, 6614, 9354);
    QTest::newRow("squeezed: x and y scale apart") << QRect(100, 100, 4760, 6814);
}

void TestRenderPage::play()
{
    QFETCH(QRect, frame);
    const QList<RenderBox> boxes{
        box(50, 120, -19, threeLines()),
        box(-1, 700, -24, {QStringLiteral("Tavrint")}),
    };
    const RenderPage page = RenderPage::build(590, 834, boxes, 2);

    RecordingDevice device;
    QPainter painter(&device);
    painter.setBackgroundMode(Qt::OpaqueMode); // the player must turn it off
    painter.setClipRect(0, 0, 10, 10);         // ...and ignore clipping
    QVERIFY(page.play(painter, frame));
    painter.end();

    const double sx = frame.width() / 6614.0;
    const double sy = frame.height() / 9354.0;
    const QList<DrawnText> &drawn = device.engine.drawn;
    QCOMPARE(drawn.size(), page.runs().size());
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const RenderRun &run = page.runs().at(i);
        const DrawnText &d = drawn.at(i);
        const double em = -run.height * sy;
        QCOMPARE(d.text, run.text);
        QVERIFY2(std::abs(d.devicePoint.x() - (frame.left() + run.position.x() * sx)) < 0.5,
                 qPrintable(QStringLiteral("x %1").arg(d.devicePoint.x())));
        const double baseline = frame.top() + run.position.y() * sy + kIpaAscent * em;
        QVERIFY2(
            std::abs(d.devicePoint.y() - baseline) < 1.0,
            qPrintable(
                QStringLiteral("baseline %1, expected %2").arg(d.devicePoint.y()).arg(baseline)));
        QVERIFY2(std::abs(d.pixelSize - em) < 0.5,
                 qPrintable(QStringLiteral("em %1, expected %2").arg(d.pixelSize).arg(em)));
        // The font follows y only; glyphs are never stretched by x.
        QCOMPARE(d.xScale, d.yScale);
        QCOMPARE(d.colour, QColor(Qt::black));
        QCOMPARE(d.background, Qt::TransparentMode);
        QVERIFY(!d.clipping);
    }
}

void TestRenderPage::playStopsWhenAsked()
{
    const RenderPage page = RenderPage::build(590, 834, {box(50, 120, -19, threeLines())}, 2);
    RecordingDevice device;
    QPainter painter(&device);
    int asked = 0;
    QVERIFY(!page.play(painter, QRect(0, 0, 6614, 9354), [&asked] { return ++asked < 2; }));
    painter.end();
    QCOMPARE(device.engine.drawn.size(), 1);
}

void TestRenderPage::playSkipsEmptyRunsAndEmptyFrames()
{
    const RenderPage page = RenderPage::build(
        590, 834, {box(50, 120, -19, {QString(), QStringLiteral("x"), QString()})}, 2);
    {
        RecordingDevice device;
        QPainter painter(&device);
        QVERIFY(page.play(painter, QRect(0, 0, 6614, 9354)));
        painter.end();
        QCOMPARE(device.engine.drawn.size(), 1);
    }
    {
        RecordingDevice device;
        QPainter painter(&device);
        QVERIFY(page.play(painter, QRect(10, 10, 0, 0)));
        painter.end();
        QVERIFY(device.engine.drawn.isEmpty());
    }
}

QTEST_MAIN(TestRenderPage)
#include "tst_renderpage.moc"

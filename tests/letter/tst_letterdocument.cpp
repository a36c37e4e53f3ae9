// SPDX-License-Identifier: GPL-3.0-or-later
// The letter document without a window: its rules, and the signals that
// views and the recovery copy follow.

#include "letter/fontsize.h"
#include "letter/letterdocument.h"
#include "platform/fontsubstitution.h"

#include "../testfiles.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestLetterDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { fontsubstitution::install(); }
    void init();
    void cleanup() { m_document.reset(); }

    void whatIsKeptAside_data();
    void whatIsKeptAside();
    void titleGroupFontRule_data();
    void titleGroupFontRule();
    void lineSpacingLimits_data();
    void lineSpacingLimits();
    void releasedFramesAreLimitedAndCentred_data();
    void releasedFramesAreLimitedAndCentred();
    void textIsTakenAsTheBoxShowsIt_data();
    void textIsTakenAsTheBoxShowsIt();
    void modeAndHandOffRules();

private:
    LetterDocument &doc() { return *m_document; }

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<LetterDocument> m_document;
};

namespace {
constexpr int kTitle = 4;   // E
constexpr int kHeading = 6; // G
constexpr int kMark = 7;    // H

// Every change the document can be asked for, by name.
enum class Change {
    Text,
    SameText,
    Frame,
    SameFrame,
    Font,
    LineSpacing,
    CurrentBox,
    Mode,
    SameMode,
    Customer,
    HandOff,
    WindowPos,
};
} // namespace

void TestLetterDocument::init()
{
    m_dir = std::make_unique<ProgramDir>();
    m_document = std::make_unique<LetterDocument>(m_dir->programDir(), QStringLiteral("tavrint"),
                                                  ScreenMetrics{1366, 768, 96});
    doc().load(QDate(2027, 3, 6), nullptr);
}

void TestLetterDocument::whatIsKeptAside_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("kept");         // changed() follows
    QTest::addColumn<QByteArray>("signal"); // the view's signal, or empty

    // What a close writes (texts, frames, fonts, the mode, the marker, the
    // window position) is kept aside; what it never writes is not.
    QTest::newRow("typed text") << int(Change::Text) << true << QByteArray("textChanged");
    QTest::newRow("the same text again") << int(Change::SameText) << false << QByteArray();
    QTest::newRow("a frame moved") << int(Change::Frame) << true << QByteArray("frameChanged");
    QTest::newRow("a frame left where it is") << int(Change::SameFrame) << false << QByteArray();
    QTest::newRow("a font") << int(Change::Font) << true << QByteArray("fontChanged");
    QTest::newRow("line spacing: never saved")
        << int(Change::LineSpacing) << false << QByteArray("lineSpacingChanged");
    QTest::newRow("the current box: never saved")
        << int(Change::CurrentBox) << false << QByteArray("currentBoxChanged");
    QTest::newRow("a data source mode")
        << int(Change::Mode) << true << QByteArray("storedModeChanged");
    QTest::newRow("the same mode again") << int(Change::SameMode) << false << QByteArray();
    QTest::newRow("a customer: fills fields, saves nothing")
        << int(Change::Customer) << false << QByteArray("customerChanged");
    QTest::newRow("a hand-off marker")
        << int(Change::HandOff) << true << QByteArray("handOffMarkerChanged");
    QTest::newRow("the window moved") << int(Change::WindowPos) << true << QByteArray();
}

void TestLetterDocument::whatIsKeptAside()
{
    QFETCH(int, change);
    QFETCH(QByteArray, signal);
    doc().setText(0, QStringLiteral("本文"));
    doc().setStoredMode(StoredMode::Initial);

    QSignalSpy changed(&doc(), &LetterDocument::changed);
    std::unique_ptr<QSignalSpy> shown;
    if (!signal.isEmpty()) {
        const QMetaObject *meta = doc().metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            if (meta->method(i).name() == signal)
                shown = std::make_unique<QSignalSpy>(&doc(), meta->method(i));
        }
        QVERIFY(shown);
    }
    const QRect frame = doc().letter().box(2).frame;
    switch (static_cast<Change>(change)) {
    case Change::Text:
        doc().setText(0, QStringLiteral("本文を書き直す"));
        break;
    case Change::SameText:
        doc().setText(0, QStringLiteral("本文"));
        break;
    case Change::Frame:
        doc().setFrame(2, frame.translated(3, 0));
        break;
    case Change::SameFrame:
        doc().setFrame(2, frame);
        break;
    case Change::Font:
        doc().setFont(0, QStringLiteral("ＭＳ ゴシック"), 20);
        break;
    case Change::LineSpacing:
        doc().setLineSpacingDigit(5);
        break;
    case Change::CurrentBox:
        doc().setCurrentBox(3);
        break;
    case Change::Mode:
        doc().setStoredMode(StoredMode::TextList);
        break;
    case Change::SameMode:
        doc().setStoredMode(StoredMode::Initial);
        break;
    case Change::Customer:
        doc().setCustomer(letterfields::Values{{QStringLiteral("FAX"), QStringLiteral("03")}});
        break;
    case Change::HandOff:
        doc().setHandOffMarker(QStringLiteral("1"));
        break;
    case Change::WindowPos:
        doc().setWindowPos(doc().letter().windowPos() + QPoint(5, 5));
        break;
    }
    QTEST(changed.count() > 0, "kept");
    if (shown)
        QVERIFY(!shown->isEmpty());
    // Whatever is kept aside is what a close would write now.
    QCOMPARE(changed.count() <= 1, true);
}

void TestLetterDocument::titleGroupFontRule_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("points");
    QTest::addColumn<QList<int>>("expected");  // every box's size after it
    QTest::addColumn<QList<int>>("signalled"); // the boxes whose font changed

    // At 768 the first-run sizes are 11 11 9 11 13 11 11 11.
    QTest::newRow("F alone") << 5 << 14 << QList<int>{11, 11, 9, 11, 13, 14, 11, 11}
                             << QList<int>{5};
    QTest::newRow("E gives G and H 85 %")
        << kTitle << 16 << QList<int>{11, 11, 9, 11, 16, 11, 14, 14}
        << QList<int>{kTitle, kHeading, kMark};
    QTest::newRow("G chosen: its size is the title's")
        << kHeading << 20 << QList<int>{11, 11, 9, 11, 20, 11, 17, 17}
        << QList<int>{kTitle, kHeading, kMark};
    QTest::newRow("10 -> 8 (half to even)")
        << kTitle << 10 << QList<int>{11, 11, 9, 11, 10, 11, 8, 8}
        << QList<int>{kTitle, kHeading, kMark};
    QTest::newRow("H chosen, 8 -> 7, below the chooser's least")
        << kMark << 8 << QList<int>{11, 11, 9, 11, 8, 11, 7, 7}
        << QList<int>{kTitle, kHeading, kMark};
}

void TestLetterDocument::titleGroupFontRule()
{
    QFETCH(int, box);
    QFETCH(int, points);
    QFETCH(QList<int>, expected);
    QFETCH(QList<int>, signalled);
    QSignalSpy fonts(&doc(), &LetterDocument::fontChanged);
    const QString face = QStringLiteral("ＭＳ Ｐゴシック");
    doc().setFont(box, face, fontsize::pixelHeightFromPoints(points, 96));

    for (int b = 0; b < boxtable::kBoxCount; ++b)
        QCOMPARE(doc().letter().points(b), expected[b]);
    // The group shares one face; no other box takes it.
    for (int b = 0; b < boxtable::kBoxCount; ++b)
        QCOMPARE(doc().letter().box(b).face == face, signalled.contains(b));
    QList<int> seen;
    for (const QList<QVariant> &args : fonts)
        if (!seen.contains(args.first().toInt()))
            seen.append(args.first().toInt());
    std::sort(seen.begin(), seen.end());
    QCOMPARE(seen, signalled);
}

void TestLetterDocument::lineSpacingLimits_data()
{
    QTest::addColumn<int>("set");   // -1: none, step only
    QTest::addColumn<int>("steps"); // then stepped by the wheel
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("signals");

    QTest::newRow("a digit") << 5 << 0 << 5 << 1;
    QTest::newRow("the run's 2 again: nothing to say") << 2 << 0 << 2 << 0;
    QTest::newRow("past 9 held to 9") << 12 << 0 << 9 << 1;
    QTest::newRow("below 0 held to 0") << -3 << 0 << 0 << 1;
    QTest::newRow("the wheel down from 2") << -1 << -1 << 1 << 1;
    QTest::newRow("the wheel stops at 9") << 9 << 3 << 9 << 1;
    QTest::newRow("the wheel stops at 0") << 0 << -1 << 0 << 1;
}

void TestLetterDocument::lineSpacingLimits()
{
    QFETCH(int, set);
    QFETCH(int, steps);
    QSignalSpy spacing(&doc(), &LetterDocument::lineSpacingChanged);
    if (set != -1)
        doc().setLineSpacingDigit(set);
    for (int i = 0; i < std::abs(steps); ++i)
        doc().stepLineSpacing(steps < 0 ? -1 : 1);
    QTEST(doc().letter().lineSpacingDigit(), "expected");
    QTEST(int(spacing.count()), "signals");
}

void TestLetterDocument::releasedFramesAreLimitedAndCentred_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QRect>("dragged");
    QTest::addColumn<QRect>("expected");

    // The page is 461 wide at 768.
    QTest::newRow("the title dragged sideways comes back")
        << kTitle << QRect(10, 180, 155, 30) << QRect(153, 180, 155, 30);
    QTest::newRow("the notes too") << 5 << QRect(0, 300, 244, 60) << QRect(108, 300, 244, 60);
    QTest::newRow("a flat title grows to the least height")
        << kTitle << QRect(153, 180, 155, 2) << QRect(153, 180, 155, 30);
    QTest::newRow("the body stays where it is dropped")
        << 0 << QRect(7, 201, 371, 90) << QRect(7, 201, 371, 90);
}

void TestLetterDocument::releasedFramesAreLimitedAndCentred()
{
    QFETCH(int, box);
    QFETCH(QRect, dragged);
    doc().setFrame(box, dragged);
    QCOMPARE(doc().letter().box(box).frame, dragged); // no limit while dragged
    doc().finishFrame(box, 30);
    QTEST(doc().letter().box(box).frame, "expected");
    // Every centred frame is centred after a release.
    const int page = doc().letter().page().pageWidth;
    for (int centred : boxtable::kCentredBoxes) {
        const QRect r = doc().letter().box(centred).frame;
        QCOMPARE(r.left(), (page - r.width()) / 2);
    }
}

void TestLetterDocument::textIsTakenAsTheBoxShowsIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held");

    QTest::newRow("line feeds become CR LF") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("what code page 932 lacks becomes ?")
        << QStringLiteral("株式会社😀") << QStringLiteral("株式会社?");
    QTest::newRow("fields stay as typed") << QStringLiteral("《FAX》") << QStringLiteral("《FAX》");
}

void TestLetterDocument::textIsTakenAsTheBoxShowsIt()
{
    QFETCH(QString, typed);
    QSignalSpy texts(&doc(), &LetterDocument::textChanged);
    doc().setText(1, typed);
    QTEST(doc().letter().box(1).text, "held");
    QCOMPARE(texts.count(), 1);
    // A text area hands back what it shows: the held text is no change.
    doc().setText(1, doc().letter().box(1).text);
    QCOMPARE(texts.count(), 1);
}

void TestLetterDocument::modeAndHandOffRules()
{
    // A customer chosen in one mode fills nothing in the next.
    doc().setStoredMode(StoredMode::TextList);
    doc().setCustomer(letterfields::Values{{QStringLiteral("FAX"), QStringLiteral("03-1")}});
    doc().setText(0, QStringLiteral("FAX《FAX》"));
    QCOMPARE(doc().letter().printedText(0), QStringLiteral("FAX03-1"));
    doc().setStoredMode(StoredMode::WorkbookList);
    QCOMPARE(doc().letter().customer(), nullptr);
    QCOMPARE(doc().letter().printedText(0), QStringLiteral("FAX"));

    // A hand-off marks frame B and keeps its addressee from being saved.
    doc().setStoredMode(StoredMode::Initial);
    doc().setText(boxtable::kAddresseeBox, QStringLiteral("山田商事"));
    QVERIFY(doc().letter().savesAddressee());
    QSignalSpy colours(&doc(), &LetterDocument::frameColourChanged);
    doc().setHandOffMarker(QStringLiteral("01"));
    QCOMPARE(colours.count(), 1);
    QCOMPARE(colours.first().first().toInt(), boxtable::kAddresseeBox);
    QCOMPARE(doc().frameColour(boxtable::kAddresseeBox).value(), boxtable::kHandOffColour.value());
    QCOMPARE(doc().frameColour(0).value(), boxtable::box(0).frameColour.value());
    QVERIFY(!doc().letter().savesAddressee());
}

QTEST_MAIN(TestLetterDocument)
#include "tst_letterdocument.moc"

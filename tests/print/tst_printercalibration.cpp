// SPDX-License-Identifier: GPL-3.0-or-later
// A printer's calibration: its file, what a hand-edited file may not hold,
// the frame it gives, and where a calibrated queue of the test printer
// really puts the glyphs (and that an uncalibrated one puts them where it
// always did).

#include "print/calibrationdialog.h"
#include "print/calibrationpage.h"
#include "print/printercalibration.h"
#include "print/printerplayback.h"
#include "print/renderpage.h"

#include "../testfiles.h"
#include "../testrig.h"
#include "printedjobs.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

#include <cmath>

using printercalibration::Calibration;
Q_DECLARE_METATYPE(Calibration)

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;

QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

// A box far from the sheet's corner on each axis, so that a scale shows.
RenderPage pageWith(const QString &marker)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(19);
    return RenderPage::build(590, 834,
                             {RenderBox{QPoint(50, 120), font, -19, Qt::black, {marker}},
                              RenderBox{QPoint(400, 700), font, -19, Qt::black, {u8("右下")}}},
                             2);
}

struct Queue
{
    QString name;
    QString out;
    double offsetX, offsetY, width, height; // the printable area, points
};

Queue queue(const QString &name)
{
    if (name == QLatin1String("tavrint-margins"))
        return {name, env("TAVRINT_CUPS_MARGINS_OUT"), 18, 24, 559, 794};
    return {name, env("TAVRINT_CUPS_FULLPAGE_OUT"), 0, 0, 595, 842};
}

} // namespace

class TestPrinterCalibration : public QObject
{
    Q_OBJECT
private slots:
    void handEditedFileRefused_data();
    void handEditedFileRefused();
    void saveKeepsOtherQueues();
    void fromMeasurement_data();
    void fromMeasurement();
    void dialogShowsAndKeepsTheResult_data();
    void dialogShowsAndKeepsTheResult();
    void calibrationPageMovesWithTheCalibration();
    void printedWhereTheCalibrationSays_data();
    void printedWhereTheCalibrationSays();
    void uncalibratedQueuePrintsAsBefore();

private:
    // Prints `page` on `queue` with `table`; the job's words.
    QList<printedjobs::Word> printOn(const Queue &queue, const RenderPage &page,
                                     const printercalibration::Table &table);
};

void TestPrinterCalibration::handEditedFileRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");

    QTest::newRow("shift beyond 5 cm") << QByteArray("a=501,0,1000\n") << "line 1";
    QTest::newRow("negative shift beyond") << QByteArray("; c\n\na=0,-501,1000\n") << "line 3";
    QTest::newRow("scale below 90 %") << QByteArray("a=0,0,899\n") << "90.0 %";
    QTest::newRow("scale above 110 %") << QByteArray("a=0,0,1101\n") << "110.0 %";
    QTest::newRow("zero scale") << QByteArray("a=0,0,0\n") << "倍率";
    QTest::newRow("a huge number") << QByteArray("a=99999999999,0,1000\n") << "3 つの整数";
    QTest::newRow("a fraction") << QByteArray("a=2.5,0,1000\n") << "3 つの整数";
    QTest::newRow("two values") << QByteArray("a=1,2\n") << "3 つの整数";
    QTest::newRow("four values") << QByteArray("a=1,2,1000,4\n") << "3 つの整数";
    QTest::newRow("words") << QByteArray("a=left,up,big\n") << "3 つの整数";
    QTest::newRow("no queue") << QByteArray("=1,2,1000\n") << "プリンタ名";
    QTest::newRow("no equals sign") << QByteArray("garbage\n") << "プリンタ名";
}

void TestPrinterCalibration::handEditedFileRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    ProgramDir dir;
    dir.writeFile(QStringLiteral("Init/calibration.ini"), bytes);
    const Result<printercalibration::Table> table = printercalibration::load(dir.programDir());
    QVERIFY(!table.ok());
    QVERIFY2(table.error().contains(QStringLiteral("calibration.ini")), qPrintable(table.error()));
    QVERIFY2(table.error().contains(says), qPrintable(table.error()));
}

void TestPrinterCalibration::saveKeepsOtherQueues()
{
    ProgramDir dir;
    // No file until someone calibrates, and nothing then but the file.
    QCOMPARE(printercalibration::load(dir.programDir())->size(), 0);
    QVERIFY(printercalibration::save(dir.programDir(), QStringLiteral("a"), {20, -15, 995}));
    QVERIFY(printercalibration::save(dir.programDir(), QStringLiteral("b"), {1, 2, 1001}));
    QCOMPARE(QDir(dir.path(QStringLiteral("Init"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("calibration.ini")});
    Result<printercalibration::Table> table = printercalibration::load(dir.programDir());
    QCOMPARE(table->value(QStringLiteral("a")), (Calibration{20, -15, 995}));
    QCOMPARE(table->value(QStringLiteral("b")), (Calibration{1, 2, 1001}));
    // Setting a queue back to none takes its line away.
    QVERIFY(printercalibration::save(dir.programDir(), QStringLiteral("a"), {}));
    table = printercalibration::load(dir.programDir());
    QVERIFY(!table->contains(QStringLiteral("a")));
    QVERIFY(table->contains(QStringLiteral("b")));
    // What may not be is not written.
    QVERIFY(!printercalibration::save(dir.programDir(), QStringLiteral("c"), {0, 0, 2000}));
    QVERIFY(!printercalibration::save(dir.programDir(), QString(), {1, 0, 1000}));
    QCOMPARE(printercalibration::load(dir.programDir())->size(), 1);
}

void TestPrinterCalibration::fromMeasurement_data()
{
    // A printer that moves everything by `shift` mm and scales it by `k`
    // about the frame's corner; the calibration measured off its page must
    // bring both crosses back within 0.1 mm.
    QTest::addColumn<QPointF>("shift");
    QTest::addColumn<double>("k");
    QTest::addColumn<QRectF>("frame"); // on the paper, mm

    const QRectF whole(0, 0, 210, 297);
    const QRectF margins(12.7, 16.9, 197.2, 280.1);
    QTest::newRow("a true printer") << QPointF(0, 0) << 1.0 << whole;
    QTest::newRow("2 mm left, 1.5 mm low") << QPointF(-2, 1.5) << 1.0 << whole;
    QTest::newRow("0.5 % small") << QPointF(0, 0) << 0.995 << whole;
    QTest::newRow("off and small, with margins") << QPointF(1.2, -2.7) << 0.993 << margins;
    QTest::newRow("stretched") << QPointF(-3.1, 0.4) << 1.008 << margins;
}

void TestPrinterCalibration::fromMeasurement()
{
    QFETCH(QPointF, shift);
    QFETCH(double, k);
    QFETCH(QRectF, frame);
    const auto printed = [&](QPointF meant) {
        return frame.topLeft() + shift + k * (meant - frame.topLeft());
    };
    const QPointF a = calibrationpage::onPaper(frame, calibrationpage::kCrossA);
    const QPointF b = calibrationpage::onPaper(frame, calibrationpage::kCrossB);
    // Measured to the tenth of a millimetre, as a ruler reads.
    const auto tenth = [](double mm) { return std::round(mm * 10) / 10; };
    printercalibration::Measurement m;
    m.frameCorner = frame.topLeft();
    m.nominalCross = a;
    m.nominalDistance = b.x() - a.x();
    m.measuredCross = QPointF(tenth(printed(a).x()), tenth(printed(a).y()));
    m.measuredDistance = tenth(printed(b).x() - printed(a).x());
    const std::optional<Calibration> c = printercalibration::fromMeasurement(m);
    QVERIFY(c);
    QVERIFY(printercalibration::invalidReason(*c).isEmpty());

    // The page printed with it: each point drawn at shift + s q.
    const double s = c->scale / 1000.0;
    const QPointF calibrationShift(c->offsetX / 10.0, c->offsetY / 10.0);
    for (QPointF meant : {a, b}) {
        const QPointF drawn = frame.topLeft() + calibrationShift + s * (meant - frame.topLeft());
        const QPointF lands = printed(drawn);
        const QString where = QStringLiteral("(%1, %2) lands at (%3, %4)")
                                  .arg(meant.x())
                                  .arg(meant.y())
                                  .arg(lands.x())
                                  .arg(lands.y());
        QVERIFY2(std::abs(lands.x() - meant.x()) < 0.1 + 1e-9, qPrintable(where));
        QVERIFY2(std::abs(lands.y() - meant.y()) < 0.1 + 1e-9, qPrintable(where));
    }
}

void TestPrinterCalibration::dialogShowsAndKeepsTheResult_data()
{
    QTest::addColumn<double>("x"); // measured, mm; A belongs at (30, 40), B 150 to its right
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("distance");
    QTest::addColumn<QString>("result"); // empty: nothing may be saved
    QTest::addColumn<QString>("line");   // the file's line after Save

    QTest::newRow("as meant") << 30.0 << 40.0 << 150.0
                              << u"調整: 右へ +0.0 mm、下へ +0.0 mm、倍率 100.0 %"_qs << QString();
    QTest::newRow("2 mm left, 1.5 mm low")
        << 28.0 << 41.5 << 150.0 << u"調整: 右へ +2.0 mm、下へ −1.5 mm、倍率 100.0 %"_qs
        << "q=20,-15,1000";
    QTest::newRow("0.5 % large") << 30.2 << 40.2 << 150.8
                                 << u"調整: 右へ +0.0 mm、下へ +0.0 mm、倍率 99.5 %"_qs
                                 << "q=0,0,995";
    QTest::newRow("a mismeasured distance") << 30.0 << 40.0 << 15.0 << QString() << QString();
    QTest::newRow("a cross 6 cm off") << 90.0 << 40.0 << 150.0 << QString() << QString();
}

void TestPrinterCalibration::dialogShowsAndKeepsTheResult()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, distance);
    QFETCH(QString, result);
    QFETCH(QString, line);
    ProgramDir dir;
    CalibrationDialog dialog(dir.programDir(), QStringLiteral("q"), QRectF(0, 0, 210, 297));
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("measuredX"))->setValue(x);
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("measuredY"))->setValue(y);
    dialog.findChild<QDoubleSpinBox *>(QStringLiteral("measuredDistance"))->setValue(distance);
    const QString shown = dialog.findChild<QLabel *>(QStringLiteral("result"))->text();
    QPushButton *save = nullptr;
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == u"保存"_qs)
            save = button;
    QVERIFY(save);
    if (result.isEmpty()) {
        QVERIFY2(shown.contains(u"測り直して"_qs), qPrintable(shown));
        QVERIFY(!save->isEnabled());
        QVERIFY(!dialog.calibration());
        return;
    }
    QCOMPARE(shown, result);
    save->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const QByteArray file = dir.readFile(QStringLiteral("Init/calibration.ini"));
    if (line.isEmpty())
        QVERIFY2(!file.contains("q="), file.constData());
    else
        QVERIFY2(file.contains(QByteArray(line.toUtf8() + "\r\n")), file.constData());
}

void TestPrinterCalibration::calibrationPageMovesWithTheCalibration()
{
    const Queue q = queue(QStringLiteral("tavrint-margins"));
    if (env("CUPS_SERVER").isEmpty() || q.out.isEmpty())
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");
    qputenv("PRINTER", q.name.toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("PRINTER"); });
    const std::optional<QRectF> frame = printerplayback::defaultFrameOnPaper();
    QVERIFY(frame);
    // The margins queue's frame starts at twice its 18 x 24 pt offset.
    QVERIFY2(std::abs(frame->left() - 36 / kPointsPerMm) < 0.1,
             qPrintable(QString::number(frame->left())));
    QVERIFY2(std::abs(frame->top() - 48 / kPointsPerMm) < 0.1,
             qPrintable(QString::number(frame->top())));

    const auto crossLabel = [&](const Calibration &c) -> std::optional<QPointF> {
        const QStringList before = printedjobs::jobs(q.out);
        const Result<QString> printed = printerplayback::printDrawing(
            [&](QPainter &painter, const QRect &destination) {
                calibrationpage::draw(painter, destination, *frame, q.name);
                return true;
            },
            QStringLiteral("Tavrint calibration page"), c);
        if (!printed)
            return std::nullopt;
        const QString job = printedjobs::waitForNewJob(q.out, before);
        const QList<printedjobs::Word> words = printedjobs::wordsOf(job);
        const printedjobs::Word *a = printedjobs::find(words, QStringLiteral("A"));
        return a ? std::optional(QPointF(a->xMin, a->yMin)) : std::nullopt;
    };
    const std::optional<QPointF> plain = crossLabel({});
    const std::optional<QPointF> moved = crossLabel({20, -15, 1000});
    QVERIFY(plain && moved);
    // Cross A's label is 32 mm into the page: where the page says.
    QVERIFY2(std::abs(plain->x() / kPointsPerMm - calibrationpage::onPaper(*frame, {32, 0}).x()) <
                 0.2,
             qPrintable(QString::number(plain->x() / kPointsPerMm)));
    const QPointF delta = (*moved - *plain) / kPointsPerMm;
    QVERIFY2(std::abs(delta.x() - 2.0) < 0.2 && std::abs(delta.y() + 1.5) < 0.2,
             qPrintable(QStringLiteral("%1, %2").arg(delta.x()).arg(delta.y())));
}

QList<printedjobs::Word> TestPrinterCalibration::printOn(const Queue &queue, const RenderPage &page,
                                                         const printercalibration::Table &table)
{
    qputenv("PRINTER", queue.name.toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("PRINTER"); });
    if (QPrinterInfo::defaultPrinter().printerName() != queue.name)
        return {};
    const QStringList before = printedjobs::jobs(queue.out);
    const Result<QString> printed =
        printerplayback::printRenderPage(page, QStringLiteral("Tavrint calibration"), table);
    if (!printed) {
        qWarning("%s", qPrintable(printed.error()));
        return {};
    }
    const QString job = printedjobs::waitForNewJob(queue.out, before);
    return job.isEmpty() ? QList<printedjobs::Word>() : printedjobs::wordsOf(job);
}

void TestPrinterCalibration::printedWhereTheCalibrationSays_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<Calibration>("calibration");

    QTest::newRow("margins: +2.0 mm, -1.5 mm, 99.5 %")
        << "tavrint-margins" << Calibration{20, -15, 995};
    QTest::newRow("full page: +2.0 mm, -1.5 mm, 99.5 %")
        << "tavrint-fullpage" << Calibration{20, -15, 995};
    QTest::newRow("full page: -3.0 mm, +4.2 mm, 101.0 %")
        << "tavrint-fullpage" << Calibration{-30, 42, 1010};
}

void TestPrinterCalibration::printedWhereTheCalibrationSays()
{
    QFETCH(QString, queue);
    QFETCH(Calibration, calibration);
    const Queue q = ::queue(queue);
    if (env("CUPS_SERVER").isEmpty() || q.out.isEmpty())
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");

    // Both queues calibrated, each its own way: the job's queue decides.
    const Queue other =
        ::queue(queue == QLatin1String("tavrint-margins") ? QStringLiteral("tavrint-fullpage")
                                                          : QStringLiteral("tavrint-margins"));
    const printercalibration::Table table{{q.name, calibration}, {other.name, {-200, 200, 950}}};
    const RenderPage page = pageWith(QStringLiteral("CALIBRATED"));
    const QList<printedjobs::Word> words = printOn(q, page, table);
    const printedjobs::Word *word = printedjobs::find(words, QStringLiteral("CALIBRATED"));
    QVERIFY2(word, "the job never reached the queue's backend");

    // Uncalibrated the frame starts at twice the printable area's offset and
    // spans its size (see the printer's own placement test); the scale keeps
    // that corner, the shift moves it.
    const double s = calibration.scale / 1000.0;
    const RenderRun &run = page.runs().first();
    const double x = 2 * q.offsetX + calibration.offsetX / 10.0 * kPointsPerMm +
                     s * run.position.x() * q.width / RenderPage::kWidth;
    const double y = 2 * q.offsetY + calibration.offsetY / 10.0 * kPointsPerMm +
                     s * run.position.y() * q.height / RenderPage::kHeight;
    const QString where = QStringLiteral("at (%1, %2) pt, expected (%3, %4)")
                              .arg(word->xMin)
                              .arg(word->yMin)
                              .arg(x)
                              .arg(y);
    // Within 0.2 mm.
    QVERIFY2(std::abs(word->xMin - x) < 0.2 * kPointsPerMm, qPrintable(where));
    QVERIFY2(std::abs(word->yMin - y) < 0.2 * kPointsPerMm, qPrintable(where));
    qInfo("%s: %s", qPrintable(queue), qPrintable(where));
}

void TestPrinterCalibration::uncalibratedQueuePrintsAsBefore()
{
    const Queue q = queue(QStringLiteral("tavrint-margins"));
    if (env("CUPS_SERVER").isEmpty() || q.out.isEmpty())
        SKIP_MISSING_RIG("no test printer (scripts/cups-test-printer.sh)");
    // Another queue's calibration, and a zero one, change nothing here.
    const RenderPage page = pageWith(QStringLiteral("UNCALIBRATED"));
    const QList<printedjobs::Word> before = printOn(q, page, {});
    const QList<printedjobs::Word> others =
        printOn(q, page, {{QStringLiteral("tavrint-fullpage"), {20, -15, 995}}});
    const QList<printedjobs::Word> zero = printOn(q, page, {{q.name, {}}});
    QCOMPARE(before.size(), 2);
    for (const QList<printedjobs::Word> &words : {others, zero}) {
        QCOMPARE(words.size(), before.size());
        for (qsizetype i = 0; i < words.size(); ++i) {
            QCOMPARE(words[i].text, before[i].text);
            QCOMPARE(words[i].xMin, before[i].xMin);
            QCOMPARE(words[i].yMin, before[i].yMin);
            QCOMPARE(words[i].xMax, before[i].xMax);
            QCOMPARE(words[i].yMax, before[i].yMax);
        }
    }
}

QTEST_MAIN(TestPrinterCalibration)
#include "tst_printercalibration.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The red mark on a frame whose text runs past its text area: shown in edit
// mode and preview, gone once the text fits, never on paper or in a PDF.

#include "../shell/formfixture.h"

#include "../testrig.h"
#include "letter/boxmemo.h"
#include "print/savefilechooser.h"
#include "shell/panel.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {
constexpr int kBox = 0; // A, the body

QString lines(int count, const QString &text = QStringLiteral("行"))
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << text + QString::number(i);
    return out.join(QStringLiteral("\r\n"));
}
} // namespace

class TestOverflowMark : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void markFollowsTheText_data();
    void markFollowsTheText();
    void trailingLineBreakDoesNotOverflow();
    void markGoesWhenTheTextFitsAgain();
    void neverInThePdf();

private:
    TForm1 &form() { return m_fixture->form(); }
    bool marked() { return ui(form()).frames[kBox]->overflowMark(); }
    // Waits for the text area to repaint, which settles the mark.
    bool settle(bool expected)
    {
        return QTest::qWaitFor([&] { return marked() == expected; }, 1000);
    }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestOverflowMark::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
    QVERIFY(settle(false));
}

void TestOverflowMark::markFollowsTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<int>("frameHeight"); // 0: as laid out
    QTest::addColumn<bool>("marked");
    const QString longLine = QString(400, QChar(0x3042)); // あ..., one hard line
    QTest::newRow("empty") << QString() << false << 0 << false;
    QTest::newRow("one line") << lines(1) << false << 0 << false;
    QTest::newRow("many lines") << lines(30) << false << 0 << true;
    QTest::newRow("many lines, preview") << lines(30) << true << 0 << true;
    QTest::newRow("one hard line wrapping past the bottom") << longLine << false << 0 << true;
    QTest::newRow("many empty lines")
        << QString(30, QLatin1Char('\n')) + QStringLiteral("end") << false << 0 << true;
    QTest::newRow("a frame tall enough") << lines(30) << false << 600 << false;
}

void TestOverflowMark::markFollowsTheText()
{
    QFETCH(QString, text);
    QFETCH(bool, preview);
    QFETCH(int, frameHeight);
    QFETCH(bool, marked);
    TForm1 &f = form();
    if (preview)
        QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
    if (frameHeight > 0) {
        // To the top of the page, then by its bottom edge to that height.
        m_fixture->moveFrameTo(kBox, QPoint(f.document().letter().box(kBox).frame.left(), 0));
        const QRect r = f.document().letter().box(kBox).frame;
        m_fixture->dragFrame(kBox, QPoint(r.width() / 2, r.height() - 2),
                             QPoint(0, frameHeight - r.height()));
        QCOMPARE(f.document().letter().box(kBox).frame.height(), frameHeight);
    }
    ui(f).memos[kBox]->setText(text);
    QVERIFY2(settle(marked), qPrintable(QString::number(this->marked())));
}

void TestOverflowMark::trailingLineBreakDoesNotOverflow()
{
    // The most lines that fit: one more overflows.
    TForm1 &f = form();
    int fit = 0;
    for (int n = 1; n < 40; ++n) {
        ui(f).memos[kBox]->setText(lines(n));
        QCoreApplication::processEvents(); // the text area's layout
        ui(f).memos[kBox]->viewport()->repaint();
        if (marked())
            break;
        fit = n;
    }
    QVERIFY(fit >= 2);
    ui(f).memos[kBox]->setText(lines(fit) + QStringLiteral("\r\n"));
    ui(f).memos[kBox]->viewport()->repaint();
    QVERIFY(!marked()); // the text area's last empty line does not print
    ui(f).memos[kBox]->setText(lines(fit) + QStringLiteral("\r\nX"));
    QVERIFY(settle(true));
}

void TestOverflowMark::markGoesWhenTheTextFitsAgain()
{
    TForm1 &f = form();
    ui(f).memos[kBox]->setText(lines(30));
    QVERIFY(settle(true));
    ui(f).memos[kBox]->setText(lines(1));
    QVERIFY(settle(false));
    // A bigger font makes the same text overflow.
    ui(f).memos[kBox]->setText(lines(3));
    QVERIFY(settle(false));
    m_fixture->applyFontPoints(kBox, 40);
    QVERIFY(settle(true));
}

void TestOverflowMark::neverInThePdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        SKIP_MISSING_RIG("poppler-utils are not installed");
    TForm1 &f = form();
    ui(f).memos[kBox]->setText(lines(30));
    QVERIFY(settle(true));
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("letter.pdf"));
    savefilechooser::setInstance(
        [&](QWidget *, const QString &, const QString &, const QString &) { return pdf; });
    TForm1Access::savePdf(f);
    savefilechooser::resetInstance();
    QVERIFY(m_fixture->errors.isEmpty());

    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, out.filePath(QStringLiteral("page"))});
    QVERIFY(p.waitForFinished(20000));
    const QImage page(out.filePath(QStringLiteral("page.png")));
    QVERIFY(!page.isNull());
    int dark = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            QVERIFY2(!(c.red() > 150 && c.green() < 100 && c.blue() < 100),
                     qPrintable(QStringLiteral("red at %1, %2").arg(x).arg(y)));
            dark += c.lightness() < 128;
        }
    }
    QVERIFY(dark > 0); // the text itself is there
}

QTEST_MAIN(TestOverflowMark)
#include "tst_overflowmark.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own PDF: A4 sheets with no margins, one per render page,
// the text layer intact.

#include "../poppler.h"
#include "../testrig.h"
#include "print/pdfdocument.h"
#include "print/renderpage.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
RenderPage pageSaying(const QString &word)
{
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(19);
    return RenderPage::build(590, 834, {RenderBox{QPoint(50, 120), font, -19, Qt::black, {word}}},
                             2);
}
} // namespace

class TestPdfDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sheetIsTheWholeA4();
    void onePagePerRenderPage_data();
    void onePagePerRenderPage();
};

void TestPdfDocument::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        SKIP_MISSING_RIG("poppler-utils are not installed");
}

void TestPdfDocument::sheetIsTheWholeA4()
{
    // 595 x 842 pt at 1200 pixels per inch, from the top-left corner.
    const QRect frame = pdfdocument::sheetFrame();
    QCOMPARE(frame.topLeft(), QPoint(0, 0));
    QVERIFY(qAbs(frame.width() - 595 * 1200 / 72.0) <= 1);
    QVERIFY(qAbs(frame.height() - 842 * 1200 / 72.0) <= 1);
}

void TestPdfDocument::onePagePerRenderPage_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::newRow("one letter") << QStringList{"FIRSTLETTER"};
    QTest::newRow("three letters, one job") << QStringList{"FIRSTLETTER", "SECOND", "THIRD"};
}

void TestPdfDocument::onePagePerRenderPage()
{
    QFETCH(QStringList, words);
    QList<RenderPage> pages;
    for (const QString &word : words)
        pages << pageSaying(word);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letters.pdf"));
    const Result<void> written = pdfdocument::write(pdf, pages, QStringLiteral("Tavrint test"));
    QVERIFY2(written, qPrintable(written.error()));

    const QString info = poppler::run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+%1$").arg(words.size()),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title:\\s+Tavrint test$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    // Each word on its own page, in order.
    for (int i = 0; i < words.size(); ++i) {
        const QString text =
            poppler::run(QStringLiteral("pdftotext"),
                         {QStringLiteral("-f"), QString::number(i + 1), QStringLiteral("-l"),
                          QString::number(i + 1), pdf, QStringLiteral("-")});
        QCOMPARE(text.trimmed(), words.at(i));
    }
}

QTEST_MAIN(TestPdfDocument)
#include "tst_pdfdocument.moc"

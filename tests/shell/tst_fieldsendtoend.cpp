// SPDX-License-Identifier: GPL-3.0-or-later
// Fields and the send log with the real program, as an ordinary user meets
// them: the customer's FAX and telephone numbers on the page the window
// saves as a PDF and on every page of --pdf --customers, fields as typed in
// the box text file, and the send log as LibreOffice reads it.

#include "programrunner.h"

#include "../poppler.h"
#include "../testrig.h"
#include "platform/cp932.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {
const char kCustomers[] = "ALPHACO,PA,DA,100-0001,ADDRA,TEL-A,FAX-A\r\n"
                          "BRAVOCO,PB,DB,200-0002,ADDRB,TEL-B,FAX-B\r\n"
                          "CHARLIECO,PC,DC,300-0003,ADDRC,TEL-C,FAX-C\r\n";
const char *const kFax[] = {"FAX-A", "FAX-B", "FAX-C"};
const char *const kTel[] = {"TEL-A", "TEL-B", "TEL-C"};
const QString kBody = QStringLiteral("FAX《FAX》 TEL《電話》 〒《郵便番号》");

// "TXTから取得" on the left panel, and entry k of the customer list below.
const QPoint kTextOption(10 + 135 + 5 + 8, 20 + 35 + 8);
QPoint listEntry(int k)
{
    return QPoint(10 + 15 + 1 + 4 + 1 + 50, 230 + 1 + 4 + 38 + 1 + 8 + 16 * k);
}

// The rows of a CSV file by RFC 4180, fields unquoted.
QList<QStringList> csvRows(QString text)
{
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\n') {
            if (field.endsWith(u'\r'))
                field.chop(1);
            row.append(field);
            rows.append(row);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return rows;
}
} // namespace

class TestFieldsEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void fieldsOnEveryPageAndInTheLog();
};

void TestFieldsEndToEnd::init()
{
    const QString reason = ProgramRunner::unavailableReason();
    if (!reason.isEmpty())
        SKIP_MISSING_RIG(qPrintable(reason));
}

void TestFieldsEndToEnd::fieldsOnEveryPageAndInTheLog()
{
    ProgramRunner app;
    QCOMPARE(app.runAsUnprivileged(), QString());
    app.writeFile(QStringLiteral("smpl1.txt"), QByteArray(kCustomers));
    app.writeFile(QStringLiteral("Data/1本文.txt"), cp932::encode(kBody));
    QFile::copy(QStringLiteral(TAVRINT_SOURCE_DIR "/examples/smpl2.xls"),
                app.path(QStringLiteral("smpl2.xls")));

    // The window: the second customer chosen, the page saved as a PDF
    // through the save dialog, as a user types its name.
    QVERIFY(app.start());
    QVERIFY(app.click(kTextOption));
    QVERIFY(app.click(listEntry(1)));
    QVERIFY(app.key(QStringLiteral("ctrl+shift+s")));
    QVERIFY(app.waitForWindow(u8("PDFに保存…")));
    const QString windowPdf = app.path(QStringLiteral("window.pdf"));
    QVERIFY(app.key(QStringLiteral("ctrl+a")));
    QVERIFY(app.typeText(windowPdf));
    QVERIFY(app.key(QStringLiteral("Return")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(windowPdf).size() > 0, 10000);
    const QString page = poppler::pageText(windowPdf, 1);
    QVERIFY2(page.contains(QStringLiteral("FAXFAX-B")) &&
                 page.contains(QStringLiteral("TELTEL-B")) &&
                 page.contains(QStringLiteral("〒200-0002")),
             qPrintable(page));
    QVERIFY(!page.contains(QStringLiteral("《")));
    QVERIFY(app.closeByButton());
    // The box text file keeps the fields as typed.
    QCOMPARE(app.readFile(QStringLiteral("Data/1本文.txt")), cp932::encode(kBody));

    // The command line: each page its own customer's numbers, from the
    // text list and from the workbook; without a customer, nothing.
    const QString textPdf = app.path(QStringLiteral("text.pdf"));
    QCOMPARE(app.runToEnd({QStringLiteral("--pdf"), textPdf, QStringLiteral("--customers"),
                           QStringLiteral("txt")}),
             0);
    for (int k = 0; k < 3; ++k) {
        const QString text = poppler::pageText(textPdf, k + 1);
        QVERIFY2(text.contains(QStringLiteral("FAX") + QLatin1String(kFax[k])) &&
                     text.contains(QStringLiteral("TEL") + QLatin1String(kTel[k])),
                 qPrintable(text));
    }
    const QString bookPdf = app.path(QStringLiteral("book.pdf"));
    QCOMPARE(app.runToEnd({QStringLiteral("--pdf"), bookPdf, QStringLiteral("--customers"),
                           QStringLiteral("xls")}),
             0);
    // The sample workbook: column G holds the fax numbers, F the telephone.
    QVERIFY(poppler::pageText(bookPdf, 1).contains(QStringLiteral("FAX03-3211-0002")));
    QVERIFY(poppler::pageText(bookPdf, 1).contains(QStringLiteral("TEL03-3211-0001")));
    QVERIFY(poppler::pageText(bookPdf, 12).contains(QStringLiteral("FAX098-866-2122")));
    const QString plainPdf = app.path(QStringLiteral("plain.pdf"));
    QCOMPARE(app.runToEnd({QStringLiteral("--pdf"), plainPdf}), 0);
    QVERIFY2(poppler::pageText(plainPdf, 1).contains(QStringLiteral("FAX TEL 〒")),
             qPrintable(poppler::pageText(plainPdf, 1)));

    // The send log: one row per letter that went out, in order.
    const QString logPath = app.path(QStringLiteral("送付記録.csv"));
    const QByteArray logBytes = app.readFile(QStringLiteral("送付記録.csv"));
    QVERIFY(logBytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = csvRows(QString::fromUtf8(logBytes));
    QCOMPARE(rows.size(), 1 + 1 + 3 + 12 + 1);
    QCOMPARE(rows[0], (QStringList{u8("日時"), u8("方法"), u8("宛先"), u8("標題"), u8("出力先")}));
    QCOMPARE(rows[1].mid(1), (QStringList{u8("PDF"), u8("BRAVOCO"), QString(), windowPdf}));
    QCOMPARE(rows[2][2], u8("ALPHACO"));
    QCOMPARE(rows[4][4], textPdf);
    QCOMPARE(rows[5][2], u8("株式会社　山田商事"));
    QCOMPARE(rows.last()[4], plainPdf);

    // LibreOffice Calc reads the same rows (told the file is UTF-8, as its
    // import dialog finds from the byte order mark).
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        SKIP_MISSING_RIG("LibreOffice is not installed");
    QTemporaryDir office;
    QProcess soffice;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), office.path());
    soffice.setProcessEnvironment(env);
    soffice.start(QStringLiteral("soffice"),
                  {QStringLiteral("--headless"),
                   QStringLiteral("--infilter=Text - txt - csv (StarCalc):44,34,76"),
                   QStringLiteral("--convert-to"),
                   QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                   QStringLiteral("--outdir"), office.path(), logPath});
    QVERIFY(soffice.waitForFinished(120000));
    QCOMPARE(csvRows(QString::fromUtf8(readAll(office.filePath(u8("送付記録.csv"))))), rows);
}

QTEST_GUILESS_MAIN(TestFieldsEndToEnd)
#include "tst_fieldsendtoend.moc"

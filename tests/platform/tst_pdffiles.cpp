// SPDX-License-Identifier: GPL-3.0-or-later
// Documents from elsewhere after a cover: counted, joined page for page with
// their text kept, and refused by name when they cannot go out.

#include "platform/pdffiles.h"

#include "../poppler.h"
#include "../testfiles.h"
#include "../testpdfs.h"

#include <QtTest>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

class TestPdfFiles : public QObject
{
    Q_OBJECT
private slots:
    void refusedByName_data();
    void refusedByName();
    void coversTakeTheirDocuments_data();
    void coversTakeTheirDocuments();
    void noDocumentsLeaveTheCoversAlone();
};

namespace {
// The file `pdf` encrypted with a user password, as a bank statement is.
QByteArray encrypted(const QByteArray &pdf)
{
    QPDF in;
    in.processMemoryFile("plain", pdf.constData(), static_cast<size_t>(pdf.size()));
    QPDFWriter writer(in);
    writer.setOutputMemory();
    writer.setR6EncryptionParameters("user", "owner", true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
    const auto buffer = writer.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                      static_cast<qsizetype>(buffer->getSize()));
}
} // namespace

void TestPdfFiles::refusedByName_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("why");

    const QByteArray good = testpdfs::pages(3);
    QTest::newRow("missing") << QByteArray() << QStringLiteral("見つかりません");
    QTest::newRow("a text file named .pdf")
        << QByteArray("just text\n") << QStringLiteral("PDFではありません");
    QTest::newRow("an empty file") << QByteArray("\0", 0) << QStringLiteral("PDFではありません");
    QTest::newRow("encrypted") << encrypted(good) << QStringLiteral("暗号化");
    // Cut off half way, as an interrupted download leaves it.
    QTest::newRow("cut off") << good.left(good.size() / 2) << QStringLiteral("壊れています");
    QTest::newRow("only a header") << QByteArray("%PDF-1.4\n") << QStringLiteral("壊れています");
}

void TestPdfFiles::refusedByName()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    ProgramDir dir;
    const QString path = dir.path(QStringLiteral("添付 資料.pdf"));
    if (!bytes.isNull() || QTest::currentDataTag() != QByteArray("missing"))
        QVERIFY(testpdfs::write(path, bytes));

    const Result<int> counted = pdffiles::pageCount(path);
    QVERIFY(!counted.ok());
    QVERIFY2(counted.error().contains(why), qPrintable(counted.error()));
    QVERIFY2(counted.error().contains(path), qPrintable(counted.error()));
    // Joining stops on it the same way: nothing half made.
    const Result<QByteArray> joined =
        pdffiles::join(testpdfs::pages(1, QStringLiteral("COVER")), {path});
    QVERIFY(!joined.ok());
    QCOMPARE(joined.error(), counted.error());
}

void TestPdfFiles::coversTakeTheirDocuments_data()
{
    QTest::addColumn<int>("covers");
    QTest::addColumn<QList<int>>("attached"); // pages of each attachment

    QTest::newRow("one letter, one document of 3") << 1 << QList<int>{3};
    QTest::newRow("one letter, two documents") << 1 << QList<int>{2, 1};
    // A merge: every customer's cover has the documents behind it.
    QTest::newRow("three letters, one document of 2") << 3 << QList<int>{2};
}

void TestPdfFiles::coversTakeTheirDocuments()
{
    QFETCH(int, covers);
    QFETCH(QList<int>, attached);
    ProgramDir dir;
    QStringList paths;
    int attachedPages = 0;
    for (int i = 0; i < attached.size(); ++i) {
        paths.append(dir.path(QStringLiteral("doc%1.pdf").arg(i)));
        QVERIFY(testpdfs::write(paths.last(),
                                testpdfs::pages(attached[i], QStringLiteral("DOC%1").arg(i))));
        QCOMPARE(pdffiles::pageCount(paths.last()).value(), attached[i]);
        attachedPages += attached[i];
    }
    const Result<QByteArray> joined =
        pdffiles::join(testpdfs::pages(covers, QStringLiteral("COVER")), paths);
    QVERIFY2(joined.ok(), qPrintable(joined.error()));
    const QString out = dir.path(QStringLiteral("out.pdf"));
    QVERIFY(testpdfs::write(out, *joined));

    QCOMPARE(poppler::pageCount(out), covers * (1 + attachedPages));
    int page = 1;
    for (int cover = 1; cover <= covers; ++cover) {
        // The text is still text: the pages were copied, not drawn again.
        QVERIFY(poppler::pageText(out, page++).contains(QStringLiteral("COVERPAGE%1").arg(cover)));
        for (int i = 0; i < attached.size(); ++i) {
            for (int k = 1; k <= attached[i]; ++k)
                QVERIFY(poppler::pageText(out, page++)
                            .contains(QStringLiteral("DOC%1PAGE%2").arg(i).arg(k)));
        }
    }
}

void TestPdfFiles::noDocumentsLeaveTheCoversAlone()
{
    const QByteArray covers = testpdfs::pages(2, QStringLiteral("COVER"));
    QCOMPARE(pdffiles::join(covers, {}).value(), covers);
}

QTEST_MAIN(TestPdfFiles)
#include "tst_pdffiles.moc"

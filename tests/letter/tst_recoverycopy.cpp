// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy's file: what goes in comes out byte for byte, and any
// damage or a name the close never writes makes the whole copy unusable.

#include "letter/recoverycopy.h"

#include "../testfiles.h"

#include <QTest>

using recoverycopy::File;
using recoverycopy::Files;

Q_DECLARE_METATYPE(recoverycopy::Files)

namespace {
Files letter()
{
    return {{u8"Init/tavrint38.ini", QByteArray("[tavrint]\r\nFormTop=10\r\n")},
            {u8"Data/1本文.txt", QByteArray("\x94\x71\x8c\x5b\r\n", 6)},
            {u8"Data/3署名.txt", QByteArray()}};
}
} // namespace

class TestRecoveryCopy : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void damageIsNeverApplied_data();
    void damageIsNeverApplied();
    void onlyTheClosesFileNames_data();
    void onlyTheClosesFileNames();
};

void TestRecoveryCopy::roundTrip_data()
{
    QTest::addColumn<Files>("files");
    QTest::newRow("a letter") << letter();
    QTest::newRow("nothing to write") << Files{};
    QTest::newRow("every byte value, a NUL and a lone CR")
        << Files{{u8"Data/1本文.txt", []() -> QByteArray {
                      QByteArray all;
                      for (int b = 0; b < 256; ++b)
                          all += char(b);
                      return all + "\r";
                  }()}};
    // A text that looks like the copy's own digest line must not end it.
    QTest::newRow("a box text holding a digest line")
        << Files{{u8"Data/5標題.txt", QByteArray("x\nsha256 00\n")},
                 {u8"Data/8結.txt", QByteArray("\nfiles 3\n")}};
}

void TestRecoveryCopy::roundTrip()
{
    QFETCH(Files, files);
    const auto decoded = recoverycopy::decode(recoverycopy::encode(files));
    QVERIFY(decoded.has_value());
    QCOMPARE(*decoded, files);
}

void TestRecoveryCopy::damageIsNeverApplied_data()
{
    QTest::addColumn<QByteArray>("copy");
    const QByteArray good = recoverycopy::encode(letter());
    // A crash cannot cut the copy (it is renamed into place whole), but a
    // disk can: every length short of the whole is damage.
    for (qsizetype cut : {qsizetype(0), qsizetype(1), qsizetype(24), good.size() / 2,
                          good.size() - 66, good.size() - 2, good.size() - 1})
        QTest::newRow(qPrintable(QStringLiteral("cut to %1 bytes").arg(cut))) << good.left(cut);
    QByteArray flipped = good;
    flipped[good.indexOf("FormTop") + 1] = 'X';
    QTest::newRow("a byte of a file changed") << flipped;
    QTest::newRow("a byte appended") << good + "x";
    QTest::newRow("another program's file") << QByteArray("[tavrint]\r\nFormTop=10\r\n");
    QByteArray other = good;
    other.replace("copy 1\n", "copy 2\n");
    QTest::newRow("another version of the copy") << other;
}

void TestRecoveryCopy::damageIsNeverApplied()
{
    QFETCH(QByteArray, copy);
    QVERIFY(!recoverycopy::decode(copy).has_value());
}

void TestRecoveryCopy::onlyTheClosesFileNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("written");
    QTest::newRow("the settings file") << u8"Init/tavrint54.ini" << true;
    QTest::newRow("a box text file") << u8"Data/6記書き.txt" << true;
    QTest::newRow("outside the program folder") << u8"Data/../../.bashrc.txt" << false;
    QTest::newRow("an absolute path") << u8"/etc/passwd" << false;
    QTest::newRow("a folder below Data") << u8"Data/x/1本文.txt" << false;
    QTest::newRow("the copy's own folder") << u8"Init/.recovery.ini" << false;
    QTest::newRow("another kind of file") << u8"Data/1本文.sh" << false;
    QTest::newRow("a bare extension") << u8"Init/.ini" << false;
}

void TestRecoveryCopy::onlyTheClosesFileNames()
{
    QFETCH(QString, path);
    QFETCH(bool, written);
    QCOMPARE(recoverycopy::isLetterFilePath(path), written);
    // A copy naming such a file is damaged as a whole, never half applied.
    const Files files = {letter().first(), {path, QByteArray("x")}};
    QCOMPARE(recoverycopy::decode(recoverycopy::encode(files)).has_value(), written);
}

QTEST_APPLESS_MAIN(TestRecoveryCopy)
#include "tst_recoverycopy.moc"

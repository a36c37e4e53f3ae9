// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/fontdialog.h"
#include "letter/fontsize.h"
#include "platform/fontsubstitution.h"
#include "platform/screenmetrics.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QFont pixelFont(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

template <typename T> T *part(const FontDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

QListWidget *familyList(const FontDialog &d)
{
    return part<QListWidget>(d, "familyList");
}
QListWidget *styleList(const FontDialog &d)
{
    return part<QListWidget>(d, "styleList");
}
QListWidget *sizeList(const FontDialog &d)
{
    return part<QListWidget>(d, "sizeList");
}
QLineEdit *sizeEdit(const FontDialog &d)
{
    return part<QLineEdit>(d, "sizeEdit");
}

void click(const FontDialog &dialog, const char *button)
{
    QTest::mouseClick(part<QPushButton>(dialog, button), Qt::LeftButton);
}

void clickItem(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
    QCOMPARE(list->currentItem(), items.first());
}

void typeSize(const FontDialog &dialog, const QString &text)
{
    QLineEdit *edit = sizeEdit(dialog);
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

// Opens the dialog modally and lets `drive` work it as a user would. A
// driver that stops early (a failed check) leaves the dialog open; it is
// cancelled then so the test cannot hang.
bool runDialog(FontDialog &dialog, const std::function<void()> &drive)
{
    QTimer::singleShot(0, &dialog, [&] {
        drive();
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.execute();
}

int pixelsAt96(int points)
{
    return fontsize::pixelHeightFromPoints(points, 96);
}

const QString kGothic = QStringLiteral("IPAGothic");

} // namespace

class TestFontDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensWithChosenFont_data();
    void opensWithChosenFont();
    void typedSizeIsHeld_data();
    void typedSizeIsHeld();
    void sizeIsCarriedInPixelsAtScreenPpi();
    void okStoresChoice_data();
    void okStoresChoice();
    void applyStoresEachPressAndCancelKeepsIt();
    void cancelWithoutApplyChangesNothing();
    void faceNotInstalledStaysChosen_data();
    void faceNotInstalledStaysChosen();
    void otherFaceReplacesMissingOne();
    void attributesNotOfferedSurvive_data();
    void attributesNotOfferedSurvive();
};

void TestFontDialog::initTestCase()
{
    fontsubstitution::install();
}

void TestFontDialog::init()
{
    ScreenMetrics::setInstance(ScreenMetrics{1366, 768, 96});
}

void TestFontDialog::cleanup()
{
    ScreenMetrics::resetInstance();
}

void TestFontDialog::opensWithChosenFont_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("shownSize");
    QTest::addColumn<QString>("shownStyle");

    QTest::newRow("design font, 24 px is 18 pt")
        << 24 << false << false << QStringLiteral("18") << QStringLiteral("標準");
    QTest::newRow("21 px is 16 pt, bold")
        << 21 << true << false << QStringLiteral("16") << QStringLiteral("太字");
    QTest::newRow("italic") << 16 << false << true << QStringLiteral("12")
                            << QStringLiteral("斜体");
    QTest::newRow("bold italic") << 16 << true << true << QStringLiteral("12")
                                 << QStringLiteral("太字 斜体");
    QTest::newRow("7 pt closing mark shows the minimum 8")
        << 9 << false << false << QStringLiteral("8") << QStringLiteral("標準");
    QTest::newRow("40 pt shows the maximum 24")
        << 53 << false << false << QStringLiteral("24") << QStringLiteral("標準");
}

void TestFontDialog::opensWithChosenFont()
{
    QFETCH(int, pixels);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QString, shownSize);
    QFETCH(QString, shownStyle);

    FontDialog dialog(nullptr);
    QFont font = pixelFont(kGothic, pixels);
    font.setBold(bold);
    font.setItalic(italic);
    dialog.setChosenFont(font);

    QVERIFY(!runDialog(dialog, [&] {
        QCOMPARE(familyList(dialog)->currentItem()->text(), kGothic);
        QCOMPARE(styleList(dialog)->currentItem()->text(), shownStyle);
        QCOMPARE(sizeEdit(dialog)->text(), shownSize);
        QCOMPARE(sizeList(dialog)->currentItem()->text(), shownSize);
        click(dialog, "cancelButton");
    }));
    QCOMPARE(dialog.chosenFont(), font);
}

void TestFontDialog::typedSizeIsHeld_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("points");

    QTest::newRow("30 held to 24") << QStringLiteral("30") << 24;
    QTest::newRow("25 held to 24") << QStringLiteral("25") << 24;
    QTest::newRow("3 held to 8") << QStringLiteral("3") << 8;
    QTest::newRow("0 held to 8") << QStringLiteral("0") << 8;
    QTest::newRow("13 is not in the list but allowed") << QStringLiteral("13") << 13;
    QTest::newRow("24 kept") << QStringLiteral("24") << 24;
    QTest::newRow("8 kept") << QStringLiteral("8") << 8;
    QTest::newRow("empty keeps the opening 16") << QString() << 16;
}

void TestFontDialog::typedSizeIsHeld()
{
    QFETCH(QString, typed);
    QFETCH(int, points);

    FontDialog dialog(nullptr);
    dialog.setChosenFont(pixelFont(kGothic, pixelsAt96(16)));

    QVERIFY(runDialog(dialog, [&] {
        typeSize(dialog, typed);
        click(dialog, "applyButton");
        QCOMPARE(sizeEdit(dialog)->text(), QString::number(points));
        QCOMPARE(dialog.chosenFont().pixelSize(), pixelsAt96(points));
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().pixelSize(), pixelsAt96(points));

    // Typed and confirmed with OK alone.
    QVERIFY(runDialog(dialog, [&] {
        typeSize(dialog, typed);
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().pixelSize(), pixelsAt96(points));
}

void TestFontDialog::sizeIsCarriedInPixelsAtScreenPpi()
{
    ScreenMetrics::setInstance(ScreenMetrics{1366, 768, 120});
    FontDialog dialog(nullptr);
    dialog.setChosenFont(pixelFont(kGothic, 27)); // 16.2 pt at 120 ppi

    QVERIFY(runDialog(dialog, [&] {
        QCOMPARE(sizeEdit(dialog)->text(), QStringLiteral("16"));
        clickItem(sizeList(dialog), QStringLiteral("11"));
        QCOMPARE(sizeEdit(dialog)->text(), QStringLiteral("11"));
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().pixelSize(), 18); // 18.33
    QCOMPARE(dialog.chosenFont().pointSize(), -1);
}

void TestFontDialog::okStoresChoice_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("regular") << QStringLiteral("標準") << false << false;
    QTest::newRow("italic") << QStringLiteral("斜体") << false << true;
    QTest::newRow("bold") << QStringLiteral("太字") << true << false;
    QTest::newRow("bold italic") << QStringLiteral("太字 斜体") << true << true;
}

void TestFontDialog::okStoresChoice()
{
    QFETCH(QString, style);
    QFETCH(bool, bold);
    QFETCH(bool, italic);

    FontDialog dialog(nullptr);
    QFont opening = pixelFont(kGothic, pixelsAt96(16));
    opening.setBold(!bold);
    opening.setItalic(!italic);
    dialog.setChosenFont(opening);

    QVERIFY(runDialog(dialog, [&] {
        clickItem(styleList(dialog), style);
        clickItem(sizeList(dialog), QStringLiteral("12"));
        click(dialog, "okButton");
    }));
    const QFont chosen = dialog.chosenFont();
    QCOMPARE(chosen.family(), kGothic);
    QCOMPARE(chosen.bold(), bold);
    QCOMPARE(chosen.italic(), italic);
    QCOMPARE(chosen.pixelSize(), 16); // 12 pt at 96 ppi

    // The choice is what the dialog opens with next time.
    QVERIFY(!runDialog(dialog, [&] {
        QCOMPARE(styleList(dialog)->currentItem()->text(), style);
        QCOMPARE(sizeEdit(dialog)->text(), QStringLiteral("12"));
        click(dialog, "cancelButton");
    }));
}

void TestFontDialog::applyStoresEachPressAndCancelKeepsIt()
{
    FontDialog dialog(nullptr);
    const QFont opening = pixelFont(kGothic, pixelsAt96(16));
    dialog.setChosenFont(opening);

    QList<QFont> atEachApply;
    connect(&dialog, &FontDialog::applied, &dialog,
            [&] { atEachApply.append(dialog.chosenFont()); });

    QVERIFY(!runDialog(dialog, [&] {
        typeSize(dialog, QStringLiteral("14"));
        click(dialog, "applyButton");
        QVERIFY(dialog.isVisible());
        clickItem(styleList(dialog), QStringLiteral("太字"));
        click(dialog, "applyButton");
        QVERIFY(dialog.isVisible());
        // Changed after the last Apply, then cancelled: not stored.
        clickItem(sizeList(dialog), QStringLiteral("20"));
        clickItem(styleList(dialog), QStringLiteral("斜体"));
        click(dialog, "cancelButton");
    }));

    QCOMPARE(atEachApply.size(), 2);
    QCOMPARE(atEachApply[0].pixelSize(), pixelsAt96(14));
    QVERIFY(!atEachApply[0].bold());
    QCOMPARE(atEachApply[1].pixelSize(), pixelsAt96(14));
    QVERIFY(atEachApply[1].bold());
    QCOMPARE(dialog.chosenFont(), atEachApply[1]);
}

void TestFontDialog::cancelWithoutApplyChangesNothing()
{
    FontDialog dialog(nullptr);
    QFont opening = pixelFont(QStringLiteral("ＭＳ Ｐ明朝"), pixelsAt96(16));
    opening.setUnderline(true);
    dialog.setChosenFont(opening);

    QVERIFY(!runDialog(dialog, [&] {
        clickItem(familyList(dialog), kGothic);
        clickItem(styleList(dialog), QStringLiteral("太字 斜体"));
        typeSize(dialog, QStringLiteral("9"));
        click(dialog, "cancelButton");
    }));
    QCOMPARE(dialog.chosenFont(), opening);
    QCOMPARE(dialog.chosenFont().family(), opening.family());
}

void TestFontDialog::faceNotInstalledStaysChosen_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("installed");

    QTest::newRow("ＭＳ Ｐ明朝") << QStringLiteral("ＭＳ Ｐ明朝") << false;
    QTest::newRow("MS UI Gothic") << QStringLiteral("MS UI Gothic") << false;
    QTest::newRow("no font at all") << QStringLiteral("Tavrint No Such Face") << false;
    QTest::newRow("IPAGothic is installed") << kGothic << true;
}

void TestFontDialog::faceNotInstalledStaysChosen()
{
    QFETCH(QString, face);
    QFETCH(bool, installed);

    FontDialog dialog(nullptr);
    dialog.setChosenFont(pixelFont(face, 21));

    QVERIFY(runDialog(dialog, [&] {
        QListWidget *list = familyList(dialog);
        QCOMPARE(list->currentItem()->text(), face);
        QCOMPARE(list->findItems(face, Qt::MatchExactly).size(), 1);
        // Where it is listed depends on the machine's fonts (Qt may list a
        // substituted face once it was resolved); that it is chosen does not.
        Q_UNUSED(installed);
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().family(), face);
    QCOMPARE(dialog.chosenFont().pixelSize(), 21);
}

void TestFontDialog::otherFaceReplacesMissingOne()
{
    FontDialog dialog(nullptr);
    dialog.setChosenFont(pixelFont(QStringLiteral("ＭＳ Ｐ明朝"), 21));

    QVERIFY(runDialog(dialog, [&] {
        clickItem(familyList(dialog), kGothic);
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().family(), kGothic);

    // The missing face was only listed because it was the chosen one.
    QVERIFY(!runDialog(dialog, [&] {
        QCOMPARE(familyList(dialog)->currentItem()->text(), kGothic);
        QVERIFY(familyList(dialog)
                    ->findItems(QStringLiteral("ＭＳ Ｐ明朝"), Qt::MatchExactly)
                    .isEmpty());
        click(dialog, "cancelButton");
    }));
}

void TestFontDialog::attributesNotOfferedSurvive_data()
{
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");

    QTest::newRow("underline") << true << false;
    QTest::newRow("strike-out") << false << true;
    QTest::newRow("underline and strike-out") << true << true;
}

void TestFontDialog::attributesNotOfferedSurvive()
{
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);

    FontDialog dialog(nullptr);
    QFont opening = pixelFont(kGothic, pixelsAt96(16));
    opening.setUnderline(underline);
    opening.setStrikeOut(strikeOut);
    dialog.setChosenFont(opening);

    QVERIFY(runDialog(dialog, [&] {
        clickItem(styleList(dialog), QStringLiteral("太字"));
        clickItem(sizeList(dialog), QStringLiteral("10"));
        click(dialog, "applyButton");
        QCOMPARE(dialog.chosenFont().underline(), underline);
        QCOMPARE(dialog.chosenFont().strikeOut(), strikeOut);
        click(dialog, "okButton");
    }));
    QCOMPARE(dialog.chosenFont().underline(), underline);
    QCOMPARE(dialog.chosenFont().strikeOut(), strikeOut);
    QCOMPARE(dialog.chosenFont().pixelSize(), pixelsAt96(10));
}

QTEST_MAIN(TestFontDialog)
#include "tst_fontdialog.moc"

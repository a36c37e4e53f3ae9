// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs speak Japanese in the Japanese window, whatever the
// locale: CTest runs this once under LANG=C.UTF-8 and once under
// LANG=ja_JP.UTF-8.

#include "formfixture.h"

#include "platform/qttranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {
// The texts of a dialog's buttons and labels, without their "&" marks.
QStringList textsOf(QWidget *dialog)
{
    QStringList texts;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        texts.append(button->text().remove(QLatin1Char('&')));
    for (QLabel *label : dialog->findChildren<QLabel *>())
        texts.append(label->text().remove(QLatin1Char('&')));
    return texts;
}

// Runs `open` and reads the texts of the modal dialog it opens, then
// dismisses it.
template <typename Open> QStringList textsOfDialogOpenedBy(Open open)
{
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        texts = textsOf(dialog);
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    open();
    return texts;
}
} // namespace

class TestJapaneseDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_fixture = std::make_unique<FormFixture>(); }
    void cleanup() { m_fixture.reset(); }
    void saveDialog();
    void messageBoxButtons();

private:
    std::unique_ptr<FormFixture> m_fixture;
};

void TestJapaneseDialogs::initTestCase()
{
    qInfo("LANG=%s", qgetenv("LANG").constData());
    // As the program's start does.
    if (!qttranslations::installJapanese(*qApp))
        QFAIL("Qt's Japanese catalogue qtbase_ja.qm is not installed "
              "(Debian package qt6-translations-l10n)");
}

void TestJapaneseDialogs::saveDialog()
{
    TForm1 &f = m_fixture->start();
    f.show();
    // "PDFに保存…" with the dialog a user sees (no stand-in chooser).
    const QStringList texts = textsOfDialogOpenedBy([&f] { TForm1Access::savePdf(f); });
    QVERIFY2(texts.contains(QStringLiteral("保存(S)")) || texts.contains(QStringLiteral("保存")),
             qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("キャンセル")));
    QVERIFY(texts.contains(QStringLiteral("ファイル名(N):")));
    for (const char *english : {"Save", "Cancel", "Look in:", "File name:", "Files of type:"})
        QVERIFY2(!texts.contains(QLatin1String(english)), english);
}

void TestJapaneseDialogs::messageBoxButtons()
{
    const QStringList texts = textsOfDialogOpenedBy([] {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Tavrint"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.exec();
    });
    QVERIFY2(texts.contains(QStringLiteral("はい(Y)")) || texts.contains(QStringLiteral("はい")),
             qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("キャンセル")));
}

QTEST_MAIN(TestJapaneseDialogs)
#include "tst_japanesedialogs.moc"

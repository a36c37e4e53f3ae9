// SPDX-License-Identifier: GPL-3.0-or-later
// The preview locks the page: no box handler runs for input on a frame or a
// text area while it is on, and everything works again once it is off.

#include "../shell/formfixture.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "print/renderpage.h"
#include "shell/panel.h"

#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
enum class Input { DoubleClickText, DragFrame, PressFrame, TypeIntoText };
}
Q_DECLARE_METATYPE(Input)

class TestPreviewLock : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fixture.reset(); }
    void inputOnTheBoxes_data();
    void inputOnTheBoxes();
    void printedPageUnchangedByPreview();

private:
    TForm1 &form() { return m_fixture->form(); }
    std::unique_ptr<FormFixture> m_fixture;
};

void TestPreviewLock::init()
{
    m_fixture = std::make_unique<FormFixture>();
    m_fixture->start();
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void TestPreviewLock::inputOnTheBoxes_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("handled"); // whether the box reacted
    const struct
    {
        const char *name;
        Input input;
    } inputs[] = {{"double click into a text area", Input::DoubleClickText},
                  {"drag a frame", Input::DragFrame},
                  {"press on a frame", Input::PressFrame},
                  {"type into a text area", Input::TypeIntoText}};
    for (const auto &in : inputs) {
        QTest::addRow("%s, edit mode", in.name) << in.input << false << true;
        QTest::addRow("%s, preview", in.name) << in.input << true << false;
    }
}

void TestPreviewLock::inputOnTheBoxes()
{
    QFETCH(Input, input);
    QFETCH(bool, preview);
    QFETCH(bool, handled);

    TForm1 &f = form();
    constexpr int box = 5; // F, not the current box
    BoxMemo *memo = ui(f).memos[box];
    Panel *frame = ui(f).frames[box];
    if (input == Input::TypeIntoText) // the focus is there before the preview
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    const int boxBefore = f.document().currentBox();
    const QRect rectBefore = f.document().letter().box(box).frame;
    const QString textBefore = memo->text();

    if (preview) {
        QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
        QVERIFY(ui(f).spbA->isChecked());
    }

    bool chooserOpened = false;
    switch (input) {
    case Input::DoubleClickText:
        // Closes the chooser should it open (it is modal).
        QTimer::singleShot(0, ui(f).FontDialog1, [&] {
            if (ui(f).FontDialog1->isVisible()) {
                chooserOpened = true;
                ui(f).FontDialog1->reject();
            }
        });
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
        // The chooser is modal: had it opened, the double click returned
        // only after the check above had closed it.
        QTest::mouseDClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(chooserOpened, handled);
        break;
    case Input::DragFrame: {
        // Left rim, halfway down: the move zone of a frame.
        const QPoint rim(2, frame->height() / 2);
        QTest::mousePress(frame, Qt::LeftButton, {}, rim);
        QTest::mouseMove(frame, rim + QPoint(15, 12));
        QTest::mouseRelease(frame, Qt::LeftButton, {}, rim + QPoint(15, 12));
        QCOMPARE(f.document().letter().box(box).frame != rectBefore, handled);
        break;
    }
    case Input::PressFrame:
        QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(f.document().currentBox() != boxBefore, handled);
        break;
    case Input::TypeIntoText:
        QTest::keyClicks(memo, QStringLiteral("xyz"));
        QCOMPARE(memo->text() != textBefore, handled);
        break;
    }
    // The preview stays as it was: no frame press ended it.
    QCOMPARE(ui(f).spbA->isChecked(), preview);
    QCOMPARE(ui(f).Pnl0->isEnabled(), !preview);
}

void TestPreviewLock::printedPageUnchangedByPreview()
{
    TForm1 &f = form();
    ui(f).memos[0]->setText(QStringLiteral("拝啓\r\n本文の二行目"));
    const auto runsOf = [&f] {
        QStringList out;
        const RenderPage page = renderPage(f); // alive while its runs are read
        for (const RenderRun &run : page.runs())
            out << QString::number(run.position.x()) + QLatin1Char(',') +
                       QString::number(run.position.y()) + QLatin1Char(',') +
                       QString::number(run.height) + QLatin1Char(',') + run.text;
        return out;
    };
    const QStringList edit = runsOf();
    QTest::mouseClick(ui(f).spbA, Qt::LeftButton);
    QCOMPARE(runsOf(), edit);
}

QTEST_MAIN(TestPreviewLock)
#include "tst_previewlock.moc"

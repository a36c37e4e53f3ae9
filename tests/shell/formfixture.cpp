// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "letter/fontsize.h"
#include "platform/clock.h"
#include "platform/errorreport.h"
#include "platform/fontsubstitution.h"
#include "print/mergechoicedialog.h"
#include "shell/panel.h"

#include <QTest>

FormFixture::FormFixture(ScreenMetrics screen, QDate today)
{
    ScreenMetrics::setInstance(screen);
    Clock::setInstance(today);
    fontsubstitution::install();
    errorreport::setInstance([this](const QString &text) { errors.append(text); });
    MergeChoiceDialog::setInstance(
        [](QWidget *, const MergeChoiceDialog::Offer &offer, const QString &) {
            QList<int> all;
            for (int row = 0; row < offer.count; ++row)
                all.append(row);
            return std::optional<QList<int>>(all);
        });
}

FormFixture::~FormFixture()
{
    destroy();
    MergeChoiceDialog::resetInstance();
    errorreport::resetInstance();
    ScreenMetrics::resetInstance();
    Clock::resetInstance();
}

TForm1 &FormFixture::start(const QString &exeName)
{
    destroy();
    m_form = std::make_unique<TForm1>(programDir() + exeName);
    m_list = std::make_unique<TFList>();
    m_form->setDataHolder(m_list.get());
    return *m_form;
}

void FormFixture::destroy()
{
    m_list.reset();
    m_form.reset();
}

void FormFixture::dragFrame(int box, QPoint from, QPoint delta)
{
    // The events go to the frame that holds the mouse; positions are taken
    // from where the frame is now, since it moves under the mouse.
    TForm1 &f = form();
    Panel *frame = ui(f).frames[box];
    const QPoint start = frame->mapTo(&f, from);
    auto local = [&](QPoint inWindow) { return inWindow - frame->mapTo(&f, QPoint()); };
    QTest::mousePress(frame, Qt::LeftButton, {}, from);
    QTest::mouseMove(frame, local(start + delta / 2));
    QTest::mouseMove(frame, local(start + delta));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, local(start + delta));
}

void FormFixture::moveFrameTo(int box, QPoint to)
{
    dragFrame(box, QPoint(2, 2), to - form().document().letter().box(box).frame.topLeft());
}

void FormFixture::applyFontPoints(int box, int points)
{
    TForm1 &f = form();
    f.Memo1Enter(ui(f).memos[box]);
    QFont font = ui(f).memos[box]->font();
    font.setPixelSize(
        fontsize::pixelHeightFromPoints(points, f.document().letter().screen().pixelsPerInch));
    ui(f).FontDialog1->setChosenFont(font);
    f.FontDialog1Apply();
}

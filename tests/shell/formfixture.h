// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/tflist.h"
#include "platform/screenmetrics.h"
#include "shell/tform1.h"

#include "../testfiles.h"

#include <QDate>
#include <QPoint>
#include <QStringList>

#include <memory>

// A main window in a fresh program directory, on a screen and a day the
// test chooses, with error reports captured instead of shown.
class FormFixture : public ProgramDir
{
public:
    explicit FormFixture(ScreenMetrics screen = {1366, 768, 96}, QDate today = QDate(2027, 3, 6));
    ~FormFixture();

    // Builds (or rebuilds, after a close) the window.
    TForm1 &start(const QString &exeName = QStringLiteral("tavrint"));
    TForm1 &form() { return *m_form; }
    void destroy();

    QStringList errors; // texts the error report would have shown

    // As the user's mouse does on the shown window: presses the frame of
    // `box` at `from` (the frame's own coordinates), drags it by `delta` and
    // lets go, so that the limits and the centring of the release apply.
    void dragFrame(int box, QPoint from, QPoint delta);
    // Moves the frame of `box` so that its top-left corner lies at `to` on
    // the page, by a drag of its inside.
    void moveFrameTo(int box, QPoint to);
    // Gives box `box` the size `points` through the font chooser's Apply.
    void applyFontPoints(int box, int points);

private:
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<TFList> m_list;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "customers/customerlistmodel.h"
#include "customers/tflist.h"
#include "platform/screenmetrics.h"
#include "print/letterpage.h"
#include "print/renderpage.h"
#include "shell/tform1.h"

#include "../testfiles.h"

#include <QDate>
#include <QPoint>
#include <QStringList>

#include <memory>

// What tests reach inside the window: its controls, its customer list and
// the steps its menu entries and timers run.
struct TForm1Access
{
    static TForm1Controls &ui(TForm1 &form) { return form; }
    static const TForm1Controls &ui(const TForm1 &form) { return form; }
    static CustomerListSession &customers(TForm1 &form) { return form.m_customers; }
    static void savePdf(TForm1 &form) { form.savePdf(); }
    static void saveMergedPdf(TForm1 &form) { form.saveMergedPdf(); }
    static void printMergedLetters(TForm1 &form) { form.printMergedLetters(); }
    static void savePdfEach(TForm1 &form) { form.savePdfEach(); }
    static void keepRecoveryCopy(TForm1 &form) { form.keepRecoveryCopy(); }
    static void sessionEnding(TForm1 &form) { form.sessionEnding(); }
    static const QString &letterName(const TForm1 &form) { return form.m_letterName; }
    static bool keepLetterAs(TForm1 &form, const QString &name) { return form.keepLetterAs(name); }
    static bool switchToLetter(TForm1 &form, const QString &name)
    {
        return form.switchToLetter(name);
    }
    static bool deleteLetter(TForm1 &form, const QString &name) { return form.deleteLetter(name); }
};

// The controls of `form`, named as the layout names them.
inline TForm1Controls &ui(TForm1 &form)
{
    return TForm1Access::ui(form);
}
inline const TForm1Controls &ui(const TForm1 &form)
{
    return TForm1Access::ui(form);
}

// The letter `form` shows, as it would print now.
inline RenderPage renderPage(const TForm1 &form)
{
    return letterpage::build(form.document().letter());
}

// A main window in a fresh program directory, on a screen and a day the
// test chooses, with error reports captured instead of shown. A merge sends
// every customer unless the test answers the merge dialog itself.
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

// SPDX-License-Identifier: GPL-3.0-or-later
// "印刷位置の調整…" in the page's context menu: calibrates the default
// printer for pre-printed letterhead (see CalibrationDialog). The printer
// it calibrates is the one the print button prints on.

#include "shell/tform1.h"

#include "platform/errorreport.h"
#include "print/calibrationdialog.h"
#include "print/printerplayback.h"
#include "shell/windowtexts.h"

#include <QAction>

void TForm1::setUpCalibration()
{
    auto *action = new QAction(windowtexts::calibrationCaption(), this);
    action->setObjectName(QStringLiteral("actCalibratePrinter"));
    connect(action, &QAction::triggered, this, &TForm1::calibratePrinter);
    m_pageMenuActions.append(action);
}

void TForm1::calibratePrinter()
{
    const QString queue = printerplayback::defaultQueue();
    if (queue.isEmpty()) {
        errorreport::show(printerplayback::noDefaultPrinterText());
        return;
    }
    const std::optional<QRectF> frame = printerplayback::defaultFrameOnPaper();
    if (!frame) {
        errorreport::show(printerplayback::invalidPrinterText());
        return;
    }
    CalibrationDialog dialog(m_document.letter().programDir(), queue, *frame, this);
    dialog.exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/printercalibration.h"

#include <QDialog>
#include <QRectF>

#include <optional>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// "印刷位置の調整…": calibrates the default printer. It prints the
// calibration page without any calibration, takes what the user measured
// on it (cross A from the paper's left and top edges, the distance from A
// to B), shows the shift and scale that follow, prints a test page with
// them, and keeps them for the queue. Children named for tests: "measuredX",
// "measuredY", "measuredDistance", "result", "printPage", "testPrint".
class CalibrationDialog : public QDialog
{
    Q_OBJECT
public:
    // `frameOnPaper`: where the queue's letters are placed, in millimetres
    // of the paper (printerplayback::defaultFrameOnPaper()).
    CalibrationDialog(const QString &programDir, const QString &queue, const QRectF &frameOnPaper,
                      QWidget *parent = nullptr);

    // The calibration the entered values give; none while they give none
    // that may be used.
    std::optional<printercalibration::Calibration> calibration() const;

private:
    void showResult();
    void printPage(const printercalibration::Calibration &calibration);
    void save();

    QString m_programDir;
    QString m_queue;
    QRectF m_frame;
    QDoubleSpinBox *m_x;
    QDoubleSpinBox *m_y;
    QDoubleSpinBox *m_distance;
    QLabel *m_result;
    QPushButton *m_testPrint;
    QPushButton *m_save;
};

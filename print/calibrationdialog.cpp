// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/calibrationdialog.h"

#include "platform/clock.h"
#include "platform/errorreport.h"
#include "print/calibrationpage.h"
#include "print/documentname.h"
#include "print/printerplayback.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox *millimetres(QWidget *parent, const QString &name, double value)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setRange(0.0, 400.0);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

QString signedMm(int tenths)
{
    return QStringLiteral("%1%2.%3 mm")
        .arg(tenths < 0 ? QStringLiteral("−") : QStringLiteral("+"))
        .arg(std::abs(tenths) / 10)
        .arg(std::abs(tenths) % 10);
}

} // namespace

CalibrationDialog::CalibrationDialog(const QString &programDir, const QString &queue,
                                     const QRectF &frameOnPaper, QWidget *parent)
    : QDialog(parent), m_programDir(programDir), m_queue(queue), m_frame(frameOnPaper)
{
    setWindowTitle(QStringLiteral("印刷位置の調整 — %1").arg(queue));
    setObjectName(QStringLiteral("calibration"));

    // The fields start where the crosses belong: unchanged, they mean "no
    // calibration".
    const QPointF a = calibrationpage::onPaper(m_frame, calibrationpage::kCrossA);
    const QPointF b = calibrationpage::onPaper(m_frame, calibrationpage::kCrossB);
    m_x = millimetres(this, QStringLiteral("measuredX"), a.x());
    m_y = millimetres(this, QStringLiteral("measuredY"), a.y());
    m_distance = millimetres(this, QStringLiteral("measuredDistance"), b.x() - a.x());

    auto *intro = new QLabel(
        QStringLiteral("1. 調整用紙を印刷します。\n"
                       "2. 用紙の左上の角から十字 A の中心までと、A から B までを測ります。\n"
                       "3. 測った値を入れ、試し印刷で確かめてから保存します。"),
        this);
    auto *printPage = new QPushButton(QStringLiteral("調整用紙を印刷"), this);
    printPage->setObjectName(QStringLiteral("printPage"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("A: 左端から（%1 のはず）").arg(QString::number(a.x(), 'f', 1)),
                 m_x);
    form->addRow(QStringLiteral("A: 上端から（%1 のはず）").arg(QString::number(a.y(), 'f', 1)),
                 m_y);
    form->addRow(
        QStringLiteral("A から B（%1 のはず）").arg(QString::number(b.x() - a.x(), 'f', 1)),
        m_distance);

    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("result"));

    auto *buttons = new QDialogButtonBox(this);
    m_testPrint = buttons->addButton(QStringLiteral("試し印刷"), QDialogButtonBox::ActionRole);
    m_testPrint->setObjectName(QStringLiteral("testPrint"));
    m_save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(printPage, 0, Qt::AlignLeft);
    layout->addLayout(form);
    layout->addWidget(m_result);
    layout->addWidget(buttons);

    for (QDoubleSpinBox *box : {m_x, m_y, m_distance})
        connect(box, &QDoubleSpinBox::valueChanged, this, &CalibrationDialog::showResult);
    connect(printPage, &QPushButton::clicked, this, [this] { this->printPage({}); });
    connect(m_testPrint, &QPushButton::clicked, this, [this] {
        if (const auto c = calibration())
            this->printPage(*c);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CalibrationDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showResult();
}

std::optional<printercalibration::Calibration> CalibrationDialog::calibration() const
{
    printercalibration::Measurement m;
    m.frameCorner = m_frame.topLeft();
    m.nominalCross = calibrationpage::onPaper(m_frame, calibrationpage::kCrossA);
    m.nominalDistance =
        calibrationpage::onPaper(m_frame, calibrationpage::kCrossB).x() - m.nominalCross.x();
    m.measuredCross = QPointF(m_x->value(), m_y->value());
    m.measuredDistance = m_distance->value();
    const std::optional<printercalibration::Calibration> c = printercalibration::fromMeasurement(m);
    if (!c || !printercalibration::invalidReason(*c).isEmpty())
        return std::nullopt;
    return c;
}

void CalibrationDialog::showResult()
{
    const std::optional<printercalibration::Calibration> c = calibration();
    m_testPrint->setEnabled(c.has_value());
    m_save->setEnabled(c.has_value());
    if (!c) {
        m_result->setText(QStringLiteral("この値では調整できません。測り直してください（ずれは "
                                         "±50 mm、倍率は 90〜110 % まで）"));
        return;
    }
    m_result->setText(QStringLiteral("調整: 右へ %1、下へ %2、倍率 %3.%4 %")
                          .arg(signedMm(c->offsetX), signedMm(c->offsetY))
                          .arg(c->scale / 10)
                          .arg(c->scale % 10));
}

void CalibrationDialog::printPage(const printercalibration::Calibration &calibration)
{
    const Result<QString> printed = printerplayback::printDrawing(
        [this](QPainter &painter, const QRect &frame) {
            calibrationpage::draw(painter, frame, m_frame, m_queue);
            return true;
        },
        documentname::jobName(Clock::now()), calibration);
    if (!printed)
        errorreport::show(printed.error());
}

void CalibrationDialog::save()
{
    const std::optional<printercalibration::Calibration> c = calibration();
    if (!c)
        return;
    const Result<void> saved = printercalibration::save(m_programDir, m_queue, *c);
    if (!saved) {
        errorreport::show(QStringLiteral("%1 に書き込めません\n%2")
                              .arg(printercalibration::filePath(m_programDir), saved.error()));
        return;
    }
    accept();
}

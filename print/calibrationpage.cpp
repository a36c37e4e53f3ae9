// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/calibrationpage.h"

#include <QFont>
#include <QPainter>
#include <QPen>

namespace calibrationpage {

namespace {

constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;

// Page millimetres onto the frame's device pixels, each axis by itself as
// the letter is played.
struct Mapping
{
    QRect frame;
    QPointF at(double xMm, double yMm) const
    {
        return {frame.left() + xMm * frame.width() / kPageWidthMm,
                frame.top() + yMm * frame.height() / kPageHeightMm};
    }
    double perMm() const { return frame.height() / kPageHeightMm; }
};

void cross(QPainter &painter, const Mapping &map, QPointF mm)
{
    const double arm = 8.0;
    painter.drawLine(map.at(mm.x() - arm, mm.y()), map.at(mm.x() + arm, mm.y()));
    painter.drawLine(map.at(mm.x(), mm.y() - arm), map.at(mm.x(), mm.y() + arm));
}

QString mm(double value)
{
    return QString::number(value, 'f', 1);
}

} // namespace

QPointF onPaper(const QRectF &frameOnPaper, QPointF onPage)
{
    return {frameOnPaper.left() + onPage.x() * frameOnPaper.width() / kPageWidthMm,
            frameOnPaper.top() + onPage.y() * frameOnPaper.height() / kPageHeightMm};
}

void draw(QPainter &painter, const QRect &frame, const QRectF &frameOnPaper, const QString &queue)
{
    const Mapping map{frame};
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(0.15 * map.perMm());
    painter.setPen(pen);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(qMax(1, static_cast<int>(2.5 * map.perMm())));
    painter.setFont(font);

    // Rulers: a tick every millimetre, longer every 5 and 10, numbered
    // every 10, along the top and the left edge.
    for (int x = 0; x <= 210; ++x) {
        const double length = x % 10 == 0 ? 6 : x % 5 == 0 ? 4 : 2;
        painter.drawLine(map.at(x, 0), map.at(x, length));
        if (x % 10 == 0 && x > 0)
            painter.drawText(map.at(x + 0.5, 9), QString::number(x));
    }
    for (int y = 0; y <= 297; ++y) {
        const double length = y % 10 == 0 ? 6 : y % 5 == 0 ? 4 : 2;
        painter.drawLine(map.at(0, y), map.at(length, y));
        if (y % 10 == 0 && y > 0)
            painter.drawText(map.at(7, y + 1), QString::number(y));
    }

    cross(painter, map, kCrossA);
    cross(painter, map, kCrossB);
    const QPointF a = onPaper(frameOnPaper, kCrossA);
    const QPointF b = onPaper(frameOnPaper, kCrossB);
    painter.drawText(map.at(kCrossA.x() + 2, kCrossA.y() - 2), QStringLiteral("A"));
    painter.drawText(map.at(kCrossB.x() + 2, kCrossB.y() - 2), QStringLiteral("B"));

    const QStringList notes = {
        QStringLiteral("印刷位置の調整 — %1").arg(queue),
        QStringLiteral("用紙の左上の角から測ってください。"),
        QStringLiteral("A の中心: 左端から %1 mm、上端から %2 mm のはずです。")
            .arg(mm(a.x()), mm(a.y())),
        QStringLiteral("A から B: %1 mm のはずです。").arg(mm(b.x() - a.x())),
        QStringLiteral("測った値を「印刷位置の調整」の画面に入れてください。"),
    };
    for (int i = 0; i < notes.size(); ++i)
        painter.drawText(map.at(30, 70 + 6 * i), notes.at(i));
    painter.restore();
}

} // namespace calibrationpage

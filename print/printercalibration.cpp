// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/printercalibration.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace printercalibration {

namespace {

constexpr auto kFileName = "Init/calibration.ini";
// A file of a few queues is a few hundred bytes; a larger one is not ours.
constexpr qint64 kMaxFileSize = 64 * 1024;

QString lineError(int line, const QString &why)
{
    return QStringLiteral("%1, line %2: %3").arg(QString::fromLatin1(kFileName)).arg(line).arg(why);
}

std::optional<int> integer(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

QString invalidReason(const Calibration &c)
{
    if (std::abs(c.offsetX) > kMaxOffset || std::abs(c.offsetY) > kMaxOffset)
        return QStringLiteral("ずれは ±%1.%2 mm までです")
            .arg(kMaxOffset / 10)
            .arg(kMaxOffset % 10);
    if (c.scale < kMinScale || c.scale > kMaxScale)
        return QStringLiteral("倍率は %1.%2 % から %3.%4 % までです")
            .arg(kMinScale / 10)
            .arg(kMinScale % 10)
            .arg(kMaxScale / 10)
            .arg(kMaxScale % 10);
    return QString();
}

QString filePath(const QString &programDir)
{
    return programDir + QString::fromLatin1(kFileName);
}

QByteArray toBytes(const Table &table)
{
    QStringList queues = table.keys();
    std::sort(queues.begin(), queues.end());
    QByteArray bytes = "; Tavrint: where each printer puts the page.\r\n"
                       "; queue=shift right,shift down (0.1 mm),scale (0.1 %)\r\n";
    for (const QString &queue : queues) {
        const Calibration &c = table.value(queue);
        bytes += queue.toUtf8() + '=' + QByteArray::number(c.offsetX) + ',' +
                 QByteArray::number(c.offsetY) + ',' + QByteArray::number(c.scale) + "\r\n";
    }
    return bytes;
}

Result<Table> fromBytes(const QByteArray &bytes)
{
    Table table;
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        // Queue names may hold "=", the values never do.
        const qsizetype eq = line.lastIndexOf(QLatin1Char('='));
        const QString queue = eq < 0 ? QString() : line.left(eq).trimmed();
        if (queue.isEmpty())
            return fail(lineError(number, QStringLiteral("プリンタ名がありません")));
        const QList<QStringView> values = QStringView(line).mid(eq + 1).split(QLatin1Char(','));
        std::optional<int> x, y, scale;
        if (values.size() == 3) {
            x = integer(values[0]);
            y = integer(values[1]);
            scale = integer(values[2]);
        }
        if (!x || !y || !scale)
            return fail(lineError(number, QStringLiteral("「%1」の値は 3 つの整数（横,縦,倍率）"
                                                         "ではありません")
                                              .arg(queue)));
        const Calibration c{*x, *y, *scale};
        const QString why = invalidReason(c);
        if (!why.isEmpty())
            return fail(lineError(number, QStringLiteral("「%1」: %2").arg(queue, why)));
        table.insert(queue, c);
    }
    return table;
}

Result<Table> load(const QString &programDir)
{
    QFile file(filePath(programDir));
    if (!file.exists())
        return Table();
    if (file.size() > kMaxFileSize)
        return fail(QStringLiteral("%1: 印刷位置の調整のファイルが大きすぎます")
                        .arg(QString::fromLatin1(kFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("%1: %2").arg(QString::fromLatin1(kFileName), file.errorString()));
    return fromBytes(file.read(kMaxFileSize + 1));
}

Result<void> save(const QString &programDir, const QString &queue, const Calibration &calibration)
{
    const QString why = invalidReason(calibration);
    if (!why.isEmpty())
        return fail(why);
    if (queue.trimmed().isEmpty() || queue.contains(QLatin1Char('\n')) ||
        queue.contains(QLatin1Char('\r')))
        return fail(QStringLiteral("プリンタ名がありません"));
    Result<Table> table = load(programDir);
    if (!table)
        return table.failure();
    if (!QDir().mkpath(QFileInfo(filePath(programDir)).path()))
        return fail(QStringLiteral("%1: フォルダを作れません").arg(QString::fromLatin1(kFileName)));
    if (calibration.isNone())
        table.value().remove(queue);
    else
        table.value().insert(queue, calibration);
    return atomicfile::write(filePath(programDir), toBytes(*table));
}

QRect apply(const QRect &frame, const Calibration &c, int dpiX, int dpiY)
{
    const auto pixels = [](int tenthsMm, int dpi) {
        return static_cast<int>(std::lround(tenthsMm * dpi / 254.0));
    };
    const auto scaled = [&c](int length) {
        return static_cast<int>(std::lround(length * (c.scale / 1000.0)));
    };
    return QRect(frame.left() + pixels(c.offsetX, dpiX), frame.top() + pixels(c.offsetY, dpiY),
                 scaled(frame.width()), scaled(frame.height()));
}

std::optional<Calibration> fromMeasurement(const Measurement &m)
{
    if (!(m.nominalDistance > 0) || !(m.measuredDistance > 0) ||
        !std::isfinite(m.measuredDistance) || !std::isfinite(m.measuredCross.x()) ||
        !std::isfinite(m.measuredCross.y()))
        return std::nullopt;
    // The printer puts a point meant at q from the frame's corner at
    // corner + e + k q. The calibration draws it at shift + s q instead, so
    // with s = 1 / k it lands at corner + e + k shift + q: shift = -e / k.
    const double k = m.measuredDistance / m.nominalDistance;
    const QPointF q = m.nominalCross - m.frameCorner;
    const QPointF e = m.measuredCross - m.frameCorner - k * q;
    const double scale = std::round(1000.0 / k);
    const double shiftX = std::round(-e.x() / k * 10.0);
    const double shiftY = std::round(-e.y() / k * 10.0);
    // Beyond int is beyond any limit; kept just past it so that
    // invalidReason() says why.
    const auto bounded = [](double v, int limit) {
        return static_cast<int>(std::clamp(v, -10.0 * limit, 10.0 * limit));
    };
    return Calibration{bounded(shiftX, kMaxOffset), bounded(shiftY, kMaxOffset),
                       bounded(scale, kMaxScale)};
}

} // namespace printercalibration

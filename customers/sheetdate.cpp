// SPDX-License-Identifier: GPL-3.0-or-later
#include "customers/sheetdate.h"

#include <QDate>

#include <cmath>

namespace sheetdate {

Kind kindOfBuiltIn(int id)
{
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
        (id >= 50 && id <= 58))
        return Kind::Date; // 27 to 58: the Japanese era and 年月日 forms
    if ((id >= 18 && id <= 21) || (id >= 32 && id <= 33) || (id >= 45 && id <= 47))
        return Kind::Time;
    if (id == 22)
        return Kind::DateTime;
    return Kind::Number;
}

Kind kindOfCode(QStringView code)
{
    // The date and time letters of the first section (the one positive
    // numbers use), without literal text, brackets, "General", AM/PM and
    // exponents; elapsed-time brackets and AM/PM count as time.
    QString letters;
    bool time = false;
    const qsizetype n = code.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = QChar::toLower(code[i].unicode());
        const QStringView rest = code.sliced(i);
        if (c == u';')
            break;
        if (c == u'"') {
            while (++i < n && code[i] != u'"') {
            }
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i; // one literal or padding character
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i);
            const QStringView inside = code.sliced(i + 1, (close < 0 ? n : close) - i - 1);
            if (!inside.isEmpty() && QStringLiteral("hms").contains(inside[0].toLower()) &&
                inside.count(inside[0]) == inside.size())
                time = true;
            if (close < 0)
                break;
            i = close;
        } else if (rest.startsWith(u"general", Qt::CaseInsensitive)) {
            i += 6;
        } else if (rest.startsWith(u"am/pm", Qt::CaseInsensitive)) {
            time = true;
            i += 4;
        } else if (rest.startsWith(u"a/p", Qt::CaseInsensitive)) {
            time = true;
            i += 2;
        } else if (c == u'e' && i + 1 < n && (code[i + 1] == u'+' || code[i + 1] == u'-')) {
            ++i; // scientific notation
        } else if (QStringLiteral("ymdhseg").contains(QChar(c))) {
            letters.append(QChar(c));
        }
    }

    bool date = false;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QChar c = letters[i];
        if (c == u'h' || c == u's') {
            time = true;
        } else if (c != u'm') {
            date = true; // y, d, and e and g of the Japanese era
        } else {
            // Minutes when an hour stands before them or seconds follow.
            qsizetype after = i;
            while (after < letters.size() && letters[after] == u'm')
                ++after;
            const bool minutes = (i > 0 && letters[i - 1] == u'h') ||
                                 (after < letters.size() && letters[after] == u's');
            if (minutes)
                time = true;
            else
                date = true;
            i = after - 1;
        }
    }
    if (date && time)
        return Kind::DateTime;
    if (date)
        return Kind::Date;
    if (time)
        return Kind::Time;
    return Kind::Number;
}

namespace {

QString clockText(qint64 seconds)
{
    return QString::number(seconds / 3600).rightJustified(2, u'0') + u':' +
           QString::number(seconds / 60 % 60).rightJustified(2, u'0') + u':' +
           QString::number(seconds % 60).rightJustified(2, u'0');
}

} // namespace

std::optional<QString> serialText(double serial, Kind kind, bool system1904)
{
    if (kind == Kind::Number || !std::isfinite(serial) || serial < 0 || serial >= 2958466)
        return std::nullopt;
    qint64 day = qint64(std::floor(serial));
    qint64 seconds = qint64(std::llround((serial - double(day)) * 86400.0));
    if (seconds >= 86400) {
        ++day;
        seconds -= 86400;
    }
    if (kind == Kind::Time)
        return clockText(seconds);

    QString dayText;
    if (system1904) {
        dayText = QDate(1904, 1, 1).addDays(day).toString(Qt::ISODate);
    } else if (day == 60) {
        dayText =
            QStringLiteral("1900-02-29"); // the day the 1900 system counts and no calendar has
    } else if (day == 0) {
        dayText = QStringLiteral("1900-01-00");
    } else {
        // Serials before the false leap day count from one day later.
        dayText = QDate(1899, 12, day < 60 ? 31 : 30).addDays(day).toString(Qt::ISODate);
    }
    if (kind == Kind::Date)
        return dayText;
    return dayText + u' ' + clockText(seconds);
}

std::optional<QString> durationText(QStringView duration)
{
    // PnDTnHnMn.nS, as OpenDocument writes a time of day.
    if (!duration.startsWith(u"PT") && !duration.startsWith(u"-PT") && !duration.startsWith(u'P'))
        return std::nullopt;
    qint64 seconds = 0;
    qint64 number = 0;
    bool digits = false;
    bool inTime = false;
    bool fraction = false;
    double fractionValue = 0;
    double scale = 0.1;
    for (qsizetype i = duration.startsWith(u'-') ? 2 : 1; i < duration.size(); ++i) {
        const char16_t c = duration[i].unicode();
        if (c >= u'0' && c <= u'9') {
            if (fraction) {
                fractionValue += (c - u'0') * scale;
                scale /= 10;
            } else {
                if (number > 1000000000)
                    return std::nullopt;
                number = number * 10 + (c - u'0');
            }
            digits = true;
            continue;
        }
        if (c == u'.' || c == u',') {
            fraction = true;
            continue;
        }
        if (c == u'T') {
            inTime = true;
            continue;
        }
        if (!digits)
            return std::nullopt;
        if (c == u'D' && !inTime)
            seconds += number * 86400;
        else if (c == u'H' && inTime)
            seconds += number * 3600;
        else if (c == u'M' && inTime)
            seconds += number * 60;
        else if (c == u'S' && inTime)
            seconds += number + std::llround(fractionValue);
        else
            return std::nullopt;
        if (seconds > (qint64(1) << 50))
            return std::nullopt; // no time of day is that long
        number = 0;
        digits = false;
        fraction = false;
        fractionValue = 0;
        scale = 0.1;
    }
    if (digits)
        return std::nullopt;
    return clockText(seconds % 86400);
}

} // namespace sheetdate

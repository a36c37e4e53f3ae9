#pragma once
// TEMPORARY until the settings module lands.
#include "platform/rounding.h"
#include <QString>
namespace settingsfile {
inline QString sectionName(const QString &exe)
{
    const int dot = exe.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? exe : exe.left(dot);
}
inline QString filePath(const QString &dir, const QString &exe, int screenHeight)
{
    return dir + QStringLiteral("Init/") + sectionName(exe) +
           QString::number(rounding::halfEven(screenHeight / 20.0)) + QStringLiteral(".ini");
}
} // namespace settingsfile

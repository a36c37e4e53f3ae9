// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// Runs one of the repository's fixture writers, scripts/`script` (a Perl
// program), with `folder` as its argument. Empty when it wrote its files;
// otherwise what went wrong, for the test's failure message.
inline QString runFixtureScript(const char *script, const QString &folder)
{
    const QString name = QLatin1String(script);
    QProcess perl;
    perl.start(QStringLiteral("perl"),
               {QStringLiteral(TAVRINT_SOURCE_DIR "/scripts/") + name, folder});
    if (!perl.waitForStarted(10000))
        return name + QStringLiteral(": perl could not be started: ") + perl.errorString();
    if (!perl.waitForFinished(120000)) {
        perl.kill();
        perl.waitForFinished(5000);
        return name + QStringLiteral(" did not finish");
    }
    if (perl.exitStatus() != QProcess::NormalExit || perl.exitCode() != 0)
        return name + QStringLiteral(" failed: ") +
               QString::fromLocal8Bit(perl.readAllStandardError());
    return {};
}

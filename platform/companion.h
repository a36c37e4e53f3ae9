// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The program's companions, the files that come with its executable (the
// window module, the workbook reader): beside the running executable, where
// the launcher puts them into the program folder together with it, else
// where the build that made this executable left them.
namespace companion {

// The running executable, as the kernel knows it.
QString runningExecutable();

// The places looked in for `fileName`, in order: beside the running
// executable, then `builtPath`.
QStringList candidates(const QString &fileName, const QString &builtPath);

// The first of them that exists; empty when none does.
QString find(const QString &fileName, const QString &builtPath);

} // namespace companion

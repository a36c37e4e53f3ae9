// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct CommandLine;

// `tavrint --pdf FILE`: the letter saved in the program directory (its
// settings file for the screen height, its box texts, today's date) written
// as a PDF without showing a window. It takes no single-instance lock, so a
// running window is neither disturbed nor asked. Needs no display: without
// one (or with --screen-height) it runs offscreen.
namespace pdfcommand {

// Returns the exit status: 0 when the PDF was written and its letters
// recorded in the send log, 2 after a message on stderr when no PDF was
// written, 3 when the PDF was written but the send log could not be.
// `argv0` is the program's own argv[0].
int run(char *argv0, const CommandLine &command);

// The same once the application object exists (a QGuiApplication: no
// widget is ever made), for the program at `executablePath` and the screen
// ScreenMetrics::current() reports.
int writeLetter(const QString &executablePath, const CommandLine &command);

} // namespace pdfcommand

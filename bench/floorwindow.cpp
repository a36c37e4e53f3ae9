// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up benchmark: the least a Qt Widgets program does to
// show a window of the main window's size, built with the program's flags,
// reporting its first frame the same way. Built once with the widget
// libraries alone and once more with every library the program links, so
// that the share of library loading shows; and once showing one line of
// Japanese text, so that the share of starting the font system (fontconfig's
// configuration, the font list, a Japanese face found for the text) shows.

#include "shell/firstframeprobe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.setFixedSize(741, 652);
#ifdef FLOOR_WITH_TEXT
    auto *line = new QLabel(QStringLiteral("送付状 宛名 印刷"), &window);
    line->move(20, 20);
#endif
    firstframeprobe::installFromEnvironment(&window);
    window.show();
    return app.exec();
}

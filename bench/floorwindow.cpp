// The floor of the start-up benchmark: the least a Qt Widgets program does to
// show a window of the main window's size, built with the program's flags,
// reporting its first frame the same way. Built once with the widget
// libraries alone and once more with every library the program links, so
// that the share of library loading shows.

#include "shell/firstframeprobe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.setFixedSize(741, 652);
    firstframeprobe::installFromEnvironment(&window);
    window.show();
    return app.exec();
}

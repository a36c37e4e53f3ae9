// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the --pdf benchmarks: the least a Qt program does to write a
// PDF of A4 pages of Japanese text (a QGuiApplication and QPdfWriter, the
// font system started, a Japanese face embedded), built with the program's
// flags. By default one page with one line; given a page and a line count,
// that many pages of that many lines, as a merge of that many letters draws.
//
//   floor_pdf FILE [PAGES LINES]

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const int pages = argc > 3 ? std::atoi(argv[2]) : 1;
    const int lines = argc > 3 ? std::atoi(argv[3]) : 1;
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(1200);
    QPainter painter(&writer);
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(200);
    painter.setFont(font);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        for (int line = 0; line < lines; ++line)
            painter.drawText(
                QPointF(1000, 1000 + 230 * line),
                QStringLiteral("拝啓　時下ますますご清栄のこととお慶び申し上げます。%1").arg(page));
    }
    return painter.end() ? 0 : 1;
}

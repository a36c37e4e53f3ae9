// The floor of the --pdf benchmark: the least a Qt program does to write a
// one-page A4 PDF with one line of Japanese text (a QGuiApplication and
// QPdfWriter, the font system started and a Japanese face embedded), built
// with the program's flags.
//
//   floor_pdf FILE

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(1200);
    QPainter painter(&writer);
    QFont font(QStringLiteral("IPAPMincho"));
    font.setPixelSize(200);
    painter.setFont(font);
    painter.drawText(QPointF(1000, 1000),
                     QStringLiteral("拝啓　時下ますますご清栄のこととお慶び申し上げます。"));
    return painter.end() ? 0 : 1;
}

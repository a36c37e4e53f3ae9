// "TXTから取得" through the main window, offscreen: from the option's click
// to the filled customer list (read, table, list entries, the list widget
// and the events it posts), on 10k, 100k and 1M lines of about 60 bytes.
// Targets: 100k lines under 300 ms, 1M lines under ten times that.

#include "customers/tflist.h"
#include "platform/cp932.h"
#include "platform/fontsubstitution.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QRadioButton>
#include <QStringListModel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
QByteArray customerFile(int lines)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(lines) * 64);
    for (int i = 0; i < lines; ++i) {
        const QString line =
            QString::fromUtf8("株式会社 ソ表能%1,山田 太郎,\"港区芝,1-1\",03-1234-5678\r\n").arg(i % 100000);
        bytes.append(cp932::encode(line));
    }
    return bytes;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fontsubstitution::install();
    struct Size { const char *name; int lines; int rounds; };
    const Size sizes[] = {{"10k", 10000, 11}, {"100k", 100000, 7}, {"1M", 1000000, 3}};
    for (const Size &size : sizes) {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("smpl1.txt")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(customerFile(size.lines));
        file.close();

        TForm1 form(dir.filePath(QStringLiteral("tavrint")));
        TFList list;
        form.setDataHolder(&list);
        form.show();
        QApplication::processEvents();

        std::vector<double> times;
        for (int round = 0; round < size.rounds; ++round) {
            form.RadioButton1->setChecked(true);
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            form.RadioButton2->setChecked(true); // the click: mode 2, read, list
            QApplication::processEvents();
            times.push_back(timer.nsecsElapsed() / 1e6);
            if (form.ListBox1Items->rowCount() != size.lines)
                return 2;
        }
        std::sort(times.begin(), times.end());
        std::printf("textlist %s lines: median %.1f ms\n", size.name, times[times.size() / 2]);
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// "TXTから取得" through the main window, offscreen: from the option's click
// to the filled customer list (read, table, list entries, the list widget
// and the events it posts), on 10k, 100k and 1M lines of about 60 bytes.
//
// Warm: repeated clicks in one window. Cold: a fresh process per round whose
// window takes its first click, as a user's first choice after a start.
// Targets: 100k lines under 300 ms, 1M lines under ten times that.

#include "benchcustomers.h"
#include "benchrow.h"

#include "customers/tflist.h"
#include "platform/cp932.h"
#include "platform/fontsubstitution.h"
#include "shell/tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QRadioButton>
#include <QStringListModel>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
// The click on "TXTから取得" in `form`; milliseconds, or a negative value when
// the list did not fill.
double clickTextSource(TForm1 &form, int lines)
{
    auto option = [&form](const char *name) {
        return form.findChild<QRadioButton *>(QLatin1String(name));
    };
    option("RadioButton1")->setChecked(true);
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    option("RadioButton2")->setChecked(true); // the click: mode 2, read, list
    QApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return form.customers().entries().size() == lines ? ms : -1;
}

// A window in the program directory `dir`, shown.
struct Window
{
    explicit Window(const QString &dir) : form(dir + QStringLiteral("/tavrint"))
    {
        form.setDataHolder(&list);
        form.show();
        QApplication::processEvents();
    }
    TForm1 form;
    TFList list;
};
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fontsubstitution::install();
    if (argc == 4 && std::strcmp(argv[1], "--cold") == 0) {
        Window window(QString::fromLocal8Bit(argv[2]));
        std::printf("%.3f\n", clickTextSource(window.form, std::atoi(argv[3])));
        return 0;
    }

    struct Size
    {
        const char *name;
        int lines;
        int warmRounds;
        int coldRounds;
        const char *target;
    };
    const Size sizes[] = {{"10k", 10000, 11, 0, "< 30 ms"},
                          {"100k", 100000, 7, 5, "< 300 ms"},
                          {"1M", 1000000, 3, 3, "< 3000 ms"}};
    for (const Size &size : sizes) {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("smpl1.txt")));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(customerFile(size.lines));
        file.close();

        std::vector<double> warm, cold;
        {
            Window window(dir.path());
            for (int round = 0; round < size.warmRounds; ++round) {
                warm.push_back(clickTextSource(window.form, size.lines));
                if (warm.back() < 0)
                    return 2;
            }
        }
        for (int round = 0; round < size.coldRounds; ++round) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--cold"), dir.path(), QString::number(size.lines)});
            if (!child.waitForFinished(120000))
                return 1;
            cold.push_back(child.readAllStandardOutput().trimmed().toDouble());
            if (cold.back() <= 0)
                return 2;
        }
        const QByteArray name = "text source click, " + QByteArray(size.name) + " lines";
        benchrow::print(QByteArray(name + ", warm").constData(), warm, size.target);
        if (!cold.empty())
            benchrow::print(QByteArray(name + ", cold").constData(), cold, size.target);
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/cupsjob.h"

#include <QTemporaryFile>

#include <cups/cups.h>

namespace cupsjob {

Result<int> submit(const QString &queue, const QByteArray &pdf, const QString &title,
                   const Options &options)
{
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size() || !file.flush())
        return fail(QStringLiteral("印刷ジョブを作れません: %1").arg(file.errorString()));

    cups_option_t *cupsOptions = nullptr;
    int count = 0;
    for (const auto &[name, value] : options)
        count = cupsAddOption(name.toUtf8().constData(), value.toUtf8().constData(), count,
                              &cupsOptions);
    count = cupsAddOption("document-format", "application/pdf", count, &cupsOptions);
    const int id = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(),
                                  QFile::encodeName(file.fileName()).constData(),
                                  title.toUtf8().constData(), count, cupsOptions);
    cupsFreeOptions(count, cupsOptions);
    if (id <= 0)
        return fail(QStringLiteral("%1 にジョブを送れません: %2")
                        .arg(queue, QString::fromUtf8(cupsLastErrorString())));
    return id;
}

QString stateOf(const QString &queue, int id)
{
    cups_job_t *jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    QString state;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id != id)
            continue;
        switch (jobs[i].state) {
        case IPP_JSTATE_PENDING:
        case IPP_JSTATE_HELD:
            state = QStringLiteral("待機中");
            break;
        case IPP_JSTATE_PROCESSING:
            state = QStringLiteral("送信中");
            break;
        case IPP_JSTATE_COMPLETED:
            state = QStringLiteral("完了");
            break;
        case IPP_JSTATE_STOPPED:
        case IPP_JSTATE_ABORTED:
            state = QStringLiteral("失敗");
            break;
        case IPP_JSTATE_CANCELED:
            state = QStringLiteral("中止");
            break;
        }
    }
    cupsFreeJobs(count, jobs);
    return state;
}

} // namespace cupsjob

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QTableWidget;

// "送付記録": the send log's rows, newest first; for a fax, the state its
// server reports now (待機中, 送信中, 完了, 失敗), asked again with 更新.
class SendLogWindow : public QDialog
{
    Q_OBJECT
public:
    SendLogWindow(const QString &programDir, QWidget *parent);

    // Reads the log and asks the servers; false (after reporting why) when
    // the log cannot be read.
    bool refresh();

    static QString caption(); // "送付記録…"

private:
    QString m_programDir;
    QTableWidget *m_table;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QMimeData;

// "添付ファイル": the PDF files that go out after the cover, each with its
// page count (or why it cannot go), to add, remove and put in order. Files
// dropped on it are added too.
class AttachmentsDialog : public QDialog
{
    Q_OBJECT
public:
    AttachmentsDialog(const QStringList &paths, QWidget *parent);

    QStringList paths() const;
    void addFiles(const QStringList &paths);

    // The local files a drag carries, when every one is a PDF by its name.
    static QStringList pdfFilesOf(const QMimeData *data);
    static QString caption(); // "添付ファイル…"

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void chooseFiles();
    void move(int step);
    void showTotal();

    QListWidget *m_list;
    class QLabel *m_total;
};

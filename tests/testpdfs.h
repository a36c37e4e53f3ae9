// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// PDF files to attach, made by the tests themselves: pages with a known
// word on each, and the ways such a file goes wrong.

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

namespace testpdfs {

// A PDF of `pages` A4 pages; page k (from 1) says "<word>PAGE<k>".
inline QByteArray pages(int pages, const QString &word = QStringLiteral("ATTACHED"))
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        QPainter painter(&writer);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSize(24);
        painter.setFont(font);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                writer.newPage();
            painter.drawText(300, 600, word + QStringLiteral("PAGE") + QString::number(page));
        }
    }
    return bytes;
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testpdfs

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the test printer received: the jobs its queue wrote as PDF files,
// and the words on their pages with where they lie.

#include <QDir>
#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

namespace printedjobs {
struct Word
{
    QString text;
    double xMin, yMin, xMax, yMax; // points, from the page's top-left
};

inline QList<Word> wordsOf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(20000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<Word> words;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                      m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

inline const Word *find(const QList<Word> &words, const QString &text)
{
    for (const Word &w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

inline QStringList jobs(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

inline QString waitForNewJob(const QString &dir, const QStringList &before, int timeoutMs = 20000)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        for (const QString &f : jobs(dir))
            if (!before.contains(f))
                return dir + QLatin1Char('/') + f;
        QTest::qWait(100);
    }
    return QString();
}

} // namespace printedjobs

// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering the page of a full letter: from the letter's texts, wrapped as
// the boxes wrap them, to the text runs; beside it the same from lines
// already wrapped, and from the text areas' own layouts on screen. Target:
// median under 5 ms.
#include "benchletter.h"
#include "benchrow.h"

#include "letter/boxmemo.h"
#include "letter/boxwrap.h"
#include "print/displaylines.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);

    const QList<RenderBox> letter = fullLetterBoxes();
    QWidget page;
    page.resize(590, 834);
    std::vector<BoxMemo *> memos;
    for (int b = 0; b < 8; ++b) {
        auto *memo = new BoxMemo(&page, QStringLiteral("Memo%1").arg(b + 1));
        memo->setFont(letter.at(b).font);
        // Wide enough that every hard line is one display line: 40 in all.
        memo->setGeometry(letter.at(b).origin.x(), letter.at(b).origin.y(), 2000, 400);
        memo->setText(letter.at(b).lines.join(QStringLiteral("\r\n")));
        memos.push_back(memo);
    }
    page.show();

    constexpr int kRounds = 200;
    std::vector<double> buildOnly, withLines, cold, wrapped;
    int lineCount = 0;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const RenderPage built = RenderPage::build(590, 834, letter, 2);
        buildOnly.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        QList<RenderBox> boxes;
        for (int b = 0; b < 8; ++b)
            boxes.append(
                RenderBox::fromFont(letter.at(b).origin, memos[b]->font(), displayLines(memos[b])));
        const RenderPage rendered = RenderPage::build(590, 834, boxes, 2);
        withLines.push_back(timer.nsecsElapsed() / 1e6);
        lineCount = int(rendered.runs().size());

        // Cold: a width change throws every memo's layout away first.
        for (BoxMemo *memo : memos)
            memo->resize(memo->width() == 2000 ? 1999 : 2000, 400);
        timer.restart();
        QList<RenderBox> fresh;
        for (int b = 0; b < 8; ++b)
            fresh.append(
                RenderBox::fromFont(letter.at(b).origin, memos[b]->font(), displayLines(memos[b])));
        const RenderPage relaid = RenderPage::build(590, 834, fresh, 2);
        cold.push_back(timer.nsecsElapsed() / 1e6);
        if (relaid.runs().size() != rendered.runs().size())
            return 1;

        // The letter's own path: every box's text wrapped afresh.
        timer.restart();
        QList<RenderBox> fromText;
        for (int b = 0; b < 8; ++b)
            fromText.append(
                RenderBox::fromFont(letter.at(b).origin, letter.at(b).font,
                                    boxwrap::lines(letter.at(b).lines.join(QStringLiteral("\r\n")),
                                                   letter.at(b).font, 2000)));
        const RenderPage fromLetter = RenderPage::build(590, 834, fromText, 2);
        wrapped.push_back(timer.nsecsElapsed() / 1e6);
        if (fromLetter.runs().size() != rendered.runs().size())
            return 1;
        if (built.runs().size() != rendered.runs().size()) {
            std::fprintf(stderr, "bench_renderpage: %d runs from the memos, %d expected\n",
                         int(rendered.runs().size()), int(built.runs().size()));
            return 1;
        }
    }
    std::printf("bench_renderpage: %d lines, %d rounds\n", lineCount, kRounds);
    benchrow::print("render page from display lines", buildOnly);
    benchrow::print("render page from the letter's texts", wrapped, "< 5 ms");
    benchrow::print("render page from the memos", withLines, "< 5 ms");
    benchrow::print("render page from the memos, relaid", cold, "< 5 ms");
    return 0;
}

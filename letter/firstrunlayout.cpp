// SPDX-License-Identifier: GPL-3.0-or-later
#include "letter/firstrunlayout.h"

#include "platform/rounding.h"

namespace {
// value * page / design, the product formed in integers, then divided exactly.
int scaled(int value, int page, int design)
{
    return rounding::halfEven(double(qint64(value) * page) / design);
}
} // namespace

FirstRunLayout FirstRunLayout::compute(const PageGeometry &page,
                                       const std::array<QRect, boxtable::kBoxCount> &frames)
{
    FirstRunLayout layout;
    layout.frames = frames;

    const int body = rounding::halfEven(page.pageHeight / 60.0);
    layout.fontPoints = {body, body, body - 2, body, body + 2, body, body, body};

    enum { A, B, C, D, E, F, G, H };
    auto &f = layout.frames;
    // Each pass scales one frame and then places A, F, D and H again, so a
    // frame scaled after it was placed is scaled from its placed value; what
    // lasts is the placement made with the final sizes.
    for (int i = 0; i < boxtable::kBoxCount; ++i) {
        QRect &r = f[i];
        const int left = scaled(r.left(), page.pageWidth, boxtable::kDesignPageWidth);
        const int width = r.width() > 40
                              ? scaled(r.width(), page.pageWidth, boxtable::kDesignPageWidth)
                              : r.width();
        const int top = scaled(r.top(), page.pageHeight, boxtable::kDesignPageHeight);
        const int height = r.height() > 35
                               ? scaled(r.height(), page.pageHeight, boxtable::kDesignPageHeight)
                               : page.minimumBoxHeight;
        r = QRect(left, top, width, height);

        f[A].moveLeft(rounding::div2(page.pageWidth - f[A].width()));
        f[F].moveLeft(rounding::div2(page.pageWidth - f[A].width())); // level with A, by A's width
        f[D].moveLeft(page.pageWidth - f[D].width() - 20);
        f[H].moveLeft(page.pageWidth - f[H].width() - 40);
        f[H].moveTop(f[C].top() - 55);
    }
    return layout;
}

FirstRunLayout FirstRunLayout::compute(const PageGeometry &page)
{
    std::array<QRect, boxtable::kBoxCount> design;
    for (int i = 0; i < boxtable::kBoxCount; ++i)
        design[i] = boxtable::box(i).design;
    return compute(page, design);
}

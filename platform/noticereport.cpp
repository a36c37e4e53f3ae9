// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/noticereport.h"

namespace noticereport {

namespace {
Presenter &currentPresenter()
{
    static Presenter presenter;
    return presenter;
}
} // namespace

void setInstance(Presenter presenter)
{
    currentPresenter() = std::move(presenter);
}

void resetInstance()
{
    currentPresenter() = nullptr;
}

void show(const QString &text)
{
    if (currentPresenter())
        currentPresenter()(text);
}

} // namespace noticereport

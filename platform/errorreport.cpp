// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errorreport.h"

namespace errorreport {

namespace {
Presenter &currentPresenter()
{
    static Presenter presenter;
    return presenter;
}
} // namespace

QString displayText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void setInstance(Presenter presenter)
{
    currentPresenter() = std::move(presenter);
}

void resetInstance()
{
    currentPresenter() = nullptr;
}

void show(const QString &message)
{
    if (currentPresenter())
        currentPresenter()(displayText(message));
}

} // namespace errorreport

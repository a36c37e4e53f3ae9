// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/errormessagebox.h"

#include "platform/errorreport.h"
#include "platform/noticereport.h"

#include <QApplication>
#include <QMessageBox>

void installMessageBoxErrorPresenter()
{
    errorreport::setInstance([](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Tavrint"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}

void installMessageBoxNoticePresenter()
{
    noticereport::setInstance([](const QString &text) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Tavrint"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    });
}

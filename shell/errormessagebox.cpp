// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/errormessagebox.h"

#include "platform/errorreport.h"

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

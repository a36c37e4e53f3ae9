// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's construction and the dispatch of widget events to the handlers
// named in the event bindings.

#include "shell/tform1.h"

#include "letter/boxmemo.h"
#include "letter/fontdialog.h"
#include "platform/screenmetrics.h"
#include "shell/panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSessionManager>
#include <QToolButton>
#include <QWheelEvent>

TForm1::TForm1(const QString &executablePath, QWidget *parent)
    : QWidget(parent), m_document(LetterModel::programDirectoryOf(executablePath),
                                  QFileInfo(executablePath).fileName(), ScreenMetrics::current())
{
    buildControls();
    bindEvents();
    bindDocument();
    bindPrintingShortcuts();
    bindPreviewShortcuts();
    bindBoxFontShortcuts();
    bindBoxFocusShortcuts();
    FormCreate();

    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager &) { sessionEnding(); });
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

namespace {
bool isPointerOrKeyEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}
} // namespace

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();

    if (type == QEvent::Wheel) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || !(w == this || isAncestorOf(w)))
            return false;
        const bool onList = w == ListBox1 || ListBox1->isAncestorOf(w);
        if (focusWidget() == ListBox1 && !onList) {
            // The wheel belongs to the focused list wherever the mouse is.
            QCoreApplication::sendEvent(ListBox1->viewport(), event);
            return true;
        }
        return FormMouseWheel(static_cast<QWheelEvent *>(event));
    }
    if (watched == qApp || !watched->isWidgetType())
        return false;

    if (m_recoveredNote && type == QEvent::MouseButtonPress &&
        (watched == this || isAncestorOf(static_cast<QWidget *>(watched))))
        m_recoveredNote->hide();

    // PDF files dropped anywhere on the page go out after the cover.
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) &&
        (watched == Pnl0 || Pnl0->isAncestorOf(static_cast<QWidget *>(watched))))
        return takeDroppedFiles(event);
    if (watched == m_attachmentsNote && type == QEvent::MouseButtonPress) {
        chooseAttachments();
        return true;
    }

    if (watched == Pnl0 || watched == Pnl1) {
        if (type == QEvent::MouseMove)
            Pnl0MouseMove();
        return false;
    }
    // The preview disables the page, and a disabled box takes no input: no
    // press, move, double click or key in a frame or text area may reach a
    // box handler (Qt shows this filter a disabled widget's events first).
    if (!Pnl0->isEnabled() && isPointerOrKeyEvent(type) &&
        Pnl0->isAncestorOf(static_cast<QWidget *>(watched)))
        return true;
    for (int i = 0; i < boxtable::kBoxCount; ++i) {
        if (watched == frames[i]) {
            auto mouse = [event] { return static_cast<QMouseEvent *>(event); };
            switch (type) {
            case QEvent::MouseButtonPress:
                PanelAMouseDown(frames[i], mouse());
                return true;
            case QEvent::MouseMove:
                if (m_drag)
                    frameDragTo(mouse()->globalPosition().toPoint());
                else
                    PanelAMouseMove(frames[i], mouse()->position().toPoint());
                return true;
            case QEvent::MouseButtonRelease:
                if (m_drag) {
                    frameDragTo(mouse()->globalPosition().toPoint());
                    finishFrameDrag();
                }
                return true;
            default:
                return false;
            }
        }
        if (watched == memos[i]) {
            if (type == QEvent::FocusIn)
                Memo1Enter(memos[i]);
            return false;
        }
        if (watched == memos[i]->viewport()) {
            // Whatever changes what the text area shows (text, font, size)
            // repaints it.
            if (type == QEvent::Paint)
                showOverflow(i);
            if (type == QEvent::MouseButtonDblClick) {
                // The focus entered on the first click, so box and font are set.
                spb2Click();
                return true;
            }
            return false;
        }
    }
    if (watched == spb5 && type == QEvent::MouseButtonRelease) {
        spb5MouseUp();
        return false;
    }
    if (watched == Label2 && type == QEvent::MouseButtonPress) {
        Label2Click();
        return false;
    }
    if (watched == Edit1 && type == QEvent::KeyPress) {
        Edit1KeyPress(static_cast<QKeyEvent *>(event));
        return false;
    }
    return false;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // Shutdown: the close query writes the layout, the close handler the box
    // texts; an error in either keeps the window open.
    if (!runClose()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The close writes the window's position.
    m_document.setWindowPos(pos());
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Qt reports the first showing as a resize from an invalid size; only
    // real size changes run the handler, so a first run keeps frame F level
    // with A until the window is resized or a frame is pressed.
    if (!event->oldSize().isValid() || event->oldSize() == event->size())
        return;
    FormResize();
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    FormKeyPress(event);
}

void TForm1::mouseMoveEvent(QMouseEvent *event)
{
    Pnl0MouseMove();
    QWidget::mouseMoveEvent(event);
}

void TForm1::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The recovery copy: within a second or two of any change, what a close
// would write is kept aside, so that a run that never reaches its close
// loses nothing; the next start applies it.

#include "shell/tform1.h"

#include "letter/recoverystore.h"
#include "shell/panel.h"
#include "shell/windowtexts.h"

#include <QLabel>
#include <QTimer>

namespace {
// A change is kept after this delay; changes within it are kept together.
constexpr int kKeepDelayMs = 1000;
} // namespace

void TForm1::keepRecoveryCopiesIn(RecoveryStore *store)
{
    m_recovery = store;
    // What the window starts with needs no copy: only what changes after
    // this does (the files of a first run are no work of the user's yet).
    m_keptCopy = store ? m_document.letter().closeFiles() : recoverycopy::Files();
    if (!m_recoveryTimer) {
        m_recoveryTimer = new QTimer(this);
        m_recoveryTimer->setObjectName(QStringLiteral("recoveryTimer"));
        m_recoveryTimer->setSingleShot(true);
        m_recoveryTimer->setInterval(kKeepDelayMs);
        connect(m_recoveryTimer, &QTimer::timeout, this, &TForm1::keepRecoveryCopy);
    }
}

void TForm1::scheduleRecoveryCopy()
{
    // The first change starts the delay; later ones within it ride along,
    // so that typing writes at most one copy a second.
    if (m_recovery && m_recoveryTimer && !m_recoveryTimer->isActive())
        m_recoveryTimer->start();
}

void TForm1::keepRecoveryCopy()
{
    if (!m_recovery || !m_recovery->isClaimed())
        return;
    const recoverycopy::Files files = m_document.letter().closeFiles();
    if (files == m_keptCopy)
        return;
    const Result<void> kept = m_recovery->keep(files);
    if (kept) {
        m_keptCopy = files;
        m_recoveryWarned = false;
    } else if (!m_recoveryWarned) {
        // Nothing the user did failed, so no message box; once per failure.
        qWarning("tavrint: cannot keep the recovery copy %s: %s",
                 qPrintable(m_recovery->copyPath()), qPrintable(kept.error()));
        m_recoveryWarned = true;
    }
}

void TForm1::showRecoveredNote()
{
    // Over the bottom of the customer list, on whichever page it shows: a
    // line on its own that the next click takes away.
    if (!m_recoveredNote) {
        m_recoveredNote = new QLabel(windowtexts::recoveredNoteText(), Pnl1);
        m_recoveredNote->setObjectName(QStringLiteral("recoveredNote"));
        m_recoveredNote->setAlignment(Qt::AlignCenter);
        m_recoveredNote->setAutoFillBackground(true);
        m_recoveredNote->setFrameShape(QFrame::Box);
        QPalette pal = m_recoveredNote->palette();
        pal.setColor(QPalette::Window, QColor(255, 255, 225));
        pal.setColor(QPalette::WindowText, Qt::black);
        m_recoveredNote->setPalette(pal);
        QFont f = font();
        f.setPixelSize(13);
        m_recoveredNote->setFont(f);
    }
    const QRect list = Panel8->geometry();
    m_recoveredNote->setGeometry(list.left(), list.bottom() - 24, list.width(), 24);
    m_recoveredNote->raise();
    m_recoveredNote->show();
    qInfo("tavrint: %s", qUtf8Printable(windowtexts::recoveredNoteText()));
}

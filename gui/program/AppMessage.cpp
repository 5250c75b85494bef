#include "gui/program/AppMessage.h"

#include "core/program/TacknoteMsg.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/NoteRegistry.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>

AppMessage::AppMessage(QTimer& tmrClip, const NoteRegistry& registry,
                       std::function<TfPostIt*()> newNote, QObject* parent)
    : QObject(parent), m_tmrClip(tmrClip), m_registry(registry), m_newNote(std::move(newNote)) {
    m_tmrClip.setInterval(LockoutMs);
    connect(&m_tmrClip, &QTimer::timeout, this, &AppMessage::tmrClipTimer);
}

void AppMessage::handle(const QByteArray& message) {
    if (message != TacknoteMsg::Capture)
        return;
    // Within five seconds of the last capture, the other signals of that burst included.
    if (m_tmrClip.isActive())
        return;
    m_tmrClip.start();

    const QPointer<TfPostIt> note = m_newNote();
    if (!note)
        return;
    // Half a second for the browser to finish with the clipboard; the interface, the
    // timers and the network go on meanwhile.
    for (int step = 0; step < PasteWaitSteps; ++step) {
        QThread::msleep(PasteWaitStepMs);
        QCoreApplication::processEvents();
    }
    // The note this capture made, even when a note arrived from the network meanwhile;
    // none when the user deleted it or the program closed during the wait.
    if (note && m_registry.slotOf(note) >= 0)
        note->mnuColarClick();
}

void AppMessage::tmrClipTimer() {
    m_tmrClip.stop();
}

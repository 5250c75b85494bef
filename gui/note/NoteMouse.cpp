#include "gui/note/NoteMouse.h"

#include "gui/note/NoteCaptionBar.h"
#include "gui/note/NoteEdit.h"
#include "gui/note/NoteHitTest.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/note/TfPostIt.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

NoteMouse::NoteMouse(TfPostIt& note, NoteCaptionBar& caption, NoteEdit& text, QWidget& footer,
                     QWidget& footerLabel)
    : QObject(&note), m_note(note), m_caption(&caption), m_text(&text), m_footer(&footer),
      m_footerLabel(&footerLabel), m_captionLabel(caption.captionLabel()),
      m_alarmIcon(caption.alarmIcon()), m_ringingIcon(caption.ringingIcon()),
      m_iconPanel(caption.iconPanel()), m_viewport(text.viewport()), m_mover(&note) {
    for (QObject* part : {static_cast<QObject*>(&note), m_caption, m_captionLabel, m_alarmIcon,
                          m_ringingIcon, m_iconPanel, m_text, m_viewport, m_footer, m_footerLabel})
        part->installEventFilter(this);
}

void NoteMouse::watchWindow(QWindow* window) {
    if (window && window != m_window) {
        m_window = window;
        window->installEventFilter(this);
    }
}

bool NoteMouse::surface(QEvent::Type type, QMouseEvent* mouse) {
    const QPoint pos = mouse->position().toPoint();
    const NoteHitTest::Zone zone =
        NoteHitTest::zoneAt(pos.x(), pos.y(), m_note.width(), m_note.height());
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_mover.press(zone, mouse->globalPosition().toPoint());
        return true;
    case QEvent::MouseMove:
        if (m_mover.drag(mouse->globalPosition().toPoint()))
            return true;
        if (mouse->buttons() == Qt::NoButton)
            m_note.setCursor(NoteHitTest::cursor(zone));
        return false;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton)
            m_mover.release();
        return false;
    default:
        return false;
    }
}

bool NoteMouse::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_window) {
        if (type == QEvent::Expose && m_window->isExposed())
            m_mover.exposed();
        return false;
    }
    const bool press = type == QEvent::MouseButtonPress;
    const bool doubleClick = type == QEvent::MouseButtonDblClick;
    const bool release = type == QEvent::MouseButtonRelease;
    auto* mouse = (press || doubleClick || release || type == QEvent::MouseMove)
                      ? static_cast<QMouseEvent*>(event)
                      : nullptr;
    if (watched == &m_note)
        return mouse && surface(type, mouse);

    QObject* const lblCaption = m_captionLabel;
    if (watched == lblCaption && type == QEvent::Enter)
        m_note.lblCaptionMouseEnter();
    // The icon panel keeps mouse events from the caption bar, all but the note's menu.
    if (watched == m_iconPanel && type == QEvent::ContextMenu) {
        m_note.popPrincipal->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (watched == m_text && type == QEvent::ShortcutOverride) {
        // The note's menu shortcuts (Ctrl+A among them) win over the text area's own.
        if (m_note.popPrincipal->hasShortcut(
                QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination())))
            return true;
    }
    if (watched == m_viewport && release && mouse->button() == Qt::LeftButton)
        m_note.memPostitClick();
    if (watched == m_alarmIcon || watched == m_ringingIcon) {
        if (doubleClick && mouse->button() == Qt::LeftButton) {
            m_note.imgAlarmeDblClick();
            return true;
        }
        if (press && mouse->button() == Qt::LeftButton) {
            if (watched == m_ringingIcon)

                m_note.imgAlarmeOnClick();
            return true;
        }
    }
    if (watched == m_caption || watched == lblCaption || watched == m_footer ||
        watched == m_footerLabel) {
        if (press) {
            // A click on the caption acknowledges a ringing alarm; the press also moves.
            if ((watched == m_caption || watched == lblCaption) &&

                mouse->button() == Qt::LeftButton)
                m_note.lblCaptionClick();
            return pnlCaptionMouseDown(mouse);
        }
        if (type == QEvent::MouseMove && m_mover.drag(mouse->globalPosition().toPoint()))
            return true;
        if (release && mouse->button() == Qt::LeftButton)
            m_mover.release();
    }
    return false;
}

bool NoteMouse::pnlCaptionMouseDown(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_mover.press(NoteHitTest::Caption, event->globalPosition().toPoint());
    // Other buttons do nothing here; the press is not passed on to the window either,
    // where it would be taken for a press on the window's own surface.
    return true;
}

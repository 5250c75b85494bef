#pragma once

#include "gui/note/NoteMover.h"

#include <QEvent>
#include <QObject>

class NoteCaptionBar;
class NoteEdit;
class QMouseEvent;
class QWindow;
class TfPostIt;

// What the mouse does on a note window: presses on the caption bar, the caption and
// the footer move the note, presses on the uncovered borders resize it, the cursor
// follows the zone under it, and the clicks on the caption, the text and the alarm
// icons reach the note's handlers. Watches the note's parts as an event filter.
class NoteMouse : public QObject {
    Q_OBJECT
public:
    NoteMouse(TfPostIt& note, NoteCaptionBar& caption, NoteEdit& text, QWidget& footer,
              QWidget& footerLabel);

    NoteMover& mover() { return m_mover; }
    // Watches the note's native window too (its first exposure), once it exists.
    void watchWindow(QWindow* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A press on the window's own surface: the borders resize, the rest stays.
    bool surface(QEvent::Type type, QMouseEvent* mouse);
    // Press on the caption bar, the caption label or the footer: a left press moves.
    bool pnlCaptionMouseDown(QMouseEvent* event);

    TfPostIt& m_note;
    // The parts watched, compared by address only: while the note is destroyed its parts
    // still send events, when the classes that hand them out have already gone.
    QObject* const m_caption;
    QObject* const m_text;
    QObject* const m_footer;
    QObject* const m_footerLabel;
    QObject* const m_captionLabel;

    QObject* const m_alarmIcon;
    QObject* const m_ringingIcon;
    QObject* const m_iconPanel;
    QObject* const m_viewport;
    QWindow* m_window = nullptr;

    NoteMover m_mover;
};

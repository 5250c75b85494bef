#pragma once

#include <QtGlobal>

// Decides what the mouse on the tray icon means for the program: a click, a double
// click, or the menu. Desktops report the mouse on a tray icon in two ways, and this
// class takes both:
//
// - The icon's own window (X11 tray): each button press, release and double-click press.
//   A left click is a press and then a release on the icon; a double-click press raises
//   the double click and its release raises nothing more; a right button release on the
//   icon, after a press on it, opens the menu.
// - Activations (D-Bus tray, or Qt's signal): a host usually turns each left click into
//   one activation and never reports a double click, so an activation that follows
//   another within the double-click interval is the double click. One that comes after a
//   double click starts over, as a third press does. Some hosts report a double click's
//   second press twice (GTK's extra double-press event): an activation within
//   SamePressMsecs of the one before is that same press and raises nothing. A double
//   click that Qt reports itself right after one made from two activations belongs to
//   the same gesture and raises nothing either. A context request opens the menu; any
//   other button breaks a pending double click.
//
// Times are milliseconds of a monotonic clock, passed in by the caller.
class TrayClicks {
public:
    enum class Gesture { None, Click, DoubleClick, Menu };
    enum class Button { Left, Right, Other };
    enum class Activation { Trigger, DoubleClick, Context, Other };

    // Closer than this, two activations are one press reported twice: nobody presses a
    // mouse button twice in that time.
    static constexpr qint64 SamePressMsecs = 50;

    explicit TrayClicks(int doubleClickInterval = 400) : m_interval(doubleClickInterval) {}

    // The desktop's double-click interval may change while the program runs.
    void setDoubleClickInterval(int msecs) { m_interval = msecs; }
    int doubleClickInterval() const { return m_interval; }

    Gesture press(Button button);
    Gesture doubleClickPress(Button button);
    Gesture release(Button button, bool onIcon);

    Gesture activation(Activation activation, qint64 msecs);

private:
    bool withinInterval(qint64 earlier, qint64 later) const;

    int m_interval;
    bool m_leftDown = false;
    bool m_rightDown = false;
    // The last activation that was raised as a click and may still become a double click.
    bool m_pendingTrigger = false;
    qint64 m_triggerAt = 0;
    // The last activation made a double click out of two; when.
    bool m_madeDouble = false;
    qint64 m_madeDoubleAt = 0;
    // When the last activation of any kind came.
    bool m_anyActivation = false;
    qint64 m_lastActivationAt = 0;
};

#include "core/program/TrayClicks.h"

#include <utility>

TrayClicks::Gesture TrayClicks::press(Button button) {
    if (button == Button::Left)
        m_leftDown = true;
    else if (button == Button::Right)
        m_rightDown = true;
    return Gesture::None;
}

TrayClicks::Gesture TrayClicks::doubleClickPress(Button button) {
    if (button == Button::Left) {
        // The release that ends this press belongs to the double click.
        m_leftDown = false;
        return Gesture::DoubleClick;
    }
    // A quick second right press is still a press that opens the menu on its release.
    return press(button);
}

TrayClicks::Gesture TrayClicks::release(Button button, bool onIcon) {
    if (button == Button::Left) {
        const bool clicked = m_leftDown && onIcon;
        m_leftDown = false;
        return clicked ? Gesture::Click : Gesture::None;
    }
    if (button == Button::Right) {
        const bool menu = m_rightDown && onIcon;
        m_rightDown = false;
        return menu ? Gesture::Menu : Gesture::None;
    }
    return Gesture::None;
}

TrayClicks::Gesture TrayClicks::activation(Activation activation, qint64 msecs) {
    const bool afterMadeDouble = std::exchange(m_madeDouble, false);
    const bool samePress = std::exchange(m_anyActivation, true) && msecs >= m_lastActivationAt &&
                           msecs - m_lastActivationAt < SamePressMsecs;
    m_lastActivationAt = msecs;
    switch (activation) {
    case Activation::Trigger:
        if (samePress) {
            // Reported twice: whatever the first report raised stands.
            m_madeDouble = afterMadeDouble;
            return Gesture::None;
        }
        if (m_pendingTrigger && withinInterval(m_triggerAt, msecs)) {
            m_pendingTrigger = false;
            m_madeDouble = true;
            m_madeDoubleAt = msecs;
            return Gesture::DoubleClick;
        }
        m_pendingTrigger = true;
        m_triggerAt = msecs;
        return Gesture::Click;
    case Activation::DoubleClick:
        m_pendingTrigger = false;
        if (afterMadeDouble && withinInterval(m_madeDoubleAt, msecs))
            return Gesture::None;
        return Gesture::DoubleClick;
    case Activation::Context:
        m_pendingTrigger = false;
        return Gesture::Menu;
    case Activation::Other:
        m_pendingTrigger = false;
        return Gesture::None;
    }
    return Gesture::None;
}

bool TrayClicks::withinInterval(qint64 earlier, qint64 later) const {
    return later >= earlier && later - earlier <= m_interval;
}

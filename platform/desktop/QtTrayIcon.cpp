#include "platform/desktop/QtTrayIcon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

// On an X11 tray Qt shows the icon in a window of this class. Qt reacts to the press of
// a button there: a left press is already its click, and a right press opens the menu.
// The program clicks on the release and opens the menu on the right button's release, so
// it takes that window's button events itself.
constexpr char IconWindowClass[] = "QSystemTrayIconSys";

TrayClicks::Button buttonOf(const QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        return TrayClicks::Button::Left;
    case Qt::RightButton:
        return TrayClicks::Button::Right;
    default:
        return TrayClicks::Button::Other;
    }
}

TrayClicks::Activation activationOf(int reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayClicks::Activation::Trigger;
    case QSystemTrayIcon::DoubleClick:
        return TrayClicks::Activation::DoubleClick;
    case QSystemTrayIcon::Context:
        return TrayClicks::Activation::Context;
    default:
        return TrayClicks::Activation::Other;
    }
}

// The start of an XInput 2 device event (a button's press or release) as the protocol
// lays it out, up to the window it happened in; the xcb library of XInput is not needed
// for this alone.
struct XiDeviceEventStart {
    uint8_t response_type;
    uint8_t extension;
    uint16_t sequence;
    uint32_t length;
    uint16_t event_type;
    uint16_t deviceid;
    uint32_t time;
    uint32_t detail;
    uint32_t root;
    uint32_t event;
};
constexpr uint16_t XiButtonRelease = 5;

// The major opcode of the X server's XInput extension, which its events carry; -1 without
// it or without a connection to the X server.
int xinputOpcode() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return -1;
    static constexpr char name[] = "XInputExtension";
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
        connection, xcb_query_extension(connection, sizeof name - 1, name), nullptr);
    const int opcode = reply && reply->present ? reply->major_opcode : -1;
    free(reply);
    return opcode;
}

} // namespace

QtTrayIcon::QtTrayIcon(QObject* parent, std::function<qint64()> msecsNow)
    : TrayIcon(parent), m_tray(new QSystemTrayIcon(this)), m_msecsNow(std::move(msecsNow)) {
    if (!m_msecsNow) {
        auto since = std::make_shared<QElapsedTimer>();
        since->start();
        m_msecsNow = [since] { return since->elapsed(); };
    }
    // The D-Bus tray reports activations only: each left click of the host arrives as a
    // Trigger, a double click as two of them, the host's context request as Context.
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
    // The X11 tray's icon window is created when a tray appears, which may be long after
    // the start, so its events are picked out of the application's.
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
    // While a dialog is modal, Qt gives the X11 tray's icon window no mouse events at
    // all; the window system's own events still show the click.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        m_xinputOpcode = xinputOpcode();
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

QtTrayIcon::~QtTrayIcon() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

void QtTrayIcon::setIcon(const QIcon& icon) {
    m_tray->setIcon(icon);
}

QIcon QtTrayIcon::icon() const {
    return m_tray->icon();
}

void QtTrayIcon::setToolTip(const QString& text) {
    m_tray->setToolTip(text);
}

void QtTrayIcon::setMenu(QMenu* menu) {
    m_menu = menu;
    // A D-Bus tray draws this menu itself, from the copy Qt exports.
    m_tray->setContextMenu(menu);
}

void QtTrayIcon::show() {
    m_tray->show();
}

void QtTrayIcon::hide() {
    m_tray->hide();
}

bool QtTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (watched->isWidgetType() && watched->inherits(IconWindowClass))
            return onIconWindowMouse(watched, static_cast<QMouseEvent*>(event));
        break;
    default:
        break;
    }
    return TrayIcon::eventFilter(watched, event);
}

bool QtTrayIcon::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    // The release ends a click, as on the icon window's own events. Qt takes the mouse
    // through XInput 2 where the X server offers it, else through the core events.
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t window = XCB_NONE;
    if ((event->response_type & 0x7f) == XCB_BUTTON_RELEASE) {
        window = static_cast<const xcb_button_release_event_t*>(message)->event;
    } else if ((event->response_type & 0x7f) == XCB_GE_GENERIC && m_xinputOpcode >= 0) {
        const auto* device = static_cast<const XiDeviceEventStart*>(message);
        if (device->extension == m_xinputOpcode && device->event_type == XiButtonRelease)
            window = device->event;
    }
    if (window == XCB_NONE || !QApplication::activeModalWidget())
        return false;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool onIcon = std::any_of(windows.cbegin(), windows.cend(), [window](QWidget* widget) {
        return widget->inherits(IconWindowClass) && widget->internalWinId() == window;
    });
    // Raised once Qt has handled (and dropped) the event, outside the window system's
    // event processing.
    if (onIcon)
        QMetaObject::invokeMethod(
            this, [] { raiseWaitingDialog(); }, Qt::QueuedConnection);
    return false;
}

bool QtTrayIcon::raiseWaitingDialog() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog)
        return false;
    // Also when the user minimized it.
    dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return true;
}

void QtTrayIcon::onActivated(int reason) {
    m_clicks.setDoubleClickInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    const TrayClicks::Gesture gesture = m_clicks.activation(activationOf(reason), m_msecsNow());
    // Each activation is timed when it is taken from the queue. What it raises waits until
    // the activations already queued behind it are timed too, so that a new note made
    // here does not make the next one look later than it came.
    QMetaObject::invokeMethod(
        this,
        [this, gesture] {
            // A host's context request carries a position that Qt does not pass on; the
            // pointer is where the user clicked.
            deliver(gesture, QCursor::pos());
        },
        Qt::QueuedConnection);
}

bool QtTrayIcon::onIconWindowMouse(QObject* window, QMouseEvent* event) {
    const TrayClicks::Button button = buttonOf(event);
    TrayClicks::Gesture gesture = TrayClicks::Gesture::None;
    if (event->type() == QEvent::MouseButtonPress) {
        gesture = m_clicks.press(button);
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        gesture = m_clicks.doubleClickPress(button);
    } else {
        const bool onIcon =
            static_cast<QWidget*>(window)->rect().contains(event->position().toPoint());
        gesture = m_clicks.release(button, onIcon);
    }
    deliver(gesture, event->globalPosition().toPoint());
    return true;
}

void QtTrayIcon::deliver(TrayClicks::Gesture gesture, const QPoint& position) {
    // While a dialog waits for an answer, the menu and the notes stay as they are: any
    // click brings that dialog to the front, wherever it lies.
    if (gesture != TrayClicks::Gesture::None && raiseWaitingDialog())
        return;
    switch (gesture) {
    case TrayClicks::Gesture::Click:
        Q_EMIT activated(Activation::Click);
        break;
    case TrayClicks::Gesture::DoubleClick:
        Q_EMIT activated(Activation::DoubleClick);
        break;
    case TrayClicks::Gesture::Menu:
        // Where Qt opened the menu on its own, it stays as it is.
        if (m_menu && !m_menu->isVisible())
            m_menu->popup(position);
        break;
    case TrayClicks::Gesture::None:
        break;
    }
}

#pragma once

#include "core/program/TrayClicks.h"
#include "platform/TrayIcon.h"

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <functional>

class QMenu;
class QMouseEvent;
class QPoint;
class QSystemTrayIcon;

// The tray icon over QSystemTrayIcon, on an X11 tray (the icon is a window of the
// program) and on a D-Bus tray (StatusNotifierItem; the desktop draws the icon and the
// menu, which Qt exports). Both deliver clicks differently; TrayClicks turns either into
// the same click, double click and menu. While a dialog waits for its answer, a click on
// the icon brings that dialog to the front on either tray.
class QtTrayIcon final : public TrayIcon, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // msecsNow: a monotonic clock in milliseconds that times the activations (tests pass
    // their own); by default the time since construction.
    explicit QtTrayIcon(QObject* parent = nullptr, std::function<qint64()> msecsNow = {});
    ~QtTrayIcon() override;

    void setIcon(const QIcon& icon) override;
    QIcon icon() const override;
    void setToolTip(const QString& text) override;
    void setMenu(QMenu* menu) override;
    void show() override;
    void hide() override;
    bool isAvailable() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void onActivated(int reason);
    bool onIconWindowMouse(QObject* window, QMouseEvent* event);
    void deliver(TrayClicks::Gesture gesture, const QPoint& position);
    // Brings the dialog that waits for an answer to the front; false when none does.
    static bool raiseWaitingDialog();

    QSystemTrayIcon* m_tray;
    QPointer<QMenu> m_menu;
    TrayClicks m_clicks;
    std::function<qint64()> m_msecsNow;
    // The X server's XInput extension, whose events carry the mouse on X11; -1: none.
    int m_xinputOpcode = -1;
};

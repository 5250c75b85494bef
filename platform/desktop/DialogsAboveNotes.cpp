#include "platform/desktop/DialogsAboveNotes.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

DialogsAboveNotes::DialogsAboveNotes(QObject* parent) : QObject(parent) {}

void DialogsAboveNotes::install() {
    qApp->installEventFilter(new DialogsAboveNotes(qApp));
}

bool DialogsAboveNotes::isDialog(const QWidget& widget) {
    return widget.isWindow() &&
           (qobject_cast<const QDialog*>(&widget) || widget.windowType() == Qt::Dialog);
}

void DialogsAboveNotes::keepAbove(QWidget& window) {
    // On the native window only: the widget's own flags stay as they are, so showing
    // it again does not create a new native window each time.
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
}

void DialogsAboveNotes::present(QWidget& window) {
    // Qt's dialogs centre themselves over their parent or the screen; any other dialog
    // the program has not placed itself goes to the middle of the screen the mouse is on
    // (where the user is looking), or of the primary screen.
    if (!qobject_cast<QDialog*>(&window) && !window.testAttribute(Qt::WA_Moved)) {
        const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
            window.setAttribute(Qt::WA_Moved, false);
        }
    }
    window.raise();
    window.activateWindow();
}

bool DialogsAboveNotes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (isDialog(*widget)) {
            // The show event comes before the window is mapped.
            keepAbove(*widget);
            present(*widget);
            // Once mapped, ask the window manager for the focus again: some give it only
            // to a window already on the screen.
            const QPointer<QWidget> shown(widget);
            QTimer::singleShot(0, widget, [shown] {
                if (shown && shown->isVisible()) {
                    shown->raise();
                    shown->activateWindow();
                }
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

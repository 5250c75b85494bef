#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs action once the modal window that trigger opens is up; then closes the window if
// the action left it open.
inline void whenModal(const std::function<void()>& trigger,
                      const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
    trigger();
}

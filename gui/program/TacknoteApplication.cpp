#include "gui/program/TacknoteApplication.h"

#include "core/base/TacknoteError.h"
#include "platform/MessageBoxes.h"
#include "platform/desktop/ScaledWindowSizeHints.h"

#include <QDebug>

TacknoteApplication::TacknoteApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tacknote"));
    setQuitOnLastWindowClosed(false);
    installEventFilter(new ScaledWindowSizeHints(this));
}

bool TacknoteApplication::notify(QObject* receiver, QEvent* event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const TacknoteError& error) {
        message = error.message();
    } catch (const std::exception& error) {
        message = QString::fromLocal8Bit(error.what());
    }
    qWarning().noquote() << message;
    if (m_boxes)
        m_boxes->error(message);
    return false;
}

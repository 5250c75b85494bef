#include "gui/program/HelpKey.h"

#include "core/program/HelpTopics.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKey::HelpKey(std::function<void(const QString& topic)> showHelp, QObject* parent)
    : QObject(parent), m_showHelp(std::move(showHelp)) {}

std::optional<QString> HelpKey::topicOf(const QWidget* widget) {
    // Up through the parents, across windows too: a dialog opened from a dialog, or a
    // menu opened from a note, takes the place of the window it belongs to.
    for (; widget; widget = widget->parentWidget()) {
        const QVariant topic = widget->property(HelpTopics::property);
        if (topic.isValid())
            return topic.toString();
    }
    return std::nullopt;
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    const std::optional<QString> topic = topicOf(static_cast<QWidget*>(watched));
    if (!topic)
        return QObject::eventFilter(watched, event);
    if (!key->isAutoRepeat()) {
        // Open menus close first, as a click elsewhere would close them.
        QWidget* popup = QApplication::activePopupWidget();
        for (QWidget* closed = nullptr; popup && popup != closed;
             popup = QApplication::activePopupWidget()) {
            closed = popup;
            popup->close();
        }
        m_showHelp(*topic);
    }
    return true;
}

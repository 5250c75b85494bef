#include "ScriptedMessageBoxes.h"

#include <QTest>
#include <utility>

void ScriptedMessageBoxes::show(Icon icon, const QString& title, const QString& text) {
    shown.append({icon, title, text});
    if (const std::function<void()> open = std::exchange(whileShown, nullptr))
        open();
}

bool ScriptedMessageBoxes::askYesNo(const QString& title, const QString& text) {
    asked.append({Icon::Question, title, text});
    if (m_answers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__,
                     __LINE__);
        return false;
    }
    return m_answers.dequeue();
}

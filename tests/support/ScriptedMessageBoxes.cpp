#include "ScriptedMessageBoxes.h"

#include <QTest>

void ScriptedMessageBoxes::show(Icon icon, const QString& title, const QString& text) {
    shown.append({icon, title, text});
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

#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <QQueue>
#include <functional>

// Records every message box and answers questions from a queue the test fills in
// advance. A question nobody prepared an answer for fails the test and is answered No.
class ScriptedMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        Icon icon;
        QString title;
        QString text;
    };

    void show(Icon icon, const QString& title, const QString& text) override;
    bool askYesNo(const QString& title, const QString& text) override;

    void answerNext(bool yes) { m_answers.enqueue(yes); }

    QList<Shown> shown;
    // Runs while a box is open, once, as the user's time in front of it: a modal box's
    // own event loop runs meanwhile.
    std::function<void()> whileShown;
    QList<Shown> asked;

private:
    QQueue<bool> m_answers;
};

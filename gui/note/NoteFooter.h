#pragma once

#include <QWidget>

class QLabel;

// The footer of a received note: one line naming the sender, as plain text, shown
// exactly when it has a text.
class NoteFooter : public QWidget {
    Q_OBJECT
public:
    explicit NoteFooter(QWidget* parent = nullptr);

    QLabel* label() const { return lblRodape; }
    QString text() const;
    void setText(const QString& text);

private:
    QLabel* lblRodape = nullptr;
};

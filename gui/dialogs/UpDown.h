#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Up-down arrows beside a number field: each click, or the Up and Down keys in the
// field, moves the field's number by one within the range. The field stays free text;
// when it holds no number the steps start from the last position.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, int position, QWidget* parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }
    // Moves to value, kept within the range, without touching the field.
    void setPosition(int value);
    // One step per unit of steps (negative: down), then writes the number into the field.
    void stepBy(int steps);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum;
    int m_maximum;
    int m_position;
};

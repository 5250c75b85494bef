#include "gui/dialogs/UpDown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, int position, QWidget* parent)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum),
      m_position(std::clamp(position, minimum, maximum)) {
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setAutoRepeat(true);
    m_up->setFocusPolicy(Qt::NoFocus);
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
    m_down->setAutoRepeat(true);
    m_down->setFocusPolicy(Qt::NoFocus);
    for (QToolButton* button : {m_up, m_down})
        button->setFixedSize(16, 11);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);

    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
    m_buddy->installEventFilter(this);
}

void UpDown::setPosition(int value) {
    m_position = std::clamp(value, m_minimum, m_maximum);
}

void UpDown::stepBy(int steps) {
    bool isNumber = false;
    const int typed = m_buddy->text().trimmed().toInt(&isNumber);
    const qint64 from = isNumber ? std::clamp(typed, m_minimum, m_maximum) : m_position;
    m_position = int(std::clamp<qint64>(from + steps, m_minimum, m_maximum));
    m_buddy->setText(QString::number(m_position));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

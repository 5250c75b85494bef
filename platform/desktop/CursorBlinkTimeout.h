#pragma once

#include <QObject>

class QTimer;

// Text cursors stop blinking once the user has left the keyboard and mouse alone for a
// while, and blink again at the next key or click: a note that keeps the keyboard focus
// then no longer wakes the program twice a second for as long as it stays open.
// Installed once on the application; it works through the desktop's cursor flash time,
// which every text field follows.
class CursorBlinkTimeout final : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 10000;

    explicit CursorBlinkTimeout(int timeoutMs = DefaultTimeoutMs, QObject* parent = nullptr);
    ~CursorBlinkTimeout() override;

    // Installs an instance owned by the application.
    static void install();

    bool blinking() const { return m_stopped == false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stop();
    void resume();

    QTimer* m_idle = nullptr;
    int m_flashTime = 0;
    bool m_stopped = false;
};

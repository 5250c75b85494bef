#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class SingleInstance;

// The messages later starts of the program send over the local channel ("activate",
// "new-note", a captured text, "show", "hide", "toggle", "quit", and the browser
// capture's own). Until the notes are loaded they wait, in their order and within
// reason; then each is handled as an event of its own, so the sender's answer goes out
// first and a box or a wait of one message does not hold up the socket.
class LocalMessages : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> activate;
        // A new note, with the text given (empty for none).
        std::function<void(const QString&)> newNote;
        std::function<void()> show;
        std::function<void()> hide;
        std::function<void()> toggle;
        std::function<void()> quit;
        // Any other message (the browser capture's).
        std::function<void(const QByteArray&)> other;
    };

    // At most this many messages wait for the notes.
    static constexpr qsizetype MaxPendingMessages = 100;

    explicit LocalMessages(Handlers handlers, QObject* parent = nullptr);

    void setChannel(SingleInstance* channel);
    SingleInstance* channel() const { return m_channel; }
    // The notes are in: waiting messages are handled now, later ones as they come.
    void start();
    // The notes are being loaded again: messages wait once more.
    void hold() { m_started = false; }
    // The program is closing: messages are no longer handled, and senders learn so.
    void close();

    void received(const QByteArray& message);

private:
    void handle(const QByteArray& message);

    Handlers m_handlers;
    SingleInstance* m_channel = nullptr;
    bool m_started = false;
    bool m_closed = false;
    QList<QByteArray> m_pending;
};

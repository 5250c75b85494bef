#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <functional>

class QIODevice;

// The capture host program's side of the browsers' native messaging. A message is UTF-8
// JSON preceded by its length in bytes as a 32-bit unsigned integer in the machine's byte
// order, on standard input from the browser and on standard output back to it.
//
// Requests are JSON objects with a "command":
//   "hello"   answers {"ok": true, "program": "Tacknote"}; the extension asks it to learn
//             which of the hosts is registered;
//   "capture" sends the capture signal to the running program and answers {"ok": true},
//             or {"ok": false, "error": ...} when no running program took it.
// Anything else is answered with {"ok": false, "error": ...}. The host never starts the
// program nor anything else.
class CaptureHost {
public:
    // Requests are a few bytes; a longer one is not from the extension.
    static constexpr quint32 MaxRequest = 4096;

    enum class Read {
        Message, // one complete message
        End,     // the input ended between messages
        Refused, // a message too long or cut short: the input cannot be trusted any more
    };
    // Reads one message. On Refused, *error (when given) says why; nothing beyond the
    // length of a message that is too long is read.
    static Read readMessage(QIODevice& input, QByteArray* message, QString* error = nullptr);
    // json with its length in front.
    static QByteArray frame(const QByteArray& json);

    // captureSignal delivers the signal; true when the running program took it.
    explicit CaptureHost(std::function<bool()> captureSignal);

    // The answer to one message.
    QJsonObject answer(const QByteArray& message) const;
    // Answers every message of input on output until input ends (status 0) or a message
    // is refused (an error answer, then status 1).
    int serve(QIODevice& input, QIODevice& output) const;

private:
    std::function<bool()> m_captureSignal;
};

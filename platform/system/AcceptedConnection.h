#pragma once

#include "platform/system/LineAssembler.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>

class QTcpSocket;
class QTimer;

// One connection accepted by ListeningSocket. It knows its peer, sends, and delivers what
// arrives as signals on the thread of the event loop: in line mode one signal per line
// (CR LF included), otherwise the bytes as they were read.
//
// A connection that keeps sending is served in shares of at most LinesPerEvent lines
// (or chunks) per event, so other events, timers included, run in between; meanwhile
// unread bytes stay with the system, which slows the peer down.
//
// Bounds: at most ReadChunk bytes are taken from the system at a time, so a line-mode
// buffer never holds more than its line limit plus one chunk; a peer that leaves more
// than MaxPendingOutput bytes of answers unread loses its connection; a close waits at
// most CloseWaitMs for unsent bytes before the connection is dropped.
class AcceptedConnection : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ReadChunk = 4096;
    static constexpr qint64 MaxPendingOutput = 64 * 1024;
    static constexpr int CloseWaitMs = 5000;
    static constexpr int LinesPerEvent = 16;

    explicit AcceptedConnection(QObject* parent = nullptr);
    ~AcceptedConnection() override;

    // The peer's numeric address in dotted form and its port, as text; likewise the
    // local end of the connection.
    QString peerAddr() const { return m_peerAddr; }
    QString peerPort() const { return m_peerPort; }
    QString localAddr() const { return m_localAddr; }
    QString localPort() const { return m_localPort; }

    // Switches to line mode from the next bytes read on.
    void setLineMode(const LineAssembler::Options& options);
    bool lineMode() const { return m_lineMode; }

    // Queues bytes for sending and hands them to the system as far as it takes them.
    void send(QByteArrayView data);
    // Closes once the current event has been handled.
    void closeDelayed();
    // Orderly close: what is queued is still sent (at most CloseWaitMs), then the
    // connection is shut. Nothing more is delivered.
    void close();
    // Drops the connection at once, discarding anything queued or unfinished.
    void abort();
    // Connected, and no close has been asked for.
    bool isConnected() const;
    // The connection has ended; its end is announced (or about to be).
    bool isEnded() const { return m_finishQueued; }
    // When the peer last sent something (or connected): a connection idle longest has
    // the earliest.
    std::chrono::steady_clock::time_point lastActivity() const { return m_lastActivity; }

Q_SIGNALS:
    // A line in line mode (CR LF included; the unfinished rest as a last line when the
    // peer closes), otherwise the bytes read.
    void dataAvailable(const QByteArray& data);
    // An unfinished line grew beyond the limit; the buffered bytes are gone.
    void lineLimitExceeded();
    // The connection has ended (by either side); emitted once, from the event loop.
    void sessionClosed();

private:
    friend class ListeningSocket;
    // Takes over an accepted connection.
    void attach(QTcpSocket* socket);

    void readAvailable();
    // Delivers up to budget lines or chunks (-1: everything there is) and continues from
    // the event loop when more is waiting.
    void process(int budget);
    void continueLater();
    void onDisconnected();
    void finish();

    QTcpSocket* m_socket;
    QTimer* m_closeTimer;
    QTimer* m_continueTimer;
    LineAssembler m_lines;
    bool m_lineMode = false;
    bool m_closeRequested = false;
    bool m_finishQueued = false;
    QString m_peerAddr;
    QString m_peerPort;
    QString m_localAddr;
    QString m_localPort;
    std::chrono::steady_clock::time_point m_lastActivity = std::chrono::steady_clock::now();
};

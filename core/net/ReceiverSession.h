#pragma once

#include "core/net/ReceivedNoteBuilder.h"
#include "core/net/ReceivedNoteQuota.h"
#include "platform/system/LineAssembler.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class Clock;
class ReceivedNoteSink;
struct NetworkSettings;

// One connection of the note receiver, without its socket: it is fed the lines its
// connection cuts from what the peer sends (in LineMode) and answers through callbacks,
// so the same code runs behind a real socket and in tests and fuzzing.
//
// Each line is logged; a line from a blocked peer has no other effect, nor has a line
// equal to the last one taken from any connection of the receiver. The commands of a
// line are carried out in order: "help" is answered, "exit" closes once the line is
// done, "new" starts a note when ReceivedNoteQuota and the registry allow it (otherwise
// the connection closes), "alarm", "line" and "end" fill and end it. A faulty command
// drops the connection. A note still in progress when another "new" comes or the
// connection ends is ended with what arrived of it, so the user sees it.
class ReceiverSession {
public:
    // Bytes of a line whose CR LF has not arrived yet before the connection is closed.
    static constexpr int LineLimit = 80;
    // How the connection cuts what arrives into lines: line editing on, and an unfinished
    // line beyond LineLimit reported (lineLimitExceeded) and dropped.
    static constexpr LineAssembler::Options LineMode{LineLimit, true,
                                                     LineAssembler::Overflow::ReportAndClear};

    enum class Close {
        AfterThisEvent, // once the current event has been handled ("exit")
        Orderly,        // what was answered still goes out
        Drop,           // at once, discarding anything queued
    };

    // What the sessions of one receiver share.
    struct Shared {
        ReceivedNoteSink& sink;
        ReceivedNoteBuilder builder;
        ReceivedNoteQuota quota;
        // The block settings, read at every line.
        const NetworkSettings& settings;
        const Clock& clock;
        // Adds a line to the receiver's log.
        std::function<void(const QString&)> log;
        // A peer's note was refused for a reason, and its connection closed.
        std::function<void(const QString& peerAddr, ReceivedNoteQuota::Verdict reason)> refused;
        // The last line taken for processing, from whichever connection; never cleared.
        QString lastAcceptedLine;
    };

    // The session's way to its peer.
    struct Output {
        std::function<void(QByteArrayView bytes)> send;
        std::function<void(Close how)> close;
    };

    // A session for a connection from peerAddr (numeric, dotted), accepted now.
    ReceiverSession(Shared& shared, QString peerAddr, Output output);

    const QString& peerAddr() const { return m_peerAddr; }
    // A close has been asked for: nothing more is answered nor handled.
    bool closing() const { return m_closing; }
    // Number of the note being received; -1 for none.
    int noteInProgress() const { return m_note; }

    // A line as the connection hands it over, CR LF included (the unfinished rest as a
    // last line when the peer closes).
    void lineReceived(QByteArrayView line);
    // The unfinished line grew beyond LineLimit: the connection closes.
    void lineLimitExceeded();
    // The connection has ended, by either side: a note in progress is ended and the
    // connection's duration logged.
    void closed();

private:
    void processLine(const QString& line);
    // One command; false when it closed the connection, so the rest of the line goes.
    bool runCommand(const QStringList& fields);
    // "new": a note when the quota and the registry allow it; otherwise the connection
    // closes and the answer is false.
    bool beginNote(const QStringList& fields);
    // Ends the note in progress, if any, as "end" would.
    void endNote();
    void send(QByteArrayView bytes);
    void close(Close how);
    void fail(const QString& className, const QString& message);

    Shared& m_shared;
    QString m_peerAddr;
    Output m_output;
    QDateTime m_connectTime;
    bool m_closing = false;
    int m_note = -1;
    // The text received so far for that note.
    ReceivedNoteBuilder::TextBudget m_text;
};

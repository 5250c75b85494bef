#pragma once

#include "core/net/ReceivedNoteQuota.h"
#include "core/net/ReceiverSession.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Clock;
class LocaleInfo;
class ReceivedNoteSink;
class AcceptedConnection;
class ListeningSocket;
struct NetworkSettings;

// The note receiver: listens on the port of the PortTCP setting, accepts connections
// from other computers, reads their commands line by line and hands the notes they
// describe to the registry through a ReceivedNoteSink; a ReceiverSession handles each
// connection. Everything it does goes to a diagnostic log, DisplayMemo. All of it runs
// on the thread of the event loop.
//
// The block settings are read from the settings record at every received line, so a
// change takes effect for the next line. At most ListeningSocket::MaxConnections peers
// are connected at a time (a newcomer closes the connection idle longest); a peer's
// unfinished line may hold at most LineLimit bytes. A "new" that ReceivedNoteQuota
// refuses makes no note and closes the connection, which is how a peer learns it.
class NoteReceiver : public QObject {
    Q_OBJECT
public:
    // Bytes of a line whose CR LF has not arrived yet before the connection is closed.
    static constexpr int LineLimit = ReceiverSession::LineLimit;
    // Lines the log keeps; beyond that the oldest LogDrop lines go.
    static constexpr int LogCap = 200;
    static constexpr int LogDrop = 50;

    // soundDir is the folder of the default alarm sound.
    NoteReceiver(ReceivedNoteSink& sink, const NetworkSettings& settings, const Clock& clock,
                 const LocaleInfo& locale, const QString& soundDir, QObject* parent = nullptr);
    ~NoteReceiver() override;

    // Starts listening on all IPv4 interfaces at PortTCP; nothing when already
    // listening. Throws TacknoteError with the system's message when the port cannot be
    // used (taken, or not a port number); the listener then stays closed.
    void StartNoteServer();
    // Stops listening; connections already accepted go on until they end.
    void StopNoteServer();
    bool isListening() const;
    // The port listened on (the actual one when PortTCP is "0"); 0 when closed.
    quint16 port() const;
    int connectionCount() const;

    // Adds a line to the log; when it already holds more than LogCap lines, the LogDrop
    // oldest go first.
    void LogNetEvent(const QString& text);
    const QStringList& DisplayMemo() const { return m_displayMemo; }

Q_SIGNALS:
    // A line was added to the log.
    void netEventLogged(const QString& text);
    // A peer's note was refused (and its connection closed) for reason.
    void noteRefused(const QString& peerAddr, ReceivedNoteQuota::Verdict reason);

private:
    void WSocketServer1ClientConnect(AcceptedConnection* client);
    void WSocketServer1ClientDisconnect(AcceptedConnection* client);
    void WSocketServer1BgException(const QString& className, const QString& message);

    const NetworkSettings& m_settings;
    ReceiverSession::Shared m_shared;
    ListeningSocket* WSocketServer1;
    QStringList m_displayMemo;
};

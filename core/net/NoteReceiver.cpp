#include "core/net/NoteReceiver.h"

#include "core/base/TacknoteError.h"
#include "core/net/BlockList.h"
#include "core/net/NoteProtocol.h"
#include "core/net/ProtocolError.h"
#include "core/net/ReceivedNoteSink.h"
#include "core/net/ReceiverConnection.h"
#include "core/settings/NetworkSettings.h"
#include "platform/Clock.h"
#include "platform/system/ListeningSocket.h"

namespace {

// A time span as hours, minutes and seconds of one day: "hh:nn:ss".
QString durationText(qint64 seconds) {
    seconds = (seconds < 0 ? -seconds : seconds) % (24 * 3600);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

NoteReceiver::NoteReceiver(ReceivedNoteSink& sink, const NetworkSettings& settings,
                           const Clock& clock, const LocaleInfo& locale, const QString& soundDir,
                           QObject* parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_sink(sink),
      m_builder(sink, locale, soundDir), WSocketServer1(new ListeningSocket(this)) {
    WSocketServer1->setBanner(NoteProtocol::Banner);
    WSocketServer1->setClientFactory([](QObject* owner) { return new ReceiverConnection(owner); });
    connect(WSocketServer1, &ListeningSocket::clientConnected, this,
            &NoteReceiver::WSocketServer1ClientConnect);
    connect(WSocketServer1, &ListeningSocket::clientDisconnected, this,
            &NoteReceiver::WSocketServer1ClientDisconnect);
    connect(WSocketServer1, &ListeningSocket::bgException, this,
            &NoteReceiver::WSocketServer1BgException);
    connect(WSocketServer1, &ListeningSocket::clientRefused, this, [this](const QString& peer) {
        LogNetEvent(QStringLiteral("Client refused, too many connections. Remote: ") + peer);
    });
    connect(WSocketServer1, &ListeningSocket::clientEvicted, this, [this](const QString& peer) {
        LogNetEvent(QStringLiteral("Too many connections, closing the one idle longest. Remote: ") +
                    peer);
    });
}

NoteReceiver::~NoteReceiver() {
    // The connections end before the log and the settings they report to.
    delete WSocketServer1;
}

void NoteReceiver::StartNoteServer() {
    if (WSocketServer1->isListening())
        return;
    bool ok = false;
    const uint port = m_settings.PortTCP.trimmed().toUInt(&ok);
    if (!ok || port > 65535)
        throw TacknoteError(QStringLiteral("Invalid port number '%1'").arg(m_settings.PortTCP));
    WSocketServer1->listen(quint16(port));
    LogNetEvent(QStringLiteral("Waiting for clients..."));
}

void NoteReceiver::StopNoteServer() {
    WSocketServer1->close();
}

bool NoteReceiver::isListening() const {
    return WSocketServer1->isListening();
}

quint16 NoteReceiver::port() const {
    return WSocketServer1->port();
}

int NoteReceiver::connectionCount() const {
    return WSocketServer1->clientCount();
}

void NoteReceiver::LogNetEvent(const QString& text) {
    if (m_displayMemo.size() > LogCap)
        m_displayMemo.remove(0, LogDrop);
    m_displayMemo.append(text);
    Q_EMIT netEventLogged(text);
}

void NoteReceiver::WSocketServer1ClientConnect(AcceptedConnection* socket) {
    auto* client = static_cast<ReceiverConnection*>(socket);
    LogNetEvent(QStringLiteral("Client connected. Remote: ") + client->peerAddr() +
                QLatin1Char('/') + client->peerPort() + QStringLiteral(" Local: ") +
                client->localAddr() + QLatin1Char('/') + client->localPort());
    client->setLineMode({LineLimit, true, LineAssembler::Overflow::ReportAndClear});
    connect(client, &AcceptedConnection::dataAvailable, this,
            [this, client](const QByteArray& line) { ClientDataAvailable(client, line); });
    connect(client, &AcceptedConnection::lineLimitExceeded, this,
            [this, client] { ClientLineLimitExceeded(client); });
    client->ConnectTime = m_clock.now();
}

void NoteReceiver::WSocketServer1ClientDisconnect(AcceptedConnection* socket) {
    auto* client = static_cast<ReceiverConnection*>(socket);
    LogNetEvent(QStringLiteral("Client disconnecting: ") + client->peerAddr() +
                QStringLiteral("   Duration: ") +
                durationText(client->ConnectTime.secsTo(m_clock.now())));
}

void NoteReceiver::WSocketServer1BgException(const QString& className, const QString& message) {
    LogNetEvent(QStringLiteral("Server exception occured: ") + className + QStringLiteral(": ") +
                message);
}

void NoteReceiver::ClientLineLimitExceeded(ReceiverConnection* client) {
    LogNetEvent(QStringLiteral("Line limit exceeded from ") + client->peerAddr() +
                QStringLiteral(". Closing."));
    client->close();
}

void NoteReceiver::ClientBgException(ReceiverConnection* client, const QString& className,
                                     const QString& message) {
    LogNetEvent(QStringLiteral("Client exception occured: ") + className + QStringLiteral(": ") +
                message);
    client->abort();
}

void NoteReceiver::ClientDataAvailable(ReceiverConnection* client, const QByteArray& line) {
    try {
        client->RcvdLine = NoteProtocol::stripLineEnd(line);
        LogNetEvent(QStringLiteral("Received from ") + client->peerAddr() + QStringLiteral(": '") +
                    client->RcvdLine + QLatin1Char('\''));
        if (BlockList::IsBlocked(m_settings, client->peerAddr()))
            return;
        if (client->RcvdLine == m_lastAcceptedLine)
            return;
        m_lastAcceptedLine = client->RcvdLine;
        ProcessReceivedLine(client);
    } catch (const ProtocolError& error) {
        ClientBgException(client, QStringLiteral("ProtocolError"), error.message());
    } catch (const TacknoteError& error) {
        ClientBgException(client, QStringLiteral("TacknoteError"), error.message());
    } catch (const std::exception& error) {
        ClientBgException(client, QStringLiteral("std::exception"),
                          QString::fromLocal8Bit(error.what()));
    }
}

void NoteReceiver::ProcessReceivedLine(ReceiverConnection* client) {
    const QList<QStringList> commands = NoteProtocol::splitCommands(client->RcvdLine);
    for (const QStringList& fields : commands) {
        if (!runCommand(client, fields))
            break;
    }
}

bool NoteReceiver::runCommand(ReceiverConnection* client, const QStringList& fields) {
    using NoteProtocol::isCommand;
    if (isCommand(fields, QLatin1StringView("help"))) {
        client->send(NoteProtocol::HelpText);
    } else if (isCommand(fields, QLatin1StringView("exit"))) {
        client->closeDelayed();
    } else if (isCommand(fields, QLatin1StringView("new"))) {
        return beginNote(client, fields);
    } else if (client->NoteInProgress < 0) {
        // "alarm", "line" and "end" need a note in progress; other names mean nothing.
    } else if (isCommand(fields, QLatin1StringView("alarm"))) {
        m_builder.applyAlarm(client->NoteInProgress, fields);
    } else if (isCommand(fields, QLatin1StringView("line"))) {
        const bool wasFull = client->NoteText.full;
        m_builder.appendLine(client->NoteInProgress, fields, client->NoteText);
        if (client->NoteText.full && !wasFull)
            LogNetEvent(QStringLiteral("Note text limit reached from ") + client->peerAddr() +
                        QStringLiteral(". Further lines dropped."));
    } else if (isCommand(fields, QLatin1StringView("end"))) {
        m_builder.end(client->NoteInProgress);
        client->NoteInProgress = -1;
    }
    return true;
}

bool NoteReceiver::beginNote(ReceiverConnection* client, const QStringList& fields) {
    client->NoteText = {};
    client->NoteInProgress = -1;
    ReceivedNoteQuota::Verdict verdict =
        m_quota.admit(client->peerAddr(), m_sink.notesHeld(), m_clock.now());
    if (verdict == ReceivedNoteQuota::Verdict::Accepted) {
        client->NoteInProgress = m_builder.begin();
        if (client->NoteInProgress >= 0) {
            m_builder.fillNew(client->NoteInProgress, fields, client->peerAddr());
            return true;
        }
        verdict = ReceivedNoteQuota::Verdict::DesktopFull;
    }
    LogNetEvent(QStringLiteral("Note refused from ") + client->peerAddr() +
                (verdict == ReceivedNoteQuota::Verdict::SenderOverBurst
                     ? QStringLiteral(": too many notes from this sender. Closing.")
                     : QStringLiteral(": no room left for received notes. Closing.")));
    client->close();
    Q_EMIT noteRefused(client->peerAddr(), verdict);
    return false;
}

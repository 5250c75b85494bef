#include "core/net/NoteReceiver.h"

#include "core/base/TacknoteError.h"
#include "core/net/NoteProtocol.h"
#include "core/net/ReceiverConnection.h"
#include "core/settings/NetworkSettings.h"
#include "platform/system/ListeningSocket.h"

NoteReceiver::NoteReceiver(ReceivedNoteSink& sink, const NetworkSettings& settings,
                           const Clock& clock, const LocaleInfo& locale, const QString& soundDir,
                           QObject* parent)
    : QObject(parent),
      m_settings(settings), m_shared{
                                sink,
                                ReceivedNoteBuilder(sink, locale, soundDir),
                                ReceivedNoteQuota(),
                                settings,
                                clock,
                                [this](const QString& text) { LogNetEvent(text); },
                                [this](const QString& peerAddr, ReceivedNoteQuota::Verdict reason) {
                                    Q_EMIT noteRefused(peerAddr, reason);
                                },
                                QString()},
      WSocketServer1(new ListeningSocket(this)) {
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
    client->setLineMode(ReceiverSession::LineMode);
    client->session = std::make_unique<ReceiverSession>(
        m_shared, client->peerAddr(),
        ReceiverSession::Output{[client](QByteArrayView bytes) { client->send(bytes); },
                                [client](ReceiverSession::Close how) {
                                    switch (how) {
                                    case ReceiverSession::Close::AfterThisEvent:
                                        client->closeDelayed();
                                        break;
                                    case ReceiverSession::Close::Orderly:
                                        client->close();
                                        break;
                                    case ReceiverSession::Close::Drop:
                                        client->abort();
                                        break;
                                    }
                                }});
    ReceiverSession* session = client->session.get();
    connect(client, &AcceptedConnection::dataAvailable, this,
            [session](const QByteArray& line) { session->lineReceived(line); });
    connect(client, &AcceptedConnection::lineLimitExceeded, this,
            [session] { session->lineLimitExceeded(); });
}

void NoteReceiver::WSocketServer1ClientDisconnect(AcceptedConnection* socket) {
    static_cast<ReceiverConnection*>(socket)->session->closed();
}

void NoteReceiver::WSocketServer1BgException(const QString& className, const QString& message) {
    LogNetEvent(QStringLiteral("Server exception occured: ") + className + QStringLiteral(": ") +
                message);
}

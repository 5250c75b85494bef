#include "core/net/NoteSender.h"

#include "core/net/NoteProtocol.h"
#include "core/store/Rotinas.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QTimer>

NoteSender::NoteSender(const LocaleInfo& locale, QObject* parent)
    : QObject(parent), m_locale(locale), sockCliente(new QTcpSocket(this)),
      tmrConecta(new QTimer(this)), tmrPausa(new QTimer(this)), m_closeTimer(new QTimer(this)) {
    tmrConecta->setSingleShot(true);
    tmrConecta->setInterval(ConnectTimeoutMs);
    connect(tmrConecta, &QTimer::timeout, this, &NoteSender::tmrConectaTimer);
    tmrPausa->setSingleShot(true);
    tmrPausa->setTimerType(Qt::PreciseTimer);
    tmrPausa->setInterval(PauseMs);
    connect(tmrPausa, &QTimer::timeout, this, &NoteSender::sendCommands);
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(CloseWaitMs);
    connect(m_closeTimer, &QTimer::timeout, this, [this] {
        const QSignalBlocker blocker(sockCliente);
        sockCliente->abort();
        socketClosed();
    });

    connect(sockCliente, &QTcpSocket::connected, this, [this] {
        if (m_connecting)
            endConnect(true);
    });
    connect(sockCliente, &QTcpSocket::bytesWritten, this, [this] {
        if (m_waitingForWrite && sockCliente->bytesToWrite() == 0)
            pauseWhenWritten();
    });
    connect(sockCliente, &QTcpSocket::disconnected, this, [this] {
        if (m_closing)
            QMetaObject::invokeMethod(this, &NoteSender::socketClosed, Qt::QueuedConnection);
        else if (m_transmitting)
            lossNoticed();
    });
    // The receiver has nothing to say to a sender but its banner: whatever arrives is
    // dropped at once, so a peer cannot fill the memory by talking.
    connect(sockCliente, &QTcpSocket::readyRead, this,
            [this] { sockCliente->skip(sockCliente->bytesAvailable()); });
    connect(sockCliente, &QTcpSocket::errorOccurred, this, [this] {
        if (m_connecting) {
            {
                const QSignalBlocker blocker(sockCliente);
                sockCliente->abort();
            }
            endConnect(false);
        } else if (sockCliente->state() == QAbstractSocket::UnconnectedState) {
            if (m_closing)
                QMetaObject::invokeMethod(this, &NoteSender::socketClosed, Qt::QueuedConnection);
            else if (m_transmitting)
                lossNoticed();
        }
    });
}

NoteSender::~NoteSender() {
    cancel();
}

QStringList NoteSender::recipientsFrom(const QString& text) {
    QStringList recipients;
    Rotinas::SplitFields(text, u",", false, recipients);
    return recipients;
}

void NoteSender::setConnectTimeout(int milliseconds) {
    tmrConecta->setInterval(milliseconds);
}

bool NoteSender::send(const QStringList& recipients, const OutgoingNote& note, const QString& user,
                      const QString& port) {
    if (m_sending)
        return false;
    m_sending = true;
    m_errors = false;
    m_recipients = recipients;
    m_nextRecipient = 0;
    m_note = note;
    m_user = user;
    m_port = port;
    QMetaObject::invokeMethod(this, &NoteSender::nextRecipient, Qt::QueuedConnection);
    return true;
}

void NoteSender::cancel() {
    m_sending = false;
    m_connecting = false;
    m_closing = false;
    m_waitingForWrite = false;
    m_transmitting = false;
    ++m_attempt;
    if (m_lookupId >= 0)
        QHostInfo::abortHostLookup(m_lookupId);
    m_lookupId = -1;
    tmrConecta->stop();
    tmrPausa->stop();
    m_closeTimer->stop();
    const QSignalBlocker blocker(sockCliente);
    sockCliente->abort();
}

void NoteSender::nextRecipient() {
    if (!m_sending)
        return;
    if (m_nextRecipient >= m_recipients.size()) {
        m_sending = false;
        Q_EMIT finished(m_errors);
        return;
    }
    m_recipient = m_recipients[m_nextRecipient++];
    ConnectWithTimeout(m_recipient, m_port);
}

void NoteSender::ConnectWithTimeout(const QString& address, const QString& port) {
    {
        const QSignalBlocker blocker(sockCliente);
        sockCliente->abort();
    }
    const quint64 attempt = ++m_attempt;
    m_connecting = true;
    bool portOk = false;
    const uint portNumber = port.trimmed().toUInt(&portOk);
    const QString host = address.trimmed();
    static const QRegularExpression dottedDigits(QStringLiteral("^[0-9.]+$"));
    if (!portOk || portNumber < 1 || portNumber > 65535) {
        QMetaObject::invokeMethod(
            this,
            [this, attempt] {
                if (attempt == m_attempt && m_connecting)
                    endConnect(false);
            },
            Qt::QueuedConnection);
        return;
    }
    m_connectPort = quint16(portNumber);
    if (dottedDigits.match(host).hasMatch()) {
        // An address is taken as it is; its result still comes from the event loop.
        QHostInfo info;
        QHostAddress literal;
        if (literal.setAddress(host) && literal.protocol() == QAbstractSocket::IPv4Protocol)
            info.setAddresses({literal});
        QMetaObject::invokeMethod(
            this, [this, attempt, info] { connectResolved(attempt, info); }, Qt::QueuedConnection);
        return;
    }
    m_lookupId = QHostInfo::lookupHost(
        host, this, [this, attempt](const QHostInfo& info) { connectResolved(attempt, info); });
}

void NoteSender::connectResolved(quint64 attempt, const QHostInfo& info) {
    if (attempt != m_attempt || !m_connecting)
        return;
    m_lookupId = -1;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol) {
            tmrConecta->start();
            sockCliente->connectToHost(address, m_connectPort);
            return;
        }
    }
    endConnect(false);
}

void NoteSender::tmrConectaTimer() {
    if (!m_connecting)
        return;
    // The attempt is abandoned, so the next one starts from a closed socket.
    {
        const QSignalBlocker blocker(sockCliente);
        sockCliente->abort();
    }
    endConnect(false);
}

void NoteSender::endConnect(bool connected) {
    m_connecting = false;
    tmrConecta->stop();
    Q_EMIT connectDone(connected);
    if (m_sending)
        recipientConnected(connected);
}

void NoteSender::recipientConnected(bool connected) {
    if (!connected) {
        recipientNotServed(tr("Não foi possível conectar em %1 !").arg(m_recipient));
        return;
    }
    Q_EMIT status(tr("Enviando para %1...").arg(m_recipient));
    Q_EMIT status(tr("Transmitindo Nota..."));
    m_commands.clear();
    m_commands.append({NoteProtocol::newCommand(m_note, m_user), false});
    if (m_note.alarm)
        m_commands.append({NoteProtocol::alarmCommand(m_note, m_locale), false});
    for (const QString& line : std::as_const(m_note.lines))
        m_commands.append({NoteProtocol::lineCommand(line), true});
    m_commands.append({NoteProtocol::endCommand(), true});
    m_nextCommand = 0;
    m_transmitting = true;
    sendCommands();
}

void NoteSender::recipientNotServed(const QString& message) {
    QPointer<NoteSender> self(this);
    Q_EMIT recipientFailed(message);
    if (!self || !m_sending)
        return;
    Q_EMIT status(message);
    m_errors = true;
    QMetaObject::invokeMethod(this, &NoteSender::nextRecipient, Qt::QueuedConnection);
}

void NoteSender::sendCommands() {
    if (!m_sending)
        return;
    while (m_nextCommand < m_commands.size()) {
        const Command& command = m_commands[m_nextCommand++];
        if (sockCliente->state() != QAbstractSocket::ConnectedState || !SendLine(command.text)) {
            connectionLost();
            return;
        }
        if (command.pauseAfter) {
            pauseWhenWritten();
            return;
        }
    }
    Q_EMIT status(tr("OK!"));
    CloseClient();
}

void NoteSender::lossNoticed() {
    // Handled from the event loop, never inside a write that noticed it.
    QMetaObject::invokeMethod(
        this,
        [this, attempt = m_attempt] {
            if (attempt == m_attempt)
                connectionLost();
        },
        Qt::QueuedConnection);
}

void NoteSender::connectionLost() {
    if (!m_sending || !m_transmitting)
        return;
    m_transmitting = false;
    m_waitingForWrite = false;
    tmrPausa->stop();
    {
        const QSignalBlocker blocker(sockCliente);
        sockCliente->abort();
    }
    recipientNotServed(tr("A conexão com %1 caiu antes do fim da nota!").arg(m_recipient));
}

bool NoteSender::SendLine(QByteArrayView text) {
    if (sockCliente->state() != QAbstractSocket::ConnectedState)
        return true;
    QByteArray bytes;
    bytes.reserve(text.size() + 2);
    bytes.append(text.data(), text.size());
    bytes.append("\r\n");
    if (sockCliente->write(bytes) != bytes.size())
        return false;
    // Handed to the system now, not when the event loop next runs.
    sockCliente->flush();
    return true;
}

void NoteSender::pauseWhenWritten() {
    if (sockCliente->state() != QAbstractSocket::ConnectedState) {
        // What was written last may not have left: the note is not complete.
        connectionLost();
        return;
    }
    if (sockCliente->bytesToWrite() > 0) {
        m_waitingForWrite = true;
        return;
    }
    m_waitingForWrite = false;
    // Once "end" has left, the note is complete whatever becomes of the connection.
    if (m_nextCommand >= m_commands.size())
        m_transmitting = false;
    tmrPausa->start();
}

void NoteSender::CloseClient() {
    if (m_closing)
        return;
    m_closing = true;
    if (sockCliente->state() != QAbstractSocket::ConnectedState) {
        {
            const QSignalBlocker blocker(sockCliente);
            sockCliente->abort();
        }
        QMetaObject::invokeMethod(this, &NoteSender::socketClosed, Qt::QueuedConnection);
        return;
    }
    m_closeTimer->start();
    sockCliente->disconnectFromHost();
}

void NoteSender::socketClosed() {
    if (!m_closing)
        return;
    m_closing = false;
    m_closeTimer->stop();
    Q_EMIT clientClosed();
    if (!m_sending)
        return;
    Q_EMIT status(tr("Nota Enviada!"));
    QMetaObject::invokeMethod(this, &NoteSender::nextRecipient, Qt::QueuedConnection);
}

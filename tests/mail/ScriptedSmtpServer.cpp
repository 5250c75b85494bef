#include "tests/mail/ScriptedSmtpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

ScriptedSmtpServer::ScriptedSmtpServer(QObject* parent)
    : QObject(parent), m_server(new QTcpServer(this)) {
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, &ScriptedSmtpServer::onNewConnection);
}

ScriptedSmtpServer::~ScriptedSmtpServer() = default;

quint16 ScriptedSmtpServer::port() const {
    return m_server->serverPort();
}

void ScriptedSmtpServer::on(const QByteArray& prefix, const QByteArray& reply) {
    m_rules.append({prefix, reply});
}

void ScriptedSmtpServer::onAll(const QByteArrayList& prefixesAndReplies) {
    for (qsizetype i = 0; i + 1 < prefixesAndReplies.size(); i += 2)
        on(prefixesAndReplies.at(i), prefixesAndReplies.at(i + 1));
}

void ScriptedSmtpServer::hangUp() {
    if (m_client)
        m_client->disconnectFromHost();
}

void ScriptedSmtpServer::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++connections;
        if (m_client)
            m_client->abort();
        m_client = socket;
        m_pending.clear();
        m_inMessage = false;
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedSmtpServer::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            ++disconnections;
            if (m_client == socket)
                m_client = nullptr;
            socket->deleteLater();
            Q_EMIT clientDisconnected();
        });
        if (!banner.isEmpty())
            socket->write(banner);
    }
}

void ScriptedSmtpServer::onReadyRead() {
    auto* socket = qobject_cast<QTcpSocket*>(sender());
    if (socket != m_client)
        return;
    m_pending += socket->readAll();
    for (;;) {
        const qsizetype end = m_pending.indexOf("\r\n");
        if (end < 0)
            return;
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 2);
        handleLine(line);
        Q_EMIT lineHandled();
        if (!m_client)
            return;
    }
}

void ScriptedSmtpServer::handleLine(const QByteArray& line) {
    if (m_inMessage) {
        if (line == ".") {
            m_inMessage = false;
            messageComplete = true;
            reply(messageReply);
        } else {
            messageLines.append(line);
        }
        return;
    }
    commands.append(line);
    QByteArray answer = defaultReply(line);
    for (Rule& rule : m_rules) {
        if (!rule.used && line.startsWith(rule.prefix)) {
            rule.used = true;
            answer = rule.reply;
            break;
        }
    }
    if (answer.startsWith("354"))
        m_inMessage = true;
    reply(answer);
    if (line == "QUIT" && answer.startsWith("221") && m_client)
        m_client->disconnectFromHost();
}

void ScriptedSmtpServer::reply(const QByteArray& text) {
    if (!m_client || text == "<silent>")
        return;
    if (text == "<close>") {
        m_client->disconnectFromHost();
        return;
    }
    m_client->write(text.endsWith("\r\n") ? text : text + "\r\n");
}

QByteArray ScriptedSmtpServer::defaultReply(const QByteArray& line) const {
    const QByteArray verb = line.left(line.indexOf(' ')).toUpper();
    if (verb == "EHLO" || verb == "HELO")
        return "250 scripted.test";
    if (verb == "MAIL" || verb == "RCPT" || verb == "RSET" || verb == "VRFY")
        return "250 OK";
    if (line == "DATA")
        return "354 End data with <CR><LF>.<CR><LF>";
    if (line == "QUIT")
        return "221 Bye";
    return "500 Unrecognized command";
}

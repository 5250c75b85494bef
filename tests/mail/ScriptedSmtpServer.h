#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;

// A mail server on a loopback port that plays a given dialogue with one client at a time.
// Each received command line is answered by the first unused rule whose prefix it starts
// with; without a rule, the usual positive reply of the command is given. A reply of
// "<close>" hangs up instead of answering and "<silent>" never answers. After a 354 reply
// the lines up to "." are the message; they are kept as they arrived.
class ScriptedSmtpServer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedSmtpServer(QObject* parent = nullptr);
    ~ScriptedSmtpServer() override;

    quint16 port() const;

    // Sent when a client connects; may hold several lines or nothing at all.
    QByteArray banner = "220 scripted.test ESMTP ready\r\n";
    // The answer to the "." that ends the message.
    QByteArray messageReply = "250 2.0.0 queued\r\n";

    void on(const QByteArray& prefix, const QByteArray& reply);
    // Pairs of prefix and reply.
    void onAll(const QByteArrayList& prefixesAndReplies);

    QByteArrayList commands;     // command lines in arrival order (message lines excluded)
    QByteArrayList messageLines; // lines between the 354 and the "." exactly as received
    bool messageComplete = false;
    int connections = 0;
    int disconnections = 0;

    void hangUp();

Q_SIGNALS:
    // After each line from the client has been handled, and when a client has gone.
    void lineHandled();
    void clientDisconnected();

private:
    struct Rule {
        QByteArray prefix;
        QByteArray reply;
        bool used = false;
    };

    void onNewConnection();
    void onReadyRead();
    void handleLine(const QByteArray& line);
    void reply(const QByteArray& text);
    QByteArray defaultReply(const QByteArray& line) const;

    QTcpServer* m_server;
    QTcpSocket* m_client = nullptr;
    QByteArray m_pending;
    QList<Rule> m_rules;
    bool m_inMessage = false;
};

#pragma once

#include "core/net/OutgoingNote.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class LocaleInfo;
class QHostInfo;
class QTcpSocket;
class QTimer;

// Sends one note to one computer after the other over the note protocol, without ever
// blocking the event loop: connecting, the pauses and the close are timers and socket
// signals. Each recipient gets one connection that carries the "new" command, the
// "alarm" command when the note has an alarm, one "line" command per text line and
// "end", each followed by an empty line; after each "line" and after "end" the sender
// waits PauseMs, counted from the moment the command has been handed to the network.
// The connection is then closed in an orderly way, so nothing written is cut off; a
// peer that does not let it close within CloseWaitMs has it dropped. Whatever the peer
// sends is discarded.
//
// Progress is reported through status() with the texts of the status log; a recipient
// that cannot be reached, or whose connection breaks before "end" has left, is reported
// through recipientFailed() and then status(), and the sending goes on with the next
// one; finished() ends every sending.
class NoteSender : public QObject {
    Q_OBJECT
public:
    static constexpr int ConnectTimeoutMs = 5000;
    static constexpr int PauseMs = 100;
    static constexpr int CloseWaitMs = 3000;

    explicit NoteSender(const LocaleInfo& locale, QObject* parent = nullptr);
    ~NoteSender() override;

    // The recipients of a recipient text: split at ",", empty pieces dropped, only its
    // first 255 characters counted; blanks around a recipient stay (the connection
    // ignores them).
    static QStringList recipientsFrom(const QString& text);

    // Starts sending note to every recipient in order, to port, with user as the sender
    // name. False, and nothing happens, while another sending runs.
    bool send(const QStringList& recipients, const OutgoingNote& note, const QString& user,
              const QString& port);
    bool isSending() const { return m_sending; }
    // Stops a running sending at once (for example when the program closes); nothing
    // more is reported.
    void cancel();

    // Starts connecting sockCliente to address (blanks around it ignored; a name is
    // resolved to an IPv4 address) at port; connectDone follows from the event loop,
    // false for a name that cannot be resolved, a refusal, an unusable port or no
    // answer within the connect time-out (the attempt is then abandoned).
    void ConnectWithTimeout(const QString& address, const QString& port);
    // Hands text and CR LF to the network in one write when connected; false only when
    // the socket refuses the bytes.
    bool SendLine(QByteArrayView text);
    // Closes sockCliente once what was written has been sent, within CloseWaitMs;
    // clientClosed follows from the event loop.
    void CloseClient();

    // The connect time-out, ConnectTimeoutMs unless changed.
    void setConnectTimeout(int milliseconds);

Q_SIGNALS:
    // A line for the status log.
    void status(const QString& text);
    // A recipient could not be reached; message is the text for the user. Emitted
    // directly: the sending waits until the slots have returned, so a slot may ask the
    // user with a modal message box.
    void recipientFailed(const QString& message);
    // The sending has ended; errors is true when some recipient could not be reached.
    void finished(bool errors);

    void connectDone(bool connected);
    void clientClosed();

private:
    struct Command {
        QByteArray text;
        bool pauseAfter = false;
    };

    void tmrConectaTimer();
    void connectResolved(quint64 attempt, const QHostInfo& info);
    void startConnect(const QString& address, quint16 port);
    void endConnect(bool connected);
    void nextRecipient();
    void recipientConnected(bool connected);
    void sendCommands();
    // The recipient did not get the note: reported, and the sending goes on.
    void recipientNotServed(const QString& message);
    void lossNoticed();
    void connectionLost();
    void pauseWhenWritten();
    void socketClosed();

    const LocaleInfo& m_locale;
    QTcpSocket* sockCliente;
    QTimer* tmrConecta;
    QTimer* tmrPausa;
    QTimer* m_closeTimer;

    // The connection attempt under way; a result of an older one is ignored.
    quint64 m_attempt = 0;
    bool m_connecting = false;
    quint16 m_connectPort = 0;
    int m_lookupId = -1;
    bool m_closing = false;
    bool m_waitingForWrite = false;
    // The note is on its way to the recipient: from the "new" command until "end" has
    // been handed to the network.
    bool m_transmitting = false;

    bool m_sending = false;
    bool m_errors = false;
    QStringList m_recipients;
    qsizetype m_nextRecipient = 0;
    QString m_recipient;
    OutgoingNote m_note;
    QString m_user;
    QString m_port;
    QList<Command> m_commands;
    qsizetype m_nextCommand = 0;
};

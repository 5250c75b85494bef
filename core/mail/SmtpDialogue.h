#pragma once

#include "core/mail/SmtpAwaitedReply.h"
#include "core/mail/SmtpCapabilities.h"
#include "core/mail/SmtpReplyReader.h"
#include "core/mail/SmtpRequestDoneEvent.h"
#include "core/mail/SmtpStepPlan.h"
#include "core/mail/SmtpTypes.h"

#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <functional>

class QHostAddress;
class TcpClientSocket;

// The request engine under the SMTP session. It owns the connection (host-name lookup,
// connect, TLS, close), cuts the server's replies into lines, sends one command at a
// time and judges its reply by the acceptable codes, and runs the steps of a request one
// after the other, reporting each request's end exactly once: State becomes smtpReady,
// LastRequestResult takes the result, and OnRequestDone follows from the event loop.
// What the steps are and what they send is SmtpSession's business.
class SmtpDialogue : public QObject {
    Q_OBJECT
public:
    static constexpr int RequestDoneMessage = SmtpRequestDoneEvent::MessageNumber;
    static constexpr int ReceiveBufferSize = SmtpReplyReader::BufferSize;
    static constexpr int MaxOkResponses = SmtpAwaitedReply::MaxOkCodes;
    // Extensions kept from an EHLO reply.
    static constexpr int MaxCapabilities = SmtpCapabilities::MaxLines;

    static constexpr quint16 ErrorConnectionClosed = 10004;
    static constexpr quint16 ErrorAborted = 426;

    explicit SmtpDialogue(QObject* parent = nullptr);
    // Runs on the given connection, which it takes over (a scripted one, say).
    explicit SmtpDialogue(TcpClientSocket* socket, QObject* parent = nullptr);
    ~SmtpDialogue() override;

    // Where and how to connect; set by the caller.
    QString Host;
    QString LocalAddr = QStringLiteral("0.0.0.0");
    QString Port = QStringLiteral("smtp");
    TSmtpTlsMode TlsMode = smtpTlsWhenOffered;
    // Trusted beside the system's certificate store (a test's own authority, say).
    QList<QSslCertificate> ExtraCaCertificates;
    // The SHA-256 fingerprint (lowercase hexadecimal) of the one certificate accepted from
    // this server although it does not verify, because the user chose to trust it; empty
    // for none. Any other certificate that does not verify is refused as ever.
    QByteArray TrustedCertificate;

    // Read only.
    TSmtpState State() const { return m_state; }
    QString ErrorMessage() const { return m_errorMessage; }
    QString LastResponse() const { return m_lastResponse; }
    bool IsConnected() const { return m_connected; }
    bool IsEncrypted() const;
    quint16 LastRequestResult() const { return m_lastRequestResult; }
    int StatusCode() const { return m_statusCode; }
    TSmtpRequest RequestType() const { return m_requestType; }
    // The extension lines of the last accepted EHLO reply ("STARTTLS", "AUTH PLAIN", ...).
    QStringList Capabilities() const { return m_capabilities.lines(); }
    // When the last connection ended because the server's certificate did not verify: that
    // certificate and the reasons, in the interface language; null and empty otherwise.
    QSslCertificate UntrustedCertificate() const { return m_untrustedCertificate; }
    QStringList CertificateProblems() const { return m_certificateProblems; }

    // Drops the connection at once; a running request ends with 426.
    virtual void AbortSession();
    // Runs the given steps one after the other as one request of kind rqType.
    void HighLevelAsync(TSmtpRequest rqType, TSmtpFctSet fcts);

Q_SIGNALS:
    // Beside the session's events, for callers that wait: every change of State, every
    // request's end (as OnRequestDone runs), and the connection's start and end.
    void stateChanged(TSmtpState state);
    void requestDone(TSmtpRequest rqType, quint16 error);
    void sessionConnected(quint16 error);
    void sessionClosed(quint16 error);

protected:
    using ReplyHandler = SmtpAwaitedReply::Handler;

    // The session's notifications, called by the engine.
    virtual void TriggerDisplay(const QString& Msg) = 0;
    virtual void TriggerResponse(const QString& Msg) = 0;
    virtual void TriggerRequestDone(TSmtpRequest RqType, quint16 Error) = 0;
    virtual void TriggerStateChange() = 0;
    virtual void TriggerSessionConnected(quint16 Error) = 0;
    virtual void TriggerSessionClosed(quint16 Error) = 0;
    virtual void SendCommand(const QString& Cmd) = 0;
    // Starts one step of a high-level request.
    virtual void StartFct(TSmtpFct fct) = 0;
    // STARTTLS has succeeded: the step goes on over the encrypted connection.
    virtual void TlsEstablished() = 0;
    // The previous line of a message has been handed to the network.
    virtual void SendNextMessageLine() = 0;
    // A request has ended; what it kept open is released.
    virtual void RequestFinished() {}
    void customEvent(QEvent* event) override;

    // The building blocks of the steps.
    void SetState(TSmtpState state);
    void CheckReady() const;
    void CheckConnected() const;
    // A step begins: a request of its own unless a high-level request runs it.
    void StepStarts(TSmtpRequest rqType);
    // Sends a command and waits for its reply; next runs on the final reply line (or the
    // step ends with it). shownAs: what the events show instead of a line that carries a
    // password.
    void ExecAsync(TSmtpRequest rqType, const QString& cmd, QList<int> okResponses,
                   ReplyHandler next, const QString& shownAs = QString());
    void EndStep(quint16 error);
    // The follow-up of a step whose command was refused ends the step with that failure;
    // true when it did.
    bool EndedByFailure();
    void FailStep(quint16 code, const QString& text);
    // Ends the session: the connection is closed in the orderly way, and its close ends
    // the step with a failure of code 500 and this text.
    void FailAndClose(const QString& text);
    void SetErrorMessage(const QString& text);
    // CONNECT: looks up Host, then connects (with TLS from the start when TlsMode says so).
    void BeginConnect();
    // STARTTLS was accepted: anything received so far is dropped and the handshake starts.
    void BeginEncryption();
    void StartEncryption();
    // The line SendCommand shows for the command being sent; empty for the line itself.
    QString TakeCommandShownAs();
    TcpClientSocket& Socket() const { return *m_socket; }
    int StepResult() const { return m_requestResult; }
    void ClearCapabilities() { m_capabilities.clear(); }
    // Whether the last EHLO reply named the extension.
    bool Offers(const QString& keyword) const { return m_capabilities.offers(keyword); }

    // State the steps share with the engine.
    bool m_esmtp = false;               // an EHLO was accepted on this connection
    bool m_readingCapabilities = false; // an EHLO reply is coming in
    bool m_sendingMessage = false;      // the lines of a message are going out
    bool m_inData = false;              // from the 354 to the reply to "."

private:
    void EndRequest(TSmtpRequest rqType, quint16 error);
    void NextStep();
    template <typename F> void InEvent(F&& body);
    void FailFromEvent(const QString& text);
    // A failure of code 500 with its text, ending no step yet.
    void RecordFailure(const QString& text);

    void WSocketDnsLookupDone(int error, const QString& errorText, const QHostAddress& address);
    void WSocketSessionConnected(int error, const QString& errorText);
    void WSocketEncryptionDone(bool ok, const QString& errorText);
    void WSocketDataAvailable();
    void WSocketDataSent();
    void WSocketSessionClosed(int error);
    void ProcessLine(const QByteArray& raw);

    TcpClientSocket* m_socket;
    TSmtpState m_state = smtpReady;
    QString m_errorMessage;
    QString m_lastResponse;
    bool m_connected = false;
    TSmtpRequest m_requestType = smtpReqConnect;
    bool m_requestDoneFlag = true;
    SmtpStepPlan m_plan; // the high-level request running, if any
    int m_statusCode = 0;
    int m_requestResult = 0;
    quint16 m_lastRequestResult = 0;
    SmtpAwaitedReply m_reply; // to the command sent last
    QString m_commandShownAs;
    SmtpCapabilities m_capabilities;
    QSslCertificate m_untrustedCertificate;
    QStringList m_certificateProblems;
    SmtpReplyReader m_reader;
    int m_eventDepth = 0;
};

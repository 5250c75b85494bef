#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class Clock;
class TcpClientSocket;
class UtcOffsetSource;
class QHostAddress;

// Where the session is; the numbers are fixed.
enum TSmtpState : int {
    smtpReady,
    smtpDnsLookup,
    smtpConnecting,
    smtpConnected,
    smtpInternalReady,
    smtpWaitingBanner,
    smtpWaitingResponse,
    smtpAbort
};

enum TSmtpAuthType : int { smtpAuthNone, smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5 };

enum TSmtpContentType : int { smtpHTML, smtpPlainText };

// The kind of request reported when a request ends.
enum TSmtpRequest : int {
    smtpReqConnect = 0,
    smtpReqHelo = 1,
    smtpReqMailFrom = 2,
    smtpReqVrfy = 3,
    smtpReqRcptTo = 4,
    smtpReqData = 5,
    smtpReqQuit = 6,
    smtpReqRset = 7,
    smtpReqOpen = 8,
    smtpReqMail = 9,
    smtpReqEhlo = 10,
    smtpReqAuth = 11
};

// The steps a high-level request is made of, in the order they run.
enum TSmtpFct : int {
    smtpFctNone = -1,
    smtpFctConnect = 0,
    smtpFctHelo,
    smtpFctEhlo,
    smtpFctAuth,
    smtpFctVrfy,
    smtpFctMailFrom,
    smtpFctRcptTo,
    smtpFctData,
    smtpFctQuit
};
using TSmtpFctSet = unsigned;
constexpr TSmtpFctSet smtpFctBit(TSmtpFct fct) {
    return 1u << unsigned(fct);
}

class TCustomSmtpClient;

using TSmtpDisplay = std::function<void(TCustomSmtpClient* Sender, const QString& Msg)>;
using TSmtpGetDataEvent = std::function<void(TCustomSmtpClient* Sender, int LineNum,
                                             QString& MsgLine, int MaxLen, bool& More)>;
using TSmtpHeaderLineEvent = std::function<void(TCustomSmtpClient* Sender, QString& Msg, int Size)>;
using TSmtpProcessHeaderEvent =
    std::function<void(TCustomSmtpClient* Sender, QStringList& HdrLines)>;
using TSmtpRequestDone =
    std::function<void(TCustomSmtpClient* Sender, TSmtpRequest RqType, quint16 Error)>;
using TSessionConnected = std::function<void(TCustomSmtpClient* Sender, quint16 Error)>;
using TSessionClosed = std::function<void(TCustomSmtpClient* Sender, quint16 Error)>;
using TSmtpStateChange = std::function<void(TCustomSmtpClient* Sender)>;

// The client side of an SMTP dialogue (HELO or EHLO, AUTH PLAIN, LOGIN or CRAM-MD5,
// MAIL FROM, RCPT TO, DATA, QUIT), driven entirely by the event loop. Each request only
// starts: its end is reported later through OnRequestDone, after State has become
// smtpReady again, with LastRequestResult 0 for success or the failing code. There is no
// time-out inside the session; the caller supplies one and ends a hung session with
// AbortSession.
//
// Text goes on the wire as Windows-1252. Carriage returns and line feeds inside property
// values never reach the wire as line ends of their own: in commands and generated
// header values they become blanks, and every line of the message is sent with its line
// ends as CR LF and a leading "." doubled, so no text can end the message early.
class TCustomSmtpClient : public QObject {
    Q_OBJECT
public:
    static constexpr int RequestDoneMessage = 1025; // the first user message number + 1
    static constexpr int ReceiveBufferSize = 4096;
    static constexpr int MaxOkResponses = 16;
    static constexpr int HeaderLineSize = 1024; // buffer of one header line, terminator included
    static constexpr int MaxBodyLineLength = 1023;
    static constexpr quint16 ErrorConnectionClosed = 10004;
    static constexpr quint16 ErrorAborted = 426;

    // Both sources must outlive the session.
    TCustomSmtpClient(const Clock& clock, const UtcOffsetSource& utcOffset,
                      QObject* parent = nullptr);
    ~TCustomSmtpClient() override;

    // Set by the caller.
    QString Host;
    QString LocalAddr = QStringLiteral("0.0.0.0");
    QString Port = QStringLiteral("smtp");
    QString SignOn;
    QString Username;
    QString Password;
    TSmtpAuthType AuthType = smtpAuthNone;
    QString FromName;
    QStringList RcptName;
    QStringList MailMessage;
    QString HdrFrom;
    QString HdrTo;
    QString HdrReplyTo;
    QString HdrReturnPath;
    QString HdrSubject;
    QString HdrSender;
    QString CharSet = QStringLiteral("iso-8859-1");
    int Tag = 0;
    bool OwnHeaders = false;

    TSmtpContentType ContentType() const { return m_contentType; }
    // Also sets the media type: "text/plain" or "text/html".
    void setContentType(TSmtpContentType type);
    QString ContentTypeText() const { return m_contentTypeText; }

    // Read only.
    TSmtpState State() const { return m_state; }
    QString ErrorMessage() const { return m_errorMessage; }
    QString LastResponse() const { return m_lastResponse; }
    bool IsConnected() const { return m_connected; }
    quint16 LastRequestResult() const { return m_lastRequestResult; }
    int StatusCode() const { return m_statusCode; }
    TSmtpRequest RequestType() const { return m_requestType; }

    // Events; each is optional.
    TSmtpDisplay OnDisplay;
    TSmtpDisplay OnCommand;
    TSmtpDisplay OnResponse;
    TSmtpGetDataEvent OnGetData;
    TSmtpHeaderLineEvent OnHeaderLine;
    TSmtpProcessHeaderEvent OnProcessHeader;
    TSmtpRequestDone OnRequestDone;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TSmtpStateChange OnStateChange;

    // Single steps, each a request of its own unless a high-level request runs them.
    virtual void Connect();
    virtual void Helo();
    virtual void Ehlo();
    virtual void Auth();
    virtual void Vrfy();
    virtual void MailFrom();
    virtual void RcptTo();
    virtual void Data();
    virtual void Quit();
    virtual void Rset();

    // Drops the connection at once; a running request ends with 426.
    virtual void AbortSession();
    // CONNECT and HELO without authentication, otherwise CONNECT, EHLO and AUTH.
    virtual void OpenSession();
    // MAIL FROM, RCPT TO for every recipient, DATA with the message.
    virtual void TransferMail();
    void QuitSession() { Quit(); }

    // Runs the given steps one after the other as one request of kind rqType.
    void HighLevelAsync(TSmtpRequest rqType, TSmtpFctSet fcts);

protected:
    virtual void TriggerDisplay(const QString& Msg);
    virtual void TriggerCommand(const QString& Msg);
    virtual void TriggerResponse(const QString& Msg);
    virtual void TriggerRequestDone(TSmtpRequest RqType, quint16 Error);
    virtual void TriggerStateChange();
    // The next body line; line numbers count from 1 over the whole body. The session
    // delivers MailMessage first and then asks OnGetData, numbering its lines from 1.
    virtual void TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More);
    virtual void TriggerHeaderLine(QString& Msg, int Size);
    virtual void TriggerProcessHeader(QStringList& HdrLines);
    virtual void TriggerSessionConnected(quint16 Error);
    virtual void TriggerSessionClosed(quint16 Error);
    virtual void SendCommand(const QString& Cmd);
    // Attachment files: open (throws SmtpException when the file cannot be read), the
    // next 45 bytes as one Base64 line (false at the end), close.
    virtual void AttachOpen(const QString& FileName);
    virtual bool AttachReadLine(QString& Line);
    virtual void AttachClose();
    void customEvent(QEvent* event) override;

    const Clock& clock() const { return m_clock; }
    QString HeaderValue(const QString& value) const;

private:
    using ReplyHandler = void (TCustomSmtpClient::*)();

    void SetState(TSmtpState state);
    void CheckReady() const;
    void CheckConnected() const;
    void ExecAsync(TSmtpRequest rqType, const QString& cmd, QList<int> okResponses,
                   ReplyHandler next);
    void StepStarts(TSmtpRequest rqType);
    void EndStep(quint16 error);
    // The follow-up of a step that failed ends the request with that failure; true
    // when it did.
    bool EndedByFailure();
    void EndRequest(TSmtpRequest rqType, quint16 error);
    void NextStep();
    void StartFct(TSmtpFct fct);
    void FailStep(quint16 code, const QString& text);
    void SetErrorMessage(const QString& text);
    QString GreetingName() const;
    QStringList BuildHeader();
    void SendMessageLine(const QString& line);

    // Reply handlers and follow-ups.
    void StepDone();
    void EhloNext();
    void AuthNextLogin();
    void AuthNextLoginNext();
    void AuthNextCramMD5();
    void RcptToNext();
    void DataNext();
    void QuitDone();
    void SendNextMessageLine();

    // Socket events.
    void WSocketDnsLookupDone(int error, const QString& errorText, const QHostAddress& address);
    void WSocketSessionConnected(int error, const QString& errorText);
    void WSocketDataAvailable();
    void WSocketDataSent();
    void WSocketSessionClosed(int error);
    void ProcessReceived();
    void ProcessLine(const QByteArray& raw);
    bool ReadStatusCode(const QString& line);
    template <typename F> void InEvent(F&& body);
    void FailFromEvent(const QString& text);

    const Clock& m_clock;
    const UtcOffsetSource& m_utcOffset;
    TcpClientSocket* m_socket;

    TSmtpContentType m_contentType = smtpPlainText;
    QString m_contentTypeText = QStringLiteral("text/plain");

    TSmtpState m_state = smtpReady;
    QString m_errorMessage;
    QString m_lastResponse;
    bool m_connected = false;
    bool m_esmtp = false;
    TSmtpRequest m_requestType = smtpReqConnect;
    bool m_requestDoneFlag = true;
    bool m_highLevelFlag = false;
    TSmtpRequest m_highLevelRqType = smtpReqOpen;
    int m_statusCode = 0;
    int m_requestResult = 0;
    TSmtpFctSet m_fctSet = 0;
    TSmtpFct m_fctPrv = smtpFctNone;
    int m_highLevelResult = 0;
    quint16 m_lastRequestResult = 0;
    QList<int> m_okResponses;
    ReplyHandler m_next = nullptr;

    std::array<char, ReceiveBufferSize> m_receiveBuffer{};
    int m_receiveLength = 0;
    bool m_discardingLine = false;

    int m_itemCount = 0; // index of the recipient being sent
    QStringList m_headerLines;
    int m_headerIndex = 0;
    int m_lineNum = 0;
    bool m_moreLines = false;
    bool m_sendingMessage = false;
    bool m_inData = false; // from the 354 to the reply to "."

    int m_eventDepth = 0;
    QFile m_attachFile;
};

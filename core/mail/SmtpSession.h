#pragma once

#include "core/mail/SmtpDialogue.h"
#include "core/mail/SmtpMessageStream.h"

#include <QString>
#include <QStringList>
#include <functional>

class Clock;
class TcpClientSocket;
class UtcOffsetSource;

class SmtpSession;

using TSmtpDisplay = std::function<void(SmtpSession* Sender, const QString& Msg)>;
using TSmtpGetDataEvent =
    std::function<void(SmtpSession* Sender, int LineNum, QString& MsgLine, int MaxLen, bool& More)>;
using TSmtpHeaderLineEvent = std::function<void(SmtpSession* Sender, QString& Msg, int Size)>;
using TSmtpProcessHeaderEvent = std::function<void(SmtpSession* Sender, QStringList& HdrLines)>;
using TSmtpRequestDone =
    std::function<void(SmtpSession* Sender, TSmtpRequest RqType, quint16 Error)>;
using TSessionConnected = std::function<void(SmtpSession* Sender, quint16 Error)>;
using TSessionClosed = std::function<void(SmtpSession* Sender, quint16 Error)>;
using TSmtpStateChange = std::function<void(SmtpSession* Sender)>;

// The client side of an SMTP dialogue (HELO or EHLO, STARTTLS, AUTH PLAIN, LOGIN or
// CRAM-MD5, MAIL FROM, RCPT TO, DATA, QUIT), driven entirely by the event loop. Each
// request only starts: its end is reported later through OnRequestDone (and the
// requestDone signal), after State has become smtpReady again, with LastRequestResult 0
// for success or the failing code. There is no time-out inside the session; the caller
// supplies one and ends a hung session with AbortSession.
//
// TLS (TlsMode): the server's certificate is checked against the system's certificate
// store (and ExtraCaCertificates) and must be issued for Host. A failed check, or a
// STARTTLS that is required but not offered, ends the session with the reason in
// ErrorMessage; it never goes on in plain text. Authentication follows the upgrade.
//
// The message is MIME: the header ASCII, with the subject and display names that are not
// as RFC 2047 encoded words, a Message-ID of its own, and the text in CharSet (UTF-8
// unless the caller says otherwise) as quoted-printable, so that exactly the typed text
// arrives, whatever it holds, through any server. Commands go on the wire as Windows-1252,
// and so does the text of a message with its own headers (OwnHeaders). Carriage returns and line
// feeds inside property values never reach the wire as line ends of their own: in commands and
// generated header values they become blanks, and every line of the message is sent with its line
// ends as CR LF and a leading "." doubled, so no text can end the message early. Message
// lines longer than RFC 5322 allows are broken and header lines folded, never cut. Lines
// that carry a password are shown as "********" by OnCommand and OnDisplay.
class SmtpSession : public SmtpDialogue {
    Q_OBJECT
public:
    static constexpr int HeaderLineSize = 1024;    // the Size OnHeaderLine is told
    static constexpr int MaxBodyLineLength = 1023; // the MaxLen OnGetData is told

    // Both sources must outlive the session.
    SmtpSession(const Clock& clock, const UtcOffsetSource& utcOffset, QObject* parent = nullptr);
    // The same on the given connection, which the session takes over.
    SmtpSession(TcpClientSocket* socket, const Clock& clock, const UtcOffsetSource& utcOffset,
                QObject* parent = nullptr);
    ~SmtpSession() override;

    // Set by the caller (Host, LocalAddr, Port, TlsMode and ExtraCaCertificates too).
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
    // The body's character set; one this system cannot write is replaced by "utf-8".
    QString CharSet = QStringLiteral("utf-8");
    int Tag = 0;
    bool OwnHeaders = false;

    TSmtpContentType ContentType() const { return m_contentType; }
    // Also sets the media type: "text/plain" or "text/html".
    void setContentType(TSmtpContentType type);
    QString ContentTypeText() const { return m_contentTypeText; }

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
    // Upgrades the connection as TlsMode says, then greets again with EHLO; ends at once
    // with 0 when there is nothing to upgrade (or, unless TLS is required, nothing offered).
    virtual void StartTls();
    virtual void Auth();
    virtual void Vrfy();
    virtual void MailFrom();
    virtual void RcptTo();
    virtual void Data();
    virtual void Quit();
    virtual void Rset();

    // CONNECT and HELO without authentication (CONNECT, EHLO and STARTTLS when TLS is
    // required), otherwise CONNECT, EHLO, STARTTLS and AUTH.
    virtual void OpenSession();
    // MAIL FROM, RCPT TO for every recipient, DATA with the message.
    virtual void TransferMail();
    void QuitSession() { Quit(); }

protected:
    void TriggerDisplay(const QString& Msg) override;
    virtual void TriggerCommand(const QString& Msg);
    void TriggerResponse(const QString& Msg) override;
    void TriggerRequestDone(TSmtpRequest RqType, quint16 Error) override;
    void TriggerStateChange() override;
    // The next body line; line numbers count from 1 over the whole body. The session
    // delivers MailMessage first and then asks OnGetData, numbering its lines from 1. Unless
    // OwnHeaders is set, the line comes back in BodyCharset and quoted-printable.
    virtual void TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More);
    // The character set the body goes out in: CharSet, or "utf-8" instead of one this
    // system cannot write.
    QString BodyCharset() const;
    virtual void TriggerHeaderLine(QString& Msg, int Size);
    virtual void TriggerProcessHeader(QStringList& HdrLines);
    void TriggerSessionConnected(quint16 Error) override;
    void TriggerSessionClosed(quint16 Error) override;
    void SendCommand(const QString& Cmd) override;

    void StartFct(TSmtpFct fct) override;
    void TlsEstablished() override;
    void SendNextMessageLine() override;

    const Clock& clock() const { return m_clock; }
    QString HeaderValue(const QString& value) const;

private:
    QString GreetingName() const;
    QStringList BuildHeader();

    // Reply handlers and follow-ups.
    void EhloNext();
    void StartTlsNext();
    void AuthNextLogin();
    void AuthNextLoginNext();
    void AuthNextCramMD5();
    void RcptToNext();
    void DataNext();
    void QuitDone();

    const Clock& m_clock;
    const UtcOffsetSource& m_utcOffset;

    TSmtpContentType m_contentType = smtpPlainText;
    QString m_contentTypeText = QStringLiteral("text/plain");

    int m_itemCount = 0; // index of the recipient being sent
    SmtpMessageStream m_message;
};

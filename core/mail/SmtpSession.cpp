#include "core/mail/SmtpSession.h"

#include "core/mail/MailDate.h"
#include "core/mail/MailEncoding.h"
#include "core/mail/MimeText.h"
#include "core/mail/SmtpAuth.h"
#include "core/mail/SmtpException.h"
#include "core/mail/SmtpMessageText.h"
#include "core/mail/SmtpPath.h"
#include "core/mail/UtcOffsetSource.h"
#include "platform/Clock.h"
#include "platform/system/TcpClientSocket.h"

#include <QHostInfo>

SmtpSession::SmtpSession(const Clock& clock, const UtcOffsetSource& utcOffset, QObject* parent)
    : SmtpSession(new TcpClientSocket, clock, utcOffset, parent) {}

SmtpSession::SmtpSession(TcpClientSocket* socket, const Clock& clock,
                         const UtcOffsetSource& utcOffset, QObject* parent)
    : SmtpDialogue(socket, parent), m_clock(clock), m_utcOffset(utcOffset),
      m_message([this](QString& line) { TriggerHeaderLine(line, HeaderLineSize); },
                [this](int lineNum, QString& line, bool& more) {
                    TriggerGetData(lineNum, line, MaxBodyLineLength, more);
                }) {}

SmtpSession::~SmtpSession() = default;

void SmtpSession::setContentType(TSmtpContentType type) {
    m_contentType = type;
    m_contentTypeText =
        type == smtpHTML ? QStringLiteral("text/html") : QStringLiteral("text/plain");
}

// ---------------------------------------------------------------------------------------
// Overridable notifications

void SmtpSession::TriggerDisplay(const QString& Msg) {
    if (OnDisplay)
        OnDisplay(this, Msg);
}

void SmtpSession::TriggerCommand(const QString& Msg) {
    if (OnCommand)
        OnCommand(this, Msg);
}

void SmtpSession::TriggerResponse(const QString& Msg) {
    if (OnResponse)
        OnResponse(this, Msg);
}

void SmtpSession::TriggerRequestDone(TSmtpRequest RqType, quint16 Error) {
    if (OnRequestDone)
        OnRequestDone(this, RqType, Error);
}

void SmtpSession::TriggerStateChange() {
    if (OnStateChange)
        OnStateChange(this);
}

void SmtpSession::TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More) {
    if (LineNum >= 1 && LineNum <= MailMessage.size()) {
        MsgLine = MailMessage.at(LineNum - 1);
    } else if (OnGetData) {
        OnGetData(this, LineNum - int(MailMessage.size()), MsgLine, MaxLen, More);
    } else {
        More = false;
    }
    // A message with its own headers says itself how its text is written.
    if (More && !OwnHeaders)
        MsgLine = QString::fromLatin1(
            MimeText::quotedPrintable(MimeText::encode(MsgLine, BodyCharset())));
}

QString SmtpSession::BodyCharset() const {
    return MimeText::usableCharset(CharSet);
}

void SmtpSession::TriggerHeaderLine(QString& Msg, int Size) {
    if (OnHeaderLine)
        OnHeaderLine(this, Msg, Size);
}

void SmtpSession::TriggerProcessHeader(QStringList& HdrLines) {
    if (OnProcessHeader)
        OnProcessHeader(this, HdrLines);
}

void SmtpSession::TriggerSessionConnected(quint16 Error) {
    if (OnSessionConnected)
        OnSessionConnected(this, Error);
}

void SmtpSession::TriggerSessionClosed(quint16 Error) {
    if (OnSessionClosed)
        OnSessionClosed(this, Error);
}

void SmtpSession::SendCommand(const QString& Cmd) {
    const QString line = SmtpMessageText::singleLine(Cmd);
    const QString hidden = TakeCommandShownAs();
    const QString shown = hidden.isEmpty() ? line : hidden;
    TriggerCommand(shown);
    TriggerDisplay(QStringLiteral("> ") + shown);
    if (Socket().isConnected())
        Socket().send(MailEncoding::toWire(line) + "\r\n");
}

QString SmtpSession::HeaderValue(const QString& value) const {
    return SmtpMessageText::singleLine(value);
}

// ---------------------------------------------------------------------------------------
// High-level requests

void SmtpSession::OpenSession() {
    const TSmtpFctSet upgrade =
        smtpFctBit(smtpFctConnect) | smtpFctBit(smtpFctEhlo) | smtpFctBit(smtpFctStartTls);
    if (AuthType != smtpAuthNone)
        HighLevelAsync(smtpReqOpen, upgrade | smtpFctBit(smtpFctAuth));
    else if (TlsMode == smtpTlsRequired)
        HighLevelAsync(smtpReqOpen, upgrade);
    else
        HighLevelAsync(smtpReqOpen, smtpFctBit(smtpFctConnect) | smtpFctBit(smtpFctHelo));
}

void SmtpSession::TransferMail() {
    // Refused here already, so that no MAIL FROM is sent for a message that cannot go.
    if (RcptName.isEmpty())
        throw SmtpException(QStringLiteral("RcptName list is empty"));
    HighLevelAsync(smtpReqMail, smtpFctBit(smtpFctMailFrom) | smtpFctBit(smtpFctRcptTo) |
                                    smtpFctBit(smtpFctData));
}

void SmtpSession::StartFct(TSmtpFct fct) {
    switch (fct) {
    case smtpFctConnect:
        Connect();
        break;
    case smtpFctHelo:
        Helo();
        break;
    case smtpFctEhlo:
        Ehlo();
        break;
    case smtpFctStartTls:
        StartTls();
        break;
    case smtpFctAuth:
        Auth();
        break;
    case smtpFctVrfy:
        Vrfy();
        break;
    case smtpFctMailFrom:
        MailFrom();
        break;
    case smtpFctRcptTo:
        RcptTo();
        break;
    case smtpFctData:
        Data();
        break;
    case smtpFctQuit:
        Quit();
        break;
    case smtpFctNone:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Steps

void SmtpSession::Connect() {
    CheckReady();
    if (IsConnected())
        throw SmtpException(QStringLiteral("SMTP component already connected"));
    StepStarts(smtpReqConnect);
    BeginConnect();
}

QString SmtpSession::GreetingName() const {
    if (!SignOn.isEmpty())
        return SignOn;
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty())
        throw SmtpException(tr("O nome deste computador não pôde ser obtido"));
    return name;
}

void SmtpSession::Helo() {
    CheckReady();
    CheckConnected();
    const QString line = QStringLiteral("HELO ") + GreetingName();
    StepStarts(smtpReqHelo);
    ExecAsync(smtpReqHelo, line, {250}, nullptr);
}

void SmtpSession::Ehlo() {
    CheckReady();
    CheckConnected();
    const QString line = QStringLiteral("EHLO ") + GreetingName();
    StepStarts(smtpReqEhlo);
    ClearCapabilities();
    m_readingCapabilities = true;
    ExecAsync(smtpReqEhlo, line, {250}, [this] { EhloNext(); });
}

void SmtpSession::EhloNext() {
    m_readingCapabilities = false;
    if (StepResult() == 0)
        m_esmtp = true;
    else
        ClearCapabilities();
    EndStep(quint16(StepResult()));
}

void SmtpSession::StartTls() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqStartTls);
    if (TlsMode == smtpTlsNone || IsEncrypted()) {
        EndStep(0);
        return;
    }
    if (!m_esmtp || !Offers(QStringLiteral("STARTTLS"))) {
        // Nothing more is said in plain text when TLS is required, and a password only
        // goes out in plain text when the user has chosen no encryption at all.
        if (TlsMode == smtpTlsRequired)
            FailAndClose(QStringLiteral("500 STARTTLS not offered by the server."));
        else if (AuthType != smtpAuthNone && m_esmtp)
            FailAndClose(QStringLiteral("500 ") +
                         tr("O servidor não oferece STARTTLS: a senha não é enviada sem "
                            "criptografia. Para enviar assim mesmo, escolha a segurança "
                            "\"Nenhuma (texto puro)\"."));
        else
            EndStep(0);
        return;
    }
    ExecAsync(smtpReqStartTls, QStringLiteral("STARTTLS"), {220}, [this] { StartTlsNext(); });
}

void SmtpSession::StartTlsNext() {
    // A server that offered STARTTLS and then refuses it ends the session: going on in
    // plain text would send the password unprotected.
    if (EndedByFailure())
        return;
    BeginEncryption();
}

void SmtpSession::TlsEstablished() {
    // Greet again: what the server offers may differ now.
    SetState(smtpInternalReady);
    const QString line = QStringLiteral("EHLO ") + GreetingName();
    ClearCapabilities();
    m_readingCapabilities = true;
    ExecAsync(smtpReqStartTls, line, {250}, [this] { EhloNext(); });
}

void SmtpSession::Auth() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqAuth);
    if (!m_esmtp) {
        FailStep(500, QStringLiteral("500 ESMTP not supported."));
        return;
    }
    switch (AuthType) {
    case smtpAuthPlain:
        ExecAsync(smtpReqAuth, SmtpAuth::plainCommand(Username, Password), {235}, nullptr,
                  SmtpAuth::plainCommandShown());
        return;
    case smtpAuthLogin:
        ExecAsync(smtpReqAuth, QStringLiteral("AUTH LOGIN"), {334}, [this] { AuthNextLogin(); });
        return;
    case smtpAuthCramMD5:
        ExecAsync(smtpReqAuth, QStringLiteral("AUTH CRAM-MD5"), {334},
                  [this] { AuthNextCramMD5(); });
        return;
    case smtpAuthNone:
        break;
    }
    FailStep(500, QStringLiteral("500 No Authorization Type Selected."));
}

void SmtpSession::AuthNextLogin() {
    if (EndedByFailure())
        return;
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth, SmtpAuth::loginAnswer(Username), {334}, [this] { AuthNextLoginNext(); });
}

void SmtpSession::AuthNextLoginNext() {
    if (EndedByFailure())
        return;
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth, SmtpAuth::loginAnswer(Password), {235}, nullptr, SmtpAuth::hiddenText());
}

void SmtpSession::AuthNextCramMD5() {
    if (EndedByFailure())
        return;
    const std::optional<QString> answer =
        SmtpAuth::cramMd5Answer(LastResponse(), Username, Password);
    if (!answer) {
        FailStep(500, QStringLiteral("500 Malformed MD5 Challege: ") + LastResponse());
        return;
    }
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth, *answer, {235}, nullptr, SmtpAuth::hiddenText());
}

void SmtpSession::Vrfy() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqVrfy);
    ExecAsync(smtpReqVrfy, QStringLiteral("VRFY ") + HdrTo, {250}, nullptr);
}

void SmtpSession::MailFrom() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqMailFrom);
    ExecAsync(smtpReqMailFrom, QStringLiteral("MAIL FROM:") + SmtpPath::of(FromName), {250},
              nullptr);
}

void SmtpSession::RcptTo() {
    if (RcptName.isEmpty())
        throw SmtpException(QStringLiteral("RcptName list is empty"));
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqRcptTo);
    m_itemCount = 0;
    ExecAsync(smtpReqRcptTo, QStringLiteral("RCPT TO:") + SmtpPath::of(RcptName.first()),
              {250, 251}, [this] { RcptToNext(); });
}

void SmtpSession::RcptToNext() {
    // Every recipient is offered whatever the server said to the one before; the reply
    // to the last one decides.
    if (m_itemCount + 1 < RcptName.size()) {
        ++m_itemCount;
        SetState(smtpInternalReady);
        ExecAsync(smtpReqRcptTo,
                  QStringLiteral("RCPT TO:") + SmtpPath::of(RcptName.at(m_itemCount)), {250, 251},
                  [this] { RcptToNext(); });
        return;
    }
    EndStep(quint16(StepResult()));
}

QStringList SmtpSession::BuildHeader() {
    SmtpMessageText::Header header;
    header.from = HdrFrom;
    header.to = HdrTo;
    header.subject = HdrSubject;
    header.sender = HdrSender;
    header.replyTo = HdrReplyTo;
    header.returnPath = HdrReturnPath;
    header.mediaType = m_contentTypeText;
    header.charSet = BodyCharset();
    header.messageId =
        SmtpMessageText::messageId(HdrFrom, SignOn.isEmpty() ? QHostInfo::localHostName() : SignOn);
    const QDateTime now = m_clock.now();
    header.date = MailDate::format(now, m_utcOffset.utcOffsetMinutes(now));
    QStringList lines = SmtpMessageText::headerLines(header);
    TriggerProcessHeader(lines);
    lines << QString();
    return lines;
}

void SmtpSession::Data() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqData);
    m_message.start(OwnHeaders ? QStringList() : BuildHeader());
    m_sendingMessage = false;
    ExecAsync(smtpReqData, QStringLiteral("DATA"), {354}, [this] { DataNext(); });
}

void SmtpSession::DataNext() {
    if (EndedByFailure())
        return;
    m_inData = true;
    m_sendingMessage = true;
    SetState(smtpInternalReady);
    SendNextMessageLine();
}

void SmtpSession::SendNextMessageLine() {
    // One line at a time: the next one goes when the socket has handed this one over.
    if (!Socket().isConnected()) {
        m_sendingMessage = false; // the close ends the step
        return;
    }
    if (const std::optional<SmtpMessageStream::Line> line = m_message.next()) {
        TriggerDisplay(QStringLiteral("> ") + line->text);
        Socket().send(line->bytes);
        return;
    }
    m_sendingMessage = false;
    ExecAsync(smtpReqData, QStringLiteral("."), {250}, nullptr);
}

void SmtpSession::Quit() {
    CheckReady();
    StepStarts(smtpReqQuit);
    if (!IsConnected()) {
        EndStep(0);
        return;
    }
    ExecAsync(smtpReqQuit, QStringLiteral("QUIT"), {221}, [this] { QuitDone(); });
}

void SmtpSession::QuitDone() {
    EndStep(quint16(StepResult()));
    // Nothing more is said on this connection; do not wait for the server to hang up.
    if (IsConnected() && State() == smtpReady)
        Socket().close();
}

void SmtpSession::Rset() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqRset);
    ExecAsync(smtpReqRset, QStringLiteral("RSET"), {250}, nullptr);
}

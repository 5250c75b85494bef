#include "mail/TCustomSmtpClient.h"

#include "mail/MailDate.h"
#include "mail/MailEncoding.h"
#include "mail/SmtpException.h"
#include "mail/TcpClientSocket.h"
#include "mail/UtcOffsetSource.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHostAddress>
#include <QHostInfo>
#include <QRegularExpression>
#include <cstring>

namespace {

const QEvent::Type RequestDoneEventType =
    QEvent::Type(QEvent::User + TCustomSmtpClient::RequestDoneMessage);

// The notice through which a request's end reaches OnRequestDone from the event loop.
class RequestDoneEvent : public QEvent {
public:
    RequestDoneEvent(TSmtpRequest rqType, quint16 error)
        : QEvent(RequestDoneEventType), rqType(rqType), error(error) {}
    TSmtpRequest rqType;
    quint16 error;
};

const QString AbortedText = QStringLiteral("426 Operation aborted.");

// Removes blanks and control characters from both ends.
QString trimControls(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= ' ')
        ++start;
    while (end > start && text.at(end - 1).unicode() <= ' ')
        --end;
    return text.mid(start, end - start);
}

bool isBlank(const QString& text) {
    return trimControls(text).isEmpty();
}

// A value that must stay on its own line: line breaks and NUL become blanks.
QString withoutLineBreaks(QString text) {
    for (QChar& c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            c = QLatin1Char(' ');
    }
    return text;
}

// "MAIL FROM:" / "RCPT TO:" with an address. An address written with its own angle
// brackets ("Ann Smith <ann@example.org>") is sent as the bracketed part alone, since a
// display name before it is no valid path and strict servers refuse it; any other text is
// trimmed and put into brackets.
QString addressCommand(const QString& verb, const QString& address) {
    const qsizetype open = address.indexOf(QLatin1Char('<'));
    const qsizetype close = open < 0 ? -1 : address.indexOf(QLatin1Char('>'), open);
    if (close > open)
        return verb + address.mid(open, close - open + 1);
    return verb + QLatin1Char('<') + trimControls(address) + QLatin1Char('>');
}

// One line of the message as it goes on the wire: its own line breaks (CR LF, or a lone
// CR or LF) become CR LF, and every resulting line that starts with "." gets a second one,
// so the server never mistakes text for the end of the message.
QString wireLines(const QString& line) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    QStringList pieces = line.split(breaks);
    for (QString& piece : pieces) {
        if (piece.startsWith(QLatin1Char('.')))
            piece.prepend(QLatin1Char('.'));
    }
    return pieces.join(QStringLiteral("\r\n"));
}

QString winsockText(const QString& errorText, int error) {
    return QStringLiteral("500 %1 (Winsock error #%2)").arg(errorText).arg(error);
}

} // namespace

TCustomSmtpClient::TCustomSmtpClient(const Clock& clock, const UtcOffsetSource& utcOffset,
                                     QObject* parent)
    : QObject(parent), m_clock(clock), m_utcOffset(utcOffset), m_socket(new TcpClientSocket(this)) {
    connect(m_socket, &TcpClientSocket::lookupDone, this,
            [this](int error, const QString& text, const QHostAddress& address) {
                InEvent([&] { WSocketDnsLookupDone(error, text, address); });
            });
    connect(m_socket, &TcpClientSocket::connectDone, this, [this](int error, const QString& text) {
        InEvent([&] { WSocketSessionConnected(error, text); });
    });
    connect(m_socket, &TcpClientSocket::dataAvailable, this,
            [this] { InEvent([&] { WSocketDataAvailable(); }); });
    connect(m_socket, &TcpClientSocket::dataSent, this,
            [this] { InEvent([&] { WSocketDataSent(); }); });
    connect(m_socket, &TcpClientSocket::closed, this,
            [this](int error) { InEvent([&] { WSocketSessionClosed(error); }); });
}

TCustomSmtpClient::~TCustomSmtpClient() {
    QObject::disconnect(m_socket, nullptr, this, nullptr);
}

void TCustomSmtpClient::setContentType(TSmtpContentType type) {
    m_contentType = type;
    m_contentTypeText =
        type == smtpHTML ? QStringLiteral("text/html") : QStringLiteral("text/plain");
}

// ---------------------------------------------------------------------------------------
// Overridable notifications

void TCustomSmtpClient::TriggerDisplay(const QString& Msg) {
    if (OnDisplay)
        OnDisplay(this, Msg);
}

void TCustomSmtpClient::TriggerCommand(const QString& Msg) {
    if (OnCommand)
        OnCommand(this, Msg);
}

void TCustomSmtpClient::TriggerResponse(const QString& Msg) {
    if (OnResponse)
        OnResponse(this, Msg);
}

void TCustomSmtpClient::TriggerRequestDone(TSmtpRequest RqType, quint16 Error) {
    if (OnRequestDone)
        OnRequestDone(this, RqType, Error);
}

void TCustomSmtpClient::TriggerStateChange() {
    if (OnStateChange)
        OnStateChange(this);
}

void TCustomSmtpClient::TriggerGetData(int LineNum, QString& MsgLine, int MaxLen, bool& More) {
    if (LineNum >= 1 && LineNum <= MailMessage.size()) {
        MsgLine = MailMessage.at(LineNum - 1);
        return;
    }
    if (!OnGetData) {
        More = false;
        return;
    }
    OnGetData(this, LineNum - int(MailMessage.size()), MsgLine, MaxLen, More);
}

void TCustomSmtpClient::TriggerHeaderLine(QString& Msg, int Size) {
    if (OnHeaderLine)
        OnHeaderLine(this, Msg, Size);
}

void TCustomSmtpClient::TriggerProcessHeader(QStringList& HdrLines) {
    if (OnProcessHeader)
        OnProcessHeader(this, HdrLines);
}

void TCustomSmtpClient::TriggerSessionConnected(quint16 Error) {
    if (OnSessionConnected)
        OnSessionConnected(this, Error);
}

void TCustomSmtpClient::TriggerSessionClosed(quint16 Error) {
    if (OnSessionClosed)
        OnSessionClosed(this, Error);
}

void TCustomSmtpClient::SendCommand(const QString& Cmd) {
    const QString line = withoutLineBreaks(Cmd);
    TriggerCommand(line);
    TriggerDisplay(QStringLiteral("> ") + line);
    if (m_socket->isConnected())
        m_socket->send(MailEncoding::toWire(line) + "\r\n");
}

void TCustomSmtpClient::AttachOpen(const QString& FileName) {
    AttachClose();
    m_attachFile.setFileName(FileName);
    if (!m_attachFile.open(QIODevice::ReadOnly))
        throw SmtpException(QStringLiteral("File not found '%1'").arg(FileName));
}

bool TCustomSmtpClient::AttachReadLine(QString& Line) {
    if (!m_attachFile.isOpen())
        return false;
    const QByteArray chunk = m_attachFile.read(45);
    if (chunk.isEmpty()) {
        if (m_attachFile.error() != QFileDevice::NoError)
            throw SmtpException(QStringLiteral("Unable to read '%1'").arg(m_attachFile.fileName()));
        return false;
    }
    Line = QString::fromLatin1(MailEncoding::base64Encode(chunk));
    return true;
}

void TCustomSmtpClient::AttachClose() {
    if (m_attachFile.isOpen())
        m_attachFile.close();
}

void TCustomSmtpClient::customEvent(QEvent* event) {
    if (event->type() != RequestDoneEventType)
        return;
    const auto* done = static_cast<RequestDoneEvent*>(event);
    // Nothing may leave an event handler; a failing handler of the caller is its own affair.
    try {
        TriggerRequestDone(done->rqType, done->error);
    } catch (...) {
    }
}

QString TCustomSmtpClient::HeaderValue(const QString& value) const {
    return withoutLineBreaks(value);
}

// ---------------------------------------------------------------------------------------
// Request bookkeeping

void TCustomSmtpClient::SetState(TSmtpState state) {
    if (m_state == state)
        return;
    m_state = state;
    TriggerStateChange();
}

void TCustomSmtpClient::CheckReady() const {
    if (m_state != smtpReady && m_state != smtpInternalReady)
        throw SmtpException(QStringLiteral("SMTP component not ready"));
}

void TCustomSmtpClient::CheckConnected() const {
    if (!m_connected)
        throw SmtpException(QStringLiteral("SMTP component not connected"));
}

void TCustomSmtpClient::SetErrorMessage(const QString& text) {
    if (m_errorMessage.isEmpty())
        m_errorMessage = text;
}

void TCustomSmtpClient::StepStarts(TSmtpRequest rqType) {
    if (!m_highLevelFlag) {
        m_requestType = rqType;
        m_errorMessage.clear();
    }
    m_requestDoneFlag = false;
    m_requestResult = 0;
}

void TCustomSmtpClient::ExecAsync(TSmtpRequest rqType, const QString& cmd, QList<int> okResponses,
                                  ReplyHandler next) {
    CheckReady();
    CheckConnected();
    if (!m_highLevelFlag)
        m_requestType = rqType;
    okResponses.resize(qMin<qsizetype>(okResponses.size(), MaxOkResponses));
    m_okResponses = std::move(okResponses);
    m_requestDoneFlag = false;
    m_next = next ? next : &TCustomSmtpClient::StepDone;
    SetState(smtpWaitingResponse);
    SendCommand(cmd);
}

void TCustomSmtpClient::FailStep(quint16 code, const QString& text) {
    m_lastResponse = text;
    m_statusCode = code;
    m_requestResult = code;
    SetErrorMessage(text);
    EndStep(code);
}

void TCustomSmtpClient::EndStep(quint16 error) {
    if (m_requestDoneFlag)
        return;
    m_requestDoneFlag = true;
    m_next = nullptr;
    m_inData = false;
    if (m_highLevelFlag) {
        if (m_state != smtpAbort)
            SetState(smtpInternalReady);
        NextStep();
        return;
    }
    EndRequest(m_requestType, error);
}

void TCustomSmtpClient::EndRequest(TSmtpRequest rqType, quint16 error) {
    m_highLevelFlag = false;
    m_fctSet = 0;
    m_next = nullptr;
    m_sendingMessage = false;
    m_inData = false;
    AttachClose();
    m_lastRequestResult = error;
    SetState(smtpReady);
    QCoreApplication::postEvent(this, new RequestDoneEvent(rqType, error));
}

void TCustomSmtpClient::HighLevelAsync(TSmtpRequest rqType, TSmtpFctSet fcts) {
    if (m_connected && (fcts & smtpFctBit(smtpFctConnect)))
        throw SmtpException(QStringLiteral("SMTP component already connected"));
    CheckReady();
    m_requestResult = 0;
    m_highLevelResult = 0;
    m_lastResponse.clear();
    m_errorMessage.clear();
    m_requestType = rqType;
    m_highLevelRqType = rqType;
    m_highLevelFlag = true;
    m_fctSet = fcts;
    m_fctPrv = smtpFctNone;
    try {
        NextStep();
    } catch (...) {
        // The first step refused to start: no request is running.
        m_highLevelFlag = false;
        m_fctSet = 0;
        m_requestDoneFlag = true;
        m_next = nullptr;
        SetState(smtpReady);
        throw;
    }
}

void TCustomSmtpClient::NextStep() {
    for (;;) {
        if (m_state == smtpAbort) {
            m_fctSet = 0;
            m_highLevelResult = ErrorAborted;
            m_errorMessage = AbortedText;
            m_lastResponse = AbortedText;
        } else if (m_requestResult != 0) {
            if (m_fctPrv == smtpFctEhlo) {
                // No ESMTP: greet the old way and go on without authentication.
                m_fctSet = smtpFctBit(smtpFctHelo);
            } else {
                m_highLevelResult = m_requestResult;
                const bool keepQuit =
                    (m_fctSet & smtpFctBit(smtpFctQuit)) && m_fctPrv != smtpFctQuit;
                m_fctSet = keepQuit ? smtpFctBit(smtpFctQuit) : 0;
            }
        }

        TSmtpFct fct = smtpFctNone;
        for (int f = smtpFctConnect; f <= smtpFctQuit; ++f) {
            if (m_fctSet & smtpFctBit(TSmtpFct(f))) {
                fct = TSmtpFct(f);
                break;
            }
        }
        if (fct == smtpFctNone) {
            EndRequest(m_highLevelRqType, quint16(m_highLevelResult));
            return;
        }
        m_fctSet &= ~smtpFctBit(fct);
        m_fctPrv = fct;
        m_requestResult = 0;

        // Started by the caller, a step that cannot start throws to the caller. Started
        // from a socket event, there is nobody to throw to: the step fails instead.
        if (m_eventDepth == 0) {
            StartFct(fct);
            return;
        }
        QString failure;
        try {
            StartFct(fct);
            return;
        } catch (const TacknoteError& e) {
            failure = e.message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        if (!m_highLevelFlag)
            return; // the request has ended meanwhile
        m_lastResponse = QStringLiteral("500 ") + failure;
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(m_lastResponse);
        m_requestDoneFlag = true;
        m_next = nullptr;
        if (m_state != smtpAbort)
            SetState(smtpInternalReady);
    }
}

void TCustomSmtpClient::StartFct(TSmtpFct fct) {
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

template <typename F> void TCustomSmtpClient::InEvent(F&& body) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(m_eventDepth);
    try {
        body();
    } catch (const TacknoteError& e) {
        FailFromEvent(e.message());
    } catch (const std::exception& e) {
        FailFromEvent(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        FailFromEvent(QStringLiteral("Unknown error"));
    }
}

void TCustomSmtpClient::FailFromEvent(const QString& text) {
    try {
        const QString line = QStringLiteral("500 ") + text;
        m_lastResponse = line;
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(line);
        m_sendingMessage = false;
        // Inside DATA the server would take whatever follows as message text, and a
        // half-sent message must not be delivered: drop the connection.
        if (m_inData) {
            m_inData = false;
            m_socket->abort();
        }
        if (!m_requestDoneFlag)
            EndStep(500);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------
// High-level requests

void TCustomSmtpClient::OpenSession() {
    if (AuthType == smtpAuthNone)
        HighLevelAsync(smtpReqOpen, smtpFctBit(smtpFctConnect) | smtpFctBit(smtpFctHelo));
    else
        HighLevelAsync(smtpReqOpen, smtpFctBit(smtpFctConnect) | smtpFctBit(smtpFctEhlo) |
                                        smtpFctBit(smtpFctAuth));
}

void TCustomSmtpClient::TransferMail() {
    // Refused here already, so that no MAIL FROM is sent for a message that cannot go.
    if (RcptName.isEmpty())
        throw SmtpException(QStringLiteral("RcptName list is empty"));
    HighLevelAsync(smtpReqMail, smtpFctBit(smtpFctMailFrom) | smtpFctBit(smtpFctRcptTo) |
                                    smtpFctBit(smtpFctData));
}

void TCustomSmtpClient::AbortSession() {
    SetState(smtpAbort);
    m_socket->cancelLookup();
    m_sendingMessage = false;
    m_inData = false;
    m_socket->abort(); // reports the close at once when a connection was up
    m_connected = false;
    if (!m_requestDoneFlag) {
        if (!m_highLevelFlag) {
            m_requestResult = ErrorAborted;
            m_lastResponse = AbortedText;
            m_errorMessage = AbortedText;
        }
        EndStep(ErrorAborted);
    }
    SetState(smtpReady);
}

// ---------------------------------------------------------------------------------------
// Steps

void TCustomSmtpClient::Connect() {
    CheckReady();
    if (m_connected)
        throw SmtpException(QStringLiteral("SMTP component already connected"));
    StepStarts(smtpReqConnect);
    m_receiveLength = 0;
    m_discardingLine = false;
    m_esmtp = false;
    SetState(smtpDnsLookup);
    m_socket->startLookup(Host);
}

QString TCustomSmtpClient::GreetingName() const {
    if (!SignOn.isEmpty())
        return SignOn;
    const QString name = QHostInfo::localHostName();
    if (name.isEmpty())
        throw SmtpException(QStringLiteral("Winsock.GetHostName failed"));
    return name;
}

void TCustomSmtpClient::Helo() {
    CheckReady();
    CheckConnected();
    const QString line = QStringLiteral("HELO ") + GreetingName();
    StepStarts(smtpReqHelo);
    ExecAsync(smtpReqHelo, line, {250}, nullptr);
}

void TCustomSmtpClient::Ehlo() {
    CheckReady();
    CheckConnected();
    const QString line = QStringLiteral("EHLO ") + GreetingName();
    StepStarts(smtpReqEhlo);
    ExecAsync(smtpReqEhlo, line, {250}, &TCustomSmtpClient::EhloNext);
}

void TCustomSmtpClient::EhloNext() {
    if (m_requestResult == 0)
        m_esmtp = true;
    EndStep(quint16(m_requestResult));
}

void TCustomSmtpClient::Auth() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqAuth);
    if (!m_esmtp) {
        FailStep(500, QStringLiteral("500 ESMTP not supported."));
        return;
    }
    switch (AuthType) {
    case smtpAuthPlain: {
        // Authorization and authentication identity are both the user name: servers check
        // the password against the second one (RFC 4616), so the envelope sender must not
        // stand there.
        const QByteArray user = MailEncoding::toWire(Username);
        const QByteArray credentials = user + '\0' + user + '\0' + MailEncoding::toWire(Password);
        ExecAsync(smtpReqAuth,
                  QStringLiteral("AUTH PLAIN ") +
                      QString::fromLatin1(MailEncoding::base64Encode(credentials)),
                  {235}, nullptr);
        return;
    }
    case smtpAuthLogin:
        ExecAsync(smtpReqAuth, QStringLiteral("AUTH LOGIN"), {334},
                  &TCustomSmtpClient::AuthNextLogin);
        return;
    case smtpAuthCramMD5:
        ExecAsync(smtpReqAuth, QStringLiteral("AUTH CRAM-MD5"), {334},
                  &TCustomSmtpClient::AuthNextCramMD5);
        return;
    case smtpAuthNone:
        break;
    }
    FailStep(500, QStringLiteral("500 No Authorization Type Selected."));
}

bool TCustomSmtpClient::EndedByFailure() {
    if (m_requestResult == 0)
        return false;
    EndStep(quint16(m_requestResult));
    return true;
}

void TCustomSmtpClient::AuthNextLogin() {
    if (EndedByFailure())
        return;
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth,
              QString::fromLatin1(MailEncoding::base64Encode(MailEncoding::toWire(Username))),
              {334}, &TCustomSmtpClient::AuthNextLoginNext);
}

void TCustomSmtpClient::AuthNextLoginNext() {
    if (EndedByFailure())
        return;
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth,
              QString::fromLatin1(MailEncoding::base64Encode(MailEncoding::toWire(Password))),
              {235}, nullptr);
}

void TCustomSmtpClient::AuthNextCramMD5() {
    if (EndedByFailure())
        return;
    if (m_lastResponse.size() <= 4) {
        FailStep(500, QStringLiteral("500 Malformed MD5 Challege: ") + m_lastResponse);
        return;
    }
    const QByteArray challenge =
        MailEncoding::base64Decode(MailEncoding::toWire(m_lastResponse.mid(4)));
    const QByteArray answer = MailEncoding::cramMd5Answer(Username, Password, challenge);
    SetState(smtpInternalReady);
    ExecAsync(smtpReqAuth, QString::fromLatin1(MailEncoding::base64Encode(answer)), {235}, nullptr);
}

void TCustomSmtpClient::Vrfy() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqVrfy);
    ExecAsync(smtpReqVrfy, QStringLiteral("VRFY ") + HdrTo, {250}, nullptr);
}

void TCustomSmtpClient::MailFrom() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqMailFrom);
    ExecAsync(smtpReqMailFrom, addressCommand(QStringLiteral("MAIL FROM:"), FromName), {250},
              nullptr);
}

void TCustomSmtpClient::RcptTo() {
    if (RcptName.isEmpty())
        throw SmtpException(QStringLiteral("RcptName list is empty"));
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqRcptTo);
    m_itemCount = 0;
    ExecAsync(smtpReqRcptTo, addressCommand(QStringLiteral("RCPT TO:"), RcptName.first()),
              {250, 251}, &TCustomSmtpClient::RcptToNext);
}

void TCustomSmtpClient::RcptToNext() {
    // Every recipient is offered whatever the server said to the one before; the reply
    // to the last one decides.
    if (m_itemCount + 1 < RcptName.size()) {
        ++m_itemCount;
        SetState(smtpInternalReady);
        ExecAsync(smtpReqRcptTo,
                  addressCommand(QStringLiteral("RCPT TO:"), RcptName.at(m_itemCount)), {250, 251},
                  &TCustomSmtpClient::RcptToNext);
        return;
    }
    EndStep(quint16(m_requestResult));
}

QStringList TCustomSmtpClient::BuildHeader() {
    QStringList lines;
    if (!isBlank(HdrReplyTo))
        lines << QStringLiteral("Reply-To: ") + HeaderValue(HdrReplyTo);
    if (!isBlank(HdrReturnPath))
        lines << QStringLiteral("Return-Path: ") + HeaderValue(HdrReturnPath);
    lines << QStringLiteral("From: ") + HeaderValue(HdrFrom);
    lines << QStringLiteral("To: ") + HeaderValue(HdrTo);
    lines << QStringLiteral("Subject: ") + HeaderValue(HdrSubject);
    if (!isBlank(HdrSender))
        lines << QStringLiteral("Sender: ") + HeaderValue(HdrSender);
    else if (!isBlank(HdrFrom))
        lines << QStringLiteral("Sender: ") + HeaderValue(HdrFrom);
    lines << QStringLiteral("Mime-Version: 1.0");
    lines << QStringLiteral("Content-Type: ") + m_contentTypeText + QStringLiteral("; charset=\"") +
                 HeaderValue(CharSet) + QLatin1Char('"');
    const QDateTime now = m_clock.now();
    lines << QStringLiteral("Date: ") + MailDate::format(now, m_utcOffset.utcOffsetMinutes(now));
    TriggerProcessHeader(lines);
    lines << QString();
    return lines;
}

void TCustomSmtpClient::Data() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqData);
    m_headerLines = OwnHeaders ? QStringList() : BuildHeader();
    m_headerIndex = 0;
    m_lineNum = 0;
    m_moreLines = true;
    m_sendingMessage = false;
    ExecAsync(smtpReqData, QStringLiteral("DATA"), {354}, &TCustomSmtpClient::DataNext);
}

void TCustomSmtpClient::DataNext() {
    if (EndedByFailure())
        return;
    m_inData = true;
    m_sendingMessage = true;
    SetState(smtpInternalReady);
    SendNextMessageLine();
}

void TCustomSmtpClient::SendMessageLine(const QString& line) {
    const QString wire = wireLines(line);
    TriggerDisplay(QStringLiteral("> ") + wire);
    m_socket->send(MailEncoding::toWire(wire) + "\r\n");
}

void TCustomSmtpClient::SendNextMessageLine() {
    // One line at a time: the next one goes when the socket has handed this one over.
    if (!m_socket->isConnected()) {
        m_sendingMessage = false; // the close ends the step
        return;
    }
    if (m_headerIndex < m_headerLines.size()) {
        QString line = m_headerLines.at(m_headerIndex++).left(HeaderLineSize - 1);
        TriggerHeaderLine(line, HeaderLineSize);
        SendMessageLine(line.left(HeaderLineSize - 1));
        return;
    }
    if (m_moreLines) {
        ++m_lineNum;
        QString line;
        bool more = true;
        TriggerGetData(m_lineNum, line, MaxBodyLineLength, more);
        if (more) {
            SendMessageLine(line.left(MaxBodyLineLength));
            return;
        }
        m_moreLines = false;
    }
    m_sendingMessage = false;
    ExecAsync(smtpReqData, QStringLiteral("."), {250}, nullptr);
}

void TCustomSmtpClient::Quit() {
    CheckReady();
    StepStarts(smtpReqQuit);
    if (!m_connected) {
        EndStep(0);
        return;
    }
    ExecAsync(smtpReqQuit, QStringLiteral("QUIT"), {221}, &TCustomSmtpClient::QuitDone);
}

void TCustomSmtpClient::QuitDone() {
    EndStep(quint16(m_requestResult));
    // Nothing more is said on this connection; do not wait for the server to hang up.
    if (m_connected && m_state == smtpReady)
        m_socket->close();
}

void TCustomSmtpClient::Rset() {
    CheckReady();
    CheckConnected();
    StepStarts(smtpReqRset);
    ExecAsync(smtpReqRset, QStringLiteral("RSET"), {250}, nullptr);
}

void TCustomSmtpClient::StepDone() {
    EndStep(quint16(m_requestResult));
}

// ---------------------------------------------------------------------------------------
// Socket events

void TCustomSmtpClient::WSocketDnsLookupDone(int error, const QString& errorText,
                                             const QHostAddress& address) {
    if (m_state != smtpDnsLookup)
        return;
    if (error != 0) {
        m_lastResponse = winsockText(errorText, error);
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(m_lastResponse);
        EndStep(quint16(error));
        return;
    }
    SetState(smtpConnecting);
    try {
        m_socket->connectTo(address, Port, LocalAddr);
    } catch (const SmtpException& e) {
        m_lastResponse = QStringLiteral("500 SmtpException: ") + e.message();
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(m_lastResponse);
        EndStep(500);
    }
}

void TCustomSmtpClient::WSocketSessionConnected(int error, const QString& errorText) {
    if (m_state != smtpConnecting)
        return;
    if (error != 0) {
        m_lastResponse = winsockText(errorText, error);
        m_statusCode = 500;
        m_requestResult = 500;
        SetErrorMessage(m_lastResponse);
        m_connected = false;
        m_socket->abort();
        EndStep(quint16(error));
        return;
    }
    m_connected = true;
    SetState(smtpWaitingBanner);
}

void TCustomSmtpClient::WSocketDataAvailable() {
    for (;;) {
        if (!m_socket->isConnected())
            return;
        const qint64 got = m_socket->read(m_receiveBuffer.data() + m_receiveLength,
                                          ReceiveBufferSize - m_receiveLength);
        if (got <= 0)
            return;
        m_receiveLength += int(got);
        ProcessReceived();
    }
}

void TCustomSmtpClient::ProcessReceived() {
    // Lines end with CR LF. A line too long for the buffer is cut: the part that fits is
    // handled as the line (its reply code is at its start), the rest up to its CR LF is
    // dropped unread.
    auto drop = [this](int count) {
        std::memmove(m_receiveBuffer.data(), m_receiveBuffer.data() + count,
                     size_t(m_receiveLength - count));
        m_receiveLength -= count;
    };
    auto findLineEnd = [this]() -> int {
        for (int i = 0; i + 1 < m_receiveLength; ++i) {
            if (m_receiveBuffer[size_t(i)] == '\r' && m_receiveBuffer[size_t(i) + 1] == '\n')
                return i;
        }
        return -1;
    };
    while (m_socket->isConnected()) {
        const int end = findLineEnd();
        if (m_discardingLine) {
            if (end < 0) {
                const bool keepCr =
                    m_receiveLength > 0 && m_receiveBuffer[size_t(m_receiveLength) - 1] == '\r';
                drop(m_receiveLength - (keepCr ? 1 : 0));
                return;
            }
            drop(end + 2);
            m_discardingLine = false;
            continue;
        }
        if (end >= 0) {
            const QByteArray raw(m_receiveBuffer.data(), end);
            drop(end + 2);
            ProcessLine(raw);
            continue;
        }
        if (m_receiveLength < ReceiveBufferSize)
            return;
        const bool keepCr = m_receiveBuffer[size_t(ReceiveBufferSize) - 1] == '\r';
        const int take = keepCr ? ReceiveBufferSize - 1 : ReceiveBufferSize;
        const QByteArray raw(m_receiveBuffer.data(), take);
        drop(take);
        m_discardingLine = true;
        ProcessLine(raw);
    }
}

bool TCustomSmtpClient::ReadStatusCode(const QString& line) {
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t') ||
                        line.at(i) == QLatin1Char('\r') || line.at(i) == QLatin1Char('\n')))
        ++i;
    if (i < size && (line.at(i) == QLatin1Char('+') || line.at(i) == QLatin1Char('-')))
        ++i;
    int code = 0;
    int digits = 0;
    while (i < size && line.at(i) >= QLatin1Char('0') && line.at(i) <= QLatin1Char('9')) {
        if (digits < 3)
            code = code * 10 + (line.at(i).unicode() - '0');
        ++digits;
        ++i;
    }
    // Reply codes have three digits; anything else is no code at all.
    m_statusCode = digits == 3 ? code : 0;
    return !(i < size && line.at(i) == QLatin1Char('-'));
}

void TCustomSmtpClient::ProcessLine(const QByteArray& raw) {
    const QString line = MailEncoding::fromWire(raw);
    const TSmtpState state = m_state;
    m_lastResponse = line;
    TriggerResponse(line);
    TriggerDisplay(QStringLiteral("< ") + line);
    if (m_state != state || !m_socket->isConnected())
        return; // a handler has moved the session on
    if (state == smtpWaitingBanner) {
        if (!ReadStatusCode(line))
            return;
        if (m_statusCode != 220) {
            m_requestResult = m_statusCode != 0 ? m_statusCode : 500;
            SetErrorMessage(line);
            m_socket->close(); // the request ends when the close is reported
            return;
        }
        SetState(smtpConnected);
        TriggerSessionConnected(0);
        EndStep(0);
        return;
    }
    if (state != smtpWaitingResponse)
        return;
    if (!ReadStatusCode(line))
        return;
    if (m_okResponses.contains(m_statusCode))
        m_requestResult = 0;
    else
        m_requestResult = m_statusCode != 0 ? m_statusCode : 500;
    if (m_requestResult != 0)
        SetErrorMessage(line);
    const ReplyHandler next = m_next;
    m_next = nullptr;
    if (!next)
        throw SmtpException(QStringLiteral("Program error: FNext is nil"));
    (this->*next)();
}

void TCustomSmtpClient::WSocketDataSent() {
    if (m_sendingMessage)
        SendNextMessageLine();
}

void TCustomSmtpClient::WSocketSessionClosed(int error) {
    m_connected = false;
    m_sendingMessage = false;
    m_inData = false;
    TriggerSessionClosed(quint16(error));
    if (m_requestDoneFlag)
        return;
    if (m_state == smtpAbort && !m_highLevelFlag) {
        m_requestResult = ErrorAborted;
        m_lastResponse = AbortedText;
        m_errorMessage = AbortedText;
    } else if (m_requestResult == 0) {
        m_requestResult = ErrorConnectionClosed;
    }
    EndStep(quint16(m_requestResult));
}

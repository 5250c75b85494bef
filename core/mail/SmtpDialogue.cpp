#include "core/mail/SmtpDialogue.h"

#include "core/mail/MailEncoding.h"
#include "core/mail/SmtpException.h"
#include "platform/SocketError.h"
#include "platform/system/TcpClientSocket.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHostAddress>
#include <QScopedValueRollback>
#include <utility>

namespace {

const QString AbortedText = QStringLiteral("426 Operation aborted.");

// The failure of a look-up or connect; the error number itself is the step's result.
QString socketFailureText(const QString& errorText) {
    return QStringLiteral("500 ") + errorText;
}

} // namespace

SmtpDialogue::SmtpDialogue(QObject* parent) : SmtpDialogue(new TcpClientSocket, parent) {}

SmtpDialogue::SmtpDialogue(TcpClientSocket* socket, QObject* parent)
    : QObject(parent), m_socket(socket) {
    m_socket->setParent(this);
    connect(m_socket, &TcpClientSocket::lookupDone, this,
            [this](int error, const QString& text, const QHostAddress& address) {
                InEvent([&] { WSocketDnsLookupDone(error, text, address); });
            });
    connect(m_socket, &TcpClientSocket::connectDone, this, [this](int error, const QString& text) {
        InEvent([&] { WSocketSessionConnected(error, text); });
    });
    connect(m_socket, &TcpClientSocket::encryptionDone, this, [this](bool ok, const QString& text) {
        InEvent([&] { WSocketEncryptionDone(ok, text); });
    });
    connect(m_socket, &TcpClientSocket::dataAvailable, this,
            [this] { InEvent([&] { WSocketDataAvailable(); }); });
    connect(m_socket, &TcpClientSocket::dataSent, this,
            [this] { InEvent([&] { WSocketDataSent(); }); });
    connect(m_socket, &TcpClientSocket::closed, this,
            [this](int error) { InEvent([&] { WSocketSessionClosed(error); }); });
}

SmtpDialogue::~SmtpDialogue() {
    QObject::disconnect(m_socket, nullptr, this, nullptr);
}

bool SmtpDialogue::IsEncrypted() const {
    return m_socket->isEncrypted();
}

void SmtpDialogue::customEvent(QEvent* event) {
    if (event->type() != SmtpRequestDoneEvent::Kind)
        return;
    const auto* done = static_cast<SmtpRequestDoneEvent*>(event);
    const TSmtpRequest rqType = done->rqType;
    const quint16 error = done->error;
    // An error thrown by the caller's handler leaves this event like any handler's error
    // and is shown by the application object.
    TriggerRequestDone(rqType, error);
    Q_EMIT requestDone(rqType, error);
}

// ---------------------------------------------------------------------------------------
// Request bookkeeping

void SmtpDialogue::SetState(TSmtpState state) {
    if (m_state == state)
        return;
    m_state = state;
    TriggerStateChange();
    Q_EMIT stateChanged(state);
}

void SmtpDialogue::CheckReady() const {
    if (m_state != smtpReady && m_state != smtpInternalReady)
        throw SmtpException(QStringLiteral("SMTP component not ready"));
}

void SmtpDialogue::CheckConnected() const {
    if (!m_connected)
        throw SmtpException(QStringLiteral("SMTP component not connected"));
}

void SmtpDialogue::SetErrorMessage(const QString& text) {
    if (m_errorMessage.isEmpty())
        m_errorMessage = text;
}

void SmtpDialogue::RecordFailure(const QString& text) {
    m_lastResponse = text;
    m_statusCode = 500;
    m_requestResult = 500;
    SetErrorMessage(text);
}

void SmtpDialogue::StepStarts(TSmtpRequest rqType) {
    if (!m_plan.isRunning()) {
        m_requestType = rqType;
        m_errorMessage.clear();
    }
    m_requestDoneFlag = false;
    m_requestResult = 0;
}

void SmtpDialogue::ExecAsync(TSmtpRequest rqType, const QString& cmd, QList<int> okResponses,
                             ReplyHandler next, const QString& shownAs) {
    CheckReady();
    CheckConnected();
    if (!m_plan.isRunning())
        m_requestType = rqType;
    if (!next)
        next = [this] { EndStep(quint16(m_requestResult)); };
    m_reply.await(std::move(okResponses), std::move(next));
    m_requestDoneFlag = false;
    SetState(smtpWaitingResponse);
    m_commandShownAs = shownAs;
    SendCommand(cmd);
}

QString SmtpDialogue::TakeCommandShownAs() {
    return std::exchange(m_commandShownAs, QString());
}

bool SmtpDialogue::EndedByFailure() {
    if (m_requestResult == 0)
        return false;
    EndStep(quint16(m_requestResult));
    return true;
}

void SmtpDialogue::FailStep(quint16 code, const QString& text) {
    m_lastResponse = text;
    m_statusCode = code;
    m_requestResult = code;
    SetErrorMessage(text);
    EndStep(code);
}

void SmtpDialogue::FailAndClose(const QString& text) {
    RecordFailure(text);
    m_socket->close();
}

void SmtpDialogue::EndStep(quint16 error) {
    if (m_requestDoneFlag)
        return;
    m_requestDoneFlag = true;
    m_reply.forget();
    m_inData = false;
    if (m_plan.isRunning()) {
        if (m_state != smtpAbort)
            SetState(smtpInternalReady);
        NextStep();
        return;
    }
    EndRequest(m_requestType, error);
}

void SmtpDialogue::EndRequest(TSmtpRequest rqType, quint16 error) {
    m_plan.clear();
    m_reply.forget();
    m_sendingMessage = false;
    m_inData = false;
    m_readingCapabilities = false;
    RequestFinished();
    m_lastRequestResult = error;
    SetState(smtpReady);
    QCoreApplication::postEvent(this, new SmtpRequestDoneEvent(rqType, error));
}

void SmtpDialogue::HighLevelAsync(TSmtpRequest rqType, TSmtpFctSet fcts) {
    if (m_connected && (fcts & smtpFctBit(smtpFctConnect)))
        throw SmtpException(QStringLiteral("SMTP component already connected"));
    CheckReady();
    m_requestResult = 0;
    m_lastResponse.clear();
    m_errorMessage.clear();
    m_requestType = rqType;
    m_plan.start(rqType, fcts);
    try {
        NextStep();
    } catch (...) {
        // The first step refused to start: no request is running. The error goes on to
        // the caller.
        m_plan.clear();
        m_requestDoneFlag = true;
        m_reply.forget();
        SetState(smtpReady);
        throw;
    }
}

void SmtpDialogue::NextStep() {
    for (;;) {
        if (m_state == smtpAbort) {
            m_plan.abort(ErrorAborted);
            m_errorMessage = AbortedText;
            m_lastResponse = AbortedText;
        } else if (m_requestResult != 0) {
            m_plan.stepFailed(m_requestResult, TlsMode == smtpTlsRequired);
        }

        const TSmtpFct fct = m_plan.takeNext();
        if (fct == smtpFctNone) {
            EndRequest(m_plan.requestType(), quint16(m_plan.result()));
            return;
        }
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
        if (!m_plan.isRunning())
            return; // the request has ended meanwhile
        RecordFailure(QStringLiteral("500 ") + failure);
        m_requestDoneFlag = true;
        m_reply.forget();
        if (m_state != smtpAbort)
            SetState(smtpInternalReady);
    }
}

template <typename F> void SmtpDialogue::InEvent(F&& body) {
    const QScopedValueRollback<int> depth(m_eventDepth, m_eventDepth + 1);
    try {
        body();
    } catch (const TacknoteError& e) {
        FailFromEvent(e.message());
    } catch (const std::exception& e) {
        FailFromEvent(QString::fromLocal8Bit(e.what()));
    }
}

// Whatever fails here in turn (a caller's handler, say) leaves the socket event and is
// shown by the application object.
void SmtpDialogue::FailFromEvent(const QString& text) {
    RecordFailure(QStringLiteral("500 ") + text);
    m_sendingMessage = false;
    // Inside DATA the server would take whatever follows as message text, and a
    // half-sent message must not be delivered: drop the connection.
    if (m_inData) {
        m_inData = false;
        m_socket->abort();
    }
    if (!m_requestDoneFlag)
        EndStep(500);
}

void SmtpDialogue::AbortSession() {
    SetState(smtpAbort);
    m_socket->cancelLookup();
    m_sendingMessage = false;
    m_inData = false;
    m_socket->abort(); // reports the close at once when a connection was up
    m_connected = false;
    if (!m_requestDoneFlag) {
        if (!m_plan.isRunning()) {
            m_requestResult = ErrorAborted;
            m_lastResponse = AbortedText;
            m_errorMessage = AbortedText;
        }
        EndStep(ErrorAborted);
    }
    SetState(smtpReady);
}

// ---------------------------------------------------------------------------------------
// The connection

void SmtpDialogue::BeginConnect() {
    m_untrustedCertificate = QSslCertificate();
    m_certificateProblems.clear();
    m_reader.clear();
    m_esmtp = false;
    m_readingCapabilities = false;
    m_capabilities.clear();
    SetState(smtpDnsLookup);
    m_socket->startLookup(Host);
}

void SmtpDialogue::BeginEncryption() {
    // Anything received after the server's go-ahead came before the encryption and is
    // not to be trusted.
    m_reader.clear();
    m_socket->discardReceived();
    m_esmtp = false;
    m_capabilities.clear();
    SetState(smtpWaitingResponse);
    StartEncryption();
}

void SmtpDialogue::StartEncryption() {
    m_socket->trustCertificate(TrustedCertificate);
    m_socket->startEncryption(Host, ExtraCaCertificates);
}

void SmtpDialogue::WSocketDnsLookupDone(int error, const QString& errorText,
                                        const QHostAddress& address) {
    if (m_state != smtpDnsLookup)
        return;
    if (error != 0) {
        RecordFailure(socketFailureText(errorText));
        EndStep(quint16(error));
        return;
    }
    SetState(smtpConnecting);
    try {
        m_socket->connectTo(address, Port, LocalAddr);
    } catch (const SocketError& e) {
        // Told in the session's own terms: to its caller this is a mail error.
        const SmtpException failure(e.message());
        RecordFailure(QStringLiteral("500 SmtpException: ") + failure.message());
        EndStep(500);
    }
}

void SmtpDialogue::WSocketSessionConnected(int error, const QString& errorText) {
    if (m_state != smtpConnecting)
        return;
    if (error != 0) {
        RecordFailure(socketFailureText(errorText));
        m_connected = false;
        m_socket->abort();
        EndStep(quint16(error));
        return;
    }
    if (TlsMode == smtpTlsImplicit) {
        // The session is connected once the handshake has succeeded.
        StartEncryption();
        return;
    }
    m_connected = true;
    SetState(smtpWaitingBanner);
}

void SmtpDialogue::WSocketEncryptionDone(bool ok, const QString& errorText) {
    if (!ok) {
        // The socket drops the connection right after this; that close ends the step
        // with this failure.
        RecordFailure(QStringLiteral("500 ") + errorText);
        m_untrustedCertificate = m_socket->refusedCertificate();
        m_certificateProblems = m_socket->certificateErrors();
        return;
    }
    if (m_state == smtpConnecting) {
        m_connected = true;
        SetState(smtpWaitingBanner);
        return;
    }
    if (m_state == smtpWaitingResponse && !m_requestDoneFlag)
        TlsEstablished();
}

void SmtpDialogue::WSocketDataAvailable() {
    for (;;) {
        if (!m_socket->isConnected())
            return;
        char received[ReceiveBufferSize];
        const qint64 got = m_socket->read(received, sizeof received);
        if (got <= 0)
            return;
        m_reader.append(QByteArrayView(received, got));

        while (m_socket->isConnected()) {
            const std::optional<QByteArray> line = m_reader.takeLine();
            if (!line)
                break;
            ProcessLine(*line);
        }
    }
}

void SmtpDialogue::ProcessLine(const QByteArray& raw) {
    const QString line = MailEncoding::fromWire(raw);
    const TSmtpState state = m_state;
    m_lastResponse = line;
    TriggerResponse(line);
    TriggerDisplay(QStringLiteral("< ") + line);
    if (m_state != state || !m_socket->isConnected())
        return; // a handler has moved the session on
    if (state == smtpWaitingBanner) {
        if (!SmtpReplyReader::readStatusCode(line, m_statusCode))
            return;
        if (m_statusCode != 220) {
            m_requestResult = m_statusCode != 0 ? m_statusCode : 500;
            SetErrorMessage(line);
            m_socket->close(); // the request ends when the close is reported
            return;
        }
        SetState(smtpConnected);
        TriggerSessionConnected(0);
        Q_EMIT sessionConnected(0);
        EndStep(0);
        return;
    }
    if (state != smtpWaitingResponse)
        return;
    const bool finalLine = SmtpReplyReader::readStatusCode(line, m_statusCode);
    // EHLO names one extension on each line after the first.
    if (m_readingCapabilities && m_statusCode == 250)
        m_capabilities.add(line);

    if (!finalLine)
        return;
    m_requestResult = m_reply.resultOf(m_statusCode);
    if (m_requestResult != 0)
        SetErrorMessage(line);
    const ReplyHandler next = m_reply.takeNext();
    if (!next)
        throw SmtpException(QStringLiteral("Program error: FNext is nil"));
    next();
}

void SmtpDialogue::WSocketDataSent() {
    if (m_sendingMessage)
        SendNextMessageLine();
}

void SmtpDialogue::WSocketSessionClosed(int error) {
    // Only a connection the session reported as made is reported as closed (not one
    // whose TLS handshake failed before the session began).
    const bool wasConnected = m_connected;
    m_connected = false;
    m_sendingMessage = false;
    m_inData = false;
    if (wasConnected) {
        TriggerSessionClosed(quint16(error));
        Q_EMIT sessionClosed(quint16(error));
    }
    if (m_requestDoneFlag)
        return;
    if (m_state == smtpAbort && !m_plan.isRunning()) {
        m_requestResult = ErrorAborted;
        m_lastResponse = AbortedText;
        m_errorMessage = AbortedText;
    } else if (m_requestResult == 0) {
        m_requestResult = ErrorConnectionClosed;
    }
    EndStep(quint16(m_requestResult));
}

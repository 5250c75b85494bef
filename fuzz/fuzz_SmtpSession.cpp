// The whole SMTP session on a scripted connection, thousands of sessions a second: the
// server's replies (well-formed ones and any bytes), its hang-ups, failed look-ups,
// connects and TLS handshakes, and the caller's aborts come in any order. The session
// opens (with each authentication and TLS mode), sends a message when the opening
// succeeded and quits. Rules checked:
// - every request that started ends exactly once, with State smtpReady by then;
// - every line on the wire ends in CR LF, with no other CR or LF in it, and no line of a
//   message is a lone "." (only the end of the message is);
// - with OwnHeaders, the end of the message comes only after every body line;
// - the password is never shown by OnDisplay or OnCommand, and never sent in plain text
//   when TLS is required or was offered and asked for.

#include "core/mail/SmtpAuth.h"
#include "core/mail/SmtpException.h"
#include "core/mail/SmtpSession.h"
#include "core/mail/UtcOffsetSource.h"
#include "core/store/Windows1252.h"
#include "fuzz/FuzzEnvironment.h"
#include "fuzz/ScriptedClientSocket.h"
#include "platform/Clock.h"

#include <QCoreApplication>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(10, 0)); }
};

class FixedOffset final : public UtcOffsetSource {
public:
    std::optional<int> utcOffsetMinutes(const QDateTime&) const override { return -180; }
};

// Replies a server gives, so the session gets far quickly; any bytes come in too.
const char* const CannedReplies[] = {
    "220 mail.example.org ESMTP\r\n",
    "250 ok\r\n",
    "250-mail.example.org\r\n250-STARTTLS\r\n250 AUTH PLAIN LOGIN CRAM-MD5\r\n",
    "250-mail.example.org\r\n250 AUTH LOGIN\r\n",
    "334 VXNlcm5hbWU6\r\n",
    "334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n",
    "334\r\n",
    "235 2.7.0 Authentication successful\r\n",
    "251 will forward\r\n",
    "354 go ahead\r\n",
    "221 bye\r\n",
    "220 ready for TLS\r\n",
    "550 no such user\r\n",
    "421 closing\r\n",
};

QString text(FuzzedDataProvider& data, size_t maxLength) {
    const std::string bytes = data.ConsumeRandomLengthString(maxLength);
    return Windows1252::decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

class SessionRun {
public:
    explicit SessionRun(FuzzedDataProvider& data)
        : m_data(data), m_socket(new ScriptedClientSocket), m_session(m_socket, m_clock, m_offset) {
        m_session.Host = QStringLiteral("mail.example.org");
        m_session.Port = QStringLiteral("25");
        m_session.SignOn = QStringLiteral("tacknote.example.org");
        m_session.AuthType = TSmtpAuthType(data.ConsumeIntegralInRange(0, 3));
        m_session.TlsMode = TSmtpTlsMode(data.ConsumeIntegralInRange(0, 3));
        m_session.OwnHeaders = data.ConsumeBool();
        m_session.Username = QStringLiteral("ana");
        m_session.Password = QStringLiteral("Senha-secreta-42");
        m_session.FromName = text(data, 40);
        const int recipients = data.ConsumeIntegralInRange(1, 3);
        for (int i = 0; i < recipients; ++i)
            m_session.RcptName << text(data, 40);
        const int lines = data.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < lines; ++i)
            m_session.MailMessage << text(data, 1200);
        m_session.HdrSubject = text(data, 80);

        // A secret the caller's own texts happen to hold may show with them.
        const QString userText = m_session.FromName + m_session.RcptName.join(QString()) +
                                 m_session.MailMessage.join(QString()) + m_session.HdrSubject;
        for (const QString& secret :
             {m_session.Password, SmtpAuth::loginAnswer(m_session.Password),
              SmtpAuth::plainCommand(m_session.Username, m_session.Password)}) {
            if (!userText.contains(secret))
                m_secrets << secret;
        }
        const auto shown = [this](SmtpSession*, const QString& message) {
            for (const QString& secret : std::as_const(m_secrets)) {
                if (message.contains(secret))
                    Fuzz::fail("the password shown", message);
            }
        };
        m_session.OnDisplay = shown;
        m_session.OnCommand = shown;
        m_session.OnRequestDone = [this](SmtpSession*, TSmtpRequest rqType, quint16 error) {
            if (m_session.State() != smtpReady)
                Fuzz::fail("a request ended while the session is not ready",
                           QString::number(m_session.State()));
            ++m_ended;
            m_lastDone = rqType;
            m_lastError = error;
            m_doneWaiting = true;
        };
    }

    void run() {
        start([this] { m_session.OpenSession(); });
        for (int step = 0; step < 600 && m_data.remaining_bytes() > 0; ++step) {
            deliverPosted();
            nextRequest();
            act();
            checkWire();
        }
        m_session.AbortSession();
        deliverPosted();
        checkWire();
        if (m_ended != m_started)
            Fuzz::fail("every request ends exactly once",
                       QStringLiteral("%1 started, %2 ended").arg(m_started).arg(m_ended));
    }

private:
    template <typename F> void start(F&& request) {
        try {
            request();
            ++m_started;
        } catch (const SmtpException&) {
            // Refused at once, as documented: no request runs.
        }
    }

    void deliverPosted() { QCoreApplication::sendPostedEvents(&m_session); }

    // After an opening that worked, the message; after the message, QUIT.
    void nextRequest() {
        if (!m_doneWaiting)
            return;
        m_doneWaiting = false;
        if (m_lastDone == smtpReqOpen && m_lastError == 0)
            start([this] { m_session.TransferMail(); });
        else if (m_lastDone == smtpReqMail)
            start([this] { m_session.QuitSession(); });
    }

    void act() {
        ScriptedClientSocket& s = *m_socket;
        if (s.lookupRequested) {
            s.lookupRequested = false;
            const bool ok = m_data.ConsumeIntegralInRange(0, 15) != 0;
            Q_EMIT s.lookupDone(ok ? 0 : TcpClientSocket::ErrorHostNotFound,
                                ok ? QString() : QStringLiteral("Host not found"),
                                ok ? QHostAddress(QHostAddress::LocalHost) : QHostAddress());
            return;
        }
        if (s.connectRequested) {
            s.connectRequested = false;
            const bool ok = m_data.ConsumeIntegralInRange(0, 15) != 0;
            s.connected = ok;
            m_startTlsAsked = false;
            Q_EMIT s.connectDone(ok ? 0 : TcpClientSocket::ErrorConnectionRefused,
                                 ok ? QString() : QStringLiteral("Connection refused"));
            return;
        }
        if (s.encryptionRequested) {
            s.encryptionRequested = false;
            if (m_data.ConsumeIntegralInRange(0, 7) != 0) {
                s.encrypted = true;
                Q_EMIT s.encryptionDone(true, QString());
            } else {
                Q_EMIT s.encryptionDone(false, QStringLiteral("TLS handshake failed"));
                s.abort();
            }
            return;
        }
        if (s.closeRequested && m_data.ConsumeBool()) {
            s.closeRequested = false;
            s.connected = false;
            s.unacknowledged = 0;
            Q_EMIT s.closed(0);
            return;
        }
        const int choice = m_data.ConsumeIntegralInRange(0, 15);
        if (choice <= 7) {
            const size_t count = sizeof CannedReplies / sizeof CannedReplies[0];
            serverSends(CannedReplies[m_data.ConsumeIntegralInRange<size_t>(0, count - 1)]);
        } else if (choice <= 9) {
            const std::string bytes =
                m_data.ConsumeRandomLengthString(m_data.ConsumeIntegralInRange(0, 5000));
            serverSends(QByteArray(bytes.data(), qsizetype(bytes.size())));
        } else if (choice <= 13) {
            if (s.unacknowledged > 0 && s.isConnected()) {
                s.unacknowledged = 0;
                Q_EMIT s.dataSent();
            }
        } else if (choice == 14) {
            if (s.connected) {
                s.connected = false;
                s.closeRequested = false;
                s.unacknowledged = 0;
                Q_EMIT s.closed(10054);
            }
        } else {
            m_session.AbortSession();
        }
    }

    void serverSends(const QByteArray& bytes) {
        if (!m_socket->connected)
            return;
        m_socket->incoming += bytes;
        Q_EMIT m_socket->dataAvailable();
    }

    // Looks at what was sent since the last look.
    void checkWire() {
        const ScriptedClientSocket& s = *m_socket;
        for (; m_checked < s.sent.size(); ++m_checked) {
            const QByteArray& payload = s.sent.at(m_checked);
            if (!payload.endsWith("\r\n"))
                Fuzz::fail("a send that does not end in CR LF", Fuzz::visible(payload));
            const QList<QByteArray> lines = payload.chopped(2).split('\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QByteArray& line = lines[i];
                const bool last = i + 1 == lines.size();
                if ((!last && !line.endsWith('\r')) || line.count('\r') > (last ? 0 : 1))
                    Fuzz::fail("a lone CR or LF on the wire", Fuzz::visible(payload));
            }
            const QString wire = Windows1252::decode(payload);
            for (const QString& secret : std::as_const(m_secrets)) {
                const bool protectedMode = m_session.TlsMode == smtpTlsRequired ||
                                           m_session.TlsMode == smtpTlsImplicit || m_startTlsAsked;
                if (wire.contains(secret) && !s.sentEncrypted.at(m_checked) && protectedMode)
                    Fuzz::fail("the password sent in plain text", Fuzz::visible(payload));
            }
            checkMessage(payload);
        }
    }

    void checkMessage(const QByteArray& payload) {
        if (payload == "STARTTLS\r\n")
            m_startTlsAsked = true;
        if (payload == "DATA\r\n") {
            m_inMessage = true;
            m_messageSends = 0;
            return;
        }
        if (!m_inMessage)
            return;
        if (payload == ".\r\n") {
            m_inMessage = false;
            if (m_session.OwnHeaders && m_messageSends != m_session.MailMessage.size())
                Fuzz::fail("the end of the message before its last line",
                           QStringLiteral("%1 of %2 lines sent")
                               .arg(m_messageSends)
                               .arg(m_session.MailMessage.size()));
            return;
        }
        ++m_messageSends;
        for (const QByteArray& line : payload.chopped(2).split('\n')) {
            if (line == "." || line == ".\r")
                Fuzz::fail("a message line that ends the message", Fuzz::visible(payload));
        }
    }

    FuzzedDataProvider& m_data;
    FixedClock m_clock;
    FixedOffset m_offset;
    ScriptedClientSocket* m_socket; // owned by the session
    SmtpSession m_session;
    QStringList m_secrets;
    int m_started = 0;
    int m_ended = 0;
    bool m_doneWaiting = false;
    TSmtpRequest m_lastDone = smtpReqConnect;
    quint16 m_lastError = 0;
    qsizetype m_checked = 0;
    bool m_inMessage = false;
    qsizetype m_messageSends = 0;
    bool m_startTlsAsked = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    SessionRun(data).run();
    return 0;
}

#pragma once

#include "core/mail/SmtpException.h"
#include "core/mail/SmtpSessionWithFiles.h"
#include "tests/mail/FixedUtcOffset.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/mail/SignalWait.h"
#include "tests/support/FakeClock.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QTest>
#include <functional>

using RequestEnd = QPair<TSmtpRequest, quint16>;

// The Base64 form of an answer to AUTH, as it goes on the wire.
inline QByteArray b64(const QByteArray& data) {
    return data.toBase64();
}

// The text of the SmtpException the action throws; empty when it throws none.
inline QString thrownText(const std::function<void()>& action) {
    try {
        action();
    } catch (const SmtpException& e) {
        return e.message();
    }
    return QString();
}

// One session against one scripted server, recording what the session reports.
class Harness {
public:
    Harness() {
        smtp.Host = QStringLiteral("127.0.0.1");
        smtp.Port = QString::number(server.port());
        smtp.SignOn = QStringLiteral("tester");
        // The scripted server has no TLS: plain text, as the user may choose it.
        smtp.TlsMode = smtpTlsNone;
        smtp.OnRequestDone = [this](SmtpSession* sender, TSmtpRequest rq, quint16 error) {
            ends.append({rq, error});
            readyAtEnd.append(sender->State() == smtpReady);
        };
        smtp.OnSessionConnected = [this](SmtpSession*, quint16) { ++sessionsConnected; };
        smtp.OnSessionClosed = [this](SmtpSession*, quint16) { ++sessionsClosed; };
        smtp.OnCommand = [this](SmtpSession*, const QString& msg) { commandEvents << msg; };
    }

    // Runs one request to its end; false when it never ended.
    bool run(const std::function<void()>& start) {
        const qsizetype before = ends.size();
        start();
        return waitForEnds(before + 1);
    }
    // Waits until count requests have ended in all.
    bool waitForEnds(qsizetype count) {
        return waitUntil(&smtp, &SmtpSession::requestDone, [&] { return ends.size() >= count; });
    }
    bool waitForDisconnection() {
        return waitUntil(&smtp, &SmtpSession::sessionClosed, [&] { return !smtp.IsConnected(); });
    }
    bool waitForServer(const std::function<bool()>& ready) {
        return waitUntil(&server, &ScriptedSmtpServer::lineHandled, ready);
    }
    bool waitForServerDisconnections(int count) {
        return waitUntil(&server, &ScriptedSmtpServer::clientDisconnected,
                         [&] { return server.disconnections >= count; });
    }
    // Opens a session and transfers the message as the session is set up now.
    bool send() {
        if (smtp.FromName.isEmpty())
            smtp.FromName = QStringLiteral("me@example.org");
        if (smtp.RcptName.isEmpty())
            smtp.RcptName = {QStringLiteral("ann@example.org")};
        if (!smtp.IsConnected() && !run([&] { smtp.OpenSession(); }))
            return false;
        return run([&] { smtp.TransferMail(); });
    }
    // The message as received, before and after its first empty line.
    // The Message-ID's unique part is shown as "*".
    QByteArrayList headerLines() const {
        const qsizetype blank = server.messageLines.indexOf(QByteArray());
        QByteArrayList lines =
            server.messageLines.mid(0, blank < 0 ? server.messageLines.size() : blank);
        static const QRegularExpression unique(QStringLiteral("^Message-ID: <[0-9a-f]{32}@"));
        for (QByteArray& line : lines)
            line = QString::fromLatin1(line)
                       .replace(unique, QStringLiteral("Message-ID: <*@"))
                       .toLatin1();
        return lines;
    }
    QByteArrayList bodyLines() const {
        const qsizetype blank = server.messageLines.indexOf(QByteArray());
        return blank < 0 ? QByteArrayList() : server.messageLines.mid(blank + 1);
    }
    quint16 lastResult() const { return ends.isEmpty() ? quint16(65535) : ends.last().second; }

    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5))};
    FixedUtcOffset offset;
    ScriptedSmtpServer server;
    SmtpSessionWithFiles smtp{clock, offset};
    QList<RequestEnd> ends;
    QList<bool> readyAtEnd;
    QStringList commandEvents;
    int sessionsConnected = 0;
    int sessionsClosed = 0;
};

// The connection under the SMTP session: connecting that fails, a connection closed or
// aborted in the middle of a request, a server that says nothing, reply lines beyond the
// receive buffer, and a caller's handler that fails inside a socket event.
#include "core/mail/SmtpException.h"
#include "core/mail/SmtpSessionWithFiles.h"
#include "tests/mail/SessionHarness.h"

#include <QTcpServer>
#include <QtTest>

class SmtpConnectionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectFailures_data();
    void connectFailures();
    void connectionClosedDuringStep_data();
    void connectionClosedDuringStep();
    void abortDuringTransfer_data();
    void abortDuringTransfer();
    void abortDuringLookupIgnoresLateResult();
    void silentServerKeepsWaiting();
    void overlongReplyLines_data();
    void overlongReplyLines();
    void handlerFailureInsideEventEndsRequest();
};

void SmtpConnectionTest::connectFailures_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("localAddr");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("errorNumber"); // what the single step reports; 0: not checked

    QTest::newRow("connection refused")
        << QStringLiteral("127.0.0.1") << QStringLiteral("closed") << QStringLiteral("127.0.0.1")
        << QStringLiteral("500 Conexão recusada pelo servidor") << 10061;
    QTest::newRow("no host name") << QString() << QStringLiteral("25") << QStringLiteral("0.0.0.0")
                                  << QStringLiteral("500 Servidor não encontrado") << 11001;
    QTest::newRow("unknown service name")
        << QStringLiteral("127.0.0.1") << QStringLiteral("nosuchservice") << QString()
        << QStringLiteral("500 SmtpException: Unknown port 'nosuchservice'") << 0;
    QTest::newRow("unusable local address")
        << QStringLiteral("127.0.0.1") << QStringLiteral("server") << QStringLiteral("local")
        << QStringLiteral("500 SmtpException: Invalid local address 'local'") << 0;
}

void SmtpConnectionTest::connectFailures() {
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, localAddr);
    QFETCH(QString, expectedText);
    QFETCH(int, errorNumber);

    Harness h;
    h.smtp.Host = host;
    h.smtp.LocalAddr = localAddr;
    if (port == QLatin1String("server")) {
        // the scripted server's own port
    } else if (port == QLatin1String("closed")) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        h.smtp.Port = QString::number(probe.serverPort());
    } else {
        h.smtp.Port = port;
    }
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(500));
    QCOMPARE(h.smtp.LastResponse(), expectedText);
    QCOMPARE(h.smtp.ErrorMessage(), h.smtp.LastResponse());
    QVERIFY(!h.smtp.IsConnected());
    QCOMPARE(h.smtp.State(), smtpReady);

    // The single step reports the socket error number itself.
    if (errorNumber != 0) {
        QVERIFY(h.run([&] { h.smtp.Connect(); }));
        QCOMPARE(h.ends.last(), RequestEnd(smtpReqConnect, quint16(errorNumber)));
    }
}

void SmtpConnectionTest::connectionClosedDuringStep_data() {
    QTest::addColumn<QByteArray>("closeAt");
    QTest::addColumn<int>("messageLinesBeforeClose");
    QTest::newRow("at MAIL FROM") << QByteArray("MAIL") << 0;
    QTest::newRow("at the second recipient") << QByteArray("RCPT TO:<bob") << 0;
    QTest::newRow("at DATA") << QByteArray("DATA") << 0;
}

void SmtpConnectionTest::connectionClosedDuringStep() {
    QFETCH(QByteArray, closeAt);
    Harness h;
    h.server.on(closeAt, "<close>");
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    h.smtp.FromName = QStringLiteral("me@example.org");
    h.smtp.RcptName = {QStringLiteral("ann@example.org"), QStringLiteral("bob@example.org")};
    QVERIFY(h.run([&] { h.smtp.TransferMail(); }));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, SmtpSession::ErrorConnectionClosed));
    QCOMPARE(h.sessionsClosed, 1);
    QVERIFY(!h.smtp.IsConnected());
    QCOMPARE(h.smtp.State(), smtpReady);
    QVERIFY(!h.server.messageComplete);
}

void SmtpConnectionTest::abortDuringTransfer_data() {
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QByteArray>("messageReply");
    QTest::addColumn<QByteArray>("waitFor");
    QTest::newRow("waiting for a recipient's reply")
        << QByteArrayList{"RCPT TO:<bob", "<silent>"} << QByteArray("250 ok")
        << QByteArray("RCPT TO:<bob");
    QTest::newRow("waiting for the message's reply")
        << QByteArrayList{} << QByteArray("<silent>") << QByteArray();
}

void SmtpConnectionTest::abortDuringTransfer() {
    QFETCH(QByteArrayList, rules);
    QFETCH(QByteArray, messageReply);
    QFETCH(QByteArray, waitFor);

    Harness h;
    h.server.onAll(rules);
    h.server.messageReply = messageReply;
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    h.smtp.FromName = QStringLiteral("me@example.org");
    h.smtp.RcptName = {QStringLiteral("ann@example.org"), QStringLiteral("bob@example.org")};
    h.smtp.MailMessage = {QStringLiteral("text")};
    h.smtp.TransferMail();
    if (waitFor.isEmpty())
        QVERIFY(h.waitForServer([&] { return h.server.messageComplete; }));
    else
        QVERIFY(h.waitForServer([&] {
            return !h.server.commands.isEmpty() && h.server.commands.last().startsWith(waitFor);
        }));
    QCOMPARE(h.smtp.State(), smtpWaitingResponse);

    h.smtp.AbortSession();
    QCOMPARE(h.smtp.State(), smtpReady);
    QVERIFY(!h.smtp.IsConnected());
    QCOMPARE(h.smtp.LastRequestResult(), SmtpSession::ErrorAborted);
    QCOMPARE(h.smtp.ErrorMessage(), QStringLiteral("426 Operation aborted."));
    QVERIFY(h.waitForEnds(2));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, 426));
    QCOMPARE(h.sessionsClosed, 1);

    // The session can be used again afterwards.
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(0));
}

void SmtpConnectionTest::abortDuringLookupIgnoresLateResult() {
    Harness h;
    h.smtp.OpenSession();
    QCOMPARE(h.smtp.State(), smtpDnsLookup);
    h.smtp.AbortSession();
    QCOMPARE(h.smtp.State(), smtpReady);
    QVERIFY(h.waitForEnds(1));
    QCOMPARE(h.ends.first(), RequestEnd(smtpReqOpen, 426));
    // Whatever the lookup would have delivered is gone: no connection is made.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(h.server.connections, 0);
    QCOMPARE(h.ends.size(), 1);
}

void SmtpConnectionTest::silentServerKeepsWaiting() {
    Harness h;
    h.server.on("HELO", "<silent>");
    h.smtp.OpenSession();
    QVERIFY(h.waitForServer([&] { return h.server.commands.size() == 1; }));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(h.smtp.State(), smtpWaitingResponse);
    QVERIFY(h.ends.isEmpty());
    h.smtp.AbortSession();
    QVERIFY(h.waitForEnds(1));
    QCOMPARE(h.ends.first(), RequestEnd(smtpReqOpen, 426));
}

void SmtpConnectionTest::overlongReplyLines_data() {
    QTest::addColumn<QByteArray>("banner");
    QTest::addColumn<QByteArrayList>("rules");
    const QByteArray longText(6000, 'x');
    QTest::newRow("greeting") << QByteArray("220 " + longText + "\r\n") << QByteArrayList{};
    QTest::newRow("continuation line of EHLO")
        << QByteArray("220 ok\r\n")
        << QByteArrayList{"EHLO", "250-" + longText + "\r\n250-" + longText + "\r\n250 done"};
    QTest::newRow("line of exactly the buffer with CR LF split")
        << QByteArray("220 " + QByteArray(4091, 'y') + "\r\n") << QByteArrayList{};
    QTest::newRow("EHLO naming thousands of extensions")
        << QByteArray("220 ok\r\n")
        << QByteArrayList{"EHLO", QByteArray("250-X-FILLER\r\n").repeated(5000) + "250 done"};
}

void SmtpConnectionTest::overlongReplyLines() {
    QFETCH(QByteArray, banner);
    QFETCH(QByteArrayList, rules);
    Harness h;
    h.server.banner = banner;
    h.server.onAll(rules);
    h.smtp.AuthType = smtpAuthPlain;
    h.server.on("AUTH PLAIN", "235 ok");
    QStringList responses;
    h.smtp.OnResponse = [&](SmtpSession*, const QString& line) { responses << line; };
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(0));
    for (const QString& line : responses)
        QVERIFY(line.size() <= SmtpSession::ReceiveBufferSize);
    QCOMPARE(responses.last(), QStringLiteral("235 ok"));
    QVERIFY(h.smtp.Capabilities().size() <= SmtpSession::MaxCapabilities);
}

void SmtpConnectionTest::handlerFailureInsideEventEndsRequest() {
    Harness h;
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    h.smtp.RcptName = {QStringLiteral("ann@example.org")};
    h.smtp.OnCommand = [](SmtpSession*, const QString& line) {
        if (line.startsWith(QLatin1String("RCPT")))
            throw SmtpException(QStringLiteral("handler gave up"));
    };
    QVERIFY(h.run([&] { h.smtp.TransferMail(); }));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, 500));
    QCOMPARE(h.smtp.ErrorMessage(), QStringLiteral("500 handler gave up"));
    QCOMPARE(h.smtp.State(), smtpReady);
}

QTEST_GUILESS_MAIN(SmtpConnectionTest)
#include "tst_SmtpConnection.moc"

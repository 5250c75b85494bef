// The SMTP session's requests against a scripted server: opening with each way of
// greeting and authenticating, transferring a message to its recipients, replies that
// refuse, requests refused before they start, QUIT, and values that try to smuggle in
// commands of their own.
#include "core/mail/SmtpSessionWithFiles.h"
#include "tests/mail/SessionHarness.h"

#include <QHostInfo>
#include <QtTest>

class SmtpSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openSession_data();
    void openSession();
    void transferMail_data();
    void transferMail();
    void requestEndArrivesThroughEventLoop();
    void refusedRequestsRaise();
    void quitSession();
    void quitStaysPendingAfterFailure();
    void valuesCannotStartNewCommands();
    void greetingNameDefaultsToHostName();
};

void SmtpSessionTest::openSession_data() {
    QTest::addColumn<int>("authType");
    QTest::addColumn<QString>("fromName");
    QTest::addColumn<QByteArray>("banner");
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QByteArrayList>("expectedCommands");
    QTest::addColumn<int>("expectedResult");
    QTest::addColumn<QString>("expectedLastResponse");
    QTest::addColumn<int>("expectedConnected");

    const QByteArray banner = "220 scripted.test ESMTP ready\r\n";
    const QByteArray multiLineEhlo =
        "250-scripted.test greets you\r\n250-8BITMIME\r\n250-AUTH PLAIN LOGIN CRAM-MD5\r\n250 "
        "HELP\r\n";

    QTest::newRow("HELO without authentication")
        << int(smtpAuthNone) << QString() << banner << QByteArrayList{}
        << QByteArrayList{"HELO tester"} << 0 << QStringLiteral("250 scripted.test") << 1;
    QTest::newRow("multi-line greeting and EHLO, PLAIN with user name twice")
        << int(smtpAuthPlain) << QString()
        << QByteArray("220-scripted.test\r\n220-still greeting\r\n220 ready\r\n")
        << QByteArrayList{"EHLO", multiLineEhlo, "AUTH PLAIN", "235 2.7.0 Authenticated"}
        << QByteArrayList{"EHLO tester", "AUTH PLAIN " + b64(QByteArray("user\0user\0secret", 16))}
        << 0 << QStringLiteral("235 2.7.0 Authenticated") << 1;
    QTest::newRow("PLAIN authenticates the user name, not FromName")
        << int(smtpAuthPlain) << QStringLiteral("me@example.org") << banner
        << QByteArrayList{"AUTH PLAIN", "235 ok"}
        << QByteArrayList{"EHLO tester", "AUTH PLAIN " + b64(QByteArray("user\0user\0secret", 16))}
        << 0 << QStringLiteral("235 ok") << 1;
    QTest::newRow("EHLO refused falls back to HELO without authentication")
        << int(smtpAuthPlain) << QString() << banner
        << QByteArrayList{"EHLO", "502 5.5.1 EHLO not implemented"}
        << QByteArrayList{"EHLO tester", "HELO tester"} << 0 << QStringLiteral("250 scripted.test")
        << 1;
    QTest::newRow("EHLO and HELO refused")
        << int(smtpAuthLogin) << QString() << banner
        << QByteArrayList{"EHLO", "502 no", "HELO", "501 no either"}
        << QByteArrayList{"EHLO tester", "HELO tester"} << 501 << QStringLiteral("501 no either")
        << 1;
    QTest::newRow("greeting 554 ends the session")
        << int(smtpAuthPlain) << QString() << QByteArray("554 5.3.2 not today\r\n")
        << QByteArrayList{} << QByteArrayList{} << 554 << QStringLiteral("554 5.3.2 not today")
        << 0;
    QTest::newRow("LOGIN") << int(smtpAuthLogin) << QString() << banner
                           << QByteArrayList{"AUTH LOGIN",       "334 VXNlcm5hbWU6", b64("user"),
                                             "334 UGFzc3dvcmQ6", b64("secret"),      "235 welcome"}
                           << QByteArrayList{"EHLO tester", "AUTH LOGIN", b64("user"),
                                             b64("secret")}
                           << 0 << QStringLiteral("235 welcome") << 1;
    QTest::newRow("LOGIN with the user name refused")
        << int(smtpAuthLogin) << QString() << banner
        << QByteArrayList{"AUTH LOGIN", "334 VXNlcm5hbWU6", b64("user"), "535 5.7.8 no such user"}
        << QByteArrayList{"EHLO tester", "AUTH LOGIN", b64("user")} << 535
        << QStringLiteral("535 5.7.8 no such user") << 1;
    QTest::newRow("CRAM-MD5 with the challenge of RFC 2195")
        << int(smtpAuthCramMD5) << QString() << banner
        << QByteArrayList{"AUTH CRAM-MD5",
                          "334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+",
                          "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw", "235 ok"}
        << QByteArrayList{"EHLO tester", "AUTH CRAM-MD5",
                          "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw"}
        << 0 << QStringLiteral("235 ok") << 1;
    QTest::newRow("CRAM-MD5 with a bare 334")
        << int(smtpAuthCramMD5) << QString() << banner << QByteArrayList{"AUTH CRAM-MD5", "334"}
        << QByteArrayList{"EHLO tester", "AUTH CRAM-MD5"} << 500
        << QStringLiteral("500 Malformed MD5 Challege: 334") << 1;
    QTest::newRow("CRAM-MD5 not offered")
        << int(smtpAuthCramMD5) << QString() << banner
        << QByteArrayList{"AUTH CRAM-MD5", "504 5.5.4 mechanism not supported"}
        << QByteArrayList{"EHLO tester", "AUTH CRAM-MD5"} << 504
        << QStringLiteral("504 5.5.4 mechanism not supported") << 1;
    QTest::newRow("reply without a code is a failure")
        << int(smtpAuthNone) << QString() << banner << QByteArrayList{"HELO", "hello there"}
        << QByteArrayList{"HELO tester"} << 500 << QStringLiteral("hello there") << 1;
}

void SmtpSessionTest::openSession() {
    QFETCH(int, authType);
    QFETCH(QString, fromName);
    QFETCH(QByteArray, banner);
    QFETCH(QByteArrayList, rules);
    QFETCH(QByteArrayList, expectedCommands);
    QFETCH(int, expectedResult);
    QFETCH(QString, expectedLastResponse);
    QFETCH(int, expectedConnected);

    Harness h;
    h.server.banner = banner;
    h.server.onAll(rules);
    h.smtp.AuthType = TSmtpAuthType(authType);
    h.smtp.Username = QStringLiteral("user");
    h.smtp.Password = QStringLiteral("secret");
    if (authType == smtpAuthCramMD5 && expectedResult == 0) {
        h.smtp.Username = QStringLiteral("tim");
        h.smtp.Password = QStringLiteral("tanstaaftanstaaf");
    }
    h.smtp.FromName = fromName;

    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.ends.size(), 1);
    QCOMPARE(h.ends.first().first, smtpReqOpen);
    QCOMPARE(int(h.lastResult()), expectedResult);
    QCOMPARE(int(h.smtp.LastRequestResult()), expectedResult);
    QCOMPARE(h.smtp.State(), smtpReady);
    QCOMPARE(h.smtp.LastResponse(), expectedLastResponse);
    // The first refusal of the request is its error message.
    if (expectedResult != 0 && QTest::currentDataTag() != QLatin1String("EHLO and HELO refused"))
        QCOMPARE(h.smtp.ErrorMessage(), expectedLastResponse);
    if (QTest::currentDataTag() == QLatin1String("EHLO and HELO refused"))
        QCOMPARE(h.smtp.ErrorMessage(), QStringLiteral("502 no"));
    QCOMPARE(h.sessionsConnected, expectedConnected);
    QCOMPARE(h.server.commands, expectedCommands);
    if (expectedConnected == 0)
        QVERIFY(h.waitForDisconnection());
}

void SmtpSessionTest::transferMail_data() {
    QTest::addColumn<QString>("fromName");
    QTest::addColumn<QStringList>("recipients");
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QByteArray>("messageReply");
    QTest::addColumn<QByteArrayList>("expectedCommands");
    QTest::addColumn<bool>("expectMessage");
    QTest::addColumn<int>("expectedResult");
    QTest::addColumn<QString>("expectedError");

    const QStringList three{QStringLiteral("ann@example.org"), QStringLiteral(" bob@example.org "),
                            QStringLiteral("Carl <carl@example.org>")};
    const QByteArrayList threeCommands{"MAIL FROM:<me@example.org>", "RCPT TO:<ann@example.org>",
                                       "RCPT TO:<bob@example.org>", "RCPT TO:<carl@example.org>",
                                       "DATA"};
    const QByteArray ok = "250 2.0.0 queued\r\n";

    QTest::newRow("three recipients accepted")
        << QStringLiteral("me@example.org") << three << QByteArrayList{} << ok << threeCommands
        << true << 0 << QString();
    QTest::newRow("FromName with a display name sends the bracketed address")
        << QStringLiteral("  Me Myself <me@example.org> ") << QStringList{"ann@example.org"}
        << QByteArrayList{} << ok
        << QByteArrayList{"MAIL FROM:<me@example.org>", "RCPT TO:<ann@example.org>", "DATA"} << true
        << 0 << QString();
    QTest::newRow("refused middle recipient does not stop the transfer")
        << QStringLiteral("me@example.org") << three
        << QByteArrayList{"RCPT TO:<bob", "550 5.1.1 no such user"} << ok << threeCommands << true
        << 0 << QStringLiteral("550 5.1.1 no such user");
    QTest::newRow("refused last recipient stops before DATA")
        << QStringLiteral("me@example.org") << three
        << QByteArrayList{"RCPT TO:<carl", "550 5.1.1 unknown"} << ok << threeCommands.mid(0, 4)
        << false << 550 << QStringLiteral("550 5.1.1 unknown");
    QTest::newRow("sender refused")
        << QStringLiteral("me@example.org") << three
        << QByteArrayList{"MAIL FROM", "553 5.7.1 sender rejected"} << ok << threeCommands.mid(0, 1)
        << false << 553 << QStringLiteral("553 5.7.1 sender rejected");
    QTest::newRow("DATA refused") << QStringLiteral("me@example.org") << three
                                  << QByteArrayList{"DATA", "554 5.5.1 no valid recipients"} << ok
                                  << threeCommands << false << 554
                                  << QStringLiteral("554 5.5.1 no valid recipients");
    QTest::newRow("message refused at its end")
        << QStringLiteral("me@example.org") << three << QByteArrayList{}
        << QByteArray("552 5.3.4 message too big\r\n") << threeCommands << true << 552
        << QStringLiteral("552 5.3.4 message too big");
    QTest::newRow("first refused recipient is the error message")
        << QStringLiteral("me@example.org") << three
        << QByteArrayList{"RCPT TO:<ann", "550 first", "RCPT TO:<bob", "551 second"} << ok
        << threeCommands << true << 0 << QStringLiteral("550 first");
}

void SmtpSessionTest::transferMail() {
    QFETCH(QString, fromName);
    QFETCH(QStringList, recipients);
    QFETCH(QByteArrayList, rules);
    QFETCH(QByteArray, messageReply);
    QFETCH(QByteArrayList, expectedCommands);
    QFETCH(bool, expectMessage);
    QFETCH(int, expectedResult);
    QFETCH(QString, expectedError);

    Harness h;
    h.server.onAll(rules);
    h.server.messageReply = messageReply;
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(0));

    h.smtp.FromName = fromName;
    h.smtp.RcptName = recipients;
    h.smtp.MailMessage = {QStringLiteral("Hello.")};
    QVERIFY(h.run([&] { h.smtp.TransferMail(); }));
    QCOMPARE(h.ends.last().first, smtpReqMail);
    QCOMPARE(int(h.lastResult()), expectedResult);
    QCOMPARE(h.smtp.ErrorMessage(), expectedError);
    QCOMPARE(h.server.commands.mid(1), expectedCommands);
    QCOMPARE(h.server.messageComplete, expectMessage);
    QCOMPARE(h.smtp.State(), smtpReady);
    QVERIFY(h.smtp.IsConnected());
}

void SmtpSessionTest::requestEndArrivesThroughEventLoop() {
    Harness h;
    int doneDuringCall = -1;
    h.smtp.OnCommand = [&](SmtpSession*, const QString&) {};
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));

    // QUIT without a connection ends at once, but its end is still announced later.
    h.smtp.AbortSession();
    const qsizetype before = h.ends.size();
    h.smtp.QuitSession();
    doneDuringCall = int(h.ends.size() - before);
    QCOMPARE(doneDuringCall, 0);
    QCOMPARE(h.smtp.State(), smtpReady);
    QVERIFY(h.waitForEnds(before + 1));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqQuit, 0));
    for (bool ready : h.readyAtEnd)
        QVERIFY(ready);
}

void SmtpSessionTest::refusedRequestsRaise() {
    Harness h;
    h.smtp.RcptName = {QStringLiteral("ann@example.org")};
    QCOMPARE(thrownText([&] { h.smtp.TransferMail(); }),
             QStringLiteral("SMTP component not connected"));
    QCOMPARE(thrownText([&] { h.smtp.Helo(); }), QStringLiteral("SMTP component not connected"));
    QCOMPARE(h.smtp.State(), smtpReady);

    h.smtp.OpenSession();
    QCOMPARE(thrownText([&] { h.smtp.OpenSession(); }), QStringLiteral("SMTP component not ready"));
    QCOMPARE(thrownText([&] { h.smtp.MailFrom(); }), QStringLiteral("SMTP component not ready"));
    QVERIFY(h.waitForEnds(1));
    QCOMPARE(thrownText([&] { h.smtp.OpenSession(); }),
             QStringLiteral("SMTP component already connected"));
    QCOMPARE(thrownText([&] { h.smtp.Connect(); }),
             QStringLiteral("SMTP component already connected"));

    h.smtp.RcptName.clear();
    QCOMPARE(thrownText([&] { h.smtp.TransferMail(); }), QStringLiteral("RcptName list is empty"));
    QCOMPARE(thrownText([&] { h.smtp.RcptTo(); }), QStringLiteral("RcptName list is empty"));
    QCOMPARE(h.server.commands, QByteArrayList{"HELO tester"});

    // A refused start leaves the session usable.
    h.smtp.RcptName = {QStringLiteral("ann@example.org")};
    QVERIFY(h.run([&] { h.smtp.TransferMail(); }));
    QCOMPARE(h.lastResult(), quint16(0));
}

void SmtpSessionTest::quitSession() {
    Harness h;
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QVERIFY(h.run([&] { h.smtp.QuitSession(); }));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqQuit, 0));
    QCOMPARE(h.server.commands.last(), QByteArray("QUIT"));
    QVERIFY(h.waitForDisconnection());
    QCOMPARE(h.sessionsClosed, 1);
    // The same object opens the next session.
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(0));
    QCOMPARE(h.server.connections, 2);
}

void SmtpSessionTest::quitStaysPendingAfterFailure() {
    Harness h;
    h.server.on("MAIL FROM", "553 no");
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    h.smtp.RcptName = {QStringLiteral("ann@example.org")};
    QVERIFY(h.run([&] {
        h.smtp.HighLevelAsync(smtpReqMail, smtpFctBit(smtpFctMailFrom) | smtpFctBit(smtpFctRcptTo) |
                                               smtpFctBit(smtpFctData) | smtpFctBit(smtpFctQuit));
    }));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqMail, 553));
    QCOMPARE(h.server.commands, (QByteArrayList{"HELO tester", "MAIL FROM:<>", "QUIT"}));
}

void SmtpSessionTest::valuesCannotStartNewCommands() {
    Harness h;
    h.smtp.SignOn = QStringLiteral("tester\r\nRSET");
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    h.smtp.FromName = QStringLiteral("<me@example.org\r\nRSET>");
    h.smtp.RcptName = {QStringLiteral("ann@example.org\nDATA")};
    h.smtp.HdrSubject = QStringLiteral("hi\r\nBcc: evil@example.org");
    h.smtp.MailMessage = {QStringLiteral("line\r\n.\r\nMAIL FROM:<evil@example.org>"),
                          QStringLiteral("bare\n.\nline")};
    QVERIFY(h.run([&] { h.smtp.TransferMail(); }));
    QCOMPARE(h.server.commands,
             (QByteArrayList{"HELO tester  RSET", "MAIL FROM:<me@example.org  RSET>",
                             "RCPT TO:<ann@example.org DATA>", "DATA"}));
    QVERIFY(h.server.messageLines.contains("Subject: hi  Bcc: evil@example.org"));
    const qsizetype body = h.server.messageLines.indexOf(QByteArray()) + 1;
    QCOMPARE(h.server.messageLines.mid(body),
             (QByteArrayList{"line", "..", "MAIL FROM:<evil@example.org>", "bare", "..", "line"}));
}

void SmtpSessionTest::greetingNameDefaultsToHostName() {
    Harness h;
    h.smtp.SignOn.clear();
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.server.commands.first(), "HELO " + QHostInfo::localHostName().toLatin1());
}

QTEST_GUILESS_MAIN(SmtpSessionTest)
#include "tst_SmtpSession.moc"

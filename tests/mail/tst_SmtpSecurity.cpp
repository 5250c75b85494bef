// What the session does about TLS and passwords against a server that has no TLS: which
// commands each mode sends, that it never authenticates in plain text or falls back to
// HELO when it should not, and that no event text shows a password.
#include "core/mail/SmtpSessionWithFiles.h"
#include "tests/mail/SessionHarness.h"

#include <QtTest>

class SmtpSecurityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tlsPolicy_data();
    void tlsPolicy();
    void passwordsAreNotShown_data();
    void passwordsAreNotShown();
};

void SmtpSecurityTest::tlsPolicy_data() {
    QTest::addColumn<int>("tlsMode");
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QByteArrayList>("expectedCommands");
    QTest::addColumn<int>("expectedResult");
    QTest::addColumn<QString>("expectedError");
    QTest::addColumn<bool>("connectedAfter");

    const QByteArray offersTls = "250-scripted.test\r\n250-STARTTLS\r\n250 AUTH PLAIN";
    QTest::newRow("offered STARTTLS refused: no plain-text AUTH")
        << int(smtpTlsWhenOffered)
        << QByteArrayList{"EHLO", offersTls, "STARTTLS", "454 4.7.0 TLS not available"}
        << QByteArrayList{"EHLO tester", "STARTTLS"} << 454
        << QStringLiteral("454 4.7.0 TLS not available") << true;
    QTest::newRow("TLS switched off: STARTTLS offered but not used")
        << int(smtpTlsNone) << QByteArrayList{"EHLO", offersTls, "AUTH", "235 ok"}
        << QByteArrayList{"EHLO tester", "AUTH PLAIN " + b64(QByteArray("user\0user\0secret", 16))}
        << 0 << QString() << true;
    QTest::newRow("required, not offered: the connection is closed")
        << int(smtpTlsRequired) << QByteArrayList{"EHLO", "250-scripted.test\r\n250 AUTH PLAIN"}
        << QByteArrayList{"EHLO tester"} << 500
        << QStringLiteral("500 STARTTLS not offered by the server.") << false;
    QTest::newRow("required, EHLO refused: no HELO")
        << int(smtpTlsRequired) << QByteArrayList{"EHLO", "502 5.5.1 no"}
        << QByteArrayList{"EHLO tester"} << 502 << QStringLiteral("502 5.5.1 no") << true;
}

void SmtpSecurityTest::tlsPolicy() {
    QFETCH(int, tlsMode);
    QFETCH(QByteArrayList, rules);
    QFETCH(QByteArrayList, expectedCommands);
    QFETCH(int, expectedResult);
    QFETCH(QString, expectedError);
    QFETCH(bool, connectedAfter);

    Harness h;
    h.server.onAll(rules);
    h.smtp.AuthType = smtpAuthPlain;
    h.smtp.Username = QStringLiteral("user");
    h.smtp.Password = QStringLiteral("secret");
    h.smtp.TlsMode = TSmtpTlsMode(tlsMode);
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.ends.last(), RequestEnd(smtpReqOpen, quint16(expectedResult)));
    QCOMPARE(h.smtp.ErrorMessage(), expectedError);
    QCOMPARE(h.server.commands, expectedCommands);
    QVERIFY(!h.smtp.IsEncrypted());
    if (!connectedAfter)
        QVERIFY(h.waitForDisconnection());
    QCOMPARE(h.smtp.IsConnected(), connectedAfter);
}

void SmtpSecurityTest::passwordsAreNotShown_data() {
    QTest::addColumn<int>("authType");
    QTest::addColumn<QByteArrayList>("rules");
    QTest::addColumn<QStringList>("expectedShown");
    QTest::newRow("PLAIN") << int(smtpAuthPlain) << QByteArrayList{"AUTH", "235 ok"}
                           << QStringList{"EHLO tester", "AUTH PLAIN ********"};
    QTest::newRow("LOGIN") << int(smtpAuthLogin) << QByteArrayList{"AUTH",     "334 VXNlcm5hbWU6",
                                                                   "dXNlcg==", "334 UGFzc3dvcmQ6",
                                                                   "c2VjcmV0", "235 ok"}
                           << QStringList{"EHLO tester", "AUTH LOGIN", "dXNlcg==", "********"};
    QTest::newRow("CRAM-MD5") << int(smtpAuthCramMD5)
                              << QByteArrayList{"AUTH", "334 PDEyMzQ1QHNjcmlwdGVkLnRlc3Q+", "dXNlc",
                                                "235 ok"}
                              << QStringList{"EHLO tester", "AUTH CRAM-MD5", "********"};
}

// The status texts and logs never show a line from which the password can be read; the
// server still gets the real lines.
void SmtpSecurityTest::passwordsAreNotShown() {
    QFETCH(int, authType);
    QFETCH(QByteArrayList, rules);
    QFETCH(QStringList, expectedShown);
    Harness h;
    h.server.onAll(rules);
    h.smtp.AuthType = TSmtpAuthType(authType);
    h.smtp.Username = QStringLiteral("user");
    h.smtp.Password = QStringLiteral("secret");
    QStringList displayed;
    h.smtp.OnDisplay = [&](SmtpSession*, const QString& line) { displayed << line; };
    QVERIFY(h.run([&] { h.smtp.OpenSession(); }));
    QCOMPARE(h.lastResult(), quint16(0));
    QCOMPARE(h.commandEvents, expectedShown);
    for (const QString& line : expectedShown)
        QVERIFY(displayed.contains(QStringLiteral("> ") + line));
    QCOMPARE(h.server.commands.size(), expectedShown.size());
    QVERIFY(h.server.commands.last() != "********");
}

QTEST_GUILESS_MAIN(SmtpSecurityTest)
#include "tst_SmtpSecurity.moc"

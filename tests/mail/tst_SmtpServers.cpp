// Sends mail through the session to real, independently written mail servers (Exim 4 and
// aiosmtpd) started on loopback ports of their own, in plain text and over TLS, and
// compares what they stored with what was meant to arrive.
#include "core/mail/SmtpSessionWithFiles.h"
#include "tests/mail/FixedUtcOffset.h"
#include "tests/mail/MailServers.h"
#include "tests/mail/SignalWait.h"
#include "tests/support/FakeClock.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int RequestTimeoutMs = 10000;

bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// One session on a fixed clock, with the requests it ran and how they ended.
struct Session {
    Session() {
        smtp.OnRequestDone = [this](SmtpSession*, TSmtpRequest, quint16 error) {
            results << error;
        };
        smtp.SignOn = QStringLiteral("tacknote.test");
        smtp.Username = QStringLiteral("user");
        smtp.Password = QStringLiteral("s3cr3t");
    }
    // Runs one request to its end; true when it ended successfully.
    bool run(const std::function<void()>& start) {
        const qsizetype before = results.size();
        start();
        return waitUntil(
                   &smtp, &SmtpSession::requestDone, [&] { return results.size() > before; },
                   RequestTimeoutMs) &&
               results.last() == 0;
    }

    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5))};
    FixedUtcOffset offset{-180};
    SmtpSessionWithFiles smtp{clock, offset};
    QList<quint16> results;
};

} // namespace

class SmtpServersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sendThroughRealServer_data();
    void sendThroughRealServer();
    void refusedTls_data();
    void refusedTls();

private:
    // The server of that name, started at its first use and kept for the whole test.
    MailServer* server(const QString& name);

    QTemporaryDir m_files;
    QByteArray m_attachment;
    TestCertificates m_certificates;
    MailServerPool m_servers{m_certificates};
};

void SmtpServersTest::initTestCase() {
    QVERIFY(m_files.isValid());
    for (int i = 0; i < 200; ++i)
        m_attachment += char((i * 37 + 11) % 256);
    m_attachment += "\r\n.\r\n";
    QVERIFY(writeFile(m_files.filePath("notes.bin"), m_attachment));
    QString failure;
    QVERIFY2(m_certificates.create(failure), qPrintable(failure));
}

MailServer* SmtpServersTest::server(const QString& name) {
    return m_servers.forTest(name);
}

void SmtpServersTest::sendThroughRealServer_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("authType");
    QTest::addColumn<int>("tlsMode");
    QTest::addColumn<QByteArray>("mechanism");
    QTest::addColumn<bool>("encrypted");
    const int offered = smtpTlsWhenOffered;
    const int plain = smtpTlsNone; // passwords in plain text only when so chosen
    QTest::newRow("Exim, HELO without authentication")
        << "exim" << int(smtpAuthNone) << offered << QByteArray() << false;
    QTest::newRow("Exim, PLAIN, no STARTTLS offered")
        << "exim" << int(smtpAuthPlain) << plain << QByteArray("PLAIN") << false;
    QTest::newRow("Exim, LOGIN") << "exim" << int(smtpAuthLogin) << plain << QByteArray("LOGIN")
                                 << false;
    QTest::newRow("Exim, CRAM-MD5")
        << "exim" << int(smtpAuthCramMD5) << plain << QByteArray("CRAM-MD5") << false;
    QTest::newRow("Exim, STARTTLS offered, PLAIN")
        << "exim STARTTLS" << int(smtpAuthPlain) << offered << QByteArray("PLAIN") << true;
    QTest::newRow("Exim, STARTTLS required, CRAM-MD5")
        << "exim STARTTLS" << int(smtpAuthCramMD5) << int(smtpTlsRequired) << QByteArray("CRAM-MD5")
        << true;
    QTest::newRow("Exim, implicit TLS, LOGIN")
        << "exim smtps" << int(smtpAuthLogin) << int(smtpTlsImplicit) << QByteArray("LOGIN")
        << true;
    QTest::newRow("aiosmtpd, PLAIN")
        << "aiosmtpd" << int(smtpAuthPlain) << plain << QByteArray("PLAIN") << false;
    QTest::newRow("aiosmtpd, LOGIN")
        << "aiosmtpd" << int(smtpAuthLogin) << plain << QByteArray("LOGIN") << false;
}

void SmtpServersTest::sendThroughRealServer() {
    QFETCH(QString, server);
    QFETCH(int, authType);
    QFETCH(int, tlsMode);
    QFETCH(QByteArray, mechanism);
    QFETCH(bool, encrypted);

    MailServer* mail = this->server(server);
    if (!mail)
        return;
    Session session;
    SmtpSessionWithFiles& smtp = session.smtp;
    auto run = [&](const std::function<void()>& start) { return session.run(start); };
    smtp.Host = QStringLiteral("localhost");
    smtp.Port = QString::number(mail->port);
    smtp.AuthType = TSmtpAuthType(authType);
    smtp.TlsMode = TSmtpTlsMode(tlsMode);
    smtp.ExtraCaCertificates = m_certificates.authority();
    const QString to = QStringLiteral("ann@example.org, Bob <bob@example.org>,carl@example.org");
    smtp.HdrFrom = QStringLiteral("me@example.org");
    smtp.HdrTo = to;
    smtp.HdrSubject = QString::fromUtf8("Reunião às 15h – café");
    smtp.MailMessage = {QStringLiteral("Primeira linha"), QStringLiteral("."),
                        QStringLiteral(".escondida"),     QStringLiteral("\r\n\r\n"),
                        QStringLiteral("Maria"),          QStringLiteral("..dois pontos")};
    smtp.setEmailFiles({m_files.filePath("notes.bin")});

    // Twice through the same session object, as the composer does: the second time the
    // envelope sender is still set from the first.
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(run([&] { smtp.OpenSession(); }), qPrintable(smtp.ErrorMessage()));
        QCOMPARE(smtp.IsEncrypted(), encrypted);
        smtp.FromName = QStringLiteral("me@example.org");
        smtp.RcptName = {QStringLiteral("ann@example.org"),
                         QStringLiteral(" Bob <bob@example.org>"),
                         QStringLiteral("carl@example.org")};
        QVERIFY2(run([&] { smtp.TransferMail(); }), qPrintable(smtp.ErrorMessage()));
        QVERIFY2(run([&] { smtp.QuitSession(); }), qPrintable(smtp.ErrorMessage()));
        QVERIFY(waitUntil(
            &smtp, &SmtpSession::sessionClosed, [&] { return !smtp.IsConnected(); },
            RequestTimeoutMs));
    }

    const QByteArray boundary = "= Multipart Boundary 1225021430";
    const QByteArrayList expectedHeader{"From: me@example.org",
                                        "To: " + to.toLatin1(),
                                        "Subject: =?UTF-8?B?" +
                                            smtp.HdrSubject.toUtf8().toBase64() + "?=",
                                        "Sender: me@example.org",
                                        "Mime-Version: 1.0",
                                        "Content-Type: multipart/mixed;",
                                        "\tboundary=\"" + boundary + "\"",
                                        "Content-Transfer-Encoding: 7bit",
                                        "Message-ID: <*@example.org>",
                                        "Date: Wed, 25 Dec 2002 14:30:05 -0300"};
    QByteArrayList expectedBody{"This is a multipart MIME message.",
                                "",
                                "--" + boundary,
                                "Content-Type: text/plain; charset=\"utf-8\"",
                                "Content-Transfer-Encoding: quoted-printable",
                                "",
                                "Primeira linha",
                                ".",
                                ".escondida",
                                "",
                                "",
                                "",
                                "Maria",
                                "..dois pontos",
                                "",
                                "--" + boundary,
                                "Content-Type: application/octet-stream;",
                                "\tname=\"notes.bin\"",
                                "Content-Transfer-Encoding: base64",
                                "Content-Disposition: attachment;",
                                "\tfilename=\"notes.bin\"",
                                ""};
    for (qsizetype at = 0; at < m_attachment.size(); at += 45)
        expectedBody << m_attachment.mid(at, 45).toBase64();
    expectedBody << ""
                 << "--" + boundary + "--";

    // A server has stored a message before it accepts it.
    const QList<StoredMessage> stored = mail->takeNew();
    QCOMPARE(stored.size(), 2);
    for (const StoredMessage& message : stored) {
        QCOMPARE(message.encrypted, encrypted);
        QCOMPARE(message.sender, QByteArray("me@example.org"));
        QCOMPARE(message.recipients,
                 (QByteArrayList{"ann@example.org", "bob@example.org", "carl@example.org"}));
        QByteArrayList header = message.headerLines;
        static const QRegularExpression unique(QStringLiteral("^Message-ID: <[0-9a-f]{32}@"));
        for (QByteArray& line : header)
            line = QString::fromLatin1(line)
                       .replace(unique, QStringLiteral("Message-ID: <*@"))
                       .toLatin1();
        QCOMPARE(header, expectedHeader);
        QCOMPARE(message.bodyLines, expectedBody);
        QCOMPARE(message.mechanism, mechanism);
        QCOMPARE(message.login, mechanism.isEmpty() ? QByteArray() : QByteArray("user"));
        // The attachment decodes to the file's bytes.
        QByteArray encoded;
        for (qsizetype i = expectedBody.indexOf("\tfilename=\"notes.bin\"") + 2;
             i < message.bodyLines.size() && !message.bodyLines.at(i).isEmpty(); ++i)
            encoded += message.bodyLines.at(i);
        QCOMPARE(QByteArray::fromBase64(encoded), m_attachment);
    }
}

void SmtpServersTest::refusedTls_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("tlsMode");
    QTest::addColumn<bool>("trustTestAuthority");
    QTest::addColumn<QString>("expectedError");
    const QString verification = QStringLiteral("500 Certificado do servidor não confiável: ");
    QTest::newRow("certificate for another name")
        << "exim other name" << int(smtpTlsWhenOffered) << true << verification;
    QTest::newRow("certificate from an authority nobody trusts")
        << "exim STARTTLS" << int(smtpTlsWhenOffered) << false << verification;
    QTest::newRow("implicit TLS, certificate nobody trusts")
        << "exim smtps" << int(smtpTlsImplicit) << false << verification;
    QTest::newRow("STARTTLS required, not offered")
        << "exim" << int(smtpTlsRequired) << true
        << QStringLiteral("500 STARTTLS not offered by the server.");
    QTest::newRow("implicit TLS on a plain-text port")
        << "aiosmtpd" << int(smtpTlsImplicit) << true
        << QStringLiteral("500 Falha na negociação TLS");
    QTest::newRow("STARTTLS offered, not offered: no password in plain text")
        << "exim" << int(smtpTlsWhenOffered) << true
        << QStringLiteral("500 O servidor não oferece STARTTLS");
}

// The session ends with the reason and never authenticates or sends in plain text.
void SmtpServersTest::refusedTls() {
    QFETCH(QString, server);
    QFETCH(int, tlsMode);
    QFETCH(bool, trustTestAuthority);
    QFETCH(QString, expectedError);

    MailServer* mail = this->server(server);
    if (!mail)
        return;
    Session session;
    session.smtp.Host = QStringLiteral("localhost");
    session.smtp.Port = QString::number(mail->port);
    session.smtp.AuthType = smtpAuthPlain;
    session.smtp.TlsMode = TSmtpTlsMode(tlsMode);
    if (trustTestAuthority)
        session.smtp.ExtraCaCertificates = m_certificates.authority();
    QStringList commands;
    session.smtp.OnCommand = [&](SmtpSession*, const QString& line) { commands << line; };

    QVERIFY(!session.run([&] { session.smtp.OpenSession(); }));
    QCOMPARE(session.results.last(), quint16(500));
    QVERIFY2(session.smtp.ErrorMessage().startsWith(expectedError),
             qPrintable(session.smtp.ErrorMessage()));
    QVERIFY(!session.smtp.IsConnected());
    QCOMPARE(session.smtp.State(), smtpReady);
    for (const QString& line : commands)
        QVERIFY2(!line.startsWith(QLatin1String("AUTH")), qPrintable(line));
}

QTEST_GUILESS_MAIN(SmtpServersTest)
#include "tst_SmtpServers.moc"

// The e-mail composer sending notes through real servers (Exim, aiosmtpd): what arrives
// with each authentication and kind of TLS, long lines and foreign characters, failures
// and their reasons, and a certificate the user is asked to trust.
#include "core/mail/SmtpSessionWithFiles.h"
#include "core/program/ProductInfo.h"
#include "tests/mail/Composer.h"
#include "tests/mail/MailServers.h"

#include <QRegularExpression>
#include <QSslCertificate>
#include <QTcpServer>
#include <QtTest>

namespace {

// The body the composer sends after the note's lines, as it goes on the wire.
QByteArrayList footer(const QByteArray& user) {
    const QByteArray line(44, '-');
    return {"",
            "",
            "",
            user,
            "",
            "",
            "",
            line,
            "Este e-mail foi enviado pelo Tacknote",
            "Fa=C3=A7a o download gratu=C3=ADto em",
            ProductInfo::webAddress().toLatin1(),
            line};
}

// The same as a mail program shows it, after the note's text.
QString footerText(const QString& user) {
    const QString line(44, QLatin1Char('-'));
    return QStringLiteral("\n\n\n\n") + user + QStringLiteral("\n\n\n\n") + line +
           QStringLiteral(
               "\nEste e-mail foi enviado pelo Tacknote\nFaça o download gratuíto em\n") +
           ProductInfo::webAddress() + QLatin1Char('\n') + line + QLatin1Char('\n');
}

} // namespace

class tst_EnviarEmailDelivery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void noteArrives_data();
    void noteArrives();
    void longLinesAndForeignCharactersArriveWhole();
    void failureLeavesTheReason_data();
    void failureLeavesTheReason();
    void untrustedCertificateIsAsked();

private:
    MailServer* server(const QString& name);

    TestCertificates m_certificates;
    MailServerPool m_servers{m_certificates};
};

void tst_EnviarEmailDelivery::initTestCase() {
    QString failure;
    QVERIFY2(m_certificates.create(failure), qPrintable(failure));
}

MailServer* tst_EnviarEmailDelivery::server(const QString& name) {
    return m_servers.forTest(name);
}

void tst_EnviarEmailDelivery::noteArrives_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("authType");
    QTest::addColumn<int>("security");
    QTest::addColumn<QByteArray>("mechanism");
    QTest::addColumn<bool>("encrypted");
    // Security 3, no encryption: the user's choice to send a password in plain text.
    QTest::newRow("Exim, no authentication") << "exim" << 0 << 0 << QByteArray() << false;
    QTest::newRow("Exim, PLAIN") << "exim" << 1 << 3 << QByteArray("PLAIN") << false;
    QTest::newRow("Exim, LOGIN") << "exim" << 2 << 3 << QByteArray("LOGIN") << false;
    QTest::newRow("Exim, CRAM-MD5") << "exim" << 3 << 3 << QByteArray("CRAM-MD5") << false;
    QTest::newRow("Exim, STARTTLS and PLAIN")
        << "exim STARTTLS" << 1 << 0 << QByteArray("PLAIN") << true;
    QTest::newRow("Exim, STARTTLS required and LOGIN")
        << "exim STARTTLS" << 2 << 1 << QByteArray("LOGIN") << true;
    QTest::newRow("Exim, implicit TLS and CRAM-MD5")
        << "exim smtps" << 3 << 2 << QByteArray("CRAM-MD5") << true;
    QTest::newRow("aiosmtpd, PLAIN") << "aiosmtpd" << 1 << 3 << QByteArray("PLAIN") << false;
    QTest::newRow("aiosmtpd, STARTTLS and LOGIN")
        << "aiosmtpd STARTTLS" << 2 << 0 << QByteArray("LOGIN") << true;
}

void tst_EnviarEmailDelivery::noteArrives() {
    QFETCH(QString, server);
    QFETCH(int, authType);
    QFETCH(int, security);
    QFETCH(QByteArray, mechanism);
    QFETCH(bool, encrypted);
    MailServer* mail = this->server(server);
    if (!mail)
        return;
    mail->takeNew();
    Composer c;
    c.rede.SMTPPort = QString::number(mail->port);
    c.rede.Authtype = authType;
    c.rede.SMTPSecurity = security;
    c.dialog.SmtpClient->ExtraCaCertificates = m_certificates.authority();

    const QString to = QStringLiteral("Ana Lúcia <ann@example.org>, bob@example.org");
    // Long enough to need several encoded words, folded.
    const QString subject =
        QStringLiteral("Tacknote - Compras às 15h") + QStringLiteral(" ç😀").repeated(20);
    const QString text = QStringLiteral("Comprar pão\n.\nLigar para Ana às 15h ✓ 😀");
    QCOMPARE(c.send(to, subject, text), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QVERIFY(c.readyForNextSending());
    QCOMPARE(c.dialog.SmtpClient->IsEncrypted(), encrypted);

    const QList<StoredMessage> stored = mail->takeNew();
    QCOMPARE(stored.size(), 1);
    const StoredMessage& message = stored.first();
    QCOMPARE(message.sender, QByteArray("me@example.org"));
    QCOMPARE(message.recipients, (QByteArrayList{"ann@example.org", "bob@example.org"}));
    QCOMPARE(message.mechanism, mechanism);
    QCOMPARE(message.encrypted, encrypted);
    QVERIFY(message.headerLines.contains("From: me@example.org"));
    QVERIFY(message.headerLines.contains("To: =?UTF-8?B?QW5hIEzDumNpYQ==?= <ann@example.org>, "
                                         "bob@example.org"));
    QCOMPARE(message.bodyLines,
             QByteArrayList(
                 {"Comprar p=C3=A3o", ".", "Ligar para Ana =C3=A0s 15h =E2=9C=93 =F0=9F=98=80"}) +
                 footer("Maria Souza"));
    // A mail program reads exactly what was typed.
    if (server.startsWith(QLatin1String("aiosmtpd"))) {
        QVERIFY2(message.defects.isEmpty(), qPrintable(message.defects.join(", ")));
        QCOMPARE(message.subject, subject);
        QCOMPARE(message.to, to);
        QCOMPARE(message.text, text + footerText(c.geral.User));
        QVERIFY2(QRegularExpression(QStringLiteral("^<[0-9a-f]{32}@example\\.org>$"))
                     .match(message.messageId)
                     .hasMatch(),
                 qPrintable(message.messageId));
    }

    // The dialogue showed in the status bar, the password never.
    for (const QString& expected :
         {QStringLiteral("Conectando ao Servidor..."), QStringLiteral("Conectado!"),
          QStringLiteral("MAIL FROM:<me@example.org>"),
          QStringLiteral("RCPT TO:<bob@example.org>")})
        QVERIFY2(c.statuses.contains(expected), qPrintable(expected));
    const QString secret = QString::fromLatin1(QByteArray("s3cr3t").toBase64());
    for (const QString& status : c.statuses)
        QVERIFY2(!status.contains(QLatin1String("s3cr3t")) && !status.contains(secret),
                 qPrintable(status));
}

void tst_EnviarEmailDelivery::longLinesAndForeignCharactersArriveWhole() {
    MailServer* mail = this->server(QStringLiteral("aiosmtpd"));
    if (!mail)
        return;
    mail->takeNew();
    Composer c;
    c.rede.SMTPPort = QString::number(mail->port);
    QString longLine;
    while (longLine.size() < 1800)
        longLine += QStringLiteral("palavra ");
    longLine += QString(1200, QLatin1Char('x')); // no blank to wrap at
    const QString foreign =
        QStringLiteral("Tarefa ✓ concluída, Ω e 😀 ficam; € e ç também. ").repeated(6);
    const QString text = longLine + QLatin1Char('\n') + foreign;
    QVERIFY(longLine.size() >= 3000);

    QCOMPARE(c.send(QStringLiteral("ann@example.org"), QStringLiteral("Tacknote - Longa"), text),
             int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    const QList<StoredMessage> stored = mail->takeNew();
    QCOMPARE(stored.size(), 1);
    const StoredMessage& message = stored.first();
    QVERIFY2(message.defects.isEmpty(), qPrintable(message.defects.join(", ")));
    for (const QByteArray& line : message.bodyLines)
        QVERIFY(line.size() <= 76);
    // Each line as the memo wrapped it; together, every character of the note.
    const QStringList shown = c.dialog.MemoLines();
    QVERIFY(shown.size() > 2);
    QCOMPARE(message.text, shown.join(QLatin1Char('\n')) + footerText(c.geral.User));
    QCOMPARE(shown.join(QString()), longLine + foreign);

    // At once the next one, while the first one's QUIT may still be under way.
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QCOMPARE(mail->takeNew().size(), 1);
}

void tst_EnviarEmailDelivery::failureLeavesTheReason_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("authType");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expectedStatus");
    QTest::newRow("wrong password, Exim") << "exim STARTTLS" << 1 << "wrong"
                                          << "ann@example.org"
                                          << "535 ";
    QTest::newRow("wrong password, aiosmtpd") << "aiosmtpd STARTTLS" << 2 << "wrong"
                                              << "ann@example.org"
                                              << "535 ";
    QTest::newRow("refused recipient, Exim") << "exim" << 0 << "s3cr3t"
                                             << "nobody@example.org"
                                             << "550 5.1.1 No such user here";
    QTest::newRow("refused recipient, aiosmtpd") << "aiosmtpd" << 0 << "s3cr3t"
                                                 << "nobody@example.org"
                                                 << "550 5.1.1 No such user here";
    QTest::newRow("password, but no STARTTLS offered")
        << "aiosmtpd" << 1 << "s3cr3t"
        << "ann@example.org"
        << "500 O servidor não oferece STARTTLS: a senha não é enviada sem criptografia.";
    QTest::newRow("certificate for another name, not trusted")
        << "exim other name" << 1 << "s3cr3t"
        << "ann@example.org"
        << "500 Certificado do servidor não confiável: o certificado foi emitido para outro nome";
    QTest::newRow("unreachable server") << "closed port" << 0 << "s3cr3t"
                                        << "ann@example.org"
                                        << "500 Conexão recusada pelo servidor";
    QTest::newRow("unknown host") << "unknown host" << 0 << "s3cr3t"
                                  << "ann@example.org"
                                  << "500 ";
}

// Each failure ends at once with the failure message and its reason in the status bar,
// and the same dialog then sends the next mail.
void tst_EnviarEmailDelivery::failureLeavesTheReason() {
    QFETCH(QString, server);
    QFETCH(int, authType);
    QFETCH(QString, password);
    QFETCH(QString, to);
    QFETCH(QString, expectedStatus);
    Composer c;
    c.dialog.SmtpClient->ExtraCaCertificates = m_certificates.authority();
    c.rede.Authtype = authType;
    c.rede.Password = password;
    if (server == QLatin1String("closed port")) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        c.rede.SMTPPort = QString::number(probe.serverPort());
    } else if (server == QLatin1String("unknown host")) {
        c.rede.SMTPServer = QStringLiteral("no-such-host.invalid"); // never resolves
        c.rede.SMTPPort = QStringLiteral("25");
    } else {
        MailServer* mail = this->server(server);
        if (!mail)
            return;
        c.rede.SMTPPort = QString::number(mail->port);
    }

    const bool certificate = server.endsWith(QLatin1String("other name"));
    if (certificate)
        c.boxes.answerNext(false);
    QCOMPARE(c.send(to), int(QDialog::Accepted));
    QVERIFY2(c.lastFailed(), qPrintable(c.shown()));
    QCOMPARE(c.boxes.asked.size(), certificate ? 1 : 0);
    QVERIFY2(c.status().startsWith(expectedStatus), qPrintable(c.status()));
    // Linux words for Linux errors: no Windows error numbers.
    QVERIFY2(!c.status().contains(QLatin1String("Winsock")), qPrintable(c.status()));
    QVERIFY(c.readyForNextSending());
    QVERIFY(!c.dialog.SmtpClient->IsConnected());

    // Put right, the next mail goes out through the same dialog.
    MailServer* good = this->server(server.startsWith(QLatin1String("aiosmtpd"))
                                        ? QStringLiteral("aiosmtpd STARTTLS")
                                        : QStringLiteral("exim STARTTLS"));
    if (!good)
        return;
    good->takeNew();
    c.rede.SMTPServer = QStringLiteral("localhost");
    c.rede.SMTPPort = QString::number(good->port);
    c.rede.Authtype = 1;
    c.rede.Password = QStringLiteral("s3cr3t");
    QCOMPARE(c.send(QStringLiteral("ann@example.org")), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QCOMPARE(good->takeNew().size(), 1);
}

// A self-signed server: the user sees its certificate and says no (nothing is sent), then
// yes (it is trusted for that server and the mail goes); from then on it is not asked
// about, until the server shows another certificate.
void tst_EnviarEmailDelivery::untrustedCertificateIsAsked() {
    MailServer* mail = this->server(QStringLiteral("exim self-signed"));
    if (!mail)
        return;
    mail->takeNew();
    Composer c;
    c.rede.SMTPPort = QString::number(mail->port);
    c.rede.Authtype = 1;
    const QString key = QStringLiteral("localhost:%1").arg(mail->port);
    const QSslCertificate certificate =
        QSslCertificate::fromPath(m_certificates.selfSignedCertificate).value(0);
    const QByteArray digest = certificate.digest(QCryptographicHash::Sha256);

    c.boxes.answerNext(false);
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastFailed(), qPrintable(c.shown()));
    QCOMPARE(c.boxes.asked.size(), 1);
    const QString question = c.boxes.asked.first().text;
    for (const QString& part :
         {QStringLiteral("O certificado do servidor localhost não pôde ser verificado."),
          QStringLiteral("Titular: localhost"), QStringLiteral("Emissor: localhost"),
          QStringLiteral("Impressão digital SHA-256: ") +
              QString::fromLatin1(digest.toHex(':').toUpper()),
          QStringLiteral("Motivo: o certificado é autoassinado")})
        QVERIFY2(question.contains(part), qPrintable(question));
    QVERIFY(c.rede.TrustedCerts.isEmpty());
    QVERIFY(mail->takeNew().isEmpty());

    c.boxes.answerNext(true);
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QCOMPARE(c.boxes.asked.size(), 1);
    QCOMPARE(c.rede.TrustedCerts,
             (QMap<QString, QString>{{key, QString::fromLatin1(digest.toHex())}}));
    QList<StoredMessage> stored = mail->takeNew();
    QCOMPARE(stored.size(), 1);
    QVERIFY(stored.first().encrypted);

    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QVERIFY(c.boxes.asked.isEmpty());
    QCOMPARE(mail->takeNew().size(), 1);

    // What was trusted for this server is another certificate now.
    const QSslCertificate before =
        QSslCertificate::fromPath(m_certificates.localhostCertificate).value(0);
    c.rede.TrustedCerts[key] =
        QString::fromLatin1(before.digest(QCryptographicHash::Sha256).toHex());
    c.boxes.answerNext(false);
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastFailed(), qPrintable(c.shown()));
    QCOMPARE(c.boxes.asked.size(), 1);
    QVERIFY2(c.boxes.asked.first().text.startsWith(QStringLiteral(
                 "O certificado do servidor localhost mudou desde que você confiou nele.")),
             qPrintable(c.boxes.asked.first().text));
    QVERIFY(mail->takeNew().isEmpty());
}

QTEST_MAIN(tst_EnviarEmailDelivery)
#include "tst_EnviarEmailDelivery.moc"

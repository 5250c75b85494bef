// The e-mail composer on test doubles for the address book, the message boxes and the
// clock, sending through real servers (Exim, aiosmtpd) and, where a server must misbehave
// on cue, through a scripted one.
#include "core/contacts/AddressPicker.h"
#include "core/mail/SmtpSessionWithFiles.h"
#include "core/program/ProductInfo.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/mail/TfrmEnviarEmail.h"
#include "tests/mail/FixedUtcOffset.h"
#include "tests/mail/MailServers.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/mail/SignalWait.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QStatusBar>
#include <QTcpServer>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

const QString Sent = QStringLiteral("O e-mail foi enviado com sucesso!");
const QString NotSent =
    QStringLiteral("O e-mail não foi enviado! Verifique as configurações de rede.");

// Hands out prepared picks, as the address book does once the user has chosen.
class ScriptedPicker final : public AddressPicker {
public:
    QStringList pickAddresses(QWidget*) override { return picks; }
    QStringList picks;
};

// The composer on test doubles, made once per test as the program makes it once per run.
struct Composer {
    Composer() {
        geral.User = QStringLiteral("Maria Souza");
        rede.SMTPServer = QStringLiteral("localhost");
        rede.Email = QStringLiteral("me@example.org");
        rede.Username = QStringLiteral("user");
        rede.Password = QStringLiteral("s3cr3t");
        QObject::connect(dialog.stsEMail, &QStatusBar::messageChanged, dialog.stsEMail,
                         [this](const QString& text) {
                             if (!text.isEmpty())
                                 statuses << text;
                         });
    }

    // Opens the composer for a note, types the recipients and presses "&Enviar"; returns
    // the dialog's result once it has closed.
    int send(const QString& to, const QString& subject, const QString& text) {
        boxes.shown.clear();
        boxes.asked.clear();
        statuses.clear();
        QTimer::singleShot(0, &dialog, [this, to] {
            dialog.txtPara->setText(to);
            dialog.cmdEnviar->click();
        });
        return dialog.sendNote(subject, text);
    }
    int send(const QString& to = QStringLiteral("ann@example.org")) {
        return send(to, QStringLiteral("Tacknote - Nota"), QStringLiteral("Texto da nota"));
    }
    bool lastSent() const {
        return boxes.shown.size() == 1 && boxes.shown.first().text == Sent &&
               boxes.shown.first().title == QStringLiteral("Aviso") &&
               boxes.shown.first().icon == MessageBoxes::Icon::Information;
    }
    bool lastFailed() const {
        return boxes.shown.size() == 1 && boxes.shown.first().text == NotSent &&
               boxes.shown.first().title == QStringLiteral("Erro") &&
               boxes.shown.first().icon == MessageBoxes::Icon::Error;
    }
    QString status() const { return dialog.stsEMail->currentMessage(); }
    // The buttons as they are between two sendings.
    bool readyForNextSending() const {
        return dialog.cmdEnviar->isEnabled() && dialog.cmdFechar->isEnabled() &&
               !dialog.cmdCancelar->isEnabled();
    }
    QString shown() const {
        QStringList texts;
        for (const ScriptedMessageBoxes::Shown& box : boxes.shown)
            texts << box.title + QLatin1String(": ") + box.text;
        return texts.join(QLatin1String(" | ")) + QLatin1String(" / ") + status();
    }

    GeneralSettings geral;
    NetworkSettings rede;
    ScriptedPicker picker;
    ScriptedMessageBoxes boxes;
    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5))};
    FixedUtcOffset offset{-180};
    TfrmEnviarEmail dialog{geral, rede, picker, boxes, clock, offset};
    QStringList statuses;
};

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

class tst_EnviarEmail : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void openingResetsOnlyTheRecipients();
    void addressPicking_data();
    void addressPicking();
    void recipients_data();
    void recipients();
    void noteArrives_data();
    void noteArrives();
    void longLinesAndForeignCharactersArriveWhole();
    void failureLeavesTheReason_data();
    void failureLeavesTheReason();
    void untrustedCertificateIsAsked();
    void cancelDuringSending_data();
    void cancelDuringSending();

private:
    MailServer* server(const QString& name);

    TestCertificates m_certificates;
    MailServerPool m_servers{m_certificates};
};

void tst_EnviarEmail::initTestCase() {
    QString failure;
    QVERIFY2(m_certificates.create(failure), qPrintable(failure));
}

MailServer* tst_EnviarEmail::server(const QString& name) {
    QString failure;
    MailServer* found = m_servers.get(name, failure);
    if (!found && failure.contains(QLatin1String("not installed")))
        QTest::qSkip(qPrintable(failure), __FILE__, __LINE__);
    else if (!found)
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
    return found;
}

void tst_EnviarEmail::openingResetsOnlyTheRecipients() {
    Composer c;
    c.dialog.txtPara->setText(QStringLiteral("left@example.org"));
    QStringList seen;
    QTimer::singleShot(0, &c.dialog, [&] {
        // "&Enviar" is on although the field is empty; typing decides from then on.
        seen << c.dialog.txtPara->text() << c.dialog.lblAssunto->text()
             << c.dialog.memTexto->toPlainText();
        QVERIFY(c.dialog.cmdEnviar->isEnabled());
        QVERIFY(!c.dialog.cmdCancelar->isEnabled());
        QTest::keyClicks(c.dialog.txtPara, QStringLiteral("a"));
        QVERIFY(c.dialog.cmdEnviar->isEnabled());
        QTest::keyClick(c.dialog.txtPara, Qt::Key_Backspace);
        QVERIFY(!c.dialog.cmdEnviar->isEnabled());
        // Esc belongs to "&Cancelar", which is off: the window stays.
        QTest::keyClick(&c.dialog, Qt::Key_Escape);
        QVERIFY(c.dialog.isVisible());
        c.dialog.cmdFechar->click();
    });
    QCOMPARE(c.dialog.sendNote(QStringLiteral("Tacknote - <b>Título</b>"),
                               QStringLiteral("linha 1\nlinha 2")),
             int(QDialog::Rejected));
    QCOMPARE(seen, (QStringList{"", "Tacknote - <b>Título</b>", "linha 1\nlinha 2"}));
    QCOMPARE(c.dialog.lblAssunto->textFormat(), Qt::PlainText);
    QVERIFY(c.boxes.shown.isEmpty());
}

void tst_EnviarEmail::addressPicking_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QString>("after");
    QTest::newRow("nothing picked") << "ann@example.org" << QStringList{} << "ann@example.org";
    QTest::newRow("picked addresses merged")
        << "xann@example.org" << QStringList{"ann@example.org", "bob@example.org"}
        << "xann@example.org,bob@example.org";
}

void tst_EnviarEmail::addressPicking() {
    QFETCH(QString, before);
    QFETCH(QStringList, picks);
    QFETCH(QString, after);
    Composer c;
    c.picker.picks = picks;
    c.dialog.txtPara->setText(before);
    c.dialog.cmdAddress->click();
    QCOMPARE(c.dialog.txtPara->text(), after);
}

void tst_EnviarEmail::recipients_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one address, blanks kept")
        << " ann@example.org" << QStringList{" ann@example.org"};
    QTest::newRow("empty field: one empty recipient") << "" << QStringList{""};
    QTest::newRow("comma and blank")
        << "ann@example.org, bob@example.org" << QStringList{"ann@example.org", " bob@example.org"};
    QTest::newRow("empty and blank pieces dropped")
        << "ann@example.org,, ,bob@example.org, "
        << QStringList{"ann@example.org", "bob@example.org"};
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("recipient%1@example.org").arg(i);
    QTest::newRow("beyond 255 characters nobody is lost") << many.join(',') << many;
}

void tst_EnviarEmail::recipients() {
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    QCOMPARE(TfrmEnviarEmail::Recipients(field), expected);
}

void tst_EnviarEmail::noteArrives_data() {
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

void tst_EnviarEmail::noteArrives() {
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

void tst_EnviarEmail::longLinesAndForeignCharactersArriveWhole() {
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

void tst_EnviarEmail::failureLeavesTheReason_data() {
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
void tst_EnviarEmail::failureLeavesTheReason() {
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
void tst_EnviarEmail::untrustedCertificateIsAsked() {
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

void tst_EnviarEmail::cancelDuringSending_data() {
    QTest::addColumn<QByteArray>("silentAt"); // the command the server never answers
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<int>("timeOutMs"); // 0: "&Cancelar" ends it, else the time-out
    QTest::newRow("cancel while the greeting is awaited") << QByteArray("HELO") << false << 0;
    QTest::newRow("Esc while the message is being accepted") << QByteArray(".") << true << 0;
    QTest::newRow("time-out") << QByteArray("MAIL FROM") << false << 100;
}

void tst_EnviarEmail::cancelDuringSending() {
    QFETCH(QByteArray, silentAt);
    QFETCH(bool, byEscape);
    QFETCH(int, timeOutMs);
    ScriptedSmtpServer scripted;
    if (silentAt == ".")
        scripted.messageReply = "<silent>";
    else
        scripted.on(silentAt, "<silent>");
    Composer c;
    c.rede.SMTPServer = QStringLiteral("127.0.0.1");
    c.rede.SMTPPort = QString::number(scripted.port());
    if (timeOutMs > 0) {
        c.dialog.tmrTimeOut->setInterval(timeOutMs);
    } else {
        // Pressed once the unanswered command has gone out.
        QObject::connect(&scripted, &ScriptedSmtpServer::lineHandled, &c.dialog, [&] {
            const bool silent = silentAt == "." ? scripted.messageComplete
                                                : scripted.commands.last().startsWith(silentAt);
            if (!silent || !c.dialog.cmdCancelar->isEnabled())
                return;
            if (byEscape)
                QTest::keyClick(&c.dialog, Qt::Key_Escape);
            else
                c.dialog.cmdCancelar->click();
        });
    }

    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastFailed(), qPrintable(c.shown()));
    QCOMPARE(c.status(), timeOutMs > 0 ? QStringLiteral("Timeout!!!")
                                       : QStringLiteral("426 Operation aborted."));
    QVERIFY(c.readyForNextSending());
    QVERIFY(waitUntil(&scripted, &ScriptedSmtpServer::clientDisconnected,
                      [&] { return scripted.disconnections == 1; }));
    QVERIFY(!scripted.messageComplete || silentAt == ".");

    // The same dialog sends the next mail.
    QObject::disconnect(&scripted, nullptr, &c.dialog, nullptr);
    scripted.messageReply = "250 queued";
    scripted.messageLines.clear();
    c.dialog.tmrTimeOut->setInterval(TfrmEnviarEmail::TimeOutInterval);
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QCOMPARE(scripted.messageLines.first(), QByteArray("From: me@example.org"));
}

QTEST_MAIN(tst_EnviarEmail)
#include "tst_EnviarEmail.moc"

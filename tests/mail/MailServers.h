#pragma once

// Real mail servers for the tests: Exim 4 and aiosmtpd, each started on a loopback port of
// its own inside a temporary folder, plus a test certificate authority made with openssl.
// Both servers refuse the recipient "nobody@example.org" ("550 5.1.1 No such user here"),
// know the user "user" with the password "s3cr3t", and store every message they accept.

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QSet>
#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// What a server stored for one message.
struct StoredMessage {
    QByteArray sender;
    QByteArrayList recipients;
    QByteArrayList headerLines; // added trace headers left out
    QByteArrayList bodyLines;
    QByteArray mechanism;
    QByteArray login;
    bool encrypted = false;
    // aiosmtpd only: the message as Python's standard parser (policy.default) reads it.
    QStringList defects;
    QString subject; // decoded
    QString to;      // decoded
    QString messageId;
    QString text; // the decoded plain text
};

// A certificate authority of the test's own and server certificates it issued: one for
// "localhost" (where the servers run) and one for another name; and a self-signed one for
// "localhost".
class TestCertificates {
public:
    bool create(QString& failure);
    QList<QSslCertificate> authority() const;

    QString localhostCertificate;
    QString localhostKey;
    QString otherNameCertificate;
    QString otherNameKey;
    QString selfSignedCertificate;
    QString selfSignedKey;

private:
    bool issue(const QString& name, QString& certificate, QString& key, QString& failure);

    QTemporaryDir m_dir;
    QString m_caCertificate;
    QString m_caKey;
};

// A server process in a process group of its own, so that stopping it also ends every
// process it forked; it never outlives the test.
class ServerProcess {
public:
    ~ServerProcess() { stop(); }
    // listeningSocket, when not -1, becomes the process's standard input.
    bool start(const QString& program, const QStringList& arguments, int listeningSocket = -1);
    void stop();
    QProcess process;
};

struct ServerOptions {
    bool requireAuth = false; // mail only after a successful authentication
    QString certificate;      // with a certificate: STARTTLS offered, AUTH only after it
    QString key;
    bool implicitTls = false; // TLS from the first byte instead of STARTTLS (Exim only)
};

class MailServer {
public:
    virtual ~MailServer() = default;
    // False with the reason; a reason that contains "not installed" means skip.
    virtual bool start(QString& failure) = 0;
    // The messages stored since the last call.
    QList<StoredMessage> takeNew();
    quint16 port = 0;

protected:
    virtual QList<std::pair<QString, StoredMessage>> stored() const = 0;

    QTemporaryDir m_dir;
    ServerProcess m_process;
    QSet<QString> m_taken;
};

// Exim in the foreground on a listening socket made here (so it is ready before Exim is),
// keeping accepted mail in its spool folder. PLAIN, LOGIN and CRAM-MD5 are offered. Run
// as root it keeps root's rights; run by anyone else it runs as that user.
class EximServer final : public MailServer {
public:
    explicit EximServer(ServerOptions options = {}) : m_options(std::move(options)) {}
    bool start(QString& failure) override;

protected:
    QList<std::pair<QString, StoredMessage>> stored() const override;

private:
    ServerOptions m_options;
};

// aiosmtpd through the helper script beside this file.
class AiosmtpdServer final : public MailServer {
public:
    explicit AiosmtpdServer(ServerOptions options = {}) : m_options(std::move(options)) {}
    bool start(QString& failure) override;

protected:
    QList<std::pair<QString, StoredMessage>> stored() const override;

private:
    ServerOptions m_options;
};

// The servers one test uses, each started at its first use and kept until the pool goes:
//   "exim", "aiosmtpd"          plain text, mail accepted without authentication
//   "exim STARTTLS"             STARTTLS, AUTH only after it, mail only after AUTH
//   "exim smtps"                the same with TLS from the first byte
//   "exim other name"           as "exim STARTTLS", with a certificate for another name
//   "exim self-signed"          as "exim STARTTLS", with a self-signed certificate
//   "aiosmtpd STARTTLS"         STARTTLS required first, mail only after AUTH
class MailServerPool {
public:
    explicit MailServerPool(const TestCertificates& certificates) : m_certificates(certificates) {}
    // Nothing, with the reason, when the server cannot run; a reason that contains "not
    // installed" means the test should be skipped.
    MailServer* get(const QString& name, QString& failure);
    // The server for a test function: the test is skipped when the server is not
    // installed, and fails when it cannot run otherwise (nothing is returned then).
    MailServer* forTest(const QString& name);

private:
    const TestCertificates& m_certificates;
    QHash<QString, std::shared_ptr<MailServer>> m_servers;
};

#include "tests/mail/MailServers.h"

#include "tests/mail/SignalWait.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 15000;
const QString Openssl = QStringLiteral("/usr/bin/openssl");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArrayList splitLines(QByteArray text) {
    text.replace("\r\n", "\n");
    if (text.endsWith('\n'))
        text.chop(1);
    return text.split('\n');
}

bool runOpenssl(const QStringList& arguments, QString& failure) {
    QProcess process;
    process.start(Openssl, arguments);
    if (!process.waitForFinished(StartTimeoutMs) || process.exitCode() != 0) {
        failure = QStringLiteral("openssl failed: ") +
                  QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    return true;
}

// A listening loopback socket made without Qt, so that nothing in this process accepts
// on it; -1 on failure.
int listeningSocket(quint16& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

// The spool header file: id, owner, sender, time, "-" options, the non-recipient tree,
// the recipient count and recipients, an empty line, then each header line prefixed by
// its length and a flag character ("*" for lines Exim has removed).
StoredMessage parseEximSpool(const QByteArray& header, const QByteArray& data) {
    StoredMessage message;
    const QByteArrayList lines = header.split('\n');
    message.sender = lines.value(2).mid(1).chopped(1);
    qsizetype i = 4;
    for (; i < lines.size() && lines.at(i).startsWith('-'); ++i) {
        const QByteArray& option = lines.at(i);
        if (option.startsWith("-host_auth_pubname "))
            message.mechanism = option.mid(19);
        if (option.startsWith("--auth_id ")) // "--" marks a tainted value
            message.login = option.mid(10);
        else if (option.startsWith("-auth_id "))
            message.login = option.mid(9);
        if (option.startsWith("-tls_cipher ") || option.startsWith("--tls_cipher "))
            message.encrypted = true;
    }
    ++i; // the non-recipient tree, empty here
    const int count = lines.value(i++).toInt();
    for (int r = 0; r < count; ++r)
        message.recipients << lines.value(i++);
    qsizetype at = 0;
    for (qsizetype skip = 0; skip <= i; ++skip)
        at = header.indexOf('\n', at) + 1;
    while (at < header.size()) {
        qsizetype digits = at;
        while (digits < header.size() && std::isdigit(uchar(header.at(digits))))
            ++digits;
        const int length = header.mid(at, digits - at).toInt();
        const char flag = header.at(digits);
        const QByteArray text = header.mid(digits + 2, length);
        at = digits + 2 + length;
        if (flag != '*' && !text.startsWith("Received:"))
            message.headerLines << splitLines(text);
    }
    message.bodyLines = splitLines(data);
    return message;
}

} // namespace

// ---------------------------------------------------------------------------------------

bool TestCertificates::create(QString& failure) {
    if (!QFile::exists(Openssl)) {
        failure = QStringLiteral("openssl is not installed (package openssl)");
        return false;
    }
    m_caCertificate = m_dir.filePath(QStringLiteral("ca.pem"));
    m_caKey = m_dir.filePath(QStringLiteral("ca.key"));
    const QStringList ec{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    if (!runOpenssl(QStringList{"req", "-x509"} + ec +
                        QStringList{"-keyout", m_caKey, "-out", m_caCertificate, "-days", "2",
                                    "-subj", "/CN=Tacknote Test CA", "-addext",
                                    "basicConstraints=critical,CA:TRUE", "-addext",
                                    "keyUsage=critical,keyCertSign,cRLSign"},
                    failure))
        return false;
    selfSignedCertificate = m_dir.filePath(QStringLiteral("self-signed.pem"));
    selfSignedKey = m_dir.filePath(QStringLiteral("self-signed.key"));
    return issue(QStringLiteral("localhost"), localhostCertificate, localhostKey, failure) &&
           issue(QStringLiteral("mail.other.example"), otherNameCertificate, otherNameKey,
                 failure) &&
           runOpenssl(QStringList{"req", "-x509"} + ec +
                          QStringList{"-keyout", selfSignedKey, "-out", selfSignedCertificate,
                                      "-days", "2", "-subj", "/CN=localhost", "-addext",
                                      "subjectAltName=DNS:localhost"},
                      failure);
}

bool TestCertificates::issue(const QString& name, QString& certificate, QString& key,
                             QString& failure) {
    key = m_dir.filePath(name + QStringLiteral(".key"));
    certificate = m_dir.filePath(name + QStringLiteral(".pem"));
    const QString request = m_dir.filePath(name + QStringLiteral(".csr"));
    const QString extensions = m_dir.filePath(name + QStringLiteral(".ext"));
    if (!writeFile(extensions, "subjectAltName=DNS:" + name.toLatin1() +
                                   "\nbasicConstraints=CA:FALSE\n"
                                   "keyUsage=digitalSignature\nextendedKeyUsage=serverAuth\n")) {
        failure = QStringLiteral("cannot write ") + extensions;
        return false;
    }
    return runOpenssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-keyout", key, "-out", request, "-subj", "/CN=" + name},
                      failure) &&
           runOpenssl({"x509", "-req", "-in", request, "-CA", m_caCertificate, "-CAkey", m_caKey,
                       "-CAcreateserial", "-out", certificate, "-days", "2", "-extfile",
                       extensions},
                      failure);
}

QList<QSslCertificate> TestCertificates::authority() const {
    return QSslCertificate::fromPath(m_caCertificate);
}

// ---------------------------------------------------------------------------------------

bool ServerProcess::start(const QString& program, const QStringList& arguments,
                          int listeningSocket) {
    process.setProgram(program);
    process.setArguments(arguments);
    process.setChildProcessModifier([listeningSocket] {
        ::setsid();
        if (listeningSocket >= 0)
            ::dup2(listeningSocket, STDIN_FILENO);
    });
    process.start();
    return process.waitForStarted(StartTimeoutMs);
}

void ServerProcess::stop() {
    if (process.state() == QProcess::NotRunning)
        return;
    const qint64 pid = process.processId();
    process.closeWriteChannel();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGTERM);
    if (!process.waitForFinished(5000) && pid > 0) {
        ::kill(-pid_t(pid), SIGKILL);
        process.waitForFinished(5000);
    }
}

QList<StoredMessage> MailServer::takeNew() {
    QList<StoredMessage> fresh;
    for (const auto& [id, message] : stored()) {
        if (m_taken.contains(id))
            continue;
        m_taken.insert(id);
        fresh << message;
    }
    return fresh;
}

// ---------------------------------------------------------------------------------------

bool EximServer::start(QString& failure) {
    const QString exim =
        QStandardPaths::findExecutable(QStringLiteral("exim4"), {"/usr/sbin", "/usr/bin"});
    if (exim.isEmpty()) {
        failure = QStringLiteral("exim4 is not installed (package exim4-daemon-light)");
        return false;
    }
    const int listener = listeningSocket(port);
    if (listener < 0) {
        failure = QStringLiteral("no loopback port to listen on");
        return false;
    }
    const QByteArray root = m_dir.path().toUtf8();
    QDir().mkpath(m_dir.filePath(QStringLiteral("spool")));
    const bool tls = !m_options.certificate.isEmpty();
    QByteArray config =
        "primary_hostname = exim.test\n"
        "qualify_domain = example.org\n"
        "spool_directory = " +
        root + "/spool\nlog_file_path = " + root + "/%slog\npid_file_path = " + root +
        "/exim.pid\n"
        "exim_user = " +
        QByteArray::number(::getuid()) + "\nexim_group = " + QByteArray::number(::getgid()) +
        "\n"
        "host_lookup =\n"
        "rfc1413_hosts =\n"
        "queue_only = true\n"
        "keep_environment =\n";
    if (tls) {
        config += "tls_certificate = " + m_options.certificate.toUtf8() +
                  "\ntls_privatekey = " + m_options.key.toUtf8() + "\n";
        if (m_options.implicitTls) {
            config +=
                "tls_advertise_hosts =\ntls_on_connect_ports = " + QByteArray::number(port) + "\n";
        } else {
            config += "tls_advertise_hosts = *\n";
        }
        // Passwords only ever over TLS: AUTH is neither offered nor accepted before it.
        config += "auth_advertise_hosts = ${if eq{$tls_in_cipher}{}{}{*}}\n";
    } else {
        config += "tls_advertise_hosts =\nauth_advertise_hosts = *\n";
    }
    config += "acl_smtp_rcpt = acl_rcpt\n"
              "acl_smtp_data = acl_accept\n"
              "begin acl\n"
              "acl_rcpt:\n"
              "  deny message = 5.1.1 No such user here\n"
              "       recipients = nobody@example.org\n";
    if (m_options.requireAuth)
        config += "  deny message = 5.7.1 Authentication required\n"
                  "       !authenticated = *\n";
    config += "  accept\n"
              "acl_accept:\n"
              "  accept\n"
              "begin authenticators\n"
              "plain:\n"
              "  driver = plaintext\n"
              "  public_name = PLAIN\n"
              "  server_prompts = :\n"
              "  server_condition = ${if and {{eq{$auth2}{user}}{eq{$auth3}{s3cr3t}}}}\n"
              "  server_set_id = $auth2\n"
              "login:\n"
              "  driver = plaintext\n"
              "  public_name = LOGIN\n"
              "  server_prompts = Username:: : Password::\n"
              "  server_condition = ${if and {{eq{$auth1}{user}}{eq{$auth2}{s3cr3t}}}}\n"
              "  server_set_id = $auth1\n"
              "cram:\n"
              "  driver = cram_md5\n"
              "  public_name = CRAM-MD5\n"
              "  server_secret = ${if eq{$auth1}{user}{s3cr3t}fail}\n"
              "  server_set_id = $auth1\n";
    const QString configPath = m_dir.filePath(QStringLiteral("exim.conf"));
    if (!writeFile(configPath, config)) {
        ::close(listener);
        failure = QStringLiteral("cannot write the Exim configuration");
        return false;
    }
    // -bw: the daemon takes its listening socket from its standard input.
    const bool started = m_process.start(exim, {"-C", configPath, "-bw"}, listener);
    ::close(listener);
    if (!started) {
        failure = QStringLiteral("exim4 did not start");
        return false;
    }
    return true;
}

QList<std::pair<QString, StoredMessage>> EximServer::stored() const {
    QList<std::pair<QString, StoredMessage>> messages;
    const QDir input(m_dir.filePath(QStringLiteral("spool/input")));
    for (const QString& name : input.entryList({"*-H"}, QDir::Files)) {
        const QByteArray header = readFile(input.filePath(name));
        QByteArray data = readFile(input.filePath(name.chopped(1) + "D"));
        data = data.mid(data.indexOf('\n') + 1);
        messages.append({name, parseEximSpool(header, data)});
    }
    return messages;
}

// ---------------------------------------------------------------------------------------

bool AiosmtpdServer::start(QString& failure) {
    const QString python = QStringLiteral("/usr/bin/python3");
    if (QProcess::execute(python, {"-c", "import aiosmtpd"}) != 0) {
        failure = QStringLiteral("aiosmtpd is not installed (package python3-aiosmtpd)");
        return false;
    }
    const QString script = QStringLiteral(AIOSMTPD_SERVER_SCRIPT);
    QStringList arguments{script, m_dir.path(), "user", "s3cr3t"};
    if (m_options.requireAuth)
        arguments << "--auth-required";
    if (!m_options.certificate.isEmpty())
        arguments << "--tls" << m_options.certificate << m_options.key;
    if (!m_process.start(python, arguments)) {
        failure = QStringLiteral("the aiosmtpd server did not start");
        return false;
    }
    QProcess& process = m_process.process;
    const auto gavePortOrEnded = [&] {
        return process.canReadLine() || process.state() == QProcess::NotRunning;
    };
    if (!waitUntil(&process, &QProcess::readyReadStandardOutput, gavePortOrEnded, StartTimeoutMs) ||
        !process.canReadLine()) {
        failure = QStringLiteral("the aiosmtpd server gave no port: ") +
                  QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    port = quint16(process.readLine().trimmed().toUInt());
    return port != 0;
}

QList<std::pair<QString, StoredMessage>> AiosmtpdServer::stored() const {
    QList<std::pair<QString, StoredMessage>> messages;
    for (int n = 1; QFile::exists(m_dir.filePath(QStringLiteral("message%1.eml").arg(n))); ++n) {
        const QByteArray content = readFile(m_dir.filePath(QStringLiteral("message%1.eml").arg(n)));
        const QJsonObject envelope =
            QJsonDocument::fromJson(
                readFile(m_dir.filePath(QStringLiteral("message%1.json").arg(n))))
                .object();
        StoredMessage message;
        message.sender = envelope.value("from").toString().toUtf8();
        for (const QJsonValue& rcpt : envelope.value("rcpt").toArray())
            message.recipients << rcpt.toString().toUtf8();
        message.mechanism = envelope.value("mechanism").toString().toUtf8();
        message.login = envelope.value("login").toString().toUtf8();
        message.encrypted = envelope.value("encrypted").toBool();
        for (const QJsonValue& defect : envelope.value("defects").toArray())
            message.defects << defect.toString();
        message.subject = envelope.value("subject").toString();
        message.to = envelope.value("to").toString();
        message.messageId = envelope.value("messageId").toString();
        message.text = envelope.value("text").toString();
        const QByteArrayList lines = splitLines(content);
        const qsizetype blank = lines.indexOf(QByteArray());
        message.headerLines = lines.mid(0, blank);
        message.bodyLines = lines.mid(blank + 1);
        messages.append({QString::number(n), message});
    }
    return messages;
}

// ---------------------------------------------------------------------------------------

MailServer* MailServerPool::forTest(const QString& name) {
    QString failure;
    MailServer* found = get(name, failure);
    if (!found && failure.contains(QLatin1String("not installed")))
        QTest::qSkip(qPrintable(failure), __FILE__, __LINE__);
    else if (!found)
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
    return found;
}

MailServer* MailServerPool::get(const QString& name, QString& failure) {
    if (const auto found = m_servers.constFind(name); found != m_servers.constEnd())
        return found->get();
    ServerOptions tls;
    tls.certificate = m_certificates.localhostCertificate;
    tls.key = m_certificates.localhostKey;
    tls.requireAuth = true;
    std::shared_ptr<MailServer> made;
    if (name == QLatin1String("exim")) {
        made = std::make_shared<EximServer>();
    } else if (name == QLatin1String("exim STARTTLS")) {
        made = std::make_shared<EximServer>(tls);
    } else if (name == QLatin1String("exim smtps")) {
        tls.implicitTls = true;
        made = std::make_shared<EximServer>(tls);
    } else if (name == QLatin1String("exim other name")) {
        tls.certificate = m_certificates.otherNameCertificate;
        tls.key = m_certificates.otherNameKey;
        made = std::make_shared<EximServer>(tls);
    } else if (name == QLatin1String("exim self-signed")) {
        tls.certificate = m_certificates.selfSignedCertificate;
        tls.key = m_certificates.selfSignedKey;
        made = std::make_shared<EximServer>(tls);
    } else if (name == QLatin1String("aiosmtpd")) {
        made = std::make_shared<AiosmtpdServer>();
    } else if (name == QLatin1String("aiosmtpd STARTTLS")) {
        made = std::make_shared<AiosmtpdServer>(tls);
    } else {
        failure = QStringLiteral("no server called ") + name;
        return nullptr;
    }
    if (!made->start(failure))
        return nullptr;
    m_servers.insert(name, made);
    return made.get();
}

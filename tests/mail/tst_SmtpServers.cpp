// Sends mail through the session to real, independently written mail servers (Exim 4 and
// aiosmtpd) started on a free loopback port, and compares what they stored with what was
// meant to arrive.
#include "mail/TSmtpCli.h"
#include "tests/mail/FixedUtcOffset.h"
#include "tests/support/FakeClock.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int StartTimeoutMs = 15000;
constexpr int RequestTimeoutMs = 10000;

quint16 freeLoopbackPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool acceptsConnections(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
}

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

} // namespace

// A server process in a process group of its own, so that stopping it also ends every
// process it forked; it never outlives the test.
class ServerProcess {
public:
    ~ServerProcess() { stop(); }

    bool start(const QString& program, const QStringList& arguments) {
        process.setProgram(program);
        process.setArguments(arguments);
        process.setChildProcessModifier([] { ::setsid(); });
        process.start();
        return process.waitForStarted(StartTimeoutMs);
    }

    void stop() {
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

    QProcess process;
};

// What a server stored for one message.
struct StoredMessage {
    QByteArray sender;
    QByteArrayList recipients;
    QByteArrayList headerLines; // added trace headers left out
    QByteArrayList bodyLines;
    QByteArray mechanism;
    QByteArray login;
};

class MailServer {
public:
    virtual ~MailServer() = default;
    virtual bool start(QString& failure) = 0;
    virtual QList<StoredMessage> stored() const = 0;
    quint16 port = 0;

protected:
    QTemporaryDir m_dir;
    ServerProcess m_process;
};

// Exim run from a configuration of its own that keeps accepted mail in its spool folder
// inside the temporary folder, with PLAIN, LOGIN and CRAM-MD5 offered on the plain
// connection. Run as root it keeps root's rights; run by anyone else it runs as that user.
class EximServer final : public MailServer {
public:
    bool start(QString& failure) override {
        const QString exim =
            QStandardPaths::findExecutable(QStringLiteral("exim4"), {"/usr/sbin", "/usr/bin"});
        if (exim.isEmpty()) {
            failure = QStringLiteral("exim4 is not installed (package exim4-daemon-light)");
            return false;
        }
        port = freeLoopbackPort();
        const QString root = m_dir.path();
        QDir().mkpath(root + "/spool");
        const QByteArray config =
            "primary_hostname = exim.test\n"
            "qualify_domain = example.org\n"
            "spool_directory = " +
            root.toUtf8() +
            "/spool\n"
            "log_file_path = " +
            root.toUtf8() +
            "/%slog\n"
            "pid_file_path = " +
            root.toUtf8() +
            "/exim.pid\n"
            "daemon_smtp_ports = " +
            QByteArray::number(port) +
            "\n"
            "local_interfaces = <; 127.0.0.1\n"
            "exim_user = " +
            QByteArray::number(::getuid()) +
            "\n"
            "exim_group = " +
            QByteArray::number(::getgid()) +
            "\n"
            "host_lookup =\n"
            "rfc1413_hosts =\n"
            "tls_advertise_hosts =\n"
            "auth_advertise_hosts = *\n"
            "queue_only = true\n"
            "keep_environment =\n"
            "acl_smtp_rcpt = acl_accept\n"
            "acl_smtp_data = acl_accept\n"
            "begin acl\n"
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
        const QString configPath = root + "/exim.conf";
        if (!writeFile(configPath, config)) {
            failure = QStringLiteral("cannot write the Exim configuration");
            return false;
        }
        if (!m_process.start(exim, {"-C", configPath, "-bdf"})) {
            failure = QStringLiteral("exim4 did not start");
            return false;
        }
        if (!QTest::qWaitFor(
                [&] {
                    return acceptsConnections(port) ||
                           m_process.process.state() == QProcess::NotRunning;
                },
                StartTimeoutMs) ||
            m_process.process.state() == QProcess::NotRunning) {
            failure = QStringLiteral("exim4 is not listening: ") +
                      QString::fromLocal8Bit(m_process.process.readAllStandardError());
            return false;
        }
        return true;
    }

    QList<StoredMessage> stored() const override {
        QList<StoredMessage> messages;
        const QDir input(m_dir.path() + "/spool/input");
        QStringList headerFiles =
            input.entryList({"*-H"}, QDir::Files, QDir::Time | QDir::Reversed);
        for (const QString& name : headerFiles) {
            const QByteArray header = readFile(input.filePath(name));
            QByteArray data = readFile(input.filePath(name.chopped(1) + "D"));
            data = data.mid(data.indexOf('\n') + 1);
            messages << parse(header, data);
        }
        return messages;
    }

private:
    // The spool header file: id, owner, sender, time, "-" options, the non-recipient tree,
    // the recipient count and recipients, an empty line, then each header line prefixed by
    // its length and a flag character ("*" for lines Exim has removed).
    static StoredMessage parse(const QByteArray& header, const QByteArray& data) {
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
};

// aiosmtpd through the helper script beside this test.
class AiosmtpdServer final : public MailServer {
public:
    bool start(QString& failure) override {
        const QString python = QStringLiteral("/usr/bin/python3");
        if (QProcess::execute(python, {"-c", "import aiosmtpd"}) != 0) {
            failure = QStringLiteral("aiosmtpd is not installed (package python3-aiosmtpd)");
            return false;
        }
        const QString script =
            QStringLiteral(TACKNOTE_SOURCE_DIR) + "/tests/mail/aiosmtpd_server.py";
        if (!m_process.start(python, {script, m_dir.path(), "user", "s3cr3t"})) {
            failure = QStringLiteral("the aiosmtpd server did not start");
            return false;
        }
        if (!QTest::qWaitFor(
                [&] {
                    return m_process.process.canReadLine() ||
                           m_process.process.state() == QProcess::NotRunning;
                },
                StartTimeoutMs) ||
            !m_process.process.canReadLine()) {
            failure = QStringLiteral("the aiosmtpd server gave no port: ") +
                      QString::fromLocal8Bit(m_process.process.readAllStandardError());
            return false;
        }
        port = quint16(m_process.process.readLine().trimmed().toUInt());
        return port != 0;
    }

    QList<StoredMessage> stored() const override {
        QList<StoredMessage> messages;
        for (int n = 1; QFile::exists(m_dir.filePath(QStringLiteral("message%1.eml").arg(n)));
             ++n) {
            const QByteArray content =
                readFile(m_dir.filePath(QStringLiteral("message%1.eml").arg(n)));
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
            const QByteArrayList lines = splitLines(content);
            const qsizetype blank = lines.indexOf(QByteArray());
            message.headerLines = lines.mid(0, blank);
            message.bodyLines = lines.mid(blank + 1);
            messages << message;
        }
        return messages;
    }
};

class SmtpServersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sendThroughRealServer_data();
    void sendThroughRealServer();

private:
    QTemporaryDir m_files;
    QByteArray m_attachment;
};

void SmtpServersTest::initTestCase() {
    QVERIFY(m_files.isValid());
    for (int i = 0; i < 200; ++i)
        m_attachment += char((i * 37 + 11) % 256);
    m_attachment += "\r\n.\r\n";
    QVERIFY(writeFile(m_files.filePath("notes.bin"), m_attachment));
}

void SmtpServersTest::sendThroughRealServer_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("authType");
    QTest::addColumn<QByteArray>("mechanism");
    QTest::newRow("Exim, HELO without authentication")
        << "exim" << int(smtpAuthNone) << QByteArray();
    QTest::newRow("Exim, PLAIN") << "exim" << int(smtpAuthPlain) << QByteArray("PLAIN");
    QTest::newRow("Exim, LOGIN") << "exim" << int(smtpAuthLogin) << QByteArray("LOGIN");
    QTest::newRow("Exim, CRAM-MD5") << "exim" << int(smtpAuthCramMD5) << QByteArray("CRAM-MD5");
    QTest::newRow("aiosmtpd, PLAIN") << "aiosmtpd" << int(smtpAuthPlain) << QByteArray("PLAIN");
    QTest::newRow("aiosmtpd, LOGIN") << "aiosmtpd" << int(smtpAuthLogin) << QByteArray("LOGIN");
}

void SmtpServersTest::sendThroughRealServer() {
    QFETCH(QString, server);
    QFETCH(int, authType);
    QFETCH(QByteArray, mechanism);

    std::unique_ptr<MailServer> mail;
    if (server == QLatin1String("exim"))
        mail = std::make_unique<EximServer>();
    else
        mail = std::make_unique<AiosmtpdServer>();
    QString failure;
    if (!mail->start(failure)) {
        if (failure.contains(QLatin1String("not installed")))
            QSKIP(qPrintable(failure));
        QFAIL(qPrintable(failure));
    }

    FakeClock clock(QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5)));
    FixedUtcOffset offset(-180);
    TSmtpCli smtp(clock, offset);
    QList<quint16> results;
    smtp.OnRequestDone = [&](TCustomSmtpClient*, TSmtpRequest, quint16 error) { results << error; };
    auto run = [&](const std::function<void()>& start) {
        const qsizetype before = results.size();
        start();
        return QTest::qWaitFor([&] { return results.size() > before; }, RequestTimeoutMs) &&
               results.last() == 0;
    };

    smtp.Host = QStringLiteral("127.0.0.1");
    smtp.Port = QString::number(mail->port);
    smtp.SignOn = QStringLiteral("tacknote.test");
    smtp.AuthType = TSmtpAuthType(authType);
    smtp.Username = QStringLiteral("user");
    smtp.Password = QStringLiteral("s3cr3t");
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
        smtp.FromName = QStringLiteral("me@example.org");
        smtp.RcptName = {QStringLiteral("ann@example.org"),
                         QStringLiteral(" Bob <bob@example.org>"),
                         QStringLiteral("carl@example.org")};
        QVERIFY2(run([&] { smtp.TransferMail(); }), qPrintable(smtp.ErrorMessage()));
        QVERIFY2(run([&] { smtp.QuitSession(); }), qPrintable(smtp.ErrorMessage()));
        QVERIFY(QTest::qWaitFor([&] { return !smtp.IsConnected(); }, RequestTimeoutMs));
    }

    const QByteArray boundary = "= Multipart Boundary 1225021430";
    const QByteArrayList expectedHeader{"From: me@example.org",
                                        "To: " + to.toLatin1(),
                                        "Subject: Reuni\xe3o \xe0s 15h \x96 caf\xe9",
                                        "Sender: me@example.org",
                                        "Mime-Version: 1.0",
                                        "Content-Type: multipart/mixed;",
                                        "\tboundary=\"" + boundary + "\"",
                                        "Date: Wed, 25 Dec 2002 14:30:05 -0300"};
    QByteArrayList expectedBody{"This is a multipart MIME message.",
                                "",
                                "--" + boundary,
                                "Content-Type: text/plain; charset=\"iso-8859-1\"",
                                "Content-Transfer-Encoding: 7bit",
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

    QList<StoredMessage> stored;
    QVERIFY(
        QTest::qWaitFor([&] { return (stored = mail->stored()).size() == 2; }, RequestTimeoutMs));
    for (const StoredMessage& message : stored) {
        QCOMPARE(message.sender, QByteArray("me@example.org"));
        QCOMPARE(message.recipients,
                 (QByteArrayList{"ann@example.org", "bob@example.org", "carl@example.org"}));
        QCOMPARE(message.headerLines, expectedHeader);
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

QTEST_GUILESS_MAIN(SmtpServersTest)
#include "tst_SmtpServers.moc"

// The capture host program as the browser runs it: length-prefixed JSON on its standard
// input and output, the signal on the running program's local socket.

#include "core/program/CaptureHost.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/SingleInstance.h"

#include <QBuffer>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray request(const char* command) {
    return CaptureHost::frame(QByteArray(R"({"command":")") + command + R"("})");
}

// A length prefix announcing length bytes.
QByteArray prefix(quint32 length) {
    return QByteArray(reinterpret_cast<const char*>(&length), sizeof length);
}

// The answers the host wrote, each unframed; an entry "<bad frame>" where the framing
// is broken.
QList<QJsonObject> answersIn(QByteArray output) {
    QBuffer buffer(&output);
    buffer.open(QIODevice::ReadOnly);
    QList<QJsonObject> answers;
    QByteArray message;
    CaptureHost::Read read;
    while ((read = CaptureHost::readMessage(buffer, &message)) == CaptureHost::Read::Message)
        answers.append(QJsonDocument::fromJson(message).object());
    if (read == CaptureHost::Read::Refused)
        answers.append(QJsonObject{{"bad frame", true}});
    return answers;
}

QJsonObject ok() {
    return QJsonObject{{"ok", true}};
}
QJsonObject failed(const char* error) {
    return QJsonObject{{"ok", false}, {"error", error}};
}

} // namespace

class tst_CaptureHost : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void speaksTheBrowsersFraming_data();
    void speaksTheBrowsersFraming();
};

void tst_CaptureHost::speaksTheBrowsersFraming_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("programRunning");
    QTest::addColumn<QList<QJsonObject>>("answers");
    QTest::addColumn<int>("signals");
    QTest::addColumn<int>("exitCode");

    const QJsonObject hello{{"ok", true}, {"program", "Tacknote"}};
    QTest::newRow("hello") << request("hello") << true << QList<QJsonObject>{hello} << 0 << 0;
    QTest::newRow("capture") << request("capture") << true << QList<QJsonObject>{ok()} << 1 << 0;
    QTest::newRow("hello, then two captures")
        << request("hello") + request("capture") + request("capture") << true
        << QList<QJsonObject>{hello, ok(), ok()} << 2 << 0;
    QTest::newRow("capture with no program running")
        << request("capture") << false << QList<QJsonObject>{failed("Tacknote is not running")} << 0
        << 0;
    QTest::newRow("no input") << QByteArray() << true << QList<QJsonObject>{} << 0 << 0;

    // Bad messages in good frames are answered, and the host goes on.
    QTest::newRow("malformed JSON, then a capture")
        << CaptureHost::frame("{\"command\":") + request("capture") << true
        << QList<QJsonObject>{failed("malformed message"), ok()} << 1 << 0;
    QTest::newRow("not an object") << CaptureHost::frame("[\"capture\"]") << true
                                   << QList<QJsonObject>{failed("malformed message")} << 0 << 0;
    QTest::newRow("unknown command") << request("open /bin/sh") << true
                                     << QList<QJsonObject>{failed("unknown command")} << 0 << 0;

    // Broken frames end the conversation: what follows cannot be told from garbage.
    const QByteArray oversized(CaptureHost::MaxRequest + 1, ' ');
    QTest::newRow("one byte over the limit")
        << CaptureHost::frame(oversized) + request("capture") << true
        << QList<QJsonObject>{failed("message of 4097 bytes, more than 4096")} << 0 << 1;
    QTest::newRow("four gigabytes announced")
        << prefix(0xFFFFFFFFu) + request("capture") << true
        << QList<QJsonObject>{failed("message of 4294967295 bytes, more than 4096")} << 0 << 1;
    QTest::newRow("message cut short") << prefix(50) + "{\"command\":" << true
                                       << QList<QJsonObject>{failed("message cut short")} << 0 << 1;
    QTest::newRow("length cut short") << request("capture") + QByteArray(2, '\x10') << true
                                      << QList<QJsonObject>{ok(), failed("message length cut "
                                                                         "short")}
                                      << 1 << 1;
}

void tst_CaptureHost::speaksTheBrowsersFraming() {
    QFETCH(QByteArray, input);
    QFETCH(bool, programRunning);
    QFETCH(QList<QJsonObject>, answers);
    QFETCH(int, signals);
    QFETCH(int, exitCode);

    // The host finds the program as the program finds itself: the documents folder of
    // the home it is given and the user it runs as.
    QTemporaryDir home;
    const QString user = DesktopSystemPaths().logonUser();
    const QString dataDir = home.filePath(QStringLiteral("Documents/Tacknote/%1/data/").arg(user));
    QVERIFY(QDir().mkpath(dataDir));
    SingleInstance program(dataDir, user);
    if (programRunning)
        QVERIFY(program.claim());
    QSignalSpy received(&program, &SingleInstance::messageReceived);

    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    host.setProcessEnvironment(environment);
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As the browsers call it: Chromium passes the caller's origin.
    host.start(QStringLiteral(TACKNOTE_CAPTURE_HOST),
               {QStringLiteral("chrome-extension://bdacneojoiegfgbphknfiaacpbdganab/")});
    QVERIFY(host.waitForStarted());
    host.write(input);
    host.closeWriteChannel();
    QSignalSpy finished(&host, &QProcess::finished);
    // The event loop runs meanwhile, so the program side takes the signals.
    QVERIFY(finished.wait(10000));

    QCOMPARE(host.exitStatus(), QProcess::NormalExit);
    QCOMPARE(host.exitCode(), exitCode);
    QCOMPARE(answersIn(host.readAllStandardOutput()), answers);
    QTRY_COMPARE(received.count(), signals);
    for (const QList<QVariant>& signal : received)
        QCOMPARE(signal.first().toByteArray(), QByteArray("capture"));
}

QTEST_MAIN(tst_CaptureHost)
#include "tst_CaptureHost.moc"

#include "platform/desktop/QtSoundPlayer.h"

#include <QAudioDevice>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The sounds as they are shipped, beside the built program.
const QString DataDir = QStringLiteral(TACKNOTE_PROGRAM_DIR);

} // namespace

// The sounds shipped with the program, played through the real player into a private
// sound server whose only output is a null sink. Where no such server can be started
// the whole test is skipped with the reason.
class tst_ShippedSounds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void playsToTheEnd_data();
    void playsToTheEnd();
    void asynchronousPlayReturnsAtOnce();

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

void tst_ShippedSounds::initTestCase() {
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulseaudio.isEmpty())
        QSKIP("pulseaudio is not installed (Debian package pulseaudio): the shipped sounds "
              "are not played through a sound server here");
    QVERIFY(m_dir.isValid());
    const QString runtime = m_dir.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString socket = m_dir.filePath(QStringLiteral("native"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_dir.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime + QStringLiteral("/pulse"));
    environment.remove(QStringLiteral("PULSE_SERVER"));
    m_server.setProcessEnvironment(environment);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.start(
        pulseaudio,
        {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
         QStringLiteral("--log-target=stderr"), QStringLiteral("-L"),
         QStringLiteral("module-null-sink sink_name=tacknote_null"), QStringLiteral("-L"),
         QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!m_server.waitForStarted(5000))
        QSKIP("pulseaudio could not be started: the shipped sounds are not played here");
    // The server is ready once its socket is there; it may also end, or never get there.
    {
        QEventLoop ready;
        QFileSystemWatcher folder({m_dir.path()});
        connect(&folder, &QFileSystemWatcher::directoryChanged, &ready, [&] {
            if (QFileInfo::exists(socket))
                ready.quit();
        });
        connect(&m_server, &QProcess::finished, &ready, &QEventLoop::quit);
        QTimer::singleShot(10000, &ready, &QEventLoop::quit);
        if (!QFileInfo::exists(socket) && m_server.state() == QProcess::Running)
            ready.exec();
    }
    if (!QFileInfo::exists(socket)) {
        const QByteArray log = m_server.readAll();
        QSKIP(qPrintable(QStringLiteral("pulseaudio did not start its null sink, so the shipped "
                                        "sounds are not played here: ") +
                         QString::fromLocal8Bit(log.right(400))));
    }

    // Before anything asks Qt Multimedia for audio devices.
    qputenv("PULSE_SERVER", QFile::encodeName(QStringLiteral("unix:") + socket));
    if (QMediaDevices::audioOutputs().isEmpty())
        QSKIP("the private sound server runs, but Qt sees no audio output in it");
}

void tst_ShippedSounds::cleanupTestCase() {
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

void tst_ShippedSounds::playsToTheEnd_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("new note") << "boing.wav";
    QTest::newRow("deleted note") << "recycle.wav";
    QTest::newRow("received note") << "BIPECOMP.WAV";
}

// Each sound is a short wave file that the player accepts, and the sound server tells of
// its end: it really went through the audio output.
void tst_ShippedSounds::playsToTheEnd() {
    QFETCH(QString, name);
    const QString file = DataDir + QLatin1Char('/') + name;
    const std::optional<qint64> length = QtSoundPlayer::waveLengthMs(file);
    QVERIFY(length);
    QVERIFY(*length > 100 && *length < 1000);

    QtSoundPlayer player;
    QSignalSpy finished(&player, &QtSoundPlayer::finishedPlaying);
    QVERIFY(player.playSync(file));
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 10000);
}

void tst_ShippedSounds::asynchronousPlayReturnsAtOnce() {
    QtSoundPlayer player;
    QSignalSpy finished(&player, &QtSoundPlayer::finishedPlaying);
    player.play(DataDir + QStringLiteral("/boing.wav"));
    QCOMPARE(finished.count(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 10000);
}

QTEST_MAIN(tst_ShippedSounds)
#include "tst_ShippedSounds.moc"

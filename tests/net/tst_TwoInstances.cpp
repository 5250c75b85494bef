// Two computers on one network, each running its own copy of the program with its own
// home folder: network namespaces joined by a veth pair. The real program receives on
// one side with network functions on; on the other a sending instance sends it a note
// through the send dialog. Once the receiving program has been asked to stop (which
// saves), its notes file must hold the note as it was sent, with the sender's footer.

#include "NetworkNamespaces.h"
#include "TwoInstancesNote.h"

#include "core/notes/NoteStore.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "core/store/Windows1252.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// A home folder with the notes file of one instance.
struct Home {
    QTemporaryDir dir;
    QString notesFile;

    explicit Home(const QByteArray& settings) {
        const QString data =
            dir.filePath(QStringLiteral("Documents/Tacknote/") + DesktopSystemPaths().logonUser() +
                         QStringLiteral("/data"));
        QVERIFY(QDir().mkpath(data));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("run"))));
        QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        notesFile = data + QStringLiteral("/stickies.tkn");
        writeBytes(notesFile, settings);
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           dir.filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pt_BR.UTF-8"));
        return environment;
    }
};

// Ends a program that is still running when the test leaves, passed or not.
class StopAtEnd {
public:
    explicit StopAtEnd(QProcess& process) : m_process(process) {}
    ~StopAtEnd() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    StopAtEnd(const StopAtEnd&) = delete;
    StopAtEnd& operator=(const StopAtEnd&) = delete;

private:
    QProcess& m_process;
};

// The settings of a notes file with no notes, network functions on at the test's port.
QByteArray notesFileWith(const QString& user) {
    return "[General]\r\nNumStickies=0\r\nUseSounds=0\r\nNoteDaily=0\r\nAutoSave=0\r\nUser=" +
           Windows1252::encode(user) +
           "\r\n[Network]\r\nEnabled=1\r\nPortTCP=" + TwoInstances::Port + "\r\n";
}

} // namespace

class tst_TwoInstances : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noteTravelsBetweenPrograms();
};

void tst_TwoInstances::noteTravelsBetweenPrograms() {
    NetworkNamespaces network;
    QString why;
    if (!network.create(QString::fromLatin1(TwoInstances::ReceiverAddress),
                        QString::fromLatin1(TwoInstances::SenderAddress), why)) {
        QSKIP(qPrintable(QStringLiteral("cannot make network namespaces here (") + why +
                         QStringLiteral("): two programs over a network cannot be tested")));
    }

    const Home receiverHome(notesFileWith(QStringLiteral("Destinat\u00E1rio")));
    const Home senderHome(notesFileWith(TwoInstances::senderName()));
    QProcess receiving;
    const StopAtEnd stopReceiving(receiving);
    receiving.setProcessEnvironment(receiverHome.environment());
    receiving.setProcessChannelMode(QProcess::ForwardedChannels);
    receiving.start(network.ipProgram(),
                    network.execIn(true, QStringLiteral(TACKNOTE_EXECUTABLE), {}));
    QVERIFY(receiving.waitForStarted());

    // Listening shows in the namespace's socket table.
    const QStringList listening =
        network.execIn(true, QStringLiteral("ss"),
                       {QStringLiteral("-Hltn"), QStringLiteral("sport = :") + TwoInstances::Port});
    QString sockets;
    const auto listensOrEnded = [&] {
        if (receiving.state() != QProcess::Running)
            return true;
        network.ip(listening, nullptr, &sockets);
        return !sockets.trimmed().isEmpty();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(
        listensOrEnded(), "the receiving program does not listen although network functions are on",
        15000);
    QCOMPARE(receiving.state(), QProcess::Running);

    QProcess sending;
    const StopAtEnd stopSending(sending);
    sending.setProcessEnvironment(senderHome.environment());
    sending.setProcessChannelMode(QProcess::MergedChannels);
    sending.start(network.ipProgram(),
                  network.execIn(false, QStringLiteral(SENDING_INSTANCE_EXECUTABLE),
                                 {QString::fromLatin1(TwoInstances::ReceiverAddress)}));
    QVERIFY(sending.waitForFinished(90000));
    const QString report = QString::fromLocal8Bit(sending.readAll());
    QVERIFY2(sending.exitStatus() == QProcess::NormalExit && sending.exitCode() == 0,
             qPrintable(report));

    ::kill(static_cast<pid_t>(receiving.processId()), SIGTERM);
    QVERIFY(receiving.waitForFinished(15000));
    QCOMPARE(receiving.exitCode(), 0);

    IniFile file(receiverHome.notesFile, IniFile::Mode::Batched);
    QCOMPARE(SettingsStore::readNumStickies(file), 1);
    const QtLocaleInfo locale{QLocale(QStringLiteral("pt_BR"))};
    const NoteRecord got = NoteStore::read(file, 0, locale, QDateTime());
    const OutgoingNote sent =
        TwoInstances::note(QStringLiteral(TACKNOTE_PROGRAM_DIR "/BIPECOMP.WAV"));
    QCOMPARE(got.caption, sent.caption);
    QCOMPARE(got.note, sent.lines.join(QStringLiteral("\r\n")));
    QCOMPARE(got.Color, sent.Color);
    QCOMPARE(got.FontName, sent.FontName);
    QCOMPARE(got.FontSize, sent.FontSize);
    QCOMPARE(got.FontColor, sent.FontColor);
    QCOMPARE(got.FontBold, sent.FontBold);
    QCOMPARE(got.FontItalic, sent.FontItalic);
    QCOMPARE(got.alarm, sent.alarm);
    QCOMPARE(got.AlarmDateTime, sent.AlarmDateTime);
    QCOMPARE(got.UseSound, sent.UseSound);
    QCOMPARE(got.SoundFile, sent.SoundFile);
    QCOMPARE(got.Remember, sent.Remember);
    QCOMPARE(got.RememberNo, sent.RememberNo);
    QCOMPARE(got.RememberUnit, sent.RememberUnit);
    QCOMPARE(got.weekdays, sent.weekdays);
    QCOMPARE(got.footer, QStringLiteral("De ") + TwoInstances::senderName() + QStringLiteral(" (") +
                             TwoInstances::SenderAddress + QStringLiteral(")"));
}

QTEST_GUILESS_MAIN(tst_TwoInstances)
#include "tst_TwoInstances.moc"

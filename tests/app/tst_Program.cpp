// Runs the real executable: the start-up seeds and loads the notes file, and a request
// to stop (SIGTERM, SIGINT, SIGHUP) saves every note before the program ends.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class tst_Program : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopSignalSavesNotes_data();
    void stopSignalSavesNotes();
    void secondCopyHandsOverAndEnds();
};

namespace {

// The environment of a program run with its home in home.
QProcessEnvironment programEnvironment(const QTemporaryDir& home) {
    const QString documents = home.filePath(QStringLiteral("Documents"));
    QDir().mkpath(documents);
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), documents);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pt_BR.UTF-8"));
    return environment;
}

// Waits until the program has seeded its notes file and returns its path.
QString waitForNotesFile(const QTemporaryDir& home) {
    const QString base = home.filePath(QStringLiteral("Documents/Tacknote"));
    QString notesFile;
    for (int i = 0; i < 100 && notesFile.isEmpty(); ++i) {
        const QStringList users = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        const QString candidate =
            users.isEmpty() ? QString() : base + "/" + users.first() + "/data/stickies.tkn";
        if (!candidate.isEmpty() && QFile::exists(candidate))
            notesFile = candidate;
        else
            QTest::qWait(100);
    }
    return notesFile;
}

} // namespace

void tst_Program::stopSignalSavesNotes_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void tst_Program::secondCopyHandsOverAndEnds() {
    QTemporaryDir home;
    QProcess first;
    first.setProcessEnvironment(programEnvironment(home));
    first.setProgram(QStringLiteral(TACKNOTE_EXECUTABLE));
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start();
    QVERIFY(first.waitForStarted());
    const QString notesFile = waitForNotesFile(home);
    QVERIFY(!notesFile.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(QFile(notesFile).size() > 0, 5000);
    QTest::qWait(1000); // the notes are loaded
    QFile before(notesFile);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    QProcess second;
    second.setProcessEnvironment(programEnvironment(home));
    second.setProgram(QStringLiteral(TACKNOTE_EXECUTABLE));
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.start();
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QFile untouched(notesFile);
    QVERIFY(untouched.open(QIODevice::ReadOnly));
    QCOMPARE(untouched.readAll(), bytes);
    untouched.close();

    ::kill(static_cast<pid_t>(first.processId()), SIGTERM);
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitCode(), 0);
    QFile after(notesFile);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QVERIFY(after.readAll().contains("NumStickies=1\r\n"));
}

void tst_Program::stopSignalSavesNotes() {
    QFETCH(int, signalNumber);
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    QVERIFY(QDir().mkpath(documents));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), documents);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("pt_BR.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pt_BR.UTF-8"));

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProgram(QStringLiteral(TACKNOTE_EXECUTABLE));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start();
    QVERIFY(program.waitForStarted());

    // The program seeds its data folder at once and loads the notes half a second later.
    QString notesFile;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QStringList found = QDir(documents + QStringLiteral("/Tacknote"))
                                          .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            if (found.isEmpty())
                return false;
            notesFile = documents + QStringLiteral("/Tacknote/") + found.first() +
                        QStringLiteral("/data/stickies.tkn");
            return QFile::exists(notesFile);
        }(),
        10000);
    QTest::qWait(1500);
    QFile before(notesFile);
    QVERIFY(before.open(QIODevice::ReadOnly));
    QVERIFY(before.readAll().contains("NumStickies=1"));
    before.close();

    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    QFile after(notesFile);
    QVERIFY(after.open(QIODevice::ReadOnly));
    const QByteArray saved = after.readAll();
    // The close rewrote the file from memory: the settings now carry the language choice.
    QVERIFY(saved.contains("DefaultLang="));
    QVERIFY(saved.contains("NumStickies=1\r\n"));
    QVERIFY(saved.contains("caption=Bem-vindo ao Tacknote!\r\n"));
}

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_Program.moc"

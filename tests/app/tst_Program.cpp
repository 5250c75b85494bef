// Runs the real executable: the start-up seeds and loads the notes file, and a request
// to stop (SIGTERM, SIGINT, SIGHUP) saves every note before the program ends; a start
// takes over a lock nobody holds, says why it cannot run, and the command line acts on
// the running copy.

#include "../support/FakeSystemPaths.h"
#include "../support/ScriptedMessageBoxes.h"
#include "../support/TestFiles.h"

#include "core/program/StartGate.h"
#include "core/program/TacknoteMsg.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/QtLocaleInfo.h"
#include "platform/system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class tst_Program : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopSignalSavesNotes_data();
    void stopSignalSavesNotes();
    void secondCopyHandsOverAndEnds();
    void lockOfNoRunningCopyIsTakenOver_data();
    void lockOfNoRunningCopyIsTakenOver();
    void startThatCannotRunSaysWhy_data();
    void startThatCannotRunSaysWhy();
    void commandLineWithoutTheDisplay_data();
    void commandLineWithoutTheDisplay();
    void commandsReachTheRunningCopy_data();
    void commandsReachTheRunningCopy();
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
    // This process finds the program's socket as the program does.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("run"))));
    return environment;
}

// The data folder the program uses in home.
QString dataDirIn(const QTemporaryDir& home) {
    return home.filePath(
        QStringLiteral("Documents/Tacknote/%1/data/").arg(DesktopSystemPaths().logonUser()));
}

// Whether a program running in home takes message now.
bool answers(const QTemporaryDir& home, const QByteArray& message) {
    const QString user = DesktopSystemPaths().logonUser();
    return SingleInstance::send(SingleInstance::serverName(dataDirIn(home), user), message, 0);
}

// Runs the program with arguments and input to its end; its exit status.
struct Run {
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};
Run runProgram(const QProcessEnvironment& environment, const QStringList& arguments,
               const QByteArray& input = QByteArray()) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TACKNOTE_EXECUTABLE), arguments);
    if (!program.waitForStarted())
        return {};
    program.write(input);
    program.closeWriteChannel();
    if (!program.waitForFinished(20000))
        program.kill();
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
}

// Starts the program and waits until it has loaded its notes, which its start-up log
// tells (QT_LOGGING_RULES="tacknote.startup.debug=true"). False, with what the program
// said, when it did not get there.
bool startUntilLoaded(QProcess& program, QProcessEnvironment environment, QByteArray& log) {
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("tacknote.startup.debug=true"));
    program.setProcessEnvironment(environment);
    program.setProgram(QStringLiteral(TACKNOTE_EXECUTABLE));
    QSignalSpy said(&program, &QProcess::readyReadStandardError);
    program.start();
    if (!program.waitForStarted())
        return false;
    while (!log.contains("notes loaded:")) {
        if (!said.wait(20000))
            return false;
        log += program.readAllStandardError();
    }
    return true;
}

// The notes file of the one user with a data folder in documents; empty when there is
// none.
QString notesFileIn(const QString& documents) {
    const QString base = documents + QStringLiteral("/Tacknote/");
    const QStringList users = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return users.size() == 1 ? base + users.first() + QStringLiteral("/data/stickies.tkn")
                             : QString();
}

} // namespace

void tst_Program::stopSignalSavesNotes_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("saveFails");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    // A save that fails is no orderly end: the exit status says so.
    QTest::newRow("SIGTERM, the save fails") << int(SIGTERM) << true;
}

void tst_Program::secondCopyHandsOverAndEnds() {
    QTemporaryDir home;
    QProcess first;
    QByteArray log;
    QVERIFY2(startUntilLoaded(first, programEnvironment(home), log), log.constData());
    const QString notesFile = notesFileIn(home.filePath(QStringLiteral("Documents")));
    QVERIFY(QFile(notesFile).size() > 0);
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
    QFETCH(bool, saveFails);
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

    // The program seeds its data folder at once and loads the notes half a second later.
    QProcess program;
    QByteArray log;
    QVERIFY2(startUntilLoaded(program, environment, log), log.constData());
    const QString notesFile = notesFileIn(documents);
    QFile before(notesFile);
    QVERIFY(before.open(QIODevice::ReadOnly));
    QVERIFY(before.readAll().contains("NumStickies=1"));
    before.close();
    if (saveFails) {
        // A folder in the notes file's place: no save can replace it.
        QVERIFY(QFile::remove(notesFile));
        QVERIFY(QDir().mkdir(notesFile));
    }

    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), saveFails ? 1 : 0);
    if (saveFails)
        return;

    QFile after(notesFile);
    QVERIFY(after.open(QIODevice::ReadOnly));
    const QByteArray saved = after.readAll();
    // The close rewrote the file from memory: the settings now carry the language choice.
    QVERIFY(saved.contains("DefaultLang="));
    QVERIFY(saved.contains("NumStickies=1\r\n"));
    QVERIFY(saved.contains("caption=Bem-vindo ao Tacknote!\r\n"));
}

void tst_Program::lockOfNoRunningCopyIsTakenOver_data() {
    QTest::addColumn<QByteArray>("lock");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01\xff no lock at all\n\n\n");
    QTest::newRow("another computer") << QByteArray("4242\ntacknote\nother-computer\n");
    QTest::newRow("a copy that ended")
        << QByteArray("2147483646\ntacknote\n") + QSysInfo::machineHostName().toUtf8() + '\n';
}

// Nobody answers on the socket and no process holds the lock: the start runs.
void tst_Program::lockOfNoRunningCopyIsTakenOver() {
    QFETCH(QByteArray, lock);
    QTemporaryDir home;
    const QProcessEnvironment environment = programEnvironment(home);
    QVERIFY(QDir().mkpath(dataDirIn(home)));
    writeBytes(dataDirIn(home) + QStringLiteral("stickies.tkn.lock"), lock);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(TACKNOTE_EXECUTABLE));
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(answers(home, TacknoteMsg::Show), 10000);
    QCOMPARE(program.state(), QProcess::Running);
    // Another start now finds the running copy and hands over.
    QCOMPARE(runProgram(environment, {}).exitCode, 0);
    QCOMPARE(runProgram(environment, {QStringLiteral("--quit")}).exitCode, 0);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
}

void tst_Program::startThatCannotRunSaysWhy_data() {
    QTest::addColumn<QString>("obstacle");
    QTest::addColumn<QString>("told");
    QTest::newRow("no data folder")
        << "documents is a file"
        << "O Tacknote não pôde ser iniciado: a pasta de dados %1 não pôde ser criada (parte "
           "do caminho não é uma pasta).";
    QTest::newRow("lock that cannot be replaced")
        << "folder in the lock's place"
        << "O Tacknote não pôde ser iniciado: o arquivo de trava %1stickies.tkn.lock não pôde "
           "ser criado (já existe uma pasta com esse nome).";
    QTest::newRow("a copy that does not answer")
        << "lock held"
        << "O Tacknote já está aberto para a pasta %1, mas não responde.";
}

// A start that cannot run says why in a box, and says that a copy runs only when a
// live process holds the lock.
void tst_Program::startThatCannotRunSaysWhy() {
    QFETCH(QString, obstacle);
    QFETCH(QString, told);
    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    const QString dataDir = documents + QStringLiteral("/Tacknote/maria/data/");
    QLockFile held(dataDir + QStringLiteral("stickies.tkn.lock"));
    if (obstacle == QLatin1String("documents is a file")) {
        writeBytes(documents, "not a folder");
    } else {
        QVERIFY(QDir().mkpath(dataDir));
        if (obstacle == QLatin1String("lock held"))
            QVERIFY(held.tryLock(0));
        else
            QVERIFY(QDir().mkpath(dataDir + QStringLiteral("stickies.tkn.lock")));
    }
    FakeSystemPaths paths(documents, QStringLiteral(TACKNOTE_PROGRAM_DIR), QStringLiteral("maria"));
    QtLocaleInfo locale(QLocale(QStringLiteral("pt_BR")));
    ScriptedMessageBoxes boxes;
    StartGate gate({paths, locale, boxes});
    QCOMPARE(gate.open(TacknoteMsg::Activate, 300), StartGate::Outcome::Refused);
    QCOMPARE(boxes.shown.size(), 1);
    QCOMPARE(boxes.shown[0].title, QStringLiteral("Erro"));
    QVERIFY2(boxes.shown[0].text.startsWith(told.arg(dataDir)), qPrintable(boxes.shown[0].text));
}

void tst_Program::commandLineWithoutTheDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << QByteArray("--new-note")
                            << QByteArray();
    QTest::newRow("--version") << QStringList{"--version"} << 0
                               << QByteArray("Tacknote 1.3.0.215\n") << QByteArray();
    QTest::newRow("Qt's own options left to Qt")
        << QStringList{"-style", "fusion", "--version", "-platform=xcb"} << 0
        << QByteArray("Tacknote 1.3.0.215\n") << QByteArray();
    QTest::newRow("unknown option")
        << QStringList{"--bogus"} << 2 << QByteArray() << QByteArray("--toggle");
    QTest::newRow("two commands") << QStringList{"--show", "--hide"} << 2 << QByteArray()
                                  << QByteArray("--quit");
    QTest::newRow("text without --new-note")
        << QStringList{"palavra"} << 2 << QByteArray() << QByteArray("palavra");
    QTest::newRow("--hide, nothing running")
        << QStringList{"--hide"} << 1 << QByteArray() << QByteArray("não está aberto");
    QTest::newRow("--quit, nothing running")
        << QStringList{"--quit"} << 1 << QByteArray() << QByteArray("não está aberto");
}

// None of these opens a display: with none to be had, a window system would end the
// program at once.
void tst_Program::commandLineWithoutTheDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    QTemporaryDir home;
    QProcessEnvironment environment = programEnvironment(home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-display"));
    const Run run = runProgram(environment, arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.output.contains(output), run.output.constData());
    QVERIFY2(run.errors.contains(errors), run.errors.constData());
    QCOMPARE(run.output.isEmpty(), output.isEmpty());
    // Nothing was started: no data folder was made.
    QVERIFY(!QFileInfo::exists(dataDirIn(home)));
}

void tst_Program::commandsReachTheRunningCopy_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QByteArray>>("saved");
    using Lines = QList<QByteArray>;
    QTest::newRow("--new-note -") << true << QStringList{"--new-note", "-"} << QByteArray("hello\n")
                                  << Lines{"note=hello\r\n"};
    QTest::newRow("--new-note TEXT")
        << true << QStringList{"--new-note", "Comprar", "p\u00e3o"} << QByteArray()
        << Lines{"note=Comprar p\xe3o\r\n", "NumStickies=2\r\n"};
    QTest::newRow("--hide") << true << QStringList{"--hide"} << QByteArray()
                            << Lines{"visible=0\r\n"};
    QTest::newRow("--toggle") << true << QStringList{"--toggle"} << QByteArray()
                              << Lines{"visible=0\r\n"};
    // Nothing runs: the command starts the program, which acts once its notes are loaded.
    QTest::newRow("--new-note TEXT, starting")
        << false << QStringList{"--new-note", "Primeira"} << QByteArray()
        << Lines{"note=Primeira\r\n", "NumStickies=2\r\n"};
}

void tst_Program::commandsReachTheRunningCopy() {
    QFETCH(bool, running);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QList<QByteArray>, saved);
    QTemporaryDir home;
    const QProcessEnvironment environment = programEnvironment(home);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(TACKNOTE_EXECUTABLE), running ? QStringList() : arguments);
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(answers(home, TacknoteMsg::Show), 10000);
    if (running)
        QCOMPARE(runProgram(environment, arguments, input).exitCode, 0);

    // The quit comes behind the command and saves it.
    QCOMPARE(runProgram(environment, {QStringLiteral("--quit")}).exitCode, 0);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitCode(), 0);
    const QByteArray file = readBytes(dataDirIn(home) + QStringLiteral("stickies.tkn"));
    for (const QByteArray& line : saved)
        QVERIFY2(file.contains(line), file.constData());
}

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_Program.moc"

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
};

void tst_Program::stopSignalSavesNotes_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
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

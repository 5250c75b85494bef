// The program's automatic saves and its backups: from the menu and on exit.

#include "tests/app/TickingProgram.h"

#include <QTemporaryDir>
#include <QTest>

using namespace TickingProgram;

class tst_Saving : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void autosave_data();
    void autosave();
    void failingAutosaveReportsOnceAndGoesOn();
    void menuBackup();
    void menuBackupFailureIsReported();
    void backupOnExitHoldsTheClosingState_data();
    void backupOnExitHoldsTheClosingState();
};

void tst_Saving::autosave_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<int>("firstSaveTick"); // 0: never within the test

    QTest::newRow("every minute") << QByteArray("AutoSave=1\r\nTimeAutoSave=1\r\n") << 60;
    QTest::newRow("every ten minutes") << QByteArray("AutoSave=1\r\nTimeAutoSave=10\r\n") << 600;
    QTest::newRow("switched off") << QByteArray("AutoSave=0\r\nTimeAutoSave=1\r\n") << 0;
    QTest::newRow("zero minutes") << QByteArray("AutoSave=1\r\nTimeAutoSave=0\r\n") << 0;
    QTest::newRow("negative minutes") << QByteArray("AutoSave=1\r\nTimeAutoSave=-1\r\n") << 0;
}

void tst_Saving::autosave() {
    QFETCH(QByteArray, settings);
    QFETCH(int, firstSaveTick);

    Program p({{"Rascunho", "", ""}}, settings);
    p.note(0)->setCaption(QStringLiteral("Editado"));
    const int ticks = firstSaveTick ? firstSaveTick : 1300;
    p.tick(ticks - 1);
    QCOMPARE(p.stored(0, "caption"), QStringLiteral("Rascunho"));
    p.tick();
    // The automatic save writes in the background.
    QTRY_COMPARE(p.stored(0, "caption"),
                 firstSaveTick ? QStringLiteral("Editado") : QStringLiteral("Rascunho"));
    if (firstSaveTick) {
        // The countdown started again: the next save is one interval later.
        p.note(0)->setCaption(QStringLiteral("Outra vez"));
        p.tick(firstSaveTick - 1);
        QCOMPARE(p.stored(0, "caption"), QStringLiteral("Editado"));
        p.tick();
        QTRY_COMPARE(p.stored(0, "caption"), QStringLiteral("Outra vez"));
    }
    QVERIFY(p.boxes.shown.isEmpty());
}

void tst_Saving::failingAutosaveReportsOnceAndGoesOn() {
    Program p({{"Rascunho", "25/12/2002 14:30:30", ""}}, "AutoSave=1\r\nTimeAutoSave=1\r\n");
    // The notes file's place is taken by a folder: no save can replace it.
    QVERIFY(QFile::remove(p.notesFile()));
    QVERIFY(QDir().mkdir(p.notesFile()));
    p.tick(60);
    QTRY_COMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Erro"));
    // The message names the reason, in the interface's language.
    QCOMPARE(p.boxes.shown[0].text, QStringLiteral("Não foi possível gravar em ") + p.notesFile() +
                                        QStringLiteral(": já existe uma pasta com esse nome"));
    // The alarm of that tick still fired.
    QCOMPARE(p.sound.beeps, 1);
    p.tick(59);
    QCOMPARE(p.boxes.shown.size(), 1);
    p.tick();
    QTRY_COMPARE(p.boxes.shown.size(), 2);
}

void tst_Saving::menuBackup() {
    Program p({{"Guardar", "", ""}});
    QTemporaryDir target;
    // Whatever name the user types, the backup is named after the minute.
    p.dialogs.answerPath(target.path() + "/qualquer nome.txt");
    // Unsaved edits are not in a menu backup.
    p.note(0)->setCaption(QStringLiteral("Ainda não salvo"));
    p.main->trayMenu().mnuBackup->trigger();
    QCOMPARE(p.dialogs.opened.size(), 1);
    QCOMPARE(p.dialogs.opened[0].title, QStringLiteral("Selecione o Local para Backup"));
    QVERIFY(p.dialogs.opened[0].start.endsWith(QStringLiteral("/sticky-20021225_1430.tkn")));

    const QString backup = target.path() + "/sticky-20021225_1430.tkn";
    QCOMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Aviso"));
    QCOMPARE(p.boxes.shown[0].text, QStringLiteral("Backup efetuado em  ") + backup);
    QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList{"sticky-20021225_1430.tkn"});
    QFile copy(backup);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains("caption=Guardar"));
    copy.close();

    // A second backup in the same minute replaces the first with the later state.
    p.main->trayMenu().mnuSalvarNotas->trigger();
    p.clock.advanceSeconds(20);
    p.dialogs.answerPath(target.path() + "/qualquer nome.txt");
    p.main->trayMenu().mnuBackup->trigger();
    QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList{"sticky-20021225_1430.tkn"});
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains("caption=Ainda n\xe3"
                                    "o salvo"));

    // Cancelling the dialog does nothing.
    p.dialogs.answerPath(QString());
    p.main->trayMenu().mnuBackup->trigger();
    QCOMPARE(p.boxes.shown.size(), 2);
}

void tst_Saving::menuBackupFailureIsReported() {
    Program p({{"Guardar", "", ""}});
    // A file where the folder should be: the copy cannot be made.
    QFile blocker(p.documents.path() + "/ocupado");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    p.dialogs.answerPath(p.documents.path() + "/ocupado/x.tkn");
    p.main->trayMenu().mnuBackup->trigger();
    QCOMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Erro"));
    QVERIFY(p.boxes.shown[0].text.startsWith(
        QStringLiteral("Não foi possível fazer a cópia de segurança em ") + p.documents.path() +
        "/ocupado/sticky-20021225_1430.tkn"));
}

void tst_Saving::backupOnExitHoldsTheClosingState_data() {
    QTest::addColumn<QString>("folder"); // "target", "missing" or "none" (left empty)
    QTest::addColumn<bool>("byTheUser"); // "&Sair", else a close nobody watches
    QTest::addColumn<QString>("told");   // the start of the message shown; empty: none
    QTest::newRow("a folder") << "target" << false << "";
    QTest::newRow("a folder, by the user") << "target" << true << "";
    QTest::newRow("a missing folder, by the user")
        << "missing" << true << "Não foi possível fazer a cópia de segurança em ";
    QTest::newRow("no folder, by the user")
        << "none" << true << "A cópia de segurança na saída do programa não foi feita";
    QTest::newRow("no folder") << "none" << false << "";
}

void tst_Saving::backupOnExitHoldsTheClosingState() {
    QFETCH(QString, folder);
    QFETCH(bool, byTheUser);
    QFETCH(QString, told);
    QTemporaryDir target;
    const QByteArray backupPath = folder == "none"      ? QByteArray()
                                  : folder == "missing" ? (target.path() + "/falta").toUtf8()
                                                        : target.path().toUtf8();
    Program p({{"Antes", "", ""}}, "BackupOnExit=1\r\nBackupPath=" + backupPath + "\r\n");
    p.note(0)->setCaption(QStringLiteral("Na saída"));
    if (byTheUser)
        p.main->Sair1Click();
    else
        p.main->FormCloseQuery();
    QFile copy(target.path() + "/sticky-20021225_1430.tkn");
    QCOMPARE(copy.open(QIODevice::ReadOnly), folder == "target");
    if (copy.isOpen())
        QVERIFY(copy.readAll().contains("caption=Na sa\xed"
                                        "da"));
    // A failure is told to a user who chose to quit, and logged otherwise.
    QCOMPARE(p.boxes.shown.size(), told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        QVERIFY2(p.boxes.shown[0].text.startsWith(told), qPrintable(p.boxes.shown[0].text));
    QVERIFY(p.main->isClosed());
}

QTEST_MAIN(tst_Saving)
#include "tst_Saving.moc"

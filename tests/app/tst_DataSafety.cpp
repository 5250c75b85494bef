// The main window never loses a note: a notes file it cannot read stays untouched and
// the run's notes go to a recovery file; what an interrupted save left behind is
// cleaned up; changes reach the disk a moment after they are made, once per burst.

#include "core/store/Windows1252.h"

#include "../support/ProgramHarness.h"
#include "../support/TestFiles.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

// No save of changes is on its way: what has arrived is handled, and the clock that
// gathers a burst of changes into one save is not running (it has run out, or never
// started). Nothing saves again before the next change.
bool noSavePending(HiddenMainWindow& main) {
    QCoreApplication::processEvents();
    return !main.keeper().changeSaveTimer()->isActive() && !main.keeper().isSaving();
}

} // namespace

class tst_DataSafety : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unreadableFileIsKeptAndNotesRecovered_data();
    void unreadableFileIsKeptAndNotesRecovered();
    void unreadableFileWithoutNewNotesLeavesNoRecoveryFile();
    void interruptedSaveLeftoverIsRemovedAtStart();
    void changesAreSavedOncePerBurst();
    void noChangeSaveDuringLoad();
    void editDuringTheLoadIsSaved();
    void failingChangeSavesReportOnce();
    void quitWithUnsavedNotesAsksFirst_data();
    void quitWithUnsavedNotesAsksFirst();
    void noteOffScreenIsShownButKeepsItsPlace();
    void noteMadeBeforeTheLoadIsKeptBesideTheStoredNotes_data();
    void noteMadeBeforeTheLoadIsKeptBesideTheStoredNotes();
};

void tst_DataSafety::unreadableFileIsKeptAndNotesRecovered_data() {
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("no read permission") << false;
    QTest::newRow("folder in place") << true;
}

void tst_DataSafety::unreadableFileIsKeptAndNotesRecovered() {
    QFETCH(bool, folderInPlace);
    ProgramHarness h;
    const QByteArray original("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=Minha nota\r\n");
    if (folderInPlace) {
        QVERIFY(QDir().mkpath(h.notesFile()));
    } else {
        if (geteuid() == 0)
            QSKIP("root reads files without read permission");
        h.writeNotesFile(original);
        QVERIFY(QFile::setPermissions(h.notesFile(), QFileDevice::WriteOwner));
    }
    HiddenMainWindow& main = h.start();
    QCOMPARE(h.boxes.shown.size(), 1);
    QCOMPARE(h.boxes.shown[0].title, QStringLiteral("Erro"));
    const QString recovery = main.keeper().file().recoveryPath();
    QCOMPARE(recovery, h.notesFile() + QStringLiteral(".recuperado-20021225_1430"));
    QVERIFY(h.boxes.shown[0].text.contains(h.notesFile()));
    QVERIFY(h.boxes.shown[0].text.contains(main.keeper().file().readError()));
    QVERIFY(h.boxes.shown[0].text.contains(recovery));

    h.newNote()->setNote(QStringLiteral("escrita agora"));
    main.SaveNotes();
    main.FormCloseQuery();

    if (folderInPlace) {
        QVERIFY(QFileInfo(h.notesFile()).isDir());
    } else {
        QVERIFY(
            QFile::setPermissions(h.notesFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(readBytes(h.notesFile()), original);
    }
    QVERIFY(readBytes(recovery).contains("note=escrita agora\r\n"));
    QCOMPARE(QFileInfo(recovery).permissions() & QFileDevice::Permissions(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void tst_DataSafety::unreadableFileWithoutNewNotesLeavesNoRecoveryFile() {
    ProgramHarness h;
    QVERIFY(QDir().mkpath(h.notesFile()));
    HiddenMainWindow& main = h.start();
    main.FormCloseQuery();
    QCOMPARE(QDir(h.dataDir()).entryList(QDir::Files), QStringList());
}

void tst_DataSafety::interruptedSaveLeftoverIsRemovedAtStart() {
    ProgramHarness h;
    h.writeNotesFile("[General]\r\nNumStickies=0\r\n");
    writeBytes(h.dataDir() + "/stickies.tkn.tmp-Ab12Cd", "[General]\r\nNumStickies=0\r\n");
    writeBytes(h.dataDir() + "/stickies.tkn.antigo", "kept");
    h.create();
    QStringList left = QDir(h.dataDir()).entryList(QDir::Files);
    left.removeAll(QStringLiteral("stickies.tkn.lock"));
    left.sort();
    QCOMPARE(left, QStringList({"stickies.tkn", "stickies.tkn.antigo"}));
}

void tst_DataSafety::changesAreSavedOncePerBurst() {
    ProgramHarness h;
    HiddenMainWindow& main = h.start();
    QSignalSpy saves(&main.keeper(), &NotesKeeper::saved);
    TfPostIt* note = h.newNote();
    QVERIFY(main.keeper().changeSaveTimer()->isActive());
    QCOMPARE(main.keeper().changeSaveTimer()->interval(), 2000);
    main.keeper().changeSaveTimer()->setInterval(10);
    for (int i = 0; i < 50; ++i)
        note->setNote(QStringLiteral("versão %1").arg(i));
    note->setCaption(QStringLiteral("Título"));
    QTRY_COMPARE(saves.size(), 1);
    QVERIFY(readBytes(h.notesFile()).contains("note=vers\xe3o 49\r\n"));
    QTRY_VERIFY(noSavePending(main));
    QCOMPARE(saves.size(), 1);

    // Moving a note back where it was is no change worth a write.
    note->setBounds(note->bounds().x() + 5, note->bounds().y(), 170, 120);
    note->setBounds(note->bounds().x() - 5, note->bounds().y(), 170, 120);
    QTRY_VERIFY(noSavePending(main));
    QCOMPARE(saves.size(), 1);
}

void tst_DataSafety::noChangeSaveDuringLoad() {
    ProgramHarness h;
    h.writeNotesFile("[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=a\r\n"
                     "[Stick1]\r\ncaption=b\r\nvisible=0\r\n");
    HiddenMainWindow& main = h.create();
    QSignalSpy saves(&main.keeper(), &NotesKeeper::saved);
    main.keeper().changeSaveTimer()->setInterval(0);
    main.LoadNotes();
    QTRY_VERIFY(noSavePending(main));
    QCOMPARE(saves.size(), 0);
    QCOMPARE(h.noteCount(), 2);
}

// Typing into a note shown while the others still load is a change like any other.
void tst_DataSafety::editDuringTheLoadIsSaved() {
    ProgramHarness h;
    h.writeNotesFile("[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=a\r\nnote=um\r\n"
                     "[Stick1]\r\ncaption=b\r\nnote=dois\r\n");
    HiddenMainWindow& main = h.create();
    main.keeper().changeSaveTimer()->setInterval(0);
    QSignalSpy saves(&main.keeper(), &NotesKeeper::saved);
    QTimer::singleShot(0, &main, [&] {
        if (TfPostIt* first = h.note(0))
            first->setNote(QStringLiteral("editada"));
    });
    main.LoadNotes();
    QTRY_COMPARE(saves.size(), 1);
    QCOMPARE(h.stored(0, QStringLiteral("note")), QStringLiteral("editada"));
}

void tst_DataSafety::failingChangeSavesReportOnce() {
    ProgramHarness h;
    HiddenMainWindow& main = h.start();
    main.keeper().changeSaveTimer()->setInterval(0);
    TfPostIt* note = h.newNote();
    {
        FileSizeLimit limit(16);
        note->setNote(QStringLiteral("um"));
        QTRY_COMPARE(h.boxes.shown.size(), 1);
        note->setNote(QStringLiteral("dois"));
        QTRY_VERIFY(noSavePending(main));
        QCOMPARE(h.boxes.shown.size(), 1);
    }
    QSignalSpy saves(&main.keeper(), &NotesKeeper::saved);
    note->setNote(QStringLiteral("três"));
    QTRY_COMPARE(saves.size(), 1);
    QCOMPARE(h.boxes.shown.size(), 1);
}

void tst_DataSafety::quitWithUnsavedNotesAsksFirst_data() {
    QTest::addColumn<bool>("quitAnyway");
    QTest::newRow("the user stays") << false;
    QTest::newRow("the user quits anyway") << true;
}

// "Sair" with a disk that takes nothing: the user is told, and the notes stay open unless
// the user chooses to lose the changes.
void tst_DataSafety::quitWithUnsavedNotesAsksFirst() {
    QFETCH(bool, quitAnyway);
    ProgramHarness h;
    HiddenMainWindow& main = h.start();
    QPointer<TfPostIt> note = h.newNote();
    note->setNote(QStringLiteral("não salva"));
    {
        FileSizeLimit limit(16);
        h.boxes.answerNext(quitAnyway);
        main.Sair1Click();
    }
    QCOMPARE(h.boxes.asked.size(), 1);
    QCOMPARE(h.boxes.asked.first().title, QStringLiteral("Erro"));
    QVERIFY(h.boxes.asked.first().text.contains(QStringLiteral("Sair mesmo assim?")));
    QCOMPARE(main.isClosed(), quitAnyway);
    ProgramHarness::settle();
    QCOMPARE(note.isNull(), quitAnyway);
    if (!quitAnyway) {
        // Once the disk takes the file again, the next quit saves the note.
        main.Sair1Click();
        QVERIFY(main.isClosed());
        QVERIFY(
            Windows1252::decode(readBytes(h.notesFile())).contains(QStringLiteral("não salva")));
    }
}

// A note whose place is on no screen is shown on one, but the file keeps its place until
// the user moves it: unplugging a monitor must not rewrite the layout.
void tst_DataSafety::noteOffScreenIsShownButKeepsItsPlace() {
    ProgramHarness h;
    h.writeNotesFile("[General]\r\nNumStickies=2\r\n"
                     "[Stick0]\r\ncaption=longe\r\nposx=9000\r\nposy=7000\r\nWidth=200\r\n"
                     "Height=150\r\nnote=texto\r\n"
                     "[Stick1]\r\ncaption=perto\r\nposx=10\r\nposy=20\r\nWidth=200\r\n"
                     "Height=150\r\n");
    HiddenMainWindow& main = h.start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect shown = h.note(0)->bounds();
    QVERIFY(screen.contains(shown));
    QCOMPARE(shown.size(), QSize(200, 150));
    QCOMPARE(h.note(1)->bounds(), QRect(10, 20, 200, 150));
    h.note(0)->setNote(QStringLiteral("texto novo"));
    main.SaveNotes();
    QCOMPARE(h.stored(0, QStringLiteral("posx")), QStringLiteral("9000"));
    QCOMPARE(h.stored(0, QStringLiteral("posy")), QStringLiteral("7000"));
    QCOMPARE(h.stored(0, QStringLiteral("note")), QStringLiteral("texto novo"));
    // Another setting changed (the note's dialog) leaves it where it is shown.
    NoteRecord colour = h.note(0)->toRecord();
    colour.Color = 255;
    h.note(0)->applyRecord(colour);
    QCOMPARE(h.note(0)->bounds(), shown);

    // Moved by the user, the note is where the user put it.
    h.note(0)->move(shown.topLeft() + QPoint(5, 6));
    main.SaveNotes();
    QCOMPARE(h.stored(0, QStringLiteral("posx")), QString::number(shown.x() + 5));
    QCOMPARE(h.stored(0, QStringLiteral("posy")), QString::number(shown.y() + 6));
}

void tst_DataSafety::noteMadeBeforeTheLoadIsKeptBesideTheStoredNotes_data() {
    QTest::addColumn<bool>("afterLanguageSwitch");
    QTest::newRow("right after the start") << false;
    QTest::newRow("while a language switch reloads") << true;
}

// A note made before the start step's load (or the reload after a language switch) must
// neither stop the stored notes from loading nor be lost itself.
void tst_DataSafety::noteMadeBeforeTheLoadIsKeptBesideTheStoredNotes() {
    QFETCH(bool, afterLanguageSwitch);
    ProgramHarness h;
    h.writeNotesFile("[General]\r\nNumStickies=2\r\n[Stick0]\r\ncaption=a\r\nnote=um\r\n"
                     "[Stick1]\r\ncaption=b\r\nnote=dois\r\n");
    HiddenMainWindow* main = &h.create();
    if (afterLanguageSwitch) {
        main->LoadNotes();
        main->SwitchLanguage(StartLanguage::Language::English);
        QCOMPARE(h.registry().notes().size(), 0);
    }
    main->keeper().changeSaveTimer()->setInterval(0);
    QSignalSpy saves(&main->keeper(), &NotesKeeper::saved);
    TfPostIt* early = h.newNote();
    QVERIFY(early);
    early->setNote(QStringLiteral("feita cedo"));
    main->LoadNotes();
    QCOMPARE(h.registry().notes().size(), 3);
    QTRY_VERIFY(saves.size() >= 1);
    QCOMPARE(h.stored(0, QStringLiteral("note")), QStringLiteral("um"));
    QCOMPARE(h.stored(1, QStringLiteral("note")), QStringLiteral("dois"));
    QCOMPARE(h.stored(2, QStringLiteral("note")), QStringLiteral("feita cedo"));
}

QTEST_MAIN(tst_DataSafety)
#include "tst_DataSafety.moc"

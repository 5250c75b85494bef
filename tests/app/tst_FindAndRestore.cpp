// Finding any note from the tray or a note, and deleted notes restored from the tray.

#include "core/notes/DeletedNotes.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/program/NoteCommands.h"
#include "gui/program/TfrmLocalizaNota.h"
#include "gui/program/TfrmNotasExcluidas.h"

#include "../support/ProgramHarness.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QByteArray ThreeNotes("[General]\r\nNumStickies=3\r\nAskDelete=0\r\nUseSounds=0\r\n"
                            "[Stick0]\r\ncaption=um\r\nnote=primeira\r\n"
                            "[Stick1]\r\ncaption=dois\r\nnote=segunda\\nlinha\r\n"
                            "[Stick2]\r\ncaption=três\r\nnote=terceira\r\n");

// A running program on the notes file content, without sounds or questions before a
// delete.
struct Program : ProgramHarness {
    explicit Program(const QByteArray& notes = "[General]\r\nAskDelete=0\r\nUseSounds=0\r\n") {
        writeNotesFile(notes);
        start();
    }
    QString deletedFile() const { return DeletedNotes::besideNotesFile(notesFile()); }
    DeletedNotes& deleted() const { return main->commands().deletedNotes(); }
};

} // namespace

class tst_FindAndRestore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deletedByEachPathComesBackAsItWas_data();
    void deletedByEachPathComesBackAsItWas();
    void notesFileIsTheSameWithDeletedNotesKept();
    void threeLettersFindAHiddenNote();
};

void tst_FindAndRestore::deletedByEachPathComesBackAsItWas_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("note's menu") << "menu";
    QTest::newRow("Ctrl+Q") << "Ctrl+Q";
    QTest::newRow("close button") << "close button";
    QTest::newRow("received note") << "received";
}

void tst_FindAndRestore::deletedByEachPathComesBackAsItWas() {
    QFETCH(QString, path);
    Program p;
    TfPostIt* note = path == QLatin1String("received") ? p.receivedNote() : p.newNote();
    NoteRecord record = note->toRecord();
    record.caption = QStringLiteral("Lista ✓");
    record.note = QStringLiteral("pão\r\nleite");
    record.footer = QStringLiteral("De Ana (10.0.0.7)");
    record.alarm = true;
    record.AlarmDateTime = p.clock.now().addDays(1);
    record.posx = 50;
    record.posy = 60;
    note->applyRecord(record);
    const NoteRecord before = note->toRecord();
    note->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(note));

    if (path == QLatin1String("Ctrl+Q"))
        QTest::keyClick(note->findChild<QPlainTextEdit*>(QStringLiteral("memPostit")), Qt::Key_Q,
                        Qt::ControlModifier);
    else if (path == QLatin1String("close button"))
        QTest::mouseClick(note->findChild<QPushButton*>(QStringLiteral("cmdApagarPostit")),
                          Qt::LeftButton);
    else
        note->popPrincipal->Sair1->trigger();
    ProgramHarness::settle();
    QVERIFY(p.registry().isEmpty());
    QCOMPARE(p.deleted().entries().size(), 1);

    // Chosen in "Notas Excluídas" (the note deleted last is chosen already) and restored.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<TfrmNotasExcluidas*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->lstExcluidas->topLevelItem(0)->text(0),
                 QStringLiteral("Lista ✓ — pão leite"));
        dialog->cmdRestaurar->click();
    });
    p.main->trayMenu().mnuNotasExcluidas->trigger();
    QCOMPARE(p.registry().notes().size(), 1);
    TfPostIt* back = p.registry().notes().first();
    QCOMPARE(back->toRecord(), before);
    QVERIFY(back->isVisible());
    QCOMPARE(back->bounds().topLeft(), QPoint(50, 60));
    // In the notes file, and no longer among the deleted notes.
    QCOMPARE(p.stored(0, QStringLiteral("note")), QStringLiteral("pão\\nleite"));
    QVERIFY(p.deleted().entries().isEmpty());
}

void tst_FindAndRestore::notesFileIsTheSameWithDeletedNotesKept() {
    Program keeping(ThreeNotes);
    keeping.post(NoteMessage::WM_DELETENOTE, 1);
    keeping.main->SaveNotes();
    QCOMPARE(keeping.deleted().entries().size(), 1);

    // Where the deleted notes cannot be kept, the user deletes the note all the same.
    ProgramHarness plain;
    plain.writeNotesFile(ThreeNotes);
    QVERIFY(QDir().mkpath(DeletedNotes::besideNotesFile(plain.notesFile())));
    plain.start();
    plain.boxes.answerNext(true);
    plain.post(NoteMessage::WM_DELETENOTE, 1);
    QCOMPARE(plain.boxes.asked.size(), 1);
    QVERIFY(plain.boxes.asked[0].text.contains(plain.dataDir()));
    QCOMPARE(plain.registry().notes().size(), 2);
    plain.main->SaveNotes();

    QCOMPARE(readBytes(keeping.notesFile()), readBytes(plain.notesFile()));
}

void tst_FindAndRestore::threeLettersFindAHiddenNote() {
    Program p;
    TfPostIt* shown = p.newNote();
    shown->setCaption(QStringLiteral("Mercado"));
    shown->setNote(QStringLiteral("café, açúcar"));
    TfPostIt* hidden = p.newNote();
    hidden->setCaption(QStringLiteral("Senha do Wi-Fi"));
    hidden->setNote(QStringLiteral("guardar em lugar SEGURO"));
    hidden->cmdEsconderClick();

    p.main->trayMenu().mnuLocalizarNota->trigger();
    TfrmLocalizaNota* finder = p.main->commands().frmLocalizaNota();
    QVERIFY(finder && finder->isVisible());
    QCOMPARE(finder->lines().size(), 2);
    QTest::keyClicks(finder->txtLocalizar, QStringLiteral("seg"));
    QCOMPARE(finder->lines(), QStringList{"Senha do Wi-Fi — guardar em lugar SEGURO"});
    QTest::keyClick(finder->txtLocalizar, Qt::Key_Return);
    QVERIFY(hidden->isVisible());
    QVERIFY(!finder->isVisible());

    // Ctrl+F on a note opens it again, ready to type over; Escape closes it.
    shown->popPrincipal->mnuLocalizarNota->trigger();
    QVERIFY(finder->isVisible());
    QCOMPARE(finder->txtLocalizar->selectedText(), QStringLiteral("seg"));
    QTest::keyClick(finder->txtLocalizar, Qt::Key_Escape);
    QVERIFY(!finder->isVisible());
}

QTEST_MAIN(tst_FindAndRestore)
#include "tst_FindAndRestore.moc"

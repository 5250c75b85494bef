#include "app/TfStickyNote.h"
#include "note/NoteMessage.h"
#include "note/TfPostIt.h"
#include "platform/QtLocaleInfo.h"
#include "store/IniFile.h"

#include "../support/FakeClock.h"
#include "../support/FakeSystemPaths.h"
#include "../support/FakeTrayIcon.h"
#include "../support/RecordingShellOpener.h"
#include "../support/RecordingSoundPlayer.h"
#include "../support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A running main window with an empty notes file and default settings.
struct Program {
    explicit Program(const QString& documents = QString())
        : paths(documents.isEmpty() ? dir.path() : documents, QStringLiteral("/opt/tacknote"),
                QStringLiteral("maria")) {
        start();
    }

    void start() {
        main = std::make_unique<TfStickyNote>(
            PlatformServices{clock, locale, paths, boxes, sound, tray, shell});
        main->LoadNotes();
    }
    TfPostIt* newNote() { return main->tryPrincipalDblClick(main->cmdNovaNota); }
    void postDelete(int number) {
        QCoreApplication::postEvent(main.get(),
                                    new NoteMessage(NoteMessage::WM_DELETENOTE, number));
        QCoreApplication::sendPostedEvents(main.get());
    }
    QList<int> listed(QMenu* menu) {
        QList<int> numbers;
        for (QAction* item : menu->actions()) {
            if (item->data().isValid())
                numbers.append(item->data().toInt());
        }
        return numbers;
    }

    QTemporaryDir dir;
    FakeClock clock;
    QtLocaleInfo locale{QLocale(QStringLiteral("pt_BR"))};
    FakeSystemPaths paths;
    ScriptedMessageBoxes boxes;
    RecordingSoundPlayer sound;
    FakeTrayIcon tray;
    RecordingShellOpener shell;
    std::unique_ptr<TfStickyNote> main;
};

} // namespace

class tst_Registry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numberingAfterDeletes();
    void userNotesLandAtTheSeriesPositions();
    void userNoteLooks();
    void receivedNoteLooks();
    void titles_data();
    void titles();
    void deleteAsks_data();
    void deleteAsks();
    void secondDeleteDoesNothing();
    void trayLists();
    void trayListItemsShowNotes();
    void trayClick();
    void trayIconAndDoubleClick();
    void fullRegistry();
    void quitSaves();
};

void tst_Registry::numberingAfterDeletes() {
    Program p;
    p.main->recGeral.AskDelete = false;
    for (int i = 0; i < 3; ++i)
        p.newNote()->setCaption(QStringLiteral("n%1").arg(i));
    p.postDelete(1);
    TfPostIt* fourth = p.newNote();
    fourth->setCaption(QStringLiteral("n3"));
    QCOMPARE(fourth->Tag, 3);
    QCOMPARE(p.main->NoteCount, 4);
    p.main->popPrincipalPopup();
    QCOMPARE(p.listed(p.main->mnuMostrar), QList<int>({0, 2, 3}));

    p.main->SaveNotes();
    Program again(p.dir.path());
    QCOMPARE(again.main->NoteCount, 3);
    QCOMPARE(again.main->NoteTable[1]->caption(), QStringLiteral("n2"));
    QCOMPARE(again.main->NoteTable[2]->caption(), QStringLiteral("n3"));
    QCOMPARE(again.main->NoteTable[2]->Tag, 2);
}

void tst_Registry::userNotesLandAtTheSeriesPositions() {
    Program p;
    QCOMPARE(p.newNote()->bounds(), QRect(3, 0, 170, 120));
    QCOMPARE(p.newNote()->bounds(), QRect(20, 86, 170, 120));
    QCOMPARE(p.newNote()->bounds(), QRect(67, 27, 170, 120));
    // Received notes do not draw from the series.
    p.main->tryPrincipalDblClick(nullptr);
    Program fresh;
    fresh.main->tryPrincipalDblClick(nullptr);
    QCOMPARE(fresh.newNote()->bounds(), QRect(3, 0, 170, 120));
}

void tst_Registry::userNoteLooks() {
    Program p;
    p.main->recGeral.UseSounds = true;
    p.main->recGeral.DefaultColor = 0x123456;
    p.main->recGeral.DefaultFont = TNoteFont{QStringLiteral("Verdana"), 12, 0x0000FF, false, true};
    p.main->recGeral.DarkCaption = true;
    p.main->recGeral.TrackPosition = 12;
    p.main->recGeral.ScrollBar = true;
    TfPostIt* note = p.newNote();
    QCOMPARE(p.sound.played, QStringList{QStringLiteral("/opt/tacknote/boing.wav")});
    QCOMPARE(note->Color(), 0x123456);
    QCOMPARE(note->memoFont(), p.main->recGeral.DefaultFont);
    QVERIFY(note->DarkCaption);
    QCOMPARE(note->TrackPosition, 12);
    QCOMPARE(note->captionColor(), 0x001032);
    QVERIFY(note->scrollbar());
    QVERIFY(note->isVisible());
    QCOMPARE(note->messageTarget, p.main.get());

    p.main->recGeral.DarkCaption = false;
    TfPostIt* plain = p.newNote();
    QVERIFY(!plain->DarkCaption);
    QCOMPARE(plain->TrackPosition, 0);
    QCOMPARE(plain->captionColor(), 0x123456);
}

void tst_Registry::receivedNoteLooks() {
    Program p;
    p.main->recGeral.UseSounds = true;
    TfPostIt* note = p.main->tryPrincipalDblClick(nullptr);
    QCOMPARE(p.sound.played, QStringList{QStringLiteral("/opt/tacknote/BIPECOMP.WAV")});
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(note->bounds(), QRect(desktop.width() / 2 - 170, desktop.height() / 2 - 60, 340, 120));
    QCOMPARE(note->Color(), 255);
    QCOMPARE(note->memoFont(),
             (TNoteFont{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false}));
    QCOMPARE(note->Tag, p.main->NoteCount - 1);
}

void tst_Registry::titles_data() {
    QTest::addColumn<bool>("date");
    QTest::addColumn<bool>("time");
    QTest::addColumn<QString>("title");
    QTest::newRow("date and time") << true << true << "25/12/2002 14:30:00";
    QTest::newRow("date only ends in a blank") << true << false << "25/12/2002 ";
    QTest::newRow("time only") << false << true << "14:30:00";
    QTest::newRow("neither") << false << false << "";
}

void tst_Registry::titles() {
    QFETCH(bool, date);
    QFETCH(bool, time);
    QFETCH(QString, title);
    Program p;
    p.main->recGeral.ShowDate = date;
    p.main->recGeral.ShowTime = time;
    QCOMPARE(p.newNote()->caption(), title);
}

void tst_Registry::deleteAsks_data() {
    QTest::addColumn<bool>("askDelete");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("asked, Yes") << true << true << true;
    QTest::newRow("asked, No keeps the note") << true << false << false;
    QTest::newRow("not asked") << false << false << true;
}

void tst_Registry::deleteAsks() {
    QFETCH(bool, askDelete);
    QFETCH(bool, answer);
    QFETCH(bool, deleted);
    Program p;
    p.main->recGeral.AskDelete = askDelete;
    p.main->recGeral.UseSounds = true;
    p.newNote();
    p.sound.played.clear();
    if (askDelete)
        p.boxes.answerNext(answer);
    p.postDelete(0);
    QCOMPARE(p.boxes.asked.size(), askDelete ? 1 : 0);
    if (askDelete) {
        QCOMPARE(p.boxes.asked.first().title, QStringLiteral("Aviso"));
        QCOMPARE(p.boxes.asked.first().text,
                 QStringLiteral("Deseja realmente eliminar esta nota?"));
    }
    QCOMPARE(p.main->NoteTable[0] == nullptr, deleted);
    QCOMPARE(p.sound.played.size(), deleted ? 1 : 0);
}

void tst_Registry::secondDeleteDoesNothing() {
    Program p;
    p.main->recGeral.AskDelete = true;
    p.newNote();
    p.newNote();
    p.main->LastAlarmNote = 1;
    p.boxes.answerNext(true);
    // Two requests for the same note, as two quick clicks would post them.
    QCoreApplication::postEvent(p.main.get(), new NoteMessage(NoteMessage::WM_DELETENOTE, 1));
    QCoreApplication::postEvent(p.main.get(), new NoteMessage(NoteMessage::WM_DELETENOTE, 1));
    QCoreApplication::sendPostedEvents(p.main.get());
    QCOMPARE(p.boxes.asked.size(), 1);
    QVERIFY(!p.main->NoteTable[1]);
    QVERIFY(p.main->NoteTable[0]);
    QCOMPARE(p.main->LastAlarmNote, -1);
    p.postDelete(57); // never handed out
    p.postDelete(-3);
    QCOMPARE(p.boxes.asked.size(), 1);
}

void tst_Registry::trayLists() {
    Program p;
    p.main->popPrincipalPopup();
    QVERIFY(!p.main->mnuMostrar->menuAction()->isEnabled());
    QVERIFY(!p.main->mnuEscondidos->menuAction()->isEnabled());

    p.newNote()->setCaption(QStringLiteral("Compras & contas"));
    p.newNote()->setCaption(QStringLiteral("<b>x</b>"));
    p.main->popPrincipalPopup();
    QVERIFY(p.main->mnuMostrar->menuAction()->isEnabled());
    QVERIFY(!p.main->mnuEscondidos->menuAction()->isEnabled());
    const QList<QAction*> all = p.main->mnuMostrar->actions();
    QCOMPARE(all.size(), 4);
    QCOMPARE(all[0]->text(), QStringLiteral("<Todos>"));
    QVERIFY(all[1]->isSeparator());
    QCOMPARE(all[2]->text(), QStringLiteral("Compras && contas"));
    QCOMPARE(all[3]->text(), QStringLiteral("<b>x</b>"));

    p.main->NoteTable[1]->hide();
    p.main->popPrincipalPopup();
    QVERIFY(p.main->mnuEscondidos->menuAction()->isEnabled());
    QCOMPARE(p.listed(p.main->mnuEscondidos), QList<int>{1});
    QCOMPARE(p.listed(p.main->mnuMostrar), QList<int>({0, 1}));
}

void tst_Registry::trayListItemsShowNotes() {
    Program p;
    p.main->recGeral.AskDelete = false;
    p.newNote()->hide();
    p.newNote()->hide();
    p.main->popPrincipalPopup();
    QList<QAction*> hidden = p.main->mnuEscondidos->actions();
    hidden[1]->trigger();
    QVERIFY(p.main->NoteTable[1]->isVisible());
    QVERIFY(p.main->NoteTable[0]->isHidden());
    // A note deleted while the menu is open is not shown again.
    p.postDelete(0);
    hidden[0]->trigger();
    p.main->NoteTable[1]->hide();
    p.main->popPrincipalPopup();
    p.main->mnuMostrar->actions().first()->trigger(); // "<Todos>"
    QVERIFY(p.main->NoteTable[1]->isVisible());
}

void tst_Registry::trayClick() {
    Program p;
    p.newNote();
    TfPostIt* ringing = p.newNote();
    ringing->hide();
    p.tray.click(); // nothing has rung: nothing happens
    QVERIFY(ringing->isHidden());

    p.main->LastAlarmNote = 1;
    p.main->startTrayAnimation();
    QVERIFY(p.main->trayAnimating());
    QVERIFY(p.tray.icon().cacheKey() != p.tray.icons.first());
    p.tray.click();
    QVERIFY(ringing->isVisible());
    QCOMPARE(p.main->LastAlarmNote, -1);
    QVERIFY(!p.main->trayAnimating());

    p.main->startTrayAnimation();
    QCoreApplication::postEvent(p.main.get(), new NoteMessage(NoteMessage::WM_STOPALARM, 0));
    QCoreApplication::sendPostedEvents(p.main.get());
    QVERIFY(!p.main->trayAnimating());
}

void tst_Registry::trayIconAndDoubleClick() {
    Program p;
    QCOMPARE(p.tray.toolTip, QStringLiteral("Duplo-clique para criar nota"));
    QVERIFY(p.tray.visible);
    QCOMPARE(p.tray.menu.data(), p.main->popPrincipal);
    QVERIFY(!p.tray.icon().isNull());
    QStringList captions;
    for (QAction* item : p.main->popPrincipal->actions())
        captions.append(item->text());
    QCOMPARE(captions, QStringList({"&Nova Nota", "", "Mo&strar", "M&ostrar Escondidas",
                                    "Mostrar Tarefas para &Hoje", "", "Salvar A&gora",
                                    "Cópia de &Segurança", "", "&Sair"}));

    p.tray.doubleClick();
    QCOMPARE(p.main->NoteCount, 1);
    QCOMPARE(p.main->NoteTable[0]->bounds().topLeft(), QPoint(3, 0)); // a user's note
    p.main->cmdNovaNota->trigger();
    QCOMPARE(p.main->NoteCount, 2);
}

void tst_Registry::fullRegistry() {
    Program p;
    p.main->recGeral.AskDelete = false;
    for (int i = 0; i < 101; ++i)
        p.newNote()->setCaption(QString::number(i));
    QCOMPARE(p.main->NoteCount, 101);

    // Every slot holds a live note: the next one is refused, and the user is told.
    QVERIFY(!p.newNote());
    QCOMPARE(p.boxes.shown.size(), 1);
    QVERIFY(!p.main->tryPrincipalDblClick(nullptr));
    QCOMPARE(p.boxes.shown.size(), 1);

    // With a slot freed the notes are renumbered without gaps and the new one fits.
    p.postDelete(10);
    p.main->LastAlarmNote = 50;
    TfPostIt* fiftieth = p.main->NoteTable[50];
    TfPostIt* added = p.newNote();
    QVERIFY(added);
    QCOMPARE(added->Tag, 100);
    QCOMPARE(p.main->NoteCount, 101);
    QCOMPARE(p.main->LastAlarmNote, 49);
    QCOMPARE(p.main->NoteTable[49], fiftieth);
    for (int slot = 0; slot < 101; ++slot)
        QCOMPARE(p.main->NoteTable[slot]->Tag, slot);
    QCOMPARE(p.main->NoteTable[10]->caption(), QStringLiteral("11"));

    // A delete request posted before the renumbering still reaches its own note.
    TfPostIt* target = p.main->NoteTable[20];
    QCoreApplication::postEvent(p.main.get(),
                                new NoteMessage(NoteMessage::WM_DELETENOTE, 21, target));
    QCoreApplication::sendPostedEvents(p.main.get());
    QVERIFY(!p.main->NoteTable[20]);
    QVERIFY(p.main->NoteTable[21]);
}

void tst_Registry::quitSaves() {
    Program p;
    p.newNote()->setNote(QStringLiteral("não perder"));
    p.main->Sair1->trigger();
    QVERIFY(p.main->isClosed());
    QVERIFY(!p.tray.visible);
    IniFile saved(p.main->NotesFile, IniFile::Mode::Batched);
    QCOMPARE(saved.readString("Stick0", "note", {}), QStringLiteral("não perder"));
}

QTEST_MAIN(tst_Registry)
#include "tst_Registry.moc"

#include "../support/ProgramHarness.h"

#include <QApplication>
#include <QScreen>
#include <QTest>

namespace {

// A running main window with no notes file and default settings.
struct Program : ProgramHarness {
    Program() : ProgramHarness(QStringLiteral("pt_BR"), QStringLiteral("/opt/tacknote")) {
        start();
    }
    // A second program on the same documents folder.
    explicit Program(const Program& earlier)
        : ProgramHarness(QStringLiteral("pt_BR"), QStringLiteral("/opt/tacknote")) {
        paths = FakeSystemPaths(earlier.documents.path(), QStringLiteral("/opt/tacknote"),
                                QStringLiteral("maria"));
        start();
    }
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
    void trayListCaptions_data();
    void trayListCaptions();
    void trayListItemsShowNotes();
    void trayClick();
    void trayIconAndDoubleClick();
    void fullRegistry();
    void quitSaves();
};

void tst_Registry::numberingAfterDeletes() {
    Program p;
    p.main->recGeral().AskDelete = false;
    for (int i = 0; i < 3; ++i)
        p.newNote()->setCaption(QStringLiteral("n%1").arg(i));
    p.post(NoteMessage::WM_DELETENOTE, 1);
    TfPostIt* fourth = p.newNote();
    fourth->setCaption(QStringLiteral("n3"));
    QCOMPARE(fourth->Tag, 3);
    QCOMPARE(p.noteCount(), 4);
    p.main->trayMenu().popPrincipalPopup();
    QCOMPARE(p.listed(p.main->trayMenu().mnuMostrar), QList<int>({0, 2, 3}));

    p.main->SaveNotes();
    Program again(p);
    QCOMPARE(again.main->registry().NoteCount(), 3);
    QCOMPARE(again.main->registry().note(1)->caption(), QStringLiteral("n2"));
    QCOMPARE(again.main->registry().note(2)->caption(), QStringLiteral("n3"));
    QCOMPARE(again.main->registry().note(2)->Tag, 2);
}

void tst_Registry::userNotesLandAtTheSeriesPositions() {
    Program p;
    QCOMPARE(p.newNote()->bounds(), QRect(3, 0, 170, 120));
    QCOMPARE(p.newNote()->bounds(), QRect(20, 86, 170, 120));
    QCOMPARE(p.newNote()->bounds(), QRect(67, 27, 170, 120));
    // Received notes do not draw from the series.
    p.receivedNote();
    Program fresh;
    fresh.receivedNote();
    QCOMPARE(fresh.newNote()->bounds(), QRect(3, 0, 170, 120));
}

void tst_Registry::userNoteLooks() {
    Program p;
    p.main->recGeral().UseSounds = true;
    p.main->recGeral().DefaultColor = 0x123456;
    p.main->recGeral().DefaultFont = NoteFont{QStringLiteral("Verdana"), 12, 0x0000FF, false, true};
    p.main->recGeral().DarkCaption = true;
    p.main->recGeral().TrackPosition = 12;
    p.main->recGeral().ScrollBar = true;
    TfPostIt* note = p.newNote();
    QCOMPARE(p.sound.played, QStringList{QStringLiteral("/opt/tacknote/boing.wav")});
    QCOMPARE(note->Color(), 0x123456);
    QCOMPARE(note->memoFont(), p.main->recGeral().DefaultFont);
    QVERIFY(note->DarkCaption());
    QCOMPARE(note->TrackPosition(), 12);
    QCOMPARE(note->captionColor(), 0x001032);
    QVERIFY(note->scrollbar());
    QVERIFY(note->isVisible());
    QCOMPARE(note->messageTarget, p.main.get());

    p.main->recGeral().DarkCaption = false;
    TfPostIt* plain = p.newNote();
    QVERIFY(!plain->DarkCaption());
    QCOMPARE(plain->TrackPosition(), 0);
    QCOMPARE(plain->captionColor(), 0x123456);
}

void tst_Registry::receivedNoteLooks() {
    Program p;
    p.main->recGeral().UseSounds = true;
    TfPostIt* note = p.receivedNote();
    QCOMPARE(p.sound.played, QStringList{QStringLiteral("/opt/tacknote/BIPECOMP.WAV")});
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(note->bounds(), QRect(desktop.width() / 2 - 170, desktop.height() / 2 - 60, 340, 120));
    QCOMPARE(note->Color(), 255);
    QCOMPARE(note->memoFont(), (NoteFont{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false}));
    QCOMPARE(note->Tag, p.noteCount() - 1);
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
    p.main->recGeral().ShowDate = date;
    p.main->recGeral().ShowTime = time;
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
    p.main->recGeral().AskDelete = askDelete;
    p.main->recGeral().UseSounds = true;
    p.newNote();
    p.sound.played.clear();
    if (askDelete)
        p.boxes.answerNext(answer);
    p.post(NoteMessage::WM_DELETENOTE, 0);
    QCOMPARE(p.boxes.asked.size(), askDelete ? 1 : 0);
    if (askDelete) {
        QCOMPARE(p.boxes.asked.first().title, QStringLiteral("Aviso"));
        QCOMPARE(p.boxes.asked.first().text,
                 QStringLiteral("Deseja realmente eliminar esta nota?"));
    }
    QCOMPARE(p.note(0) == nullptr, deleted);
    QCOMPARE(p.sound.played.size(), deleted ? 1 : 0);
}

void tst_Registry::secondDeleteDoesNothing() {
    Program p;
    p.main->recGeral().AskDelete = true;
    p.newNote();
    p.newNote();
    p.main->registry().setLastAlarmNote(1);
    p.boxes.answerNext(true);
    // Two requests for the same note, as two quick clicks would post them.
    QCoreApplication::postEvent(p.main.get(), new NoteMessage(NoteMessage::WM_DELETENOTE, 1));
    QCoreApplication::postEvent(p.main.get(), new NoteMessage(NoteMessage::WM_DELETENOTE, 1));
    QCoreApplication::sendPostedEvents(p.main.get());
    QCOMPARE(p.boxes.asked.size(), 1);
    QVERIFY(!p.note(1));
    QVERIFY(p.note(0));
    QCOMPARE(p.main->registry().LastAlarmNote(), -1);
    p.post(NoteMessage::WM_DELETENOTE, 57); // never handed out
    p.post(NoteMessage::WM_DELETENOTE, -3);
    QCOMPARE(p.boxes.asked.size(), 1);
}

void tst_Registry::trayLists() {
    Program p;
    p.main->trayMenu().popPrincipalPopup();
    QVERIFY(!p.main->trayMenu().mnuMostrar->menuAction()->isEnabled());
    QVERIFY(!p.main->trayMenu().mnuEscondidos->menuAction()->isEnabled());

    p.newNote()->setCaption(QStringLiteral("Compras"));
    p.newNote()->setCaption(QStringLiteral("Contas"));
    p.main->trayMenu().popPrincipalPopup();
    QVERIFY(p.main->trayMenu().mnuMostrar->menuAction()->isEnabled());
    QVERIFY(!p.main->trayMenu().mnuEscondidos->menuAction()->isEnabled());
    const QList<QAction*> all = p.main->trayMenu().mnuMostrar->actions();
    QCOMPARE(all.size(), 4);
    QCOMPARE(all[0]->text(), QStringLiteral("<Todos>"));
    QVERIFY(all[1]->isSeparator());
    QCOMPARE(all[2]->text(), QStringLiteral("Compras"));
    QCOMPARE(all[3]->text(), QStringLiteral("Contas"));

    p.note(1)->hide();
    p.main->trayMenu().popPrincipalPopup();
    QVERIFY(p.main->trayMenu().mnuEscondidos->menuAction()->isEnabled());
    QCOMPARE(p.listed(p.main->trayMenu().mnuEscondidos), QList<int>{1});
    QCOMPARE(p.listed(p.main->trayMenu().mnuMostrar), QList<int>({0, 1}));
}

void tst_Registry::trayListCaptions_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("item");

    QTest::newRow("title and text") << "25/12/2002 "
                                    << "Comprar pão\r\n\r\n\te leite"
                                    << "25/12/2002 — Comprar pão e leite";
    QTest::newRow("title only") << "Compras"
                                << " \r\n"
                                << "Compras";
    QTest::newRow("text only") << ""
                               << "Ligar para o João"
                               << "Ligar para o João";
    QTest::newRow("nothing") << ""
                             << ""
                             << "";
    QTest::newRow("ampersands and markup stay text") << "P&D"
                                                     << "<b>A & B</b>"
                                                     << "P&&D — <b>A && B</b>";
    QTest::newRow("long text cut after a word")
        << "Reunião"
        << "Levar os relatórios do trimestre e as planilhas de custos para a diretoria amanhã"
        << "Reunião — Levar os relatórios do trimestre e as planilhas…";
    QTest::newRow("long title") << QString(70, QLatin1Char('x')) << "texto"
                                << QString(59, QLatin1Char('x')) + u'…';
}

// Each note is listed by its title and the first words of its text, on one line.
void tst_Registry::trayListCaptions() {
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QString, item);
    Program p;
    TfPostIt* note = p.newNote();
    note->setCaption(caption);
    note->setNote(text);
    note->hide();
    p.main->trayMenu().popPrincipalPopup();
    QCOMPARE(p.main->trayMenu().mnuMostrar->actions().at(2)->text(), item);
    QCOMPARE(p.main->trayMenu().mnuEscondidos->actions().at(0)->text(), item);
}

void tst_Registry::trayListItemsShowNotes() {
    Program p;
    p.main->recGeral().AskDelete = false;
    p.newNote()->hide();
    p.newNote()->hide();
    p.main->trayMenu().popPrincipalPopup();
    QList<QAction*> hidden = p.main->trayMenu().mnuEscondidos->actions();
    hidden[1]->trigger();
    QVERIFY(p.note(1)->isVisible());
    QVERIFY(p.note(0)->isHidden());
    // A note deleted while the menu is open is not shown again.
    p.post(NoteMessage::WM_DELETENOTE, 0);
    hidden[0]->trigger();
    p.note(1)->hide();
    p.main->trayMenu().popPrincipalPopup();
    p.main->trayMenu().mnuMostrar->actions().first()->trigger(); // "<Todos>"
    QVERIFY(p.note(1)->isVisible());
}

void tst_Registry::trayClick() {
    Program p;
    p.newNote();
    TfPostIt* ringing = p.newNote();
    ringing->hide();
    p.tray.click(); // nothing has rung: nothing happens
    QVERIFY(ringing->isHidden());

    p.main->registry().setLastAlarmNote(1);
    p.main->trayMenu().startAnimation();
    QVERIFY(p.main->trayMenu().animating());
    QVERIFY(p.tray.icon().cacheKey() != p.tray.icons.first());
    p.tray.click();
    QVERIFY(ringing->isVisible());
    QCOMPARE(p.main->registry().LastAlarmNote(), -1);
    QVERIFY(!p.main->trayMenu().animating());

    p.main->trayMenu().startAnimation();
    p.post(NoteMessage::WM_STOPALARM, 0);
    QVERIFY(!p.main->trayMenu().animating());
}

void tst_Registry::trayIconAndDoubleClick() {
    Program p;
    QCOMPARE(p.tray.toolTip, QStringLiteral("Duplo-clique para criar nota"));
    QVERIFY(p.tray.visible);
    QCOMPARE(p.tray.menu.data(), p.main->trayMenu().popPrincipal);
    QVERIFY(!p.tray.icon().isNull());
    QStringList captions;
    for (QAction* item : p.main->trayMenu().popPrincipal->actions())
        captions.append(item->text());
    const QStringList expected{"&Nova Nota",
                               "",
                               "Mo&strar",
                               "M&ostrar Escondidas",
                               "&Localizar Nota...",
                               "Notas E&xcluídas...",
                               "Mostrar Tarefas para &Hoje",
                               "",
                               "Salvar A&gora",
                               "Cópia de &Segurança",
                               "",
                               "&Caderneta de Contatos",
                               "",
                               "&Preferências...",
                               "&Idioma",
                               "",
                               "Tacknote na Web...",
                               "Sobre o Sistema...",
                               "",
                               "A&juda",
                               "&Sair"};
    QCOMPARE(captions, expected);

    p.tray.doubleClick();
    QCOMPARE(p.noteCount(), 1);
    QCOMPARE(p.note(0)->bounds().topLeft(), QPoint(3, 0)); // a user's note
    p.main->trayMenu().cmdNovaNota->trigger();
    QCOMPARE(p.noteCount(), 2);
}

void tst_Registry::fullRegistry() {
    Program p;
    p.main->recGeral().AskDelete = false;
    for (int i = 0; i < 101; ++i)
        p.newNote()->setCaption(QString::number(i));
    QCOMPARE(p.noteCount(), 101);

    // Every slot holds a live note: the next one is refused, and the user is told.
    QVERIFY(!p.newNote());
    QCOMPARE(p.boxes.shown.size(), 1);
    QVERIFY(!p.receivedNote());
    QCOMPARE(p.boxes.shown.size(), 1);

    // With a slot freed the notes are renumbered without gaps and the new one fits.
    p.post(NoteMessage::WM_DELETENOTE, 10);
    p.main->registry().setLastAlarmNote(50);
    TfPostIt* fiftieth = p.note(50);
    TfPostIt* added = p.newNote();
    QVERIFY(added);
    QCOMPARE(added->Tag, 100);
    QCOMPARE(p.noteCount(), 101);
    QCOMPARE(p.main->registry().LastAlarmNote(), 49);
    QCOMPARE(p.note(49), fiftieth);
    for (int slot = 0; slot < 101; ++slot)
        QCOMPARE(p.note(slot)->Tag, slot);
    QCOMPARE(p.note(10)->caption(), QStringLiteral("11"));

    // A delete request posted before the renumbering still reaches its own note.
    TfPostIt* target = p.note(20);
    QCoreApplication::postEvent(p.main.get(),
                                new NoteMessage(NoteMessage::WM_DELETENOTE, 21, target));
    QCoreApplication::sendPostedEvents(p.main.get());
    QVERIFY(!p.note(20));
    QVERIFY(p.note(21));
}

void tst_Registry::quitSaves() {
    Program p;
    p.newNote()->setNote(QStringLiteral("não perder"));
    p.main->trayMenu().Sair1->trigger();
    QVERIFY(p.main->isClosed());
    QVERIFY(!p.tray.visible);
    IniFile saved(p.main->location().NotesFile, IniFile::Mode::Batched);
    QCOMPARE(saved.readString("Stick0", "note", {}), QStringLiteral("não perder"));
}

QTEST_MAIN(tst_Registry)
#include "tst_Registry.moc"

// The interface language switched from the tray menu, and a desktop that shows no tray.

#include "core/net/NoteReceiver.h"
#include "gui/dialogs/TfrmMudaCaption.h"
#include "gui/program/NoteCommands.h"
#include "gui/program/TfrmLocalizaNota.h"

#include "../support/ProgramHarness.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using Language = StartLanguage::Language;

// Lets the posted language changes reach every window.
void deliverLanguageChange() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCoreApplication::processEvents();
}

} // namespace

class tst_LanguageAndTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void switchRetextsTheWindows();
    void missingLanguageSetChangesNothing();
    void switchWithoutNotesNeitherSavesNorRestarts();
    void switchWithNotesSavesAndReloadsThem();
    void chosenLanguageLastsToTheNextStart();
    void withoutTrayASecondStartOpensTheMenu();
    void desktopActionCreatesOneNote();
    void missingTrayIsToldOnce();
};

void tst_LanguageAndTray::switchRetextsTheWindows() {
    ProgramHarness p;
    HiddenMainWindow& main = p.start();
    TfrmMudaCaption* title = main.commands().frmMudaCaption();
    title->show();
    QCOMPARE(title->windowTitle(), QStringLiteral("Muda Título"));
    main.trayMenu().mnuLocalizarNota->trigger();
    TfrmLocalizaNota* finder = main.commands().frmLocalizaNota();
    QCOMPARE(finder->windowTitle(), QStringLiteral("Localizar Nota"));
    main.trayMenu().mnuIngles->trigger();
    deliverLanguageChange();
    QCOMPARE(main.markedLanguage(), Language::English);
    QVERIFY(main.trayMenu().mnuIngles->isChecked());
    QVERIFY(!main.trayMenu().mnuPortugues->isChecked());
    QCOMPARE(main.trayMenu().cmdNovaNota->text(), QStringLiteral("&New Note"));
    QCOMPARE(p.tray.toolTip, QStringLiteral("Double-click to create a note"));
    QCOMPARE(title->windowTitle(), QStringLiteral("Change Title"));
    QCOMPARE(finder->windowTitle(), QStringLiteral("Find Note"));
    QCOMPARE(main.trayMenu().mnuLocalizarNota->text(), QStringLiteral("&Find Note..."));
    QCOMPARE(main.trayMenu().mnuNotasExcluidas->text(), QStringLiteral("Deleted &Notes..."));
    QVERIFY(main.helpFile().endsWith(QStringLiteral("help/tacknote_enu.html")));
    // Qt's own buttons follow.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));

    main.trayMenu().mnuPortugues->trigger();
    deliverLanguageChange();
    QCOMPARE(main.trayMenu().cmdNovaNota->text(), QStringLiteral("&Nova Nota"));
    QCOMPARE(title->windowTitle(), QStringLiteral("Muda Título"));
    QVERIFY(main.helpFile().endsWith(QStringLiteral("help/tacknote.html")));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Sim"));
    title->hide();
    finder->hide();
}

void tst_LanguageAndTray::missingLanguageSetChangesNothing() {
    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    HiddenMainWindow& main = p.start();
    QCOMPARE(main.markedLanguage(), Language::None);
    main.SwitchLanguage(Language::English);
    deliverLanguageChange();
    QCOMPARE(main.markedLanguage(), Language::None);
    QVERIFY(!main.trayMenu().mnuIngles->isChecked());
    QCOMPARE(main.trayMenu().cmdNovaNota->text(), QStringLiteral("&Nova Nota"));
}

void tst_LanguageAndTray::switchWithoutNotesNeitherSavesNorRestarts() {
    ProgramHarness p;
    p.writeNotesFile("[General]\r\nNumStickies=0\r\n[Network]\r\nEnabled=1\r\nPortTCP=0\r\n");
    HiddenMainWindow& main = p.create();
    main.timerInicio()->setInterval(0);
    main.start();
    QTRY_VERIFY(main.receiver().isListening());
    const quint16 port = main.receiver().port();
    const QByteArray before = readBytes(p.notesFile());
    main.SwitchLanguage(Language::English);
    QVERIFY(!main.timerInicio()->isActive());
    QCOMPARE(main.receiver().port(), port); // never stopped
    QCOMPARE(readBytes(p.notesFile()), before);
}

void tst_LanguageAndTray::switchWithNotesSavesAndReloadsThem() {
    ProgramHarness p;
    p.writeNotesFile("[General]\r\nNumStickies=0\r\n[Network]\r\nEnabled=1\r\nPortTCP=0\r\n");
    HiddenMainWindow& main = p.create();
    main.timerInicio()->setInterval(0);
    main.start();
    QTRY_VERIFY(main.receiver().isListening());
    p.newNote()->setNote(QStringLiteral("primeira"));
    p.newNote()->setNote(QStringLiteral("segunda"));
    main.SwitchLanguage(Language::English);
    QVERIFY(!main.receiver().isListening());
    QCOMPARE(p.noteCount(), 0);
    QVERIFY(readBytes(p.notesFile()).contains("DefaultLang=Eng\r\n"));
    QVERIFY(readBytes(p.notesFile()).contains("note=segunda\r\n"));
    // The start step comes back and brings everything with it.
    QTRY_COMPARE(p.noteCount(), 2);
    QCOMPARE(p.note(1)->note(), QStringLiteral("segunda"));
    QTRY_VERIFY(main.receiver().isListening());
    // Choosing the marked language again goes through the same.
    main.SwitchLanguage(Language::English);
    QCOMPARE(p.noteCount(), 0);
    QTRY_COMPARE(p.noteCount(), 2);
}

void tst_LanguageAndTray::chosenLanguageLastsToTheNextStart() {
    ProgramHarness p; // a Portuguese system
    HiddenMainWindow& main = p.start();
    main.SwitchLanguage(Language::English);
    main.FormCloseQuery();
    HiddenMainWindow& again = p.create();
    QCOMPARE(again.markedLanguage(), Language::English);
    QCOMPARE(again.trayMenu().cmdNovaNota->text(), QStringLiteral("&New Note"));
}

void tst_LanguageAndTray::withoutTrayASecondStartOpensTheMenu() {
    ProgramHarness p;
    p.tray.available = false;
    HiddenMainWindow& main = p.start();
    TfPostIt* hidden = p.newNote();
    const int before = p.noteCount();
    hidden->hide();
    main.otherStart();
    QVERIFY(main.trayMenu().popPrincipal->isVisible());
    // Its items act as from the tray.
    main.trayMenu().popPrincipal->hide();
    main.trayMenu().cmdNovaNota->trigger();
    QCOMPARE(p.noteCount(), before + 1);
    main.trayMenu().popPrincipalPopup();
    QCOMPARE(ProgramHarness::listed(main.trayMenu().mnuEscondidos), QList<int>{hidden->Tag});
    main.trayMenu().mnuEscondidos->actions().first()->trigger();
    QVERIFY(hidden->isVisible());

    // With a tray, a second start only brings the notes forward.
    p.tray.available = true;
    hidden->hide();
    main.otherStart();
    QVERIFY(!main.trayMenu().popPrincipal->isVisible());
    QVERIFY(hidden->isVisible());
}

void tst_LanguageAndTray::desktopActionCreatesOneNote() {
    ProgramHarness p;
    HiddenMainWindow& main = p.create();
    // Before the notes are loaded, the note waits for the load.
    main.newNoteFromDesktop();
    QCOMPARE(p.noteCount(), 0);
    main.timerInicio()->setInterval(0);
    main.start();
    QTRY_COMPARE(p.noteCount(), 2); // the seeded welcome note and the new one
    main.newNoteFromDesktop();
    QCOMPARE(p.noteCount(), 3);
}

void tst_LanguageAndTray::missingTrayIsToldOnce() {
    ProgramHarness p;
    p.tray.available = false;
    HiddenMainWindow& main = p.create();
    main.timerInicio()->setInterval(0);
    main.start();
    QTRY_COMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Aviso"));
    main.FormCloseQuery();

    HiddenMainWindow& again = p.create();
    again.timerInicio()->setInterval(0);
    again.start();
    QTRY_VERIFY(again.keeper().notesLoaded());
    QCoreApplication::processEvents();
    QCOMPARE(p.boxes.shown.size(), 1);
}

QTEST_MAIN(tst_LanguageAndTray)
#include "tst_LanguageAndTray.moc"

#pragma once

#include "app/DataLocation.h"
#include "app/PlatformServices.h"
#include "app/StartLanguage.h"
#include "platform/QtTranslations.h"
#include "store/TRecGeral.h"
#include "store/TRecRede.h"

#include <QWidget>

class AlarmTimer;
class NoteCommands;
class NoteRegistry;
class NotesKeeper;
class QTimer;
class TfPostIt;
class TfrmMostraAlarmes;
class TrayMenu;

// The program's hidden main window. It is never shown; it owns the settings, the
// timers and the parts of the program, and runs the start and the close. Its handlers
// hand the work to the part that does it: the note registry (NoteRegistry), the notes
// file (NotesKeeper), the tray icon and its menu (TrayMenu), the notes' commands and
// dialogs (NoteCommands) and the alarms (AlarmTimer).
class TfStickyNote : public QWidget {
    Q_OBJECT
public:
    using Language = StartLanguage::Language;

    // Runs FormCreate: fixes the paths, seeds the notes file, chooses the language.
    explicit TfStickyNote(const PlatformServices& platform, QWidget* parent = nullptr);
    ~TfStickyNote() override;

    // Arms the delayed start step; the notes load once the event loop runs.
    void start();

    // Reads the settings and every note from the notes file, one window per note.
    void LoadNotes();
    // Writes the settings and every note; throws TacknoteError when the file cannot be
    // written (the old file is then left as it was).
    void SaveNotes();

    // The close of the program: stop the alarm timer, save (errors ignored), back up
    // when asked to, destroy every note window and quit the event loop. Requests while
    // notes are loading wait until the load is complete.
    void FormCloseQuery();

    // Creates a new note: with a sender (a user action) the user's note, without one a
    // received note. Null when the registry has no room left.
    TfPostIt* tryPrincipalDblClick(QObject* sender);
    // Tray icon left click: shows the note whose alarm fired last.
    void tryPrincipalClick();
    // The one-second tick: the automatic save countdown, then every armed alarm.
    void tmrAlarmeTimer();
    // Lists the alarms due today in the today's-tasks window, or says there are none.
    void ShowTodaysTasks();
    // Copies the notes file into folder as a dated backup; returns the backup's path
    // and throws TacknoteError when the copy fails.
    QString MakeBackup(const QString& folder);
    // "Cópia de &Segurança" > "&Salvar": asks for a folder and makes a backup there.
    void mnuBackupClick();
    // "Salvar A&gora".
    void mnuSalvarNotasClick();
    // "&Sair".
    void Sair1Click();
    // Handlers of the two note messages (posted by the note windows).
    void deleteNote(int number); // WM_DELETENOTE
    void stopAlarm();            // WM_STOPALARM

    // Another start of the program for the same data folder asked this one to come
    // forward: every note is brought to the front.
    void otherStart();

    NoteRegistry& registry() const { return *m_registry; }
    TrayMenu& trayMenu() const { return *m_trayMenu; }
    NotesKeeper& keeper() const { return *m_keeper; }
    NoteCommands& commands() const { return *m_commands; }
    TfrmMostraAlarmes& frmMostraAlarmes() const { return *m_frmMostraAlarmes; }
    const DataLocation& location() const { return m_location; }
    TRecGeral& recGeral() { return m_recGeral; }
    TRecRede& recRede() { return m_recRede; }
    Language markedLanguage() const { return m_markedLanguage; }
    StartLanguage startLanguage() const { return m_startLanguage; }
    QString helpFile() const { return m_helpFile; }
    // Qt's own texts; a language switch installs the new language here.
    QtTranslations& qtTranslations() { return m_qtTranslations; }
    QTimer* timerInicio() const { return tmrInicio; }
    QTimer* timerAlarme() const { return tmrAlarme; }
    bool isClosed() const { return m_closed; }

protected:
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void tmrInicioTimer();
    void alarmFired(int noteNumber);

    PlatformServices m_platform;
    DataLocation m_location;
    TRecGeral m_recGeral;
    TRecRede m_recRede;
    StartLanguage m_startLanguage;
    Language m_markedLanguage = Language::None;
    QString m_helpFile;
    QtTranslations m_qtTranslations;

    NoteCommands* m_commands = nullptr;
    NoteRegistry* m_registry = nullptr;
    NotesKeeper* m_keeper = nullptr;
    TrayMenu* m_trayMenu = nullptr;
    AlarmTimer* m_alarms = nullptr;
    TfrmMostraAlarmes* m_frmMostraAlarmes = nullptr;

    QTimer* tmrInicio = nullptr;
    QTimer* tmrAlarme = nullptr;
    bool m_closeRequested = false;
    bool m_closed = false;
};

#pragma once

#include "core/net/NoteServerControl.h"
#include "core/program/DataLocation.h"
#include "core/program/InterfaceTexts.h"
#include "core/program/StartLanguage.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/program/PlatformServices.h"
#include "platform/desktop/QtScreenAreas.h"

#include <QWidget>
#include <memory>

class AlarmNotices;
class AlarmTimer;
class EventSounds;
class AppMessage;
class NoteCommands;
class NoteReceiver;
class ReceivedNotes;
class LocalMessages;
class NoteCollection;
class NoteRegistry;
class NotesKeeper;
class QTimer;
class SingleInstance;
class TfPostIt;
class TfrmMostraAlarmes;
class TrayMenu;

// The program's hidden main window. It is never shown; it owns the settings, the
// timers and the parts of the program, and runs the start and the close. Its handlers
// hand the work to the part that does it: the note registry (NoteRegistry), the notes
// file (NotesKeeper), the tray icon and its menu (TrayMenu), the notes' commands and
// dialogs (NoteCommands) and the alarms (AlarmTimer).
class HiddenMainWindow : public QWidget, public NoteServerControl {
    Q_OBJECT
public:
    using Language = StartLanguage::Language;

    // Runs FormCreate: fixes the paths, seeds the notes file, chooses the language.
    explicit HiddenMainWindow(const PlatformServices& platform, QWidget* parent = nullptr);
    ~HiddenMainWindow() override;

    // Arms the delayed start step; the notes load once the event loop runs.
    void start();

    // Reads the settings and every note from the notes file, one window per note.
    void LoadNotes();
    // Writes the settings and every note; throws TacknoteError when the file cannot be
    // written (the old file is then left as it was).
    void SaveNotes();

    // The close of the program: stop the alarm timer, save, back up when asked to,
    // destroy every note window and quit the event loop; exitStatus() is 1 when the
    // save or the backup failed (the reason goes to the log: nobody may be there to see
    // a message). Requests while notes are loading wait until the load is complete.
    void FormCloseQuery();

    // Creates a new note: with a sender (a user action) the user's note, without one a
    // received note. Null when the registry has no room left.
    TfPostIt* tryPrincipalDblClick(QObject* sender);
    // Tray icon left click: shows the note whose alarm fired last.
    void tryPrincipalClick();
    // The one-second tick: the automatic save countdown, then every armed alarm.
    void tmrAlarmeTimer();
    // Lists the alarms due today in the today's-tasks window, or says there are none.
    bool ShowTodaysTasks();
    // Copies the notes file into folder as a dated backup; returns the backup's path
    // and throws TacknoteError when the copy fails.
    QString MakeBackup(const QString& folder);
    // "Cópia de &Segurança" > "&Salvar": asks for a folder and makes a backup there.
    void mnuBackupClick();
    // "Salvar A&gora".
    void mnuSalvarNotasClick();
    // "&Sair".
    void Sair1Click();
    // "&Preferências...": the program settings.
    void mnuPreferenciasClick();
    // "&Caderneta de Contatos": the address book.
    void mnuAddressBookClick();

    // The note receiver listens on PortTCP (nothing when it listens already); throws
    // TacknoteError when it cannot.
    void StartNoteServer() override;
    // The note receiver stops listening; connections already accepted run on.
    void StopNoteServer() override;

    // Handlers of the two note messages (posted by the note windows).
    void deleteNote(int number); // WM_DELETENOTE
    void stopAlarm();            // WM_STOPALARM

    // SwitchLanguage: the interface texts of language, taken from its resource set beside
    // the program (nothing at all when the set is missing). With notes in the registry
    // the receiver stops, the notes are saved, destroyed and loaded again by the start
    // step half a second later, in the new language.
    void SwitchLanguage(Language language);
    // "A&juda": the help of the marked language, in the program's own window.
    void Ajuda1Click();
    // "Tacknote na Web...": the product's page.
    void mnuWebClick();
    // "Sobre o Sistema...": the about box.
    void mnuSobreClick();

    // Another start of the program for the same data folder asked this one to come
    // forward: every note is brought to the front; on a desktop without a tray, the
    // tray menu opens at the pointer instead, as the only way to reach it.
    void otherStart();
    // The desktop's "Nova Nota" action: a user's new note holding text (after the load
    // when the notes are not loaded yet).
    void newNoteFromDesktop(const QString& text = QString());
    // "--show", "--hide", "--toggle": every note shown, every note hidden, or hidden when
    // any of them is visible and shown otherwise.
    void showAllNotes();
    void hideAllNotes();
    void toggleNotes();

    // The local socket of the running program: later starts, the command line and the
    // browser capture talk to the program through it.
    void setMessageChannel(SingleInstance* channel);
    // One message of the local socket (TacknoteMsg). Messages that arrive before the
    // start step has loaded the notes wait for it; each is handled as an event of its
    // own, after the one that brought it.
    void channelMessage(const QByteArray& message);
    // Every message of the local socket, handed to the browser capture.
    void AppMessage(const QByteArray& message);

    NoteRegistry& registry() const { return *m_registry; }
    TrayMenu& trayMenu() const { return *m_trayMenu; }
    NotesKeeper& keeper() const { return *m_keeper; }
    NoteCommands& commands() const { return *m_commands; }
    NoteReceiver& receiver() const { return *m_receiver; }
    TfrmMostraAlarmes& frmMostraAlarmes();
    const DataLocation& location() const { return m_location; }
    GeneralSettings& recGeral() { return m_recGeral; }
    NetworkSettings& recRede() { return m_recRede; }
    Language markedLanguage() const { return m_texts->marked(); }
    StartLanguage startLanguage() const { return m_startLanguage; }
    QString helpFile() const { return m_texts->helpFile(); }
    // Qt's own texts; a language switch installs the new language here.
    QTimer* timerInicio() const { return tmrInicio; }
    QTimer* timerAlarme() const { return tmrAlarme; }
    QTimer* timerClip() const { return tmrClip; }
    ::AppMessage& appMessage() const { return *m_appMessage; }
    bool isClosed() const { return m_closed; }
    // The program's exit status after the close: 1 when its save or backup failed.
    int exitStatus() const { return m_exitStatus; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormCreate();
    void tmrInicioTimer();
    void alarmFired(int noteNumber);
    // Tells the user once, ever, how to reach the menu on a desktop without a tray.
    void noticeMissingTray();
    // StartNoteServer, a failure shown to the user.
    void startListening();
    // Ends the run: stops the timers, saves when asked (a failure is logged), makes the
    // backup, stops the receiver, closes the dialogs and the notes, and quits. A failed
    // backup is shown to the user when told (the user chose to quit), else logged.
    void closeProgram(bool save, bool tellUser);

    PlatformServices m_platform;
    DataLocation m_location;
    std::unique_ptr<InterfaceTexts> m_texts;
    GeneralSettings m_recGeral;
    NetworkSettings m_recRede;
    StartLanguage m_startLanguage;

    std::unique_ptr<EventSounds> m_sounds;
    ReceivedNotes* m_receivedNotes = nullptr;
    QtScreenAreas m_screens;
    NoteReceiver* m_receiver = nullptr;
    NoteCommands* m_commands = nullptr;
    LocalMessages* m_messages = nullptr;
    NoteCollection* m_notes = nullptr;
    NoteRegistry* m_registry = nullptr;
    NotesKeeper* m_keeper = nullptr;
    TrayMenu* m_trayMenu = nullptr;
    AlarmTimer* m_alarms = nullptr;
    std::unique_ptr<AlarmNotices> m_notices;
    TfrmMostraAlarmes* m_frmMostraAlarmes = nullptr;
    ::AppMessage* m_appMessage = nullptr;

    QTimer* tmrInicio = nullptr;
    QTimer* tmrAlarme = nullptr;
    QTimer* tmrClip = nullptr; // browser-capture lockout
    bool m_closeRequested = false;
    bool m_newNoteAfterLoad = false;
    QString m_newNoteText;
    // The start step has run: channel messages are handled, not kept.
    bool m_closed = false;
    int m_exitStatus = 0;
};

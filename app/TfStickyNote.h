#pragma once

#include "app/PlatformServices.h"
#include "app/StartLanguage.h"
#include "note/NoteHost.h"
#include "store/NoteStore.h"
#include "store/TRecGeral.h"
#include "store/TRecRede.h"

#include <QWidget>
#include <array>
#include <functional>

class QAction;
class QMenu;
class QTimer;
class TfPostIt;
class TfrmMostraAlarmes;
class TfrmMudaCaption;
struct NoteRecord;

// The program's hidden main window. It is never shown; it owns the note registry, the
// settings, the timers and the paths, loads and saves the notes file, and runs the
// start and the close of the program.
class TfStickyNote : public QWidget, public NoteHost {
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
    // written (the old file is then left as it was). Does nothing until the notes have
    // been loaded, so an early close never replaces the file with an empty registry.
    void SaveNotes();

    // The close of the program: stop the alarm timer, save (errors ignored), destroy
    // every note window and quit the event loop. Requests while notes are loading wait
    // until the load is complete, so no note is left out of the final save.
    void FormCloseQuery();

    // Creates a new note. With a sender (a user action) it is the user's note: random
    // place, default colour and font. Without one it is a received note: red, twice as
    // wide, centred, in white bold Courier New 8. The new note is in slot NoteCount - 1;
    // null when the registry has no room left (the user is told; a received note is
    // dropped).
    TfPostIt* tryPrincipalDblClick(QObject* sender);
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

    // The backup folder dialog: given the suggested file path, returns the chosen path
    // or an empty string when cancelled. Tests replace it.
    std::function<QString(const QString& suggestedPath)> savBackup;

    // Tray icon left click: shows the note whose alarm fired last.
    void tryPrincipalClick();
    // Rebuilds the tray menu's two note lists; runs each time the menu opens.
    void popPrincipalPopup();
    // "&Sair".
    void Sair1Click();

    // Handlers of the two note messages (posted by the note windows).
    void deleteNote(int number); // WM_DELETENOTE
    void stopAlarm();            // WM_STOPALARM

    // The tray icon shows its two alarm frames in turn until stopAlarm() or a click.
    void startTrayAnimation();
    bool trayAnimating() const;

    // What the note windows ask of the main window.
    bool networkEnabled() const override;
    bool editCaption(QString& caption) override;
    void configureNote(TfPostIt& note, int pageIndex, int helpContext) override;
    void sendNote(int noteNumber, const QString& recipient) override;
    void mailNote(const QString& subject, const QString& text) override;
    void openUrl(const QUrl& url) override;

    // The pseudo-random numbers 0 ... range - 1 that place new notes; the same series
    // in every run.
    int nextRandom(int range);

    // Paths fixed at start; every folder ends in a separator.
    QString ProgramDir;
    QString DocumentsDir;
    QString LogonUser;
    QString DataDir;
    QString NotesFile;

    // Program settings, read by every part of the program.
    TRecGeral recGeral;
    TRecRede recRede;

    // The note registry: a note's number is its slot.
    std::array<TfPostIt*, NoteStore::MaxNotes> NoteTable{};
    int NoteCount = 0;
    int LastAlarmNote = -1;

    // Ticks left until the next automatic save.
    int AutoSaveCountdown = 0;

    // The start language decided at creation, and the language item now marked.
    StartLanguage startLanguage;
    Language markedLanguage = Language::None;
    QString helpFile;

    QTimer* tmrInicio = nullptr;
    QTimer* tmrAlarme = nullptr;

    // Dialogs created once for the whole run.
    TfrmMostraAlarmes* frmMostraAlarmes = nullptr;
    TfrmMudaCaption* frmMudaCaption = nullptr;

    // The tray menu and the items other parts look at.
    QMenu* popPrincipal = nullptr;
    QAction* cmdNovaNota = nullptr;
    QMenu* mnuMostrar = nullptr;
    QMenu* mnuEscondidos = nullptr;
    QAction* mnuMostrarTarefasparaHoje1 = nullptr;
    QAction* mnuSalvarNotas = nullptr;
    QMenu* mnuCopiaSeg = nullptr;
    QAction* mnuBackup = nullptr;
    QAction* Sair1 = nullptr;

    bool isLoading() const { return m_loading; }
    bool isClosed() const { return m_closed; }

protected:
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void createTray();
    void showNote(TfPostIt* window);
    bool compactNoteTable();
    int slotOf(const QObject* window) const;
    void tmrAnimacaoTimer();
    void tmrInicioTimer();
    void applyLoadedNote(TfPostIt* window, const NoteRecord& note);
    void destroyAllNotes();
    void autoSaveStep();
    int autoSaveTicks() const;
    // Fires the alarm of the note in slot; a reminder is armed again for its next date.
    void fireAlarm(int slot, TfPostIt* window, const QDateTime& now);
    // Saves and shows a failure to the user instead of passing it on.
    void saveReportingErrors();

    PlatformServices m_platform;
    QTimer* m_trayAnimation = nullptr;
    int m_trayFrame = 0;
    quint32 m_randSeed = 0;
    bool SaveGuard = false;
    bool m_loading = false;
    bool m_notesLoaded = false; // the registry holds what the file held
    bool m_closeRequested = false;
    bool m_closed = false;
};

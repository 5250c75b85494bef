#include "gui/program/HiddenMainWindow.h"

#include "core/alarm/AlarmTimer.h"
#include "core/base/TacknoteError.h"
#include "core/net/NoteReceiver.h"
#include "core/net/ReceivedNotes.h"
#include "core/notes/NoteCollection.h"
#include "core/notes/NotesKeeper.h"
#include "core/program/CaptureRegistration.h"
#include "core/program/LocalMessages.h"
#include "core/settings/EventSounds.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "gui/alarm/TfrmMostraAlarmes.h"
#include "gui/note/NoteIcons.h"
#include "gui/note/NoteMessage.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/AlarmNotices.h"
#include "gui/program/AppMessage.h"
#include "gui/program/HelpKey.h"
#include "gui/program/NoteCommands.h"
#include "gui/program/NoteRegistry.h"
#include "gui/program/TrayMenu.h"
#include "platform/Clock.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBoxes.h"
#include "platform/TrayIcon.h"
#include "platform/system/DurableFile.h"

#include <QApplication>
#include <QCursor>
#include <QDebug>
#include <QLoggingCategory>
#include <QTimer>
#include <utility>

// The steps of the start, for measuring it: QT_LOGGING_RULES="tacknote.startup.debug=true".
Q_LOGGING_CATEGORY(lcStartup, "tacknote.startup", QtWarningMsg)

HiddenMainWindow::HiddenMainWindow(const PlatformServices& platform, QWidget* parent)
    : QWidget(parent), m_platform(platform) {
    setWindowTitle(QStringLiteral("Tacknote"));

    tmrInicio = new QTimer(this);
    tmrInicio->setObjectName(QStringLiteral("tmrInicio"));
    tmrInicio->setInterval(500);
    tmrInicio->setSingleShot(true);
    connect(tmrInicio, &QTimer::timeout, this, &HiddenMainWindow::tmrInicioTimer);

    tmrAlarme = new QTimer(this);
    tmrAlarme->setObjectName(QStringLiteral("tmrAlarme"));
    tmrAlarme->setInterval(1000);
    connect(tmrAlarme, &QTimer::timeout, this, &HiddenMainWindow::tmrAlarmeTimer);

    // Browser capture: the lockout after an accepted capture.
    tmrClip = new QTimer(this);
    tmrClip->setObjectName(QStringLiteral("tmrClip"));

    m_messages = new LocalMessages(
        {[this] { otherStart(); }, [this](const QString& text) { newNoteFromDesktop(text); },
         [this] { showAllNotes(); }, [this] { hideAllNotes(); }, [this] { toggleNotes(); },
         [this] { Sair1Click(); }, [this](const QByteArray& message) { AppMessage(message); }},
        this);

    FormCreate();

    m_sounds = std::make_unique<EventSounds>(m_platform.sound, m_recGeral);
    m_commands = new NoteCommands({m_recGeral, m_recRede, m_platform.clock, m_platform.locale,
                                   m_platform.messages, m_platform.dialogs, m_platform.sound,
                                   m_platform.shell, *this, m_location.NotesFile,
                                   m_location.DataDir, m_platform.autostart},
                                  this);
    m_notes = new NoteCollection(this);
    m_registry =
        new NoteRegistry(*m_notes, *m_commands, *this,
                         {m_recGeral, m_platform.clock, m_platform.locale, *m_sounds,
                          m_platform.messages, m_platform.windowHints, &m_commands->deletedNotes()},
                         this);
    m_receivedNotes = new ReceivedNotes(*m_notes,
                                        {m_recGeral, m_platform.clock, m_platform.locale, *m_sounds,
                                         m_platform.messages, m_screens},
                                        this);
    connect(m_receivedNotes, &ReceivedNotes::noteArrived, this, [this](Note* note) {
        if (TfPostIt* window = m_registry->window(note)) {
            window->scrollToStart();
            NoteRegistry::showInFront(window);
        }
    });
    m_receiver = new NoteReceiver(*m_receivedNotes, m_recRede, m_platform.clock, m_platform.locale,
                                  m_location.SharedDir, this);
    // Told once the receiver's handler has returned, not inside it.
    connect(
        m_receiver, &NoteReceiver::noteRefused, this,
        [this](const QString& peer, ReceivedNoteQuota::Verdict reason) {
            m_receivedNotes->noteRefused(peer, reason);
        },
        Qt::QueuedConnection);
    connect(m_registry, &NoteRegistry::ringingNoteDeleted, this, [this] {
        QCoreApplication::postEvent(this, new NoteMessage(NoteMessage::WM_STOPALARM, 0));
    });
    // Browser capture: a capture makes the user's kind of new note.
    m_appMessage = new ::AppMessage(
        *tmrClip, *m_registry, [this] { return tryPrincipalDblClick(m_appMessage); }, this);
    m_keeper = new NotesKeeper(m_location.NotesFile, {m_location.SharedDir, m_location.LogonUser},
                               *m_notes, m_recGeral, m_recRede,
                               {m_platform.clock, m_platform.locale, m_platform.messages}, this);
    // A note asked for before the load (a double click on the tray, a capture, a note
    // from the network during the start or a language switch) waits until the stored
    // notes are in: they come first, keep their slots, and are never lost by its saves.
    m_registry->setBeforeNewNote([this] { m_keeper->ensureLoaded(); });
    m_receivedNotes->setBeforeNewNote([this] { m_keeper->ensureLoaded(); });
    // A note saved on a screen that is gone is shown where it can be seen; the file keeps
    // its own place until the user moves it, so the layout comes back with the screen.
    connect(m_keeper, &NotesKeeper::notesIn, m_registry, &NoteRegistry::keepOnScreens);
    m_commands->setNotes(*m_registry, *m_keeper);
    m_keeper->setPortugueseMarked(markedLanguage() == Language::Portuguese);
    connect(m_keeper, &NotesKeeper::loadFinished, this, [this] {
        if (m_closeRequested)
            QMetaObject::invokeMethod(this, &HiddenMainWindow::FormCloseQuery,
                                      Qt::QueuedConnection);
    });
    m_alarms = new AlarmTimer(*m_notes, *m_sounds, this);
    connect(m_alarms, &AlarmTimer::alarmFired, this, &HiddenMainWindow::alarmFired);
    m_notices = std::make_unique<AlarmNotices>(m_platform.notifier);

    m_trayMenu = new TrayMenu(*m_registry, m_platform.tray, this);
    connect(m_trayMenu, &TrayMenu::newNoteChosen, this,
            [this] { tryPrincipalDblClick(m_trayMenu->cmdNovaNota); });
    connect(m_trayMenu, &TrayMenu::doubleClicked, this,
            [this] { tryPrincipalDblClick(&m_platform.tray); });
    connect(m_trayMenu, &TrayMenu::clicked, this, &HiddenMainWindow::tryPrincipalClick);
    connect(m_trayMenu, &TrayMenu::findNoteChosen, m_commands, &NoteCommands::findNote);
    connect(m_trayMenu, &TrayMenu::deletedNotesChosen, m_commands, &NoteCommands::showDeletedNotes);
    connect(m_trayMenu, &TrayMenu::todaysTasksChosen, this, &HiddenMainWindow::ShowTodaysTasks);
    connect(m_trayMenu, &TrayMenu::saveChosen, this, &HiddenMainWindow::mnuSalvarNotasClick);
    connect(m_trayMenu, &TrayMenu::backupChosen, this, &HiddenMainWindow::mnuBackupClick);
    connect(m_trayMenu, &TrayMenu::addressBookChosen, this, &HiddenMainWindow::mnuAddressBookClick);
    connect(m_trayMenu, &TrayMenu::preferencesChosen, this,
            &HiddenMainWindow::mnuPreferenciasClick);
    connect(m_trayMenu, &TrayMenu::languageChosen, this, &HiddenMainWindow::SwitchLanguage);
    connect(m_trayMenu, &TrayMenu::helpChosen, this, &HiddenMainWindow::Ajuda1Click);
    connect(m_trayMenu, &TrayMenu::webChosen, this, &HiddenMainWindow::mnuWebClick);
    connect(m_trayMenu, &TrayMenu::aboutChosen, this, &HiddenMainWindow::mnuSobreClick);
    m_trayMenu->markLanguage(markedLanguage());
    connect(m_trayMenu, &TrayMenu::quitChosen, this, &HiddenMainWindow::Sair1Click);
    m_trayMenu->show();
    QApplication::setWindowIcon(NoteIcons::programIcon());

    // F1 in a note or a dialog: the help of the marked language, at its place.
    qApp->installEventFilter(new HelpKey(
        [this](const QString& topic) { m_commands->showHelp(m_texts->helpFile(), topic); }, this));
}

HiddenMainWindow::~HiddenMainWindow() = default;

// Made when first needed: most starts never show today's tasks.
TfrmMostraAlarmes& HiddenMainWindow::frmMostraAlarmes() {
    if (!m_frmMostraAlarmes) {
        m_frmMostraAlarmes = new TfrmMostraAlarmes(m_platform.messages, this);
        m_frmMostraAlarmes->showNote = [this](QObject* note) {
            if (m_registry->slotOf(note) < 0)
                return false;
            NoteRegistry::showNote(static_cast<TfPostIt*>(note));
            return true;
        };
    }
    return *m_frmMostraAlarmes;
}

void HiddenMainWindow::FormCreate() {
    m_recGeral.DefaultFont = NoteFont{QString(), 0, 0, false, false};
    m_recRede.BlockList.clear();
    m_location = DataLocation::prepare(m_platform.paths);
    // What an interrupted save of an earlier run left beside the notes file.
    DurableFile::removeLeftovers(m_location.NotesFile);
    m_location.seedNotesFile(m_platform.locale.lcid());

    IniFile file(m_location.NotesFile, IniFile::Mode::Batched);
    m_startLanguage =
        StartLanguage::decide(SettingsStore::readDefaultLang(file), m_platform.locale.lcid());
    // The interface starts in the chosen language when its texts are there; otherwise
    // the built-in texts stay and no language is marked.
    m_texts = std::make_unique<InterfaceTexts>(m_location.SharedDir);
    if (m_startLanguage.language != Language::None)
        m_texts->install(m_startLanguage.language);
    // Browser capture: the entry of the language chosen at start replaces whichever an
    // earlier run left; one that cannot be written leaves the program running.
    if (m_platform.nativeHosts) {
        CaptureRegistration registration(*m_platform.nativeHosts,
                                         m_location.ProgramDir +
                                             CaptureRegistration::hostProgramName());
        registration.removeAll();
        registration.write(m_startLanguage.browserEntry);
    }
}

void HiddenMainWindow::startListening() {
    // A port that cannot be used is reported; the program runs on without it.
    try {
        StartNoteServer();
    } catch (const TacknoteError& error) {
        m_platform.messages.error(error.message());
    }
}

void HiddenMainWindow::start() {
    tmrAlarme->start();
    tmrInicio->start();
}

void HiddenMainWindow::tmrInicioTimer() {
    tmrInicio->stop();
    qCDebug(lcStartup) << "start step begins";
    LoadNotes();
    qCDebug(lcStartup) << "notes loaded:" << m_registry->notes().size();
    tmrClip->stop();
    if (m_closed)
        return;
    // A menu the desktop draws itself shows the lists as they are now.
    m_trayMenu->popPrincipalPopup();

    if (m_recRede.Enabled)
        startListening();
    if (m_recGeral.NoteDaily && ShowTodaysTasks()) {
        m_notices->todaysTasks(frmMostraAlarmes().lines(), [this] {
            frmMostraAlarmes().show();
            frmMostraAlarmes().raise();
            frmMostraAlarmes().activateWindow();
        });
    }
    // From now on the local socket's messages are handled; those that came during the
    // load follow in their order.
    if (std::exchange(m_newNoteAfterLoad, false))
        newNoteFromDesktop(std::exchange(m_newNoteText, QString()));
    m_messages->start();
    // The notice waits in a box of its own; the start step is over by then, so signals
    // that arrive while it is open are handled.
    QMetaObject::invokeMethod(this, &HiddenMainWindow::noticeMissingTray, Qt::QueuedConnection);
}

void HiddenMainWindow::setMessageChannel(SingleInstance* channel) {
    m_messages->setChannel(channel);
}

void HiddenMainWindow::channelMessage(const QByteArray& message) {
    m_messages->received(message);
}

void HiddenMainWindow::showAllNotes() {
    m_registry->showAll();
}

void HiddenMainWindow::hideAllNotes() {
    m_registry->hideAll();
}

void HiddenMainWindow::toggleNotes() {
    m_registry->toggleAll();
}

void HiddenMainWindow::AppMessage(const QByteArray& message) {
    m_appMessage->handle(message);
}

void HiddenMainWindow::noticeMissingTray() {
    if (m_closed || m_platform.tray.isAvailable() || m_recGeral.TrayNoticeShown ||
        !m_keeper->notesLoaded())
        return;
    m_platform.messages.information(
        tr("Esta área de trabalho não mostra a bandeja do sistema, onde fica o ícone do "
           "Tacknote. Para abrir o menu do Tacknote, inicie o Tacknote de novo pelo menu de "
           "aplicativos ou por um terminal: o menu se abre junto ao ponteiro do mouse. A ação "
           "\"Nova Nota\" do Tacknote no menu de aplicativos cria uma nota."));
    m_recGeral.TrayNoticeShown = true;
    m_keeper->saveReportingErrors();
}

void HiddenMainWindow::SwitchLanguage(Language language) {
    if (m_closed || !m_texts->install(language))
        return;
    m_trayMenu->markLanguage(language);
    m_keeper->setPortugueseMarked(language == Language::Portuguese);
    const bool notesExisted = m_registry->NoteCount() > 0;
    if (notesExisted && !m_keeper->isLoading()) {
        StopNoteServer();
        // Notes that could not be saved are not destroyed: they stay, in the old texts
        // until their windows re-text themselves, and the receiver goes on.
        bool saved = true;
        try {
            SaveNotes();
        } catch (const TacknoteError& error) {
            saved = false;
            m_platform.messages.error(error.message());
        }
        if (saved) {
            // Messages wait until the start step has loaded the notes again.
            m_messages->hold();
            m_registry->destroyAll();
            m_keeper->forgetNotes();
            tmrInicio->start();
        } else if (m_recRede.Enabled) {
            startListening();
        }
    }
    // Every window re-texts itself on the language change the new texts announce.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(qApp, &change);
}

void HiddenMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        m_trayMenu->retranslate();
    QWidget::changeEvent(event);
}

void HiddenMainWindow::Ajuda1Click() {
    m_commands->showHelp(m_texts->helpFile());
}

void HiddenMainWindow::mnuSobreClick() {
    m_commands->showAbout(m_texts->productPage());
}

void HiddenMainWindow::mnuWebClick() {
    // The product's page ships beside the program, in both languages.
    m_commands->showHelp(m_texts->productPage());
}

void HiddenMainWindow::newNoteFromDesktop(const QString& text) {
    if (!m_keeper->notesLoaded()) {
        m_newNoteAfterLoad = true;
        m_newNoteText = text;
        return;
    }
    TfPostIt* note = tryPrincipalDblClick(m_trayMenu->cmdNovaNota);
    if (note && !text.isEmpty())
        note->setNote(text);
}

void HiddenMainWindow::StartNoteServer() {
    m_receiver->StartNoteServer();
}

void HiddenMainWindow::StopNoteServer() {
    m_receiver->StopNoteServer();
}

void HiddenMainWindow::mnuPreferenciasClick() {
    m_commands->openPreferences();
}

void HiddenMainWindow::mnuAddressBookClick() {
    m_commands->browseAddressBook();
}

void HiddenMainWindow::LoadNotes() {
    m_keeper->LoadNotes();
}

void HiddenMainWindow::SaveNotes() {
    m_keeper->SaveNotes();
}

TfPostIt* HiddenMainWindow::tryPrincipalDblClick(QObject* sender) {
    if (m_closed)
        return nullptr;
    return sender ? m_registry->newUserNote() : m_registry->newReceivedNote();
}

bool HiddenMainWindow::event(QEvent* event) {
    if (event->type() == NoteMessage::WM_DELETENOTE) {
        const auto* message = static_cast<NoteMessage*>(event);
        // A note that passed itself is found wherever it is now; one that no longer
        // exists needs no deleting.
        deleteNote(message->namesNote() ? m_registry->slotOf(message->note())
                                        : message->noteNumber());
        return true;
    }
    if (event->type() == NoteMessage::WM_STOPALARM) {
        stopAlarm();
        return true;
    }
    return QWidget::event(event);
}

void HiddenMainWindow::deleteNote(int number) {
    m_registry->deleteNote(number);
}

void HiddenMainWindow::stopAlarm() {
    m_trayMenu->stopAnimation();
}

void HiddenMainWindow::alarmFired(int noteNumber) {
    TfPostIt* window = m_registry->note(noteNumber);
    if (window)
        NoteRegistry::showNote(window);
    m_trayMenu->startAnimation();
    m_notices->alarmFired(window);
}

void HiddenMainWindow::tryPrincipalClick() {
    const int last = m_registry->LastAlarmNote();
    if (last < 0)
        return;
    if (TfPostIt* window = m_registry->note(last))
        NoteRegistry::showNote(window);
    m_registry->setLastAlarmNote(-1);
    stopAlarm();
}

void HiddenMainWindow::otherStart() {
    if (m_platform.tray.isAvailable())
        m_registry->showAll();
    else
        m_trayMenu->popupAt(QCursor::pos());
}

void HiddenMainWindow::Sair1Click() {
    if (m_closed || m_keeper->isLoading()) {
        FormCloseQuery();
        return;
    }
    // A quit the user chose does not drop what cannot be saved without asking first.
    try {
        SaveNotes();
    } catch (const TacknoteError& error) {
        const QString question =
            tr("Sair mesmo assim? As alterações feitas desde o último salvamento serão "
               "perdidas.");
        if (!m_platform.messages.askYesNo(MessageBoxes::titleError(),
                                          error.message() + QStringLiteral("\n\n") + question))
            return;
    }
    // Saved, or the user chose to lose the changes: no second attempt.
    closeProgram(false, true);
}

void HiddenMainWindow::FormCloseQuery() {
    if (m_closed)
        return;
    if (m_keeper->isLoading()) {
        m_closeRequested = true;
        return;
    }
    closeProgram(true, false);
}

void HiddenMainWindow::closeProgram(bool save, bool tellUser) {
    // A close asked for while the question above was open has done it all already.
    if (m_closed)
        return;
    m_closed = true;
    tmrAlarme->stop();
    tmrInicio->stop();
    m_trayMenu->stopAnimation();
    // Later messages find nobody, and their senders learn so.
    m_messages->close();
    bool failed = false;
    if (save) {
        try {
            SaveNotes();
        } catch (const TacknoteError& error) {
            // Nobody to ask at a session's end or on a signal; the reason is logged and
            // the exit status says so.
            qWarning().noquote() << error.message();
            failed = true;
        }
    }

    m_keeper->stop();
    if (m_recGeral.BackupOnExit && m_keeper->notesLoaded() && !m_commands->backupOnExit(tellUser))
        failed = true;
    StopNoteServer();
    if (m_frmMostraAlarmes)
        m_frmMostraAlarmes->hide();
    // Dialogs still open end now; a note's handler waiting on one returns.
    m_commands->closeDialogs();
    m_registry->destroyAll();
    m_trayMenu->hide();
    m_exitStatus = failed ? 1 : 0;
    QCoreApplication::quit();
}

void HiddenMainWindow::tmrAlarmeTimer() {
    // Ticks that arrive while the notes are loading wait for the next one.
    if (m_keeper->isLoading() || m_closed)
        return;
    m_keeper->autoSaveTick();
    if (!m_keeper->notesLoaded())
        return;
    // A reminder's next date reaches the file at once; one save covers every reminder
    // of the tick.
    if (m_alarms->fireDueAlarms(m_platform.clock.now()))
        m_keeper->saveReportingErrors();
}

bool HiddenMainWindow::ShowTodaysTasks() {
    QList<TfrmMostraAlarmes::Task> tasks;
    for (const AlarmTimer::Task& task :
         m_alarms->todaysTasks(m_platform.clock.now(), m_platform.locale))
        tasks.append({task.line, m_registry->note(task.note)});
    return frmMostraAlarmes().showTasks(tasks);
}

QString HiddenMainWindow::MakeBackup(const QString& folder) {
    return m_commands->makeBackup(folder);
}

void HiddenMainWindow::mnuBackupClick() {
    m_commands->backupToChosenFolder();
}

void HiddenMainWindow::mnuSalvarNotasClick() {
    SaveNotes();
}

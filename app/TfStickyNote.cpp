#include "app/TfStickyNote.h"

#include "alarm/NextReminderDate.h"
#include "alarm/TfrmMostraAlarmes.h"
#include "alarm/TodaysTasks.h"
#include "dialogs/TfrmMudaCaption.h"
#include "note/DarkenedCaptionColor.h"
#include "note/NoteIcons.h"
#include "note/NoteMessage.h"
#include "note/TfPostIt.h"
#include "platform/Clock.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBoxes.h"
#include "platform/ShellOpener.h"
#include "platform/SoundPlayer.h"
#include "platform/SystemPaths.h"
#include "platform/TrayIcon.h"
#include "store/Backup.h"
#include "store/IniFile.h"
#include "store/Rotinas.h"
#include "store/SettingsStore.h"
#include "store/TacknoteError.h"

#include <QApplication>
#include <QDebug>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace {

// Clears a flag when the scope ends, also when an error leaves it.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
};

// A note title as a menu item shows it: "&" stays an ampersand instead of marking a
// shortcut, and control characters (a tab would start a shortcut text) become blanks.
QString menuCaption(QString caption) {
    for (QChar& c : caption) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

TfStickyNote::TfStickyNote(const PlatformServices& platform, QWidget* parent)
    : QWidget(parent), m_platform(platform) {
    setWindowTitle(QStringLiteral("Tacknote"));

    tmrInicio = new QTimer(this);
    tmrInicio->setObjectName(QStringLiteral("tmrInicio"));
    tmrInicio->setInterval(500);
    tmrInicio->setSingleShot(true);
    connect(tmrInicio, &QTimer::timeout, this, &TfStickyNote::tmrInicioTimer);

    tmrAlarme = new QTimer(this);
    tmrAlarme->setObjectName(QStringLiteral("tmrAlarme"));
    tmrAlarme->setInterval(1000);
    connect(tmrAlarme, &QTimer::timeout, this, &TfStickyNote::tmrAlarmeTimer);

    m_trayAnimation = new QTimer(this);
    m_trayAnimation->setInterval(900);
    connect(m_trayAnimation, &QTimer::timeout, this, &TfStickyNote::tmrAnimacaoTimer);

    FormCreate();
    createTray();

    frmMostraAlarmes = new TfrmMostraAlarmes(m_platform.messages, this);
    frmMostraAlarmes->showNote = [this](int number) {
        if (number < 0 || number >= NoteCount || !NoteTable[number])
            return false;
        showNote(NoteTable[number]);
        return true;
    };
    frmMudaCaption = new TfrmMudaCaption(m_platform.clock, m_platform.locale, recGeral);

    savBackup = [](const QString& suggestedPath) {
        QFileDialog dialog(nullptr, QStringLiteral("Selecione o Local para Backup"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setNameFilter(QStringLiteral("*.tkn"));
        dialog.selectFile(suggestedPath);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

TfStickyNote::~TfStickyNote() {
    destroyAllNotes();
    delete frmMudaCaption;
}

void TfStickyNote::FormCreate() {
    using Rotinas::AddBackslash;
    const QString sep = Rotinas::pathSeparator();

    LastAlarmNote = -1;
    recGeral.DefaultFont = TNoteFont{QString(), 0, 0, false, false};
    recRede.BlockList.clear();

    ProgramDir = AddBackslash(m_platform.paths.programDir());
    const QString documents = m_platform.paths.documentsDir();
    DocumentsDir = documents.isEmpty() ? ProgramDir : AddBackslash(documents);
    LogonUser = m_platform.paths.logonUser();

    // Each folder is attempted on its own; a failure shows later as a failed save.
    const QString base = DocumentsDir + QStringLiteral("Tacknote") + sep;
    Rotinas::CreatePrivateDir(base);
    Rotinas::CreatePrivateDir(base + LogonUser);
    Rotinas::CreatePrivateDir(base + LogonUser + sep + QStringLiteral("data") + sep);
    DataDir = base + LogonUser + sep + QStringLiteral("data") + sep;
    NotesFile = DataDir + QStringLiteral("stickies.tkn");

    if (!QFileInfo::exists(NotesFile)) {
        const QString seed = m_platform.locale.lcid() == LocaleInfo::LcidPortugueseBrazil
                                 ? QStringLiteral("default_ptb.tkn")
                                 : QStringLiteral("default_enu.tkn");
        // Without a seed the program starts with no notes and the default settings.
        Rotinas::CopyFileSafely(ProgramDir + seed, NotesFile);
    }

    helpFile = ProgramDir + QStringLiteral("tacknote_enu.hlp");

    IniFile file(NotesFile, IniFile::Mode::Batched);
    startLanguage =
        StartLanguage::decide(SettingsStore::readDefaultLang(file), m_platform.locale.lcid());
    if (startLanguage.language != Language::None) {
        markedLanguage = startLanguage.language;
        helpFile = ProgramDir + (markedLanguage == Language::Portuguese
                                     ? QStringLiteral("tacknote.hlp")
                                     : QStringLiteral("tacknote_enu.hlp"));
    }
}

void TfStickyNote::createTray() {
    popPrincipal = new QMenu(this);
    popPrincipal->setObjectName(QStringLiteral("popPrincipal"));
    cmdNovaNota = popPrincipal->addAction(QStringLiteral("&Nova Nota"));
    cmdNovaNota->setObjectName(QStringLiteral("cmdNovaNota"));
    connect(cmdNovaNota, &QAction::triggered, this, [this] { tryPrincipalDblClick(cmdNovaNota); });
    popPrincipal->addSeparator();
    mnuMostrar = popPrincipal->addMenu(QStringLiteral("Mo&strar"));
    mnuMostrar->setObjectName(QStringLiteral("mnuMostrar"));
    mnuEscondidos = popPrincipal->addMenu(QStringLiteral("M&ostrar Escondidas"));
    mnuEscondidos->setObjectName(QStringLiteral("mnuEscondidos"));
    mnuMostrarTarefasparaHoje1 =
        popPrincipal->addAction(QStringLiteral("Mostrar Tarefas para &Hoje"));
    mnuMostrarTarefasparaHoje1->setObjectName(QStringLiteral("mnuMostrarTarefasparaHoje1"));
    connect(mnuMostrarTarefasparaHoje1, &QAction::triggered, this, &TfStickyNote::ShowTodaysTasks);
    popPrincipal->addSeparator();
    mnuSalvarNotas = popPrincipal->addAction(QStringLiteral("Salvar A&gora"));
    mnuSalvarNotas->setObjectName(QStringLiteral("mnuSalvarNotas"));
    connect(mnuSalvarNotas, &QAction::triggered, this, &TfStickyNote::mnuSalvarNotasClick);
    mnuCopiaSeg = popPrincipal->addMenu(QStringLiteral("Cópia de &Segurança"));
    mnuCopiaSeg->setObjectName(QStringLiteral("mnuCopiaSeg"));
    mnuBackup = mnuCopiaSeg->addAction(QStringLiteral("&Salvar"));
    mnuBackup->setObjectName(QStringLiteral("mnuBackup"));
    connect(mnuBackup, &QAction::triggered, this, &TfStickyNote::mnuBackupClick);
    popPrincipal->addSeparator();
    Sair1 = popPrincipal->addAction(QStringLiteral("&Sair"));
    Sair1->setObjectName(QStringLiteral("Sair1"));
    connect(Sair1, &QAction::triggered, this, &TfStickyNote::Sair1Click);
    connect(popPrincipal, &QMenu::aboutToShow, this, &TfStickyNote::popPrincipalPopup);
    popPrincipalPopup();

    TrayIcon& tray = m_platform.tray;
    tray.setIcon(NoteIcons::programIcon());
    tray.setToolTip(QStringLiteral("Duplo-clique para criar nota"));
    tray.setMenu(popPrincipal);
    connect(&tray, &TrayIcon::activated, this, [this](TrayIcon::Activation activation) {
        if (activation == TrayIcon::Activation::Click)
            tryPrincipalClick();
        else
            tryPrincipalDblClick(&m_platform.tray);
    });
    tray.show();
    QApplication::setWindowIcon(NoteIcons::programIcon());
}

void TfStickyNote::start() {
    tmrAlarme->start();
    tmrInicio->start();
}

void TfStickyNote::tmrInicioTimer() {
    tmrInicio->stop();
    LoadNotes();
    if (recGeral.NoteDaily && !m_closed)
        ShowTodaysTasks();
}

void TfStickyNote::LoadNotes() {
    // The start step runs only with an empty registry (at start, and after a language
    // switch has saved and destroyed every note); anything else would replace notes.
    if (m_loading || NoteCount > 0)
        return;
    {
        FlagScope loading(m_loading);
        NoteCount = 0;
        IniFile file(NotesFile, IniFile::Mode::Batched);
        const int stored = SettingsStore::readNumStickies(file);
        const SettingsStore::Context context{ProgramDir, LogonUser};
        SettingsStore::read(file, context, recGeral, recRede);
        AutoSaveCountdown = autoSaveTicks();

        // A file with more notes than the registry holds loads the first ones; the
        // sections beyond stay in the file untouched.
        const int count = qBound(0, stored, NoteStore::MaxNotes);
        for (int i = 0; i < count; ++i) {
            const NoteRecord note =
                NoteStore::read(file, i, m_platform.locale, m_platform.clock.now());
            auto* window = new TfPostIt(this);
            window->Tag = i;
            window->messageTarget = this;
            NoteTable[i] = window;
            QCoreApplication::processEvents();
            applyLoadedNote(window, note);
            NoteCount = i + 1;
            QCoreApplication::processEvents();
        }
        m_notesLoaded = true;
    }
    if (m_closeRequested)
        QMetaObject::invokeMethod(this, &TfStickyNote::FormCloseQuery, Qt::QueuedConnection);
}

void TfStickyNote::applyLoadedNote(TfPostIt* window, const NoteRecord& note) {
    window->alarm = note.alarm;
    if (note.alarm) {
        window->setAlarmDateTime(note.AlarmDateTime);
        window->UseSound = note.UseSound;
        window->SoundFile = note.SoundFile;
        window->setAlarmIconVisible(true);
        window->Dia = note.Dia;
        window->Remember = note.Remember;
        window->RememberNo = note.RememberNo;
        window->RememberUnit = note.RememberUnit;
    } else {
        window->setAlarmIconVisible(false);
    }
    window->setScrollbar(note.scrollbar);
    window->DarkCaption = note.DarkCaption;
    window->TrackPosition = note.TrackPosition;
    window->setRodape(note.Rodape);
    window->setBounds(note.posx, note.posy, note.Width, note.Height);
    window->setColor(note.Color);
    window->setCaptionColor(note.DarkCaption ? DarkenedCaptionColor(note.Color, note.TrackPosition)
                                             : note.Color);
    window->setVisible(note.visible);
    window->setMemoFont(
        TNoteFont{note.FontName, note.FontSize, note.FontColor, note.FontBold, note.FontItalic});
    window->setCaptionTextColor(note.FontColor);
    window->setCaption(note.caption);
    window->setNote(note.note);
    window->setTopmost(note.topmost);
}

void TfStickyNote::SaveNotes() {
    // Never inside another save, never while a load is under way, and never before the
    // notes were loaded at all: the save would erase the notes not yet in memory.
    if (SaveGuard || m_loading || !m_notesLoaded)
        return;
    FlagScope guard(SaveGuard);
    IniFile file(NotesFile, IniFile::Mode::Batched);
    SettingsStore::write(file, recGeral, recRede, markedLanguage == Language::Portuguese);
    NoteStore::eraseAll(file);
    int k = 0;
    for (int slot = 0; slot < NoteCount; ++slot) {
        if (const TfPostIt* window = NoteTable[slot]) {
            NoteStore::write(file, k, window->toRecord(), m_platform.locale);
            ++k;
        }
    }
    SettingsStore::writeNumStickies(file, k);
    file.flush();
}

int TfStickyNote::nextRandom(int range) {
    m_randSeed = m_randSeed * 134775813u + 1u;
    return static_cast<int>((quint64(m_randSeed) * quint64(range)) >> 32);
}

TfPostIt* TfStickyNote::tryPrincipalDblClick(QObject* sender) {
    // The registry hands out each slot once per run. When the last one is gone the
    // notes are renumbered without gaps; with every slot holding a live note, or while
    // a dialog may hold a note number, no note can be added.
    if (NoteCount >= NoteStore::MaxNotes && !compactNoteTable()) {
        if (sender) {
            m_platform.messages.show(
                MessageBoxes::Icon::Warning, MessageBoxes::titleNotice(),
                QStringLiteral("Não é possível criar mais notas: o limite de %1 notas foi "
                               "atingido. Apague algumas notas e tente novamente.")
                    .arg(NoteStore::MaxNotes));
        }
        return nullptr;
    }
    // A note asked for while the notes load would take a slot the load is filling.
    if (m_loading || m_closed)
        return nullptr;

    if (recGeral.UseSounds)
        m_platform.sound.play(sender ? recGeral.SoundNewSticky : recGeral.SoundRecSticky);

    auto* window = new TfPostIt(this);
    const int slot = NoteCount;
    window->Tag = slot;
    window->messageTarget = this;
    NoteTable[slot] = window;

    int color;
    if (sender) {
        const int top = nextRandom(100);
        const int left = nextRandom(100);
        color = recGeral.DefaultColor;
        window->setBounds(left, top, 170, 120);
    } else {
        color = 255;
        const int width = 340;
        const int height = 120;
        const QRect desktop = QGuiApplication::primaryScreen()
                                  ? QGuiApplication::primaryScreen()->geometry()
                                  : QRect(0, 0, 1024, 768);
        window->setBounds(desktop.width() / 2 - width / 2, desktop.height() / 2 - height / 2, width,
                          height);
    }
    window->setColor(color);

    QString caption;
    const QDateTime now = m_platform.clock.now();
    if (recGeral.ShowDate)
        caption = m_platform.locale.formatDate(now.date()) + QLatin1Char(' ');
    if (recGeral.ShowTime)
        caption += m_platform.locale.formatTime(now.time());
    window->setCaption(caption);
    window->FormResize();

    window->setMemoFont(sender
                            ? recGeral.DefaultFont
                            : TNoteFont{QStringLiteral("Courier New"), 8, 0xFFFFFF, true, false});
    if (recGeral.DarkCaption) {
        window->TrackPosition = recGeral.TrackPosition;
        window->DarkCaption = true;
        window->setCaptionColor(DarkenedCaptionColor(color, window->TrackPosition));
    } else {
        window->setCaptionColor(color);
    }
    window->setScrollbar(recGeral.ScrollBar);
    window->setCaptionTextColor(recGeral.DefaultFont.Color);
    showNote(window);
    NoteCount = slot + 1;
    return window;
}

bool TfStickyNote::compactNoteTable() {
    if (QApplication::activeModalWidget() || m_loading)
        return false;
    int next = 0;
    int lastAlarm = -1;
    for (int slot = 0; slot < NoteCount; ++slot) {
        TfPostIt* window = NoteTable[slot];
        if (!window)
            continue;
        if (slot == LastAlarmNote)
            lastAlarm = next;
        NoteTable[slot] = nullptr;
        NoteTable[next] = window;
        window->Tag = next;
        ++next;
    }
    if (next >= NoteStore::MaxNotes)
        return false;
    NoteCount = next;
    LastAlarmNote = lastAlarm;
    return true;
}

int TfStickyNote::slotOf(const QObject* window) const {
    for (int slot = 0; slot < NoteCount; ++slot) {
        if (NoteTable[slot] == window)
            return slot;
    }
    return -1;
}

void TfStickyNote::showNote(TfPostIt* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

bool TfStickyNote::event(QEvent* event) {
    if (event->type() == NoteMessage::WM_DELETENOTE) {
        const auto* message = static_cast<NoteMessage*>(event);
        // A note that passed itself is found wherever it is now; one that no longer
        // exists needs no deleting.
        if (message->namesNote()) {
            const int slot = message->note() ? slotOf(message->note()) : -1;
            if (slot >= 0)
                deleteNote(slot);
        } else {
            deleteNote(message->noteNumber());
        }
        return true;
    }
    if (event->type() == NoteMessage::WM_STOPALARM) {
        stopAlarm();
        return true;
    }
    return QWidget::event(event);
}

void TfStickyNote::deleteNote(int number) {
    if (number < 0 || number >= NoteCount || !NoteTable[number])
        return;
    if (recGeral.AskDelete &&
        !m_platform.messages.confirm(QStringLiteral("Deseja realmente eliminar esta nota?")))
        return;
    // The question let other events run; the note may be gone already.
    TfPostIt* window = NoteTable[number];
    if (!window)
        return;
    if (recGeral.UseSounds)
        m_platform.sound.play(recGeral.SoundDelSticky);
    if (number == LastAlarmNote)
        LastAlarmNote = -1;
    if (window->ringingIconVisible())
        QCoreApplication::postEvent(this, new NoteMessage(NoteMessage::WM_STOPALARM, 0));
    NoteTable[number] = nullptr;
    delete window;
}

void TfStickyNote::stopAlarm() {
    m_trayAnimation->stop();
    m_platform.tray.setIcon(NoteIcons::programIcon());
}

void TfStickyNote::startTrayAnimation() {
    if (m_trayAnimation->isActive())
        return;
    m_trayFrame = 0;
    tmrAnimacaoTimer();
    m_trayAnimation->start();
}

bool TfStickyNote::trayAnimating() const {
    return m_trayAnimation->isActive();
}

void TfStickyNote::tmrAnimacaoTimer() {
    const QList<QIcon> frames = NoteIcons::trayAlarmFrames();
    if (frames.isEmpty())
        return;
    m_platform.tray.setIcon(frames.at(m_trayFrame % frames.size()));
    ++m_trayFrame;
}

void TfStickyNote::tryPrincipalClick() {
    if (LastAlarmNote < 0)
        return;
    if (LastAlarmNote < NoteCount && NoteTable[LastAlarmNote])
        showNote(NoteTable[LastAlarmNote]);
    LastAlarmNote = -1;
    stopAlarm();
}

void TfStickyNote::popPrincipalPopup() {
    const auto addNoteItem = [this](QMenu* menu, int slot) {
        TfPostIt* window = NoteTable[slot];
        QAction* item = menu->addAction(menuCaption(window->caption()));
        item->setData(slot);
        const QPointer<TfPostIt> target(window);
        connect(item, &QAction::triggered, this, [this, target] {
            if (target && slotOf(target) >= 0)
                showNote(target);
        });
    };

    mnuEscondidos->clear();
    bool anyHidden = false;
    for (int slot = 0; slot < NoteCount; ++slot) {
        if (NoteTable[slot] && NoteTable[slot]->isHidden()) {
            addNoteItem(mnuEscondidos, slot);
            anyHidden = true;
        }
    }
    mnuEscondidos->menuAction()->setEnabled(anyHidden);

    mnuMostrar->clear();
    QAction* all = mnuMostrar->addAction(QStringLiteral("<Todos>"));
    connect(all, &QAction::triggered, this, [this] {
        for (int slot = 0; slot < NoteCount; ++slot) {
            if (NoteTable[slot])
                showNote(NoteTable[slot]);
        }
    });
    mnuMostrar->addSeparator();
    bool anyNote = false;
    for (int slot = 0; slot < NoteCount; ++slot) {
        if (NoteTable[slot]) {
            addNoteItem(mnuMostrar, slot);
            anyNote = true;
        }
    }
    mnuMostrar->menuAction()->setEnabled(anyNote);
}

void TfStickyNote::Sair1Click() {
    FormCloseQuery();
}

void TfStickyNote::FormCloseQuery() {
    if (m_closed)
        return;
    if (m_loading) {
        m_closeRequested = true;
        return;
    }
    m_closed = true;
    tmrAlarme->stop();
    tmrInicio->stop();
    m_trayAnimation->stop();
    try {
        SaveNotes();
    } catch (const TacknoteError& error) {
        qWarning().noquote() << error.message();
    }
    if (recGeral.BackupOnExit && m_notesLoaded) {
        try {
            MakeBackup(recGeral.BackupPath);
        } catch (const TacknoteError& error) {
            qWarning().noquote() << error.message();
        }
    }
    frmMostraAlarmes->hide();
    // Dialogs still open end now; a note's handler waiting on one finds its note gone
    // and returns.
    frmMudaCaption->reject();
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->hide();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }
    destroyAllNotes();
    m_platform.tray.hide();
    QCoreApplication::quit();
}

void TfStickyNote::destroyAllNotes() {
    for (TfPostIt*& window : NoteTable) {
        delete window;
        window = nullptr;
    }
    NoteCount = 0;
}

bool TfStickyNote::networkEnabled() const {
    return recRede.Enabled;
}

bool TfStickyNote::editCaption(QString& caption) {
    return frmMudaCaption->edit(caption);
}

void TfStickyNote::configureNote(TfPostIt& note, int pageIndex, int helpContext) {
    // The configuration dialog plugs in here.
    Q_UNUSED(note);
    Q_UNUSED(pageIndex);
    Q_UNUSED(helpContext);
}

void TfStickyNote::sendNote(int noteNumber, const QString& recipient) {
    // The send-to-computer dialog plugs in here.
    Q_UNUSED(noteNumber);
    Q_UNUSED(recipient);
}

void TfStickyNote::mailNote(const QString& subject, const QString& text) {
    // The e-mail dialog plugs in here.
    Q_UNUSED(subject);
    Q_UNUSED(text);
}

void TfStickyNote::openUrl(const QUrl& url) {
    m_platform.shell.open(url);
}

void TfStickyNote::tmrAlarmeTimer() {
    // Ticks that arrive while the notes are loading wait for the next one.
    if (m_loading || m_closed)
        return;
    autoSaveStep();
    if (!m_notesLoaded)
        return;

    const QDateTime now = m_platform.clock.now();
    // Dia[0] is Sunday; Qt counts Monday as 1 and Sunday as 7.
    const int today = now.date().dayOfWeek() % 7;
    bool reminderFired = false;
    for (int slot = 0; slot < NoteCount; ++slot) {
        TfPostIt* window = NoteTable[slot];
        if (!window || !window->alarm)
            continue;
        if (window->Remember && !window->Dia[today])
            continue;
        if (now >= window->AlarmDateTime()) {
            fireAlarm(slot, window, now);
            reminderFired = reminderFired || window->Remember;
        }
    }
    // A reminder's next date reaches the file at once; one save covers every reminder
    // of the tick.
    if (reminderFired)
        saveReportingErrors();
}

void TfStickyNote::saveReportingErrors() {
    try {
        SaveNotes();
    } catch (const TacknoteError& error) {
        m_platform.messages.error(error.message());
    }
}

int TfStickyNote::autoSaveTicks() const {
    // Widened and clamped: a hand-edited interval must not overflow.
    return static_cast<int>(std::clamp<qint64>(qint64(recGeral.TimeAutoSave) * 60,
                                               std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

void TfStickyNote::autoSaveStep() {
    // Automatic saving switched off in the preferences means no automatic saves.
    if (!recGeral.AutoSave)
        return;
    if (AutoSaveCountdown > std::numeric_limits<int>::min())
        --AutoSaveCountdown;
    if (AutoSaveCountdown != 0)
        return;
    AutoSaveCountdown = autoSaveTicks();
    // A failure is reported once; the next attempt comes one full interval later.
    saveReportingErrors();
}

void TfStickyNote::fireAlarm(int slot, TfPostIt* window, const QDateTime& now) {
    startTrayAnimation();
    LastAlarmNote = slot;
    window->alarm = false;
    if (window->UseSound)
        m_platform.sound.play(window->SoundFile);
    else
        m_platform.sound.beep();
    showNote(window);
    window->setAlarmIconVisible(false);
    window->setRingingIconVisible(true);
    if (!window->Remember)
        return;

    const std::optional<QDateTime> next = NextReminderDate(
        window->AlarmDateTime(), window->RememberNo, window->RememberUnit, window->Dia, now);
    // A reminder with no next date (no weekday allowed) stays disarmed.
    if (next) {
        window->setAlarmDateTime(*next);
        window->alarm = true;
    }
}

void TfStickyNote::ShowTodaysTasks() {
    QList<TodaysTasks::Entry> entries;
    for (int slot = 0; slot < NoteCount; ++slot) {
        if (const TfPostIt* window = NoteTable[slot])
            entries.append({slot, window->alarm, window->AlarmDateTime(), window->caption()});
    }
    frmMostraAlarmes->showTasks(
        TodaysTasks::lines(entries, m_platform.clock.now().date(), m_platform.locale));
}

QString TfStickyNote::MakeBackup(const QString& folder) {
    return Backup::MakeBackup(NotesFile, folder, m_platform.clock.now());
}

void TfStickyNote::mnuBackupClick() {
    const QString suggested =
        Rotinas::AddBackslash(recGeral.BackupPath.isEmpty() ? DataDir : recGeral.BackupPath) +
        Backup::BackupFileName(m_platform.clock.now());
    const QString chosen = savBackup(suggested);
    if (chosen.isEmpty())
        return;
    // Only the folder is used; the name is the minute of the copy.
    const QString folder = Rotinas::AddBackslash(QFileInfo(chosen).absolutePath());
    QString name;
    try {
        name = MakeBackup(folder);
    } catch (const TacknoteError& error) {
        // The message names the backup that could not be made.
        m_platform.messages.error(error.message());
        return;
    }
    m_platform.messages.information(QStringLiteral("Backup efetuado em  ") + name);
}

void TfStickyNote::mnuSalvarNotasClick() {
    SaveNotes();
}

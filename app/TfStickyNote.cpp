#include "app/TfStickyNote.h"

#include "note/DarkenedCaptionColor.h"
#include "note/TfPostIt.h"
#include "platform/Clock.h"
#include "platform/LocaleInfo.h"
#include "platform/SystemPaths.h"
#include "store/IniFile.h"
#include "store/Rotinas.h"
#include "store/SettingsStore.h"
#include "store/TacknoteError.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QTimer>

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

    FormCreate();
}

TfStickyNote::~TfStickyNote() {
    destroyAllNotes();
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

void TfStickyNote::start() {
    tmrAlarme->start();
    tmrInicio->start();
}

void TfStickyNote::tmrInicioTimer() {
    tmrInicio->stop();
    LoadNotes();
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
        AutoSaveCountdown = recGeral.TimeAutoSave * 60;

        // A file with more notes than the registry holds loads the first ones; the
        // sections beyond stay in the file untouched.
        const int count = qBound(0, stored, NoteStore::MaxNotes);
        for (int i = 0; i < count; ++i) {
            const NoteRecord note =
                NoteStore::read(file, i, m_platform.locale, m_platform.clock.now());
            auto* window = new TfPostIt();
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
        QMetaObject::invokeMethod(this, &TfStickyNote::closeProgram, Qt::QueuedConnection);
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

void TfStickyNote::closeProgram() {
    if (m_closed)
        return;
    if (m_loading) {
        m_closeRequested = true;
        return;
    }
    m_closed = true;
    tmrAlarme->stop();
    tmrInicio->stop();
    try {
        SaveNotes();
    } catch (const TacknoteError& error) {
        qWarning().noquote() << error.message();
    }
    destroyAllNotes();
    QCoreApplication::quit();
}

void TfStickyNote::destroyAllNotes() {
    for (TfPostIt*& window : NoteTable) {
        delete window;
        window = nullptr;
    }
    NoteCount = 0;
}

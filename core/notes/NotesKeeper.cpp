#include "core/notes/NotesKeeper.h"

#include "core/base/TacknoteError.h"
#include "core/notes/NoteCollection.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Sets a flag for a scope, also when an error leaves it.
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

NotesKeeper::NotesKeeper(const QString& notesFile, const SettingsStore::Context& context,
                         NoteCollection& notes, GeneralSettings& recGeral, NetworkSettings& recRede,
                         const Services& services, QObject* parent)
    : QObject(parent), m_file(notesFile, services.locale, context), m_notes(notes),
      m_recGeral(recGeral), m_recRede(recRede), m_services(services) {
    m_changeSave = new QTimer(this);
    m_changeSave->setSingleShot(true);
    m_changeSave->setInterval(ChangeSaveDelayMs);
    connect(m_changeSave, &QTimer::timeout, this, &NotesKeeper::changeSaveTimeout);
    connect(&m_notes, &NoteCollection::notesChanged, this, &NotesKeeper::noteChanged);
}

NotesKeeper::~NotesKeeper() {
    finishBackgroundSave();
}

void NotesKeeper::ensureLoaded() {
    if (!m_notesLoaded && !m_loading && !m_stopped)
        LoadNotes(false);
}

void NotesKeeper::LoadNotes(bool yieldBetweenNotes) {
    if (m_loading || m_stopped || m_notesLoaded)
        return;
    // Each note as it came from the file, taken before other events run: what the user
    // does meanwhile (typing into a note already shown, a new note) is a change to save.
    Snapshot asLoaded;
    {
        FlagScope loading(m_loading);
        const NotesFile::Contents contents = m_file.load(m_services.clock.now());
        m_recGeral = contents.geral;
        m_recRede = contents.rede;
        asLoaded.geral = contents.geral;
        asLoaded.rede = contents.rede;
        m_autoSaveCountdown = autoSaveTicks();
        // The stored notes keep their slots: notes asked for meanwhile get only what is
        // left beyond them.
        m_notes.setLoading(true, int(contents.notes.size()));
        for (const NoteRecord& record : contents.notes) {
            if (const Note* note = m_notes.addLoaded(record))
                asLoaded.notes.append(note->record());
            if (yieldBetweenNotes)
                QCoreApplication::processEvents();
        }
        m_notes.setLoading(false);
        m_notesLoaded = true;
    }
    Q_EMIT notesIn();
    m_onDisk = std::move(asLoaded);
    if (!m_file.readError().isEmpty()) {
        m_services.messages.error(
            tr("O arquivo de notas %1 não pôde ser lido: %2\n\nEle não será alterado enquanto o "
               "Tacknote estiver aberto. As notas criadas agora serão guardadas em %3.")
                .arg(m_file.path(), m_file.readError(), m_file.recoveryPath()));
    }
    if (!(snapshot() == m_onDisk))
        m_changeSave->start();
    if (std::exchange(m_saveAfterLoad, false))
        saveReportingErrors();
    Q_EMIT loadFinished();
}

NotesKeeper::Snapshot NotesKeeper::snapshot() const {
    return Snapshot{m_recGeral, m_recRede, records()};
}

QList<NoteRecord> NotesKeeper::records() const {
    return m_notes.records();
}

void NotesKeeper::SaveNotes() {
    if (SaveGuard || m_stopped)
        return;
    if (m_loading) {
        // Saving now would drop the notes not yet read; the save follows the load.
        m_saveAfterLoad = true;
        return;
    }
    if (!m_notesLoaded) {
        // Nothing made yet, nothing to save; otherwise the stored notes come in first.
        if (m_notes.isEmpty())
            return;
        LoadNotes(false);
    }
    FlagScope guard(SaveGuard);
    // One save at a time, in order: a background save ends first.
    finishBackgroundSave();
    // Whatever reason asked for this save, the changes so far go with it.
    m_changeSave->stop();
    Snapshot now = snapshot();
    try {
        m_file.save(now.geral, now.rede, m_portugueseMarked, now.notes);
    } catch (const TacknoteError&) {
        m_failing = true;
        throw;
    }
    m_failing = false;
    m_onDisk = std::move(now);
    Q_EMIT saved();
}

void NotesKeeper::saveReportingErrors() {
    try {
        SaveNotes();
    } catch (const TacknoteError& error) {
        m_services.messages.error(error.message());
    }
}

void NotesKeeper::stop() {
    finishBackgroundSave();
    m_stopped = true;
    m_changeSave->stop();
}

void NotesKeeper::saveInBackground(bool reportFailure) {
    if (m_stopped || m_loading || !m_notesLoaded)
        return;
    if (!m_background) {
        if (reportFailure) {
            saveReportingErrors();
        } else {
            try {
                SaveNotes();
            } catch (const TacknoteError&) {
            }
        }
        return;
    }
    if (m_saving) {
        m_saveAgain = true;
        return;
    }
    m_changeSave->stop();
    m_reportBackgroundFailure = reportFailure;
    m_backgroundError.clear();
    // The writing thread reads m_inFlight alone until it has finished.
    m_inFlight = snapshot();
    m_saving = QThread::create([this, marked = m_portugueseMarked] {
        try {
            m_file.save(m_inFlight.geral, m_inFlight.rede, marked, m_inFlight.notes);
        } catch (const TacknoteError& error) {
            m_backgroundError = error.message();
        }
    });
    QThread* thread = m_saving;
    // Told on this thread, once the writing thread has finished.
    connect(thread, &QThread::finished, this, [this, thread] {
        if (m_saving == thread)
            finishBackgroundSave();
    });
    thread->start();
}

void NotesKeeper::finishBackgroundSave() {
    if (!m_saving)
        return;
    m_saving->wait();
    if (m_backgroundError.isEmpty())
        m_onDisk = m_inFlight;
    backgroundSaveDone();
}

void NotesKeeper::backgroundSaveDone() {
    QThread* thread = std::exchange(m_saving, nullptr);
    thread->wait();
    thread->deleteLater();
    m_inFlight = {};
    if (m_backgroundError.isEmpty()) {
        m_failing = false;
        Q_EMIT saved();
    } else {
        m_failing = true;
        if (m_reportBackgroundFailure)
            m_services.messages.error(m_backgroundError);
    }
    // Changes made while it wrote go in the next save.
    if (std::exchange(m_saveAgain, false) && !m_stopped)
        m_changeSave->start();
}

int NotesKeeper::autoSaveTicks() const {
    // Widened and clamped: a hand-edited interval must not overflow.
    return static_cast<int>(std::clamp<qint64>(qint64(m_recGeral.TimeAutoSave) * 60,
                                               std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

void NotesKeeper::autoSaveTick() {
    // Automatic saving switched off in the preferences means no automatic saves.
    if (!m_recGeral.AutoSave || m_loading)
        return;
    if (m_autoSaveCountdown > std::numeric_limits<int>::min())
        --m_autoSaveCountdown;
    if (m_autoSaveCountdown != 0)
        return;
    m_autoSaveCountdown = autoSaveTicks();
    // A failure is reported once; the next attempt comes one full interval later.
    saveInBackground(true);
}

void NotesKeeper::noteChanged() {
    // One save for a whole burst of changes: the first change starts the clock.
    if (m_loading || !m_notesLoaded || m_stopped || m_changeSave->isActive())
        return;
    m_changeSave->start();
}

void NotesKeeper::changeSaveTimeout() {
    if (SaveGuard || m_loading) {
        m_changeSave->start();
        return;
    }
    if (m_saving) {
        m_saveAgain = true;
        return;
    }
    if (!m_failing && snapshot() == m_onDisk)
        return;
    saveInBackground(!m_failing);
}

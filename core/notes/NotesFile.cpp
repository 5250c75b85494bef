#include "core/notes/NotesFile.h"

#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"

#include <QFileInfo>
#include <algorithm>

NotesFile::NotesFile(const QString& path, const LocaleInfo& locale,
                     const SettingsStore::Context& context)
    : m_path(path), m_locale(locale), m_context(context) {}

int NotesFile::notesToLoad(IniFile& file) {
    int consecutive = 0;
    while (consecutive < NoteStore::MaxNotes &&
           file.sectionExists(NoteStore::sectionName(consecutive)))
        ++consecutive;
    const int stored = std::clamp(SettingsStore::readNumStickies(file), 0, NoteStore::MaxNotes);
    return std::max(stored, consecutive);
}

NotesFile::Contents NotesFile::load(const QDateTime& now) {
    IniFile file(m_path, IniFile::Mode::Batched);
    Contents contents;
    const int count = notesToLoad(file);
    SettingsStore::read(file, m_context, contents.geral, contents.rede);
    contents.notes.reserve(count);
    for (int i = 0; i < count; ++i)
        contents.notes.append(NoteStore::read(file, i, m_locale, now));
    m_ownedSections = std::max(m_ownedSections, count);

    m_readError = file.readError();
    if (!m_readError.isEmpty() && m_recoveryPath.isEmpty()) {
        // A name no earlier run has taken, so no recovery file is ever overwritten.
        const QString base =
            m_path + QStringLiteral(".recuperado-") + now.toString(QStringLiteral("yyyyMMdd_HHmm"));
        m_recoveryPath = base;
        for (int n = 2; QFileInfo::exists(m_recoveryPath) || QFileInfo(m_recoveryPath).isSymLink();
             ++n)
            m_recoveryPath = base + QLatin1Char('-') + QString::number(n);
    }
    return contents;
}

void NotesFile::save(const GeneralSettings& geral, const NetworkSettings& rede,
                     bool portugueseMarked, const QList<NoteRecord>& notes) {
    QString target = m_path;
    if (!m_recoveryPath.isEmpty()) {
        // Settings alone are not worth a recovery file; notes are.
        if (notes.isEmpty() && !QFileInfo::exists(m_recoveryPath))
            return;
        target = m_recoveryPath;
    }
    IniFile file(target, IniFile::Mode::Batched);
    SettingsStore::write(file, geral, rede, portugueseMarked);
    const int count = static_cast<int>(std::min<qsizetype>(notes.size(), NoteStore::MaxNotes));
    const int erased = std::max(m_ownedSections, count);
    for (int i = 0; i < erased; ++i) {
        // A damaged file may hold a section twice. Erasing takes the first copy only, and
        // the note would then be written into the next one, mixed with its old keys.
        const QString section = NoteStore::sectionName(i);
        while (file.sectionExists(section))
            file.eraseSection(section);
    }
    for (int i = 0; i < count; ++i)
        NoteStore::write(file, i, notes.at(i), m_locale);
    SettingsStore::writeNumStickies(file, count);
    file.flush();
    m_ownedSections = erased;
}

#include "core/notes/DeletedNotes.h"

#include "core/base/TacknoteError.h"
#include "core/base/WallClock.h"
#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"
#include "platform/Clock.h"
#include "platform/system/DurableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString DeletedSection = QStringLiteral("General");
const QString DeletedCount = QStringLiteral("NumStickies");

// How many note sections the file holds: its count or the consecutive sections from
// Stick0, whichever is larger (a damaged count loses nothing), within limit.
int deletedSectionsIn(IniFile& file, int limit) {
    int consecutive = 0;
    while (consecutive < limit && file.sectionExists(NoteStore::sectionName(consecutive)))
        ++consecutive;
    return std::max(consecutive,
                    std::clamp(file.readInteger(DeletedSection, DeletedCount, 0), 0, limit));
}

} // namespace

DeletedNotes::DeletedNotes(const QString& path, const Clock& clock, const LocaleInfo& locale)
    : m_path(path), m_clock(clock), m_locale(locale) {}

void DeletedNotes::removeLeftovers() const {
    DurableFile::removeLeftovers(m_path);
}

QString DeletedNotes::besideNotesFile(const QString& notesFile) {
    return QFileInfo(notesFile).dir().filePath(QLatin1String(FileName));
}

QList<DeletedNotes::Entry> DeletedNotes::entries() const {
    IniFile file(m_path, IniFile::Mode::Batched);
    return read(file);
}

QList<DeletedNotes::Entry> DeletedNotes::read(IniFile& file) const {
    if (!file.readError().isEmpty())
        throw TacknoteError(QCoreApplication::translate("DeletedNotes",
                                                        "O arquivo de notas excluídas %1 não "
                                                        "pôde ser lido: %2")
                                .arg(m_path, file.readError()));
    QList<Entry> entries;
    const int count = deletedSectionsIn(file, MaxKept);
    const QDateTime now = m_clock.now();
    for (int i = 0; i < count; ++i) {
        const QDateTime deletedAt = QDateTime::fromString(
            file.readString(NoteStore::sectionName(i), QLatin1String(DeletedAtKey), QString()),
            Qt::ISODate);
        // A note without the moment it was deleted was not kept by this program.
        if (!deletedAt.isValid())
            continue;
        entries.append({NoteStore::read(file, i, m_locale, now), deletedAt});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.deletedAt > b.deletedAt; });
    return withinLimits(std::move(entries));
}

QList<DeletedNotes::Entry> DeletedNotes::withinLimits(QList<Entry> entries) const {
    const QDateTime oldest = m_clock.now().addDays(-MaxAgeDays);
    entries.removeIf([&oldest](const Entry& entry) { return entry.deletedAt < oldest; });
    if (entries.size() > MaxKept)
        entries.resize(MaxKept);
    return entries;
}

void DeletedNotes::write(IniFile& file, const QList<Entry>& entries) const {
    // Every note section goes, also those beyond what a damaged count says.
    const int old = deletedSectionsIn(file, NoteStore::MaxNotes * 10);
    for (int i = 0; i < old || file.sectionExists(NoteStore::sectionName(i)); ++i) {
        const QString section = NoteStore::sectionName(i);
        while (file.sectionExists(section))
            file.eraseSection(section);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries.at(i);
        NoteStore::write(file, int(i), entry.record, m_locale);
        file.writeString(NoteStore::sectionName(int(i)), QLatin1String(DeletedAtKey),
                         entry.deletedAt.toString(Qt::ISODate));
    }
    file.writeInteger(DeletedSection, DeletedCount, int(entries.size()));
    file.flush();
}

void DeletedNotes::keep(const NoteRecord& note) {
    IniFile file(m_path, IniFile::Mode::Batched);
    QList<Entry> entries = read(file);
    // Whole seconds: what the file keeps of the moment. The note deleted now comes first
    // even when the clock was put back since the others were deleted.
    const QDateTime now = m_clock.now();
    entries.prepend({note, now.addMSecs(-now.time().msec())});
    write(file, withinLimits(std::move(entries)));
}

void DeletedNotes::forget(const QList<Entry>& restored) {
    IniFile file(m_path, IniFile::Mode::Batched);
    QList<Entry> entries = read(file);
    for (const Entry& entry : restored) {
        if (const qsizetype at = entries.indexOf(entry); at >= 0)
            entries.removeAt(at);
    }
    write(file, entries);
}

NoteRecord DeletedNotes::restored(const Entry& entry, const QDateTime& now) {
    NoteRecord record = entry.record;
    if (record.alarm && WallClock::reached(now, record.AlarmDateTime))
        record.alarm = false;
    return record;
}

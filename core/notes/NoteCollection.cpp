#include "core/notes/NoteCollection.h"

NoteCollection::NoteCollection(QObject* parent) : QObject(parent) {}

NoteCollection::~NoteCollection() {
    for (Note*& note : m_table)
        delete std::exchange(note, nullptr);
}

Note* NoteCollection::note(int number) const {
    return number >= 0 && number < m_noteCount ? m_table[number] : nullptr;
}

QList<Note*> NoteCollection::notes() const {
    QList<Note*> live;
    for (int slot = 0; slot < m_noteCount; ++slot) {
        if (m_table[slot])
            live.append(m_table[slot]);
    }
    return live;
}

int NoteCollection::size() const {
    int count = 0;
    for (int slot = 0; slot < m_noteCount; ++slot)
        count += m_table[slot] ? 1 : 0;
    return count;
}

QList<NoteRecord> NoteCollection::records() const {
    QList<NoteRecord> records;
    for (const Note* note : notes())
        records.append(note->record());
    return records;
}

Note* NoteCollection::place(const NoteRecord& record) {
    auto* note = new Note(record, this);
    note->setNumber(m_noteCount);
    m_table[m_noteCount] = note;
    ++m_noteCount;
    connect(note, &Note::recordChanged, this, &NoteCollection::notesChanged);
    Q_EMIT noteAdded(note);
    return note;
}

Note* NoteCollection::addLoaded(const NoteRecord& record) {
    if (m_noteCount >= Capacity)
        return nullptr;
    if (m_loadPending > 0)
        --m_loadPending;
    return place(record);
}

bool NoteCollection::roomForOneMore() {
    // A note asked for while the notes load must leave the slots the load still fills.
    if (m_loading)
        return m_noteCount + m_loadPending < Capacity;
    return m_noteCount < Capacity || compact();
}

Note* NoteCollection::add(const NoteRecord& record) {
    if (!roomForOneMore())
        return nullptr;
    Note* note = place(record);
    Q_EMIT notesChanged();
    return note;
}

bool NoteCollection::compact() {
    if (m_loading || (m_renumberAllowed && !m_renumberAllowed()))
        return false;
    int next = 0;
    int lastAlarm = -1;
    for (int slot = 0; slot < m_noteCount; ++slot) {
        Note* note = std::exchange(m_table[slot], nullptr);
        if (!note)
            continue;
        if (slot == m_lastAlarmNote)
            lastAlarm = next;
        m_table[next] = note;
        note->setNumber(next);
        ++next;
    }
    m_noteCount = next;
    m_lastAlarmNote = lastAlarm;
    Q_EMIT renumbered();
    return next < Capacity;
}

void NoteCollection::remove(int number) {
    Note* note = this->note(number);
    if (!note)
        return;
    if (number == m_lastAlarmNote)
        m_lastAlarmNote = -1;
    m_table[number] = nullptr;
    note->disconnect(this);
    note->setNumber(-1);
    Q_EMIT noteRemoved(note);
    note->deleteLater();
    Q_EMIT notesChanged();
}

void NoteCollection::clear() {
    for (int slot = 0; slot < m_noteCount; ++slot) {
        if (Note* note = std::exchange(m_table[slot], nullptr)) {
            note->disconnect(this);
            note->setNumber(-1);
            Q_EMIT noteRemoved(note);
            note->deleteLater();
        }
    }
    m_noteCount = 0;
    m_lastAlarmNote = -1;
}

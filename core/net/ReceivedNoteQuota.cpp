#include "core/net/ReceivedNoteQuota.h"

#include "core/notes/NoteStore.h"

#include <algorithm>

static_assert(NoteStore::MaxNotes - ReceivedNoteQuota::ReceivedLimit >= 20,
              "the user keeps a good part of the registry for notes of their own");

namespace {
// Senders remembered before those whose burst is whole again are forgotten.
constexpr qsizetype RememberedSenders = 64;
} // namespace

ReceivedNoteQuota::Verdict ReceivedNoteQuota::admit(const QString& sender, int notesHeld,
                                                    const QDateTime& now) {
    if (notesHeld >= ReceivedLimit)
        return Verdict::DesktopFull;
    if (m_senders.size() >= RememberedSenders && !m_senders.contains(sender))
        forgetFullSenders(now);
    Credit& credit = m_senders[sender];
    if (!credit.since.isValid())
        credit.since = now;
    refill(credit, now);
    if (credit.notes <= 0)
        return Verdict::SenderOverBurst;
    if (credit.notes == Burst)
        credit.since = now; // the time to gain a note back starts with the first one spent
    --credit.notes;
    return Verdict::Accepted;
}

void ReceivedNoteQuota::refill(Credit& credit, const QDateTime& now) const {
    const qint64 seconds = credit.since.secsTo(now);
    if (seconds < 0) {
        // The clock was set back: the wait starts again from now.
        credit.since = now;
        return;
    }
    const qint64 gained = seconds / SecondsPerNote;
    if (gained <= 0)
        return;
    credit.notes = int(std::min<qint64>(Burst, credit.notes + gained));
    credit.since = credit.since.addSecs(gained * SecondsPerNote);
}

void ReceivedNoteQuota::forgetFullSenders(const QDateTime& now) {
    m_senders.removeIf([this, &now](QHash<QString, Credit>::iterator entry) {
        refill(entry.value(), now);
        return entry.value().notes >= Burst;
    });
}

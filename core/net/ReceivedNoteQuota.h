#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// Decides whether a peer's "new" may become a note, so that other computers cannot take
// the places the user needs for notes of their own. Received notes stop being taken
// while ReceivedLimit notes are on the desktop, whoever made them; and each sender may
// send a burst of Burst notes, after which it gains one more every SecondsPerNote.
class ReceivedNoteQuota {
public:
    static constexpr int ReceivedLimit = 80;
    static constexpr int Burst = 10;
    static constexpr int SecondsPerNote = 60;

    enum class Verdict {
        Accepted,
        // The desktop holds ReceivedLimit notes or more (or the registry has no room).
        DesktopFull,
        // The sender has used up its burst.
        SenderOverBurst,
    };

    // The verdict on a note from sender while notesHeld notes exist; an accepted note is
    // counted against its sender.
    Verdict admit(const QString& sender, int notesHeld, const QDateTime& now);

private:
    struct Credit {
        int notes = Burst;
        QDateTime since; // when the last note was gained back
    };
    void refill(Credit& credit, const QDateTime& now) const;
    void forgetFullSenders(const QDateTime& now);

    QHash<QString, Credit> m_senders;
};

#pragma once

#include "core/net/ReceivedNoteQuota.h"
#include "core/net/ReceivedNoteSink.h"
#include "core/notes/NoteRecord.h"

#include <QHash>
#include <QObject>
#include <functional>
#include <optional>

class Clock;
class EventSounds;
class LocaleInfo;
class MessageBoxes;
class Note;
class NoteCollection;
class ScreenAreas;
struct GeneralSettings;

// Builds the notes that arrive over the network, step by step as the receiver decodes
// them: each note is one record (with what is shown of it but not stored: the caption
// colours the peer chose, the alarm icon, the address to reply to), added to the note
// collection as a whole when its transmission ends, and announced by noteArrived() so it
// is shown in front. The receiver names a note by a number handed out here.
//
// When the receiver refuses a note, the user is told once in the run (a flood of notes
// must not become a flood of message boxes).
class ReceivedNotes final : public QObject, public ReceivedNoteSink {
    Q_OBJECT
public:
    struct Services {
        const GeneralSettings& settings;
        const Clock& clock;
        const LocaleInfo& locale;
        EventSounds& sounds;
        MessageBoxes& messages;
        const ScreenAreas& screens;
    };

    ReceivedNotes(NoteCollection& notes, const Services& services, QObject* parent = nullptr);

    // Runs before a note is begun (the stored notes are loaded first when they were not).
    void setBeforeNewNote(std::function<void()> hook) { m_beforeNewNote = std::move(hook); }

    // A note from peerAddr was refused for reason: a notice the first time in the run.
    void noteRefused(const QString& peerAddr, ReceivedNoteQuota::Verdict reason);

    int notesHeld() const override;
    int beginReceivedNote() override;
    void setCaption(int note, const QString& caption) override;
    void setNoteColor(int note, int color) override;
    void setCaptionColor(int note, int color) override;
    void setTextAreaWidth(int note, int width) override;
    void setTextAreaHeight(int note, int height) override;
    void setReplyAddress(int note, const QString& address) override;
    void setFontName(int note, const QString& name) override;
    void setFontSize(int note, int points) override;
    void setFontColor(int note, int color) override;
    void setFontBold(int note, bool bold) override;
    void setFontItalic(int note, bool italic) override;
    void showFooter(int note, const QString& text) override;
    void setAlarm(int note) override;
    void setAlarmDateTime(int note, const QDateTime& when) override;
    void setUseSound(int note, bool useSound) override;
    void setSoundFile(int note, const QString& path) override;
    void setRemember(int note, bool remember) override;
    void setRememberNo(int note, int count) override;
    void setRememberUnit(int note, int unit) override;
    void setDay(int note, int day, bool on) override;
    void showAlarmIcon(int note) override;
    void appendLine(int note, const QString& text) override;
    void endReceivedNote(int note) override;

Q_SIGNALS:
    // A received note is complete and in the collection: it is shown in front, without
    // taking the keyboard focus.
    void noteArrived(Note* note);

private:
    struct Pending {
        NoteRecord record;
        std::optional<int> captionColor;
        int captionTextColor = 0;
        bool alarmIcon = false;
        QString replyAddress;
    };
    // The note in progress; null when there is none of that number.
    Pending* pending(int note);
    template <typename Edit> void editRecord(int note, Edit edit) {
        if (Pending* target = pending(note))
            edit(target->record);
    }
    // A size a peer sent, kept to what the screens here can show, at the note's place and
    // inside its screen.
    void resize(Pending& target, qint64 width, qint64 height);

    NoteCollection& m_notes;
    Services m_services;
    std::function<void()> m_beforeNewNote;
    bool m_refusalTold = false;
    QHash<int, Pending> m_pending;
    int m_nextNote = 0;
};

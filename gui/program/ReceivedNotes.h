#pragma once

#include "core/net/ReceivedNoteQuota.h"
#include "core/net/ReceivedNoteSink.h"

#include <QHash>
#include <QPointer>

class MessageBoxes;
class NoteRegistry;
class TfPostIt;
struct NoteRecord;

// Builds the notes that arrive over the network, step by step as the receiver decodes
// them, as windows of the note registry. The receiver names a note by a number handed
// out here; it stays bound to its window when the registry renumbers its slots, and
// steps for a note the user deleted meanwhile do nothing.
//
// When the receiver refuses a note, the user is told once in the run (a flood of notes
// must not become a flood of message boxes).
class ReceivedNotes final : public ReceivedNoteSink {
public:
    ReceivedNotes(NoteRegistry& registry, MessageBoxes& messages);

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

private:
    // The window of a note in progress; null once it was deleted.
    TfPostIt* window(int note) const;
    // Moves a note that a peer's size pushed over the edge of its screen back inside.
    static void keepOnItsScreen(TfPostIt* target);
    // Changes the values the note's record holds through edit.
    template <typename Edit> void editRecord(int note, Edit edit);

    NoteRegistry& m_registry;
    MessageBoxes& m_messages;
    bool m_refusalTold = false;
    QHash<int, QPointer<TfPostIt>> m_notes;
    int m_nextNote = 0;
};

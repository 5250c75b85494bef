#pragma once

#include "net/ReceivedNoteSink.h"

#include <QHash>
#include <QPointer>

class NoteRegistry;
class TfPostIt;
struct NoteRecord;

// Builds the notes that arrive over the network, step by step as the receiver decodes
// them, as windows of the note registry. The receiver names a note by a number handed
// out here; it stays bound to its window when the registry renumbers its slots, and
// steps for a note the user deleted meanwhile do nothing.
class ReceivedNotes final : public ReceivedNoteSink {
public:
    explicit ReceivedNotes(NoteRegistry& registry);

    int beginReceivedNote() override;
    void setCaption(int note, const QString& caption) override;
    void setNoteColor(int note, int color) override;
    void setCaptionColor(int note, int color) override;
    void setWindowWidth(int note, int width) override;
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
    QHash<int, QPointer<TfPostIt>> m_notes;
    int m_nextNote = 0;
};

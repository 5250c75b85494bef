#pragma once

#include "core/net/ReceivedNoteSink.h"

#include <QList>
#include <QString>

// A note registry for one connection that checks what the receiver asks of it: every
// step names the note in progress (the last one created, not yet ended), a note is
// ended before the next one is created, a day is one of the seven, an alarm time is
// valid, a sound file is an absolute path, and the text of a note never holds a lone CR
// or LF nor grows beyond what the notes file can store.
class CheckingNoteSink final : public ReceivedNoteSink {
public:
    explicit CheckingNoteSink(int capacity) : m_capacity(capacity) {}

    int created() const { return int(m_texts.size()); }
    // Every note created has been ended.
    bool allEnded() const { return created() == 0 || m_ended; }

    int notesHeld() const override { return created(); }
    int beginReceivedNote() override;
    void setCaption(int note, const QString&) override { check(note); }
    void setNoteColor(int note, int) override { check(note); }
    void setCaptionColor(int note, int) override { check(note); }
    void setTextAreaWidth(int note, int) override { check(note); }
    void setTextAreaHeight(int note, int) override { check(note); }
    void setReplyAddress(int note, const QString&) override { check(note); }
    void setFontName(int note, const QString&) override { check(note); }
    void setFontSize(int note, int) override { check(note); }
    void setFontColor(int note, int) override { check(note); }
    void setFontBold(int note, bool) override { check(note); }
    void setFontItalic(int note, bool) override { check(note); }
    void showFooter(int note, const QString&) override { check(note); }
    void setAlarm(int note) override { check(note); }
    void setAlarmDateTime(int note, const QDateTime& when) override;
    void setUseSound(int note, bool) override { check(note); }
    void setSoundFile(int note, const QString& path) override;
    void setRemember(int note, bool) override { check(note); }
    void setRememberNo(int note, int) override { check(note); }
    void setRememberUnit(int note, int) override { check(note); }
    void setDay(int note, int day, bool) override;
    void showAlarmIcon(int note) override { check(note); }
    void appendLine(int note, const QString& text) override;
    void endReceivedNote(int note) override;

private:
    void check(int note) const;

    int m_capacity;
    QList<QString> m_texts; // the text of every note created, as its text area holds it
    qsizetype m_lines = 0;  // lines of the last note created
    bool m_ended = false;   // the last note created has been ended
};

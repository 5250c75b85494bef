#pragma once

#include "core/net/ReceivedNoteSink.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <array>
#include <functional>

// One received note as the registry would hold it.
struct RecordedNote {
    QString caption;
    int color = -1;
    int captionColor = -1;
    int width = -1;
    int textHeight = -1;
    QString replyAddress;
    QString fontName;
    int fontSize = -1;
    int fontColor = -1;
    bool bold = false;
    bool italic = false;
    QString footer;
    bool alarm = false;
    QDateTime alarmTime;
    bool useSound = false;
    QString soundFile;
    bool remember = false;
    int rememberNo = -1;
    int rememberUnit = -1;
    std::array<bool, 7> days{};
    bool alarmIcon = false;
    QStringList lines;
    bool ended = false;

    // The note's text as its text area would hold it.
    QString text() const { return lines.join(QStringLiteral("\r\n")); }
};

// A registry that records what the receiver asks of it: the notes as they are built and
// the names of the calls in their order, each with the value stamp() had then. It takes
// at most `capacity` notes.
class RecordingNoteSink final : public ReceivedNoteSink {
public:
    QList<RecordedNote> notes;
    QStringList calls;
    QList<int> callStamps;
    std::function<int()> stamp = [] { return 0; };
    int capacity = 101;

    int notesHeld() const override { return int(notes.size()); }
    int beginReceivedNote() override {
        record("begin");
        if (notes.size() >= capacity)
            return -1;
        notes.append(RecordedNote());
        return int(notes.size() - 1);
    }
    void setCaption(int n, const QString& v) override { at(n, "caption").caption = v; }
    void setNoteColor(int n, int v) override { at(n, "color").color = v; }
    void setCaptionColor(int n, int v) override { at(n, "captionColor").captionColor = v; }
    void setTextAreaWidth(int n, int v) override { at(n, "width").width = v; }
    void setTextAreaHeight(int n, int v) override { at(n, "height").textHeight = v; }
    void setReplyAddress(int n, const QString& v) override { at(n, "reply").replyAddress = v; }
    void setFontName(int n, const QString& v) override { at(n, "fontName").fontName = v; }
    void setFontSize(int n, int v) override { at(n, "fontSize").fontSize = v; }
    void setFontColor(int n, int v) override { at(n, "fontColor").fontColor = v; }
    void setFontBold(int n, bool v) override {
        RecordedNote& note = at(n, "bold");
        note.bold = v;
        note.italic = false;
    }
    void setFontItalic(int n, bool v) override { at(n, "italic").italic = v; }
    void showFooter(int n, const QString& v) override { at(n, "footer").footer = v; }
    void setAlarm(int n) override { at(n, "alarm").alarm = true; }
    void setAlarmDateTime(int n, const QDateTime& v) override { at(n, "alarmTime").alarmTime = v; }
    void setUseSound(int n, bool v) override { at(n, "useSound").useSound = v; }
    void setSoundFile(int n, const QString& v) override { at(n, "soundFile").soundFile = v; }
    void setRemember(int n, bool v) override { at(n, "remember").remember = v; }
    void setRememberNo(int n, int v) override { at(n, "rememberNo").rememberNo = v; }
    void setRememberUnit(int n, int v) override { at(n, "rememberUnit").rememberUnit = v; }
    void setDay(int n, int day, bool v) override { at(n, "day").days.at(size_t(day)) = v; }
    void showAlarmIcon(int n) override { at(n, "alarmIcon").alarmIcon = true; }
    void appendLine(int n, const QString& v) override { at(n, "line").lines.append(v); }
    void endReceivedNote(int n) override { at(n, "end").ended = true; }

private:
    void record(const char* call) {
        calls << QString::fromLatin1(call);
        callStamps << stamp();
    }
    RecordedNote& at(int n, const char* call) {
        record(call);
        return notes[n];
    }
};

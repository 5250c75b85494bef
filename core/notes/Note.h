#pragma once

#include "core/base/NoteFont.h"
#include "core/notes/NoteRecord.h"

#include <QObject>
#include <QRect>
#include <optional>

// One note of the program: the record the notes file keeps, and what is shown of the note
// without being stored (the caption bar's colours a peer chose, the alarm icons, the
// address a received note came from). Its window renders it and reports the user's edits
// back; everything else (alarms, received notes, saving) reads and changes the note here.
//
// recordChanged() follows every change of the record, displayChanged() every change of the
// rest; a change that changes nothing announces nothing.
class Note : public QObject {
    Q_OBJECT
public:
    explicit Note(const NoteRecord& record = {}, QObject* parent = nullptr);

    // The note's number: its slot in the note collection; -1 outside one.
    int number() const { return m_number; }
    void setNumber(int number) { m_number = number; }

    const NoteRecord& record() const { return m_record; }
    // Replaces the whole record, as a load or the configuration dialog does: the caption
    // bar's colours and the alarm-set icon follow the record again.
    void setRecord(const NoteRecord& record);
    // Changes values of the record; what is shown otherwise stays.
    void update(const NoteRecord& record);
    template <typename Edit> void edit(Edit change) {
        NoteRecord changed = m_record;
        change(changed);
        update(changed);
    }

    // The text with its lines separated by CR LF, within what the notes file can hold.
    void setText(const QString& text);
    void setCaption(const QString& caption);
    void setVisible(bool visible);
    void setTopmost(bool on);
    void setBounds(const QRect& bounds);
    QRect bounds() const;
    NoteFont font() const;
    void setFont(const NoteFont& font);
    void setAlarm(bool on);
    void setAlarmDateTime(const QDateTime& when);

    // The caption bar's colour: the note's colour or its darker shade, unless a peer chose
    // another one for a received note.
    int captionColor() const;
    void setCaptionColor(int color);
    // The caption's text colour: the font's colour unless the program set another.
    int captionTextColor() const;
    void setCaptionTextColor(int color);
    // The alarm-set icon, and the ringing icon of an alarm the user has not acknowledged.
    bool alarmIconShown() const { return m_alarmIconShown; }
    void setAlarmIconShown(bool on);
    bool ringing() const { return m_ringing; }
    void setRinging(bool on);
    // Address of the computer a received note came from; never stored in the file.
    QString replyAddress() const { return m_replyAddress; }
    void setReplyAddress(const QString& address) { m_replyAddress = address; }

Q_SIGNALS:
    void recordChanged();
    void displayChanged();

private:
    NoteRecord m_record;
    int m_number = -1;
    std::optional<int> m_captionColor;
    std::optional<int> m_captionTextColor;
    bool m_alarmIconShown = false;
    bool m_ringing = false;
    QString m_replyAddress;
};

#pragma once

#include <QDateTime>
#include <QString>

// What the note receiver asks of the note registry: it creates a received note and
// fills it step by step, naming it by its note number. The steps come in the order of
// the protocol, and a faulty field ends a command half way, so a note may be left with
// only the first steps done; each step must stand on its own. A note the user has
// deleted in the meantime may still be named: such calls do nothing.
class ReceivedNoteSink {
public:
    virtual ~ReceivedNoteSink() = default;

    // The notes on the desktop now, whoever made them.
    virtual int notesHeld() const = 0;

    // Creates a note in the received-note variant (red, 340 x 120, centred, white bold
    // Courier New 8, visible, the received-note sound) and answers its number, or -1
    // when the registry has no room left.
    virtual int beginReceivedNote() = 0;

    // ---- The steps of a "new" command, in this order.
    virtual void setCaption(int note, const QString& caption) = 0;
    // Colour of the text area and of the window, 0x00BBGGRR.
    virtual void setNoteColor(int note, int color) = 0;
    // Colour of the caption bar.
    virtual void setCaptionColor(int note, int color) = 0;
    // The size of the sender's text area: the window is made large enough for a text
    // area of that size beside the caption bar and the footer, so a note sent on and
    // back keeps its size.
    virtual void setTextAreaWidth(int note, int width) = 0;
    virtual void setTextAreaHeight(int note, int height) = 0;
    // The address a reply goes to: the peer's numeric address.
    virtual void setReplyAddress(int note, const QString& address) = 0;
    virtual void setFontName(int note, const QString& name) = 0;
    virtual void setFontSize(int note, int points) = 0;
    virtual void setFontColor(int note, int color) = 0;
    // Clears the font style, then adds bold when asked.
    virtual void setFontBold(int note, bool bold) = 0;
    // Adds italic when asked (bold, if set, stays).
    virtual void setFontItalic(int note, bool italic) = 0;
    // Footer text (plain text) into the footer label; the footer panel then goes to the
    // bottom of the window (left 0, width client width - 2, top client height - its
    // height - 2), coloured like the text area, and is shown.
    virtual void showFooter(int note, const QString& text) = 0;

    // ---- The steps of an "alarm" command, in this order.
    virtual void setAlarm(int note) = 0; // the alarm is on
    virtual void setAlarmDateTime(int note, const QDateTime& when) = 0;
    virtual void setUseSound(int note, bool useSound) = 0;
    // Only after setUseSound(true); always a readable regular file, or the default sound.
    virtual void setSoundFile(int note, const QString& path) = 0;
    virtual void setRemember(int note, bool remember) = 0;
    // Only after setRemember(true).
    virtual void setRememberNo(int note, int count) = 0;
    virtual void setRememberUnit(int note, int unit) = 0;
    // Dia1 ... Dia7: day 0 is Sunday.
    virtual void setDay(int note, int day, bool on) = 0;
    // The alarm-set icon shows; last step of a complete "alarm".
    virtual void showAlarmIcon(int note) = 0;

    // A "line" command: text (plain text; it may hold CR LF, which makes further lines)
    // goes in as a new last line of the note's text.
    virtual void appendLine(int note, const QString& text) = 0;

    // An "end" command: the text shows from its start, the text area takes the height
    // of the window's client area minus the caption bar, the footer and 5 pixels, and
    // the window is shown and brought to the front.
    virtual void endReceivedNote(int note) = 0;
};

#pragma once

#include "core/base/NoteFont.h"
#include "core/notes/Note.h"
#include "core/notes/NoteGeometry.h"
#include "core/notes/NotePlacement.h"
#include "core/notes/NoteRecord.h"

#include <QDateTime>
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>

class NoteCaptionBar;
class NoteEdit;
class NoteFooter;
class NoteHost;
class NoteMouse;
class NotePopupMenu;
class QLabel;
class WindowSystemHints;

// One note on the desktop: a frameless, coloured top-level tool window with a caption
// bar, a text area and, for received notes, a footer. Colours are Windows colour values
// 0x00BBGGRR.
//
// The window is a view of a Note: it shows the note's record and what the note says is
// shown (caption colours, alarm icons), follows every change of the note, and hands what
// the user does (typing, moving, resizing, hiding, the menu's settings) to the note. Its
// setters change the note, which the window then shows.
class TfPostIt : public QWidget {
    Q_OBJECT
public:
    // host gives the settings and dialogs the note's commands need; without one those
    // commands do nothing. hints, when given, keeps the note out of the desktop's task
    // bar.
    explicit TfPostIt(Note& note, NoteHost* host = nullptr, WindowSystemHints* hints = nullptr,
                      QWidget* parent = nullptr);
    ~TfPostIt() override;

    // The note number (the slot in the note registry) and where the note posts its
    // messages (the main window).
    int Tag = -1;
    QObject* messageTarget = nullptr;

    // The note the window shows.
    Note& model() const { return m_note; }
    // The note as the notes file stores it.
    NoteRecord toRecord() const { return m_note.record(); }
    // Replaces the note's whole record (Note::setRecord); the window shows it: the caption
    // bar takes the colour or its darker shade, the caption's text the font's colour.
    void applyRecord(const NoteRecord& record) { m_note.setRecord(record); }

    QString caption() const;
    void setCaption(const QString& caption) { m_note.setCaption(caption); }
    QString note() const; // lines separated by CR LF
    // Takes every kind of line break as a line break; text beyond what the notes file
    // can hold is left out.
    void setNote(const QString& text) { m_note.setText(text); }
    int Color() const { return data().Color; }
    // Sets the note's colour, the window's and the text area's colour.
    void setColor(int color) {
        m_note.edit([color](NoteRecord& r) { r.Color = color; });
    }
    int captionColor() const;
    void setCaptionColor(int color) { m_note.setCaptionColor(color); }
    int captionTextColor() const;
    void setCaptionTextColor(int color) { m_note.setCaptionTextColor(color); }
    bool scrollbar() const { return data().scrollbar; }
    void setScrollbar(bool on) {
        m_note.edit([on](NoteRecord& r) { r.scrollbar = on; });
    }
    QString footer() const;
    // Sets the footer text; the footer shows exactly when the text is not empty.
    void setFooter(const QString& text) {
        m_note.edit([&text](NoteRecord& r) { r.footer = text; });
    }
    bool footerVisible() const;
    NoteFont memoFont() const { return m_note.font(); }
    void setMemoFont(const NoteFont& font) { m_note.setFont(font); }
    bool topmost() const { return data().topmost; }
    // Moves the window into or out of the topmost band, keeping position and size.
    void setTopmost(bool on) { m_note.setTopmost(on); }
    // Outer position and size in screen pixels. The size stays within the minimum and
    // what the largest screen can show (NoteGeometry).
    void setBounds(int posx, int posy, int width, int height);
    QRect bounds() const { return geometry(); }
    // Shows the note at place because its own place is on no screen now (a monitor was
    // unplugged). The own place is what the note keeps and what the file stores until
    // the user moves or resizes the note.
    void showAwayFromStoredPlace(const QPoint& place);
    // The note's own place while it is shown away from it; nothing otherwise, and
    // nothing once the user has moved or resized it.
    std::optional<QRect> storedPlace() const;
    // The place and size the notes file keeps for the note.
    QRect recordedBounds() const;

    // The alarm.
    bool alarm() const { return data().alarm; }
    void setAlarm(bool on) { m_note.setAlarm(on); }
    QDateTime AlarmDateTime() const { return data().AlarmDateTime; }
    void setAlarmDateTime(const QDateTime& when) { m_note.setAlarmDateTime(when); }
    bool UseSound() const { return data().UseSound; }
    QString SoundFile() const { return data().SoundFile; }
    std::array<bool, 7> weekdays() const { return data().weekdays; } // Dia1 (Sunday) first
    bool Remember() const { return data().Remember; }
    int RememberNo() const { return data().RememberNo; }
    int RememberUnit() const { return data().RememberUnit; }
    bool DarkCaption() const { return data().DarkCaption; }
    int TrackPosition() const { return data().TrackPosition; }

    // The alarm-set icon imgAlarme.
    void setAlarmIconVisible(bool on) { m_note.setAlarmIconShown(on); }
    bool alarmIconVisible() const;
    // The alarm-ringing icon imgAlarmeOn.
    void setRingingIconVisible(bool on) { m_note.setRinging(on); }
    bool ringingIconVisible() const;

    // Address of the computer a received note came from; never stored in the file.
    QString replyAddress() const { return m_note.replyAddress(); }
    void setReplyAddress(const QString& address) { m_note.setReplyAddress(address); }

    // The text as the text area shows it: one line per displayed line, so a paragraph
    // the text area wraps gives several lines. No line for an empty text.
    QStringList displayedLines() const;
    // Moves the text area's caret to the start and shows the text from there.
    void scrollToStart();
    // Adds text as a new last line (the first line of an empty text); what goes beyond
    // the notes file's limit is left out.
    void appendLine(const QString& text);
    // The height of the footer panel, shown or not.
    int footerHeight() const;
    // The size of the text area (not of the window).
    QSize textAreaSize() const;
    // The window's width and height beyond its text area's: the margin, and the caption
    // bar and the footer when it is shown.
    static constexpr int TextAreaMargin = NoteGeometry::TextAreaMargin;

    // FormResize: lays out the text area and the footer for the current size.
    void FormResize();
    // The mouse entered the caption label: shows the full caption as the window's
    // tooltip when the label is wider than the window minus 40 pixels, else none.
    void lblCaptionMouseEnter();
    // Sets every text of the window in the interface language.
    void retranslate();

    // The note's commands: its popup menu, its buttons and its alarm icons.
    // Prepares the popup menu each time it opens.
    void popPrincipalPopup();
    void mnuURLClick();
    void mnuConfigurarClick();
    void mnuMudaCaptionClick();
    // Alarm command and double click on either alarm icon.
    void imgAlarmeDblClick();
    void mnuOnTopClick();
    void mnuCopiarClick();
    void mnuColarClick();
    void EnviarpelaRede1Click();
    void mnuResponderClick();
    void EMail1Click();
    void mnuImprimirClick();
    // Delete ("X" and "&Apagar Nota..."): asks the main window to delete the note.
    void ApagarSticky();
    // Hide ("-"): acknowledges a ringing alarm, then hides the window.
    void cmdEsconderClick();
    // The acknowledgements of a ringing alarm.
    void imgAlarmeOnClick();
    void memPostitClick();
    void lblCaptionClick();

    NotePopupMenu* popPrincipal = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    const NoteRecord& data() const { return m_note.record(); }
    // Shows what changed in the note since the last time.
    void render();
    // Hands the window's place and size, as the user left them, to the note.
    void reportBounds();
    void reportVisibility();
    void applyBounds(const QRect& bounds);
    void applyTopmost(bool on);
    void applyMemoFont();
    void createMenu();
    void postToMain(int type, int noteNumber);

    Note& m_note;
    NoteHost* m_host = nullptr;
    WindowSystemHints* m_hints = nullptr;
    NoteMouse* m_mouse = nullptr;
    // What the window shows of the note's record, to show only what changed.
    NoteRecord m_shown;
    // While the window shows the note, its own events report nothing back.
    bool m_rendering = false;
    NotePlacement m_placement;
    bool m_constructed = false;
    // The toolkit replaces the native window at its next mapping (stay on top changed).
    bool m_nativeWindowReplaced = false;

    NoteCaptionBar* pnlCaption = nullptr;
    NoteEdit* memPostit = nullptr;
    NoteFooter* pnlRodape = nullptr;
    QLabel* lblRodape = nullptr;
};

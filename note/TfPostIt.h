#pragma once

#include "note/NoteHitTest.h"
#include "store/NoteRecord.h"
#include "store/TNoteFont.h"

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>

class NoteHost;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// One note on the desktop: a frameless, coloured top-level tool window with a caption
// bar, a text area and, for received notes, a footer. Its data fields are named after
// the keys of the notes file; colours are Windows colour values 0x00BBGGRR.
class TfPostIt : public QWidget {
    Q_OBJECT
public:
    // host gives the settings and dialogs the note's commands need; without one those
    // commands do nothing.
    explicit TfPostIt(NoteHost* host = nullptr, QWidget* parent = nullptr);
    ~TfPostIt() override;

    // The note number (the slot in the note registry) and where the note posts its
    // messages (the main window).
    int Tag = -1;
    QObject* messageTarget = nullptr;

    // Plain fields: zero in a new window.
    bool alarm = false;
    bool UseSound = false;
    QString SoundFile;
    std::array<bool, 7> Dia{}; // Dia1 (Sunday) ... Dia7 (Saturday)
    bool Remember = false;
    int RememberNo = 0;
    int RememberUnit = 0;
    bool DarkCaption = false;
    int TrackPosition = 0;
    // Address of the computer a received note came from; never stored in the file.
    QString replyAddress;

    // Values held by the window's components.
    QString caption() const;
    void setCaption(const QString& caption);
    QString note() const; // lines separated by CR LF
    void setNote(const QString& text);
    int Color() const; // the note's colour field
    // Sets the note's colour field, the window's and the text area's colour.
    void setColor(int color);
    int captionColor() const;
    void setCaptionColor(int color);
    int captionTextColor() const;
    void setCaptionTextColor(int color);
    bool scrollbar() const;
    void setScrollbar(bool on);
    QString Rodape() const;
    // Sets the footer text; the footer shows exactly when the text is not empty.
    void setRodape(const QString& text);
    bool footerVisible() const;
    TNoteFont memoFont() const;
    void setMemoFont(const TNoteFont& font);
    QDateTime AlarmDateTime() const;
    void setAlarmDateTime(const QDateTime& when);
    bool topmost() const;
    // Moves the window into or out of the topmost band, keeping position and size.
    void setTopmost(bool on);
    // The alarm-set icon imgAlarme.
    void setAlarmIconVisible(bool on);
    bool alarmIconVisible() const;
    // The alarm-ringing icon imgAlarmeOn.
    void setRingingIconVisible(bool on);
    bool ringingIconVisible() const;
    // Outer position and size in screen pixels.
    void setBounds(int posx, int posy, int width, int height);
    QRect bounds() const;

    // The note as the notes file stores it.
    NoteRecord toRecord() const;

    // FormResize: lays out the text area and the footer for the current size.
    void FormResize();
    // The mouse entered the caption label: shows the full caption as the window's
    // tooltip when the label is wider than the window minus 40 pixels, else none.
    void lblCaptionMouseEnter();

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

    QMenu* popPrincipal = nullptr;
    QAction* mnuURL = nullptr;
    QAction* sepURL = nullptr;
    QAction* mnuConfigurar = nullptr;
    QAction* mnuMudaCaption = nullptr;
    QAction* mnuAlarme = nullptr;
    QAction* mnuOnTop = nullptr;
    QAction* mnuCopiar = nullptr;
    QAction* mnuColar = nullptr;
    QMenu* mnuEnviar = nullptr;
    QAction* EnviarpelaRede1 = nullptr;
    QAction* mnuResponder = nullptr;
    QAction* EMail1 = nullptr;
    QAction* mnuImprimir = nullptr;
    QAction* Sair1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Press on the caption bar, the caption label or the footer: a left press moves.
    bool pnlCaptionMouseDown(QMouseEvent* event);
    // Starts the window system's move (Caption) or resize loop, or drags by hand where
    // the window system offers none.
    void beginMoveOrResize(NoteHitTest::Zone zone, const QPoint& globalPos);
    void dragTo(const QPoint& globalPos);
    void placeCaptionParts();
    void applyMemoFont();
    void createMenu();
    // The selected text of the text area, its line breaks as CR LF.
    QString selectedText() const;
    void postToMain(int type, int noteNumber);
    bool isMenuShortcut(QKeyEvent* event) const;

    NoteHost* m_host = nullptr;
    // Where the program placed the window, until the user moves it.
    std::optional<QPoint> m_placedAt;
    int m_placeCorrections = 0;

    QWidget* pnlCaption = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* imgAlarme = nullptr;
    QLabel* imgAlarmeOn = nullptr;
    QLabel* lblCaption = nullptr;
    QPushButton* cmdEsconder = nullptr;
    QPushButton* cmdApagarPostit = nullptr;
    QPlainTextEdit* memPostit = nullptr;
    QWidget* pnlRodape = nullptr;
    QLabel* lblRodape = nullptr;

    int m_color = 0;
    TNoteFont m_font;
    QDateTime m_alarmDateTime; // the hidden date-time control of the alarm
    bool m_topmost = false;
    bool m_scrollbar = false;

    // Dragging by hand when the window system cannot move or resize the window itself.
    NoteHitTest::Zone m_dragZone = NoteHitTest::Client;
    QPoint m_dragStart;
    QRect m_dragStartGeometry;
};

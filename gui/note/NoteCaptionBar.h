#pragma once

#include "core/notes/NoteGeometry.h"

#include <QWidget>

class Note;
class QLabel;
class QPushButton;

// A note's caption bar `pnlCaption`: the icon panel `Panel1` with the alarm-set and
// alarm-ringing icons at the left, the caption label, and the hide and delete buttons at
// the right. The note window handles the presses; the bar lays its parts out. A caption
// longer than the room between the icon panel and the buttons ends in an ellipsis.
class NoteCaptionBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarHeight = NoteGeometry::CaptionBarHeight;

    explicit NoteCaptionBar(QWidget* parent);

    // Shows the note's caption, its caption bar's colours and its alarm icons.
    void showNote(const Note& note);
    QString caption() const;
    void setCaption(const QString& caption);
    int barColor() const;
    void setBarColor(int color);
    int textColor() const;
    void setTextColor(int color);

    void setAlarmIconVisible(bool on);
    bool alarmIconVisible() const;
    void setRingingIconVisible(bool on);
    bool ringingIconVisible() const;
    // The caption label, sized to the whole caption, is wider than width.
    bool captionWiderThan(int width) const;

    // Places the parts for the bar's width: icons left, caption after the icon panel,
    // buttons right and above the caption.
    void placeParts(int width);
    void retranslate();

    QLabel* captionLabel() const { return lblCaption; }
    QLabel* alarmIcon() const { return imgAlarme; }
    QLabel* ringingIcon() const { return imgAlarmeOn; }
    QWidget* iconPanel() const { return Panel1; }

Q_SIGNALS:
    void hideClicked();
    void deleteClicked();

private:
    QWidget* Panel1 = nullptr;
    QLabel* imgAlarme = nullptr;
    QLabel* imgAlarmeOn = nullptr;
    QLabel* lblCaption = nullptr;
    QPushButton* cmdEsconder = nullptr;
    QPushButton* cmdApagarPostit = nullptr;
    QString m_caption;
    // Width of the caption label sized to the whole caption.
    int m_captionWidth = 0;
};

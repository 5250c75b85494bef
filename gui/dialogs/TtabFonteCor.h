#pragma once

#include "core/base/NoteFont.h"

#include <QWidget>

class Clock;
class CommonDialogs;
class LocaleInfo;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;

// Page "Aparência" of the configuration dialog: a preview of a note with its caption
// bar, the note colour and font, the scroll bar, and the caption bar's colour and text.
// The preview's colour and font are also where the colour and font dialogs open: at
// first the values primed, afterwards the last ones chosen. Colours are 0x00BBGGRR.
class TtabFonteCor : public QWidget {
    Q_OBJECT
public:
    TtabFonteCor(CommonDialogs& dialogs, const Clock& clock, const LocaleInfo& locale,
                 QWidget* parent = nullptr);

    // The preview note: background colour and font (its colour included).
    int previewColor() const;
    void setPreviewColor(int color);
    NoteFont previewFont() const { return m_font; }
    void setPreviewFont(const NoteFont& font);
    // The preview caption bar: its colour, text and text colour.
    int captionColor() const;
    void setCaptionColor(int color);
    QString captionText() const;
    int captionTextColor() const;
    void setCaptionTextColor(int color);

    // Control rules.
    void cmdCordeFundoClick();
    void cmdFonteClick();
    void chkScrollClick();
    void chkCorCaptionClick();
    void TrackBar1Change();
    // The same rule for chkDataCaption and chkHoraCaption: the caption preview shows
    // today's date and a blank, then the current time, as the boxes say.
    void chkDataHoraCaptionClick();

    QGroupBox* GroupBox1 = nullptr;
    QFrame* pnlExemplo = nullptr;
    QLabel* pnlExemploCaption = nullptr;
    QScrollBar* scbExemplo = nullptr;
    QPushButton* cmdCordeFundo = nullptr;
    QPushButton* cmdFonte = nullptr;
    QCheckBox* chkScroll = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QCheckBox* chkCorCaption = nullptr;
    QSlider* TrackBar1 = nullptr;
    QCheckBox* chkDataCaption = nullptr;
    QCheckBox* chkHoraCaption = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    CommonDialogs& m_dialogs;
    const Clock& m_clock;
    const LocaleInfo& m_locale;

    QLabel* m_exampleText = nullptr; // the preview panel's own caption
    NoteFont m_font;
};

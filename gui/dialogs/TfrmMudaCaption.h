#pragma once

#include <QDialog>
#include <QString>

class Clock;
class LocaleInfo;
class QLabel;
class QLineEdit;
class QPushButton;
struct GeneralSettings;

// The note title dialog "Muda Título": the user retypes a note's title or takes the
// default title of a new note (date and time, as the settings ShowDate and ShowTime
// say). Created once and reused; each showing resets only the OK button.
class TfrmMudaCaption : public QDialog {
    Q_OBJECT
public:
    // At most this many characters can be typed into the title field.
    static constexpr int MaxCaptionLength = 50;

    // The settings are read at each press of "&Padrão", so later changes apply.
    TfrmMudaCaption(const Clock& clock, const LocaleInfo& locale, const GeneralSettings& recGeral,
                    QWidget* parent = nullptr);

    // Puts the caption into the field and shows the dialog modally. On OK the caption
    // takes the field's text and true comes back; otherwise the caption is unchanged.
    bool edit(QString& caption);

    // Sets the field's text. Text set this way is never cut to the typing limit.
    void setCaptionText(const QString& text);

    // FormShow: OK starts enabled, even for an empty title.
    void FormShow();
    // After every change of the field OK is enabled exactly when the field is not empty.
    void txtCaptionNotaChange();
    // Fills in the default title: the date and a blank replace the field when ShowDate
    // is on, then the time is appended when ShowTime is on.
    void cmdPadraoClick();

    QLabel* Label1 = nullptr;
    QLineEdit* txtCaptionNota = nullptr;
    QPushButton* cmdPadrao = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancelar = nullptr;

    // Sets every text of the dialog in the interface language.
    void retranslate();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const Clock& m_clock;
    const LocaleInfo& m_locale;
    const GeneralSettings& m_recGeral;
};

#pragma once

#include "core/notes/NoteRecord.h"

#include <QDateTime>
#include <QWidget>
#include <array>
#include <optional>

class CommonDialogs;
class LocaleInfo;
class MessageBoxes;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimeEdit;
class SoundPlayer;
class UpDown;

// Page "Alarmes" of the configuration dialog: one note's alarm, its reminder interval
// and weekdays, and its sound. Usable in note mode only; the test button works in both.
class TtabAlarme : public QWidget {
    Q_OBJECT
public:
    // The reminder interval the field may hold.
    static constexpr int MinRememberNo = 1;
    static constexpr int MaxRememberNo = 999;

    TtabAlarme(MessageBoxes& messages, CommonDialogs& dialogs, SoundPlayer& sound,
               const LocaleInfo& locale, QWidget* parent = nullptr);

    // Note mode: the unit list refilled with the first unit chosen, and the weekday list
    // refilled unchecked. The weekday list starts on Sunday, so that item i stands for
    // weekdays(i+1).
    void fillNoteLists();
    // Note mode: the controls enabled and set from the note's alarm; a note without
    // alarm is offered one five minutes after now, on every weekday, without sound.
    void primeFromNote(const NoteRecord& note, const QDateTime& now);
    // Preferences mode: the alarm off and every control of the page disabled.
    void disableForPreferences();

    // The date of one picker joined with the time of the other.
    QDateTime joinedDateTime() const;
    // The check of weekday item i, for i = 0..6.
    std::array<bool, 7> weekdays() const;
    // The whole number in txtCada when it lies within 1..999.
    std::optional<int> rememberNo() const;
    // Writes the alarm fields into note as OK does in note mode: every field when the
    // alarm is enabled (the caller has checked the interval), else only alarm := false.
    void applyTo(NoteRecord& note) const;

    // Control rules: the date, the time, the sound and its buttons and the reminder box
    // are usable while the alarm is enabled; the reminder's interval, unit and weekdays
    // while the reminder is checked too; the sound file while the sound is on.
    void chkHabAlarmeClick();
    void chkRemarcaClick();
    void chkTocaSomClick();
    void cmdProcurarClick();
    void cmdTestarClick();

    QCheckBox* chkHabAlarme = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* dtmDataAlarme = nullptr;
    QLabel* Label4 = nullptr;
    QTimeEdit* dtmHoraAlarme = nullptr;
    QCheckBox* chkRemarca = nullptr;
    QLineEdit* txtCada = nullptr;
    UpDown* updCada = nullptr;
    QComboBox* cboUnidade = nullptr;
    QLabel* Label12 = nullptr;
    QListWidget* chkDiasDaSemana = nullptr;
    QFrame* Bevel1 = nullptr;
    QCheckBox* chkTocaSom = nullptr;
    QLineEdit* fleSom = nullptr;
    QPushButton* cmdProcurar = nullptr;
    QPushButton* cmdTestar = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    // The unit names in the number of the count in txtCada.
    void retextUnits();
    void fillUnits();
    void fillWeekdays();

    MessageBoxes& m_messages;
    CommonDialogs& m_dialogs;
    SoundPlayer& m_sound;
    const LocaleInfo& m_locale;
};

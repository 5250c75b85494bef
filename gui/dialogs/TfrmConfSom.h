#pragma once

#include <QDialog>
#include <QString>

class CommonDialogs;
class MessageBoxes;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SoundPlayer;

// "Configurar Som": chooses the sound file of one note event, or no sound. The caller
// names the event in the caption of rgpEvento and puts the current path into fleWave
// before showing it, and takes fleWave's text back after OK.
class TfrmConfSom : public QDialog {
    Q_OBJECT
public:
    TfrmConfSom(MessageBoxes& messages, CommonDialogs& dialogs, const SoundPlayer& sound,
                QWidget* parent = nullptr);

    // Shows the dialog for one event and its path; true and path changed on OK ("Sem
    // Som" makes it empty), false and path unchanged otherwise.
    bool edit(const QString& eventCaption, QString& path);

    // FormShow: "Sem Som" with a disabled field when the path is empty, else "Som:".
    void FormShow();
    // A choice in rgpEvento: the field is usable exactly with "Som:".
    void rgpEventoClick();
    // The file dialog; a chosen file's full path replaces the field.
    void cmdProcurarClick();
    // "Som:" needs a file; "Sem Som" empties the field; both then close with OK.
    void cmdOKClick();

    QGroupBox* rgpEvento = nullptr;
    QRadioButton* rgpEventoSemSom = nullptr; // item 0, "Sem Som"
    QRadioButton* rgpEventoSom = nullptr;    // item 1, "Som:"
    QLineEdit* fleWave = nullptr;
    QPushButton* cmdProcurar = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancelar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    MessageBoxes& m_messages;
    CommonDialogs& m_dialogs;
    const SoundPlayer& m_sound;
};

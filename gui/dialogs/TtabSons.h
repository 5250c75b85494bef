#pragma once

#include <QString>
#include <QWidget>

class CommonDialogs;
class MessageBoxes;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class SoundPlayer;
class TfrmConfSom;
struct GeneralSettings;

// Page "Sons" of the preferences: the switch for the note event sounds and the sound
// file of each event, chosen in the dialog "Configurar Som" and tried out here.
class TtabSons : public QWidget {
    Q_OBJECT
public:
    // Rows of lstSom: "Nova Nota", "Excluir Nota", "Recebimento de Nota".
    enum Row { RowNewNote, RowDeleteNote, RowReceivedNote, RowCount };

    TtabSons(MessageBoxes& messages, CommonDialogs& dialogs, SoundPlayer& sound,
             QWidget* parent = nullptr);

    // The three rows anew, with empty paths.
    void rebuildRows();
    // The switch and the paths from the settings.
    void prime(const GeneralSettings& recGeral);
    // The switch and the paths into the settings.
    void applyTo(GeneralSettings& recGeral) const;

    QString rowCaption(int row) const;
    QString path(int row) const;
    void setPath(int row, const QString& path);

    // Control rules.
    // Either radio button: the list and its test button are usable exactly with sounds.
    void radUsaSomClick();
    // Double click on a row, only with sounds on: the row's sound in "Configurar Som".
    void lstSomDblClick(int row);
    // Plays the selected row's sound and waits for its end; nothing without a selection.
    void cmdPlayClick();

    // The sound event dialog, created on first use and kept for this page's lifetime.
    TfrmConfSom* frmConfSom();

    QRadioButton* radUsaSom = nullptr;
    QRadioButton* radNaoUsaSom = nullptr;
    QTreeWidget* lstSom = nullptr;
    QPushButton* cmdPlay = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    MessageBoxes& m_messages;
    CommonDialogs& m_dialogs;
    SoundPlayer& m_sound;
    TfrmConfSom* m_frmConfSom = nullptr;
};

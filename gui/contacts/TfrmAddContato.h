#pragma once

#include "core/contacts/Contact.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class SoundPlayer;

// "Adicionar/Modificar Contatos": the small tool window in which one contact is typed
// or changed. Created once by the address book and reused.
//
// The fields take at most as much text as the notes file gives back, and only
// characters it can hold; a refused keystroke sounds the default beep.
class TfrmAddContato : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAddContato(SoundPlayer& sound, QWidget* parent = nullptr);

    // Puts the contact into the fields and shows the dialog modally. On OK the contact
    // takes the three texts exactly as typed and true comes back; otherwise it is
    // unchanged.
    bool edit(Contact& contact);

    void setContact(const Contact& contact);
    Contact contact() const;

    // FormShow: the keyboard focus goes to the name.
    void FormShow();
    void retranslate();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtNome = nullptr;
    QLineEdit* txtEmail = nullptr;
    QLineEdit* txtAnotacoes = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLineEdit* addField(const QString& name);

    SoundPlayer& m_sound;
};

#pragma once

#include "core/notes/NoteSearch.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class Note;
class NoteCollection;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// "Localizar Nota": a small window, not modal, with a text field and the list of every
// note, shown or hidden, whose title or text holds what is typed (NoteSearch), filtered as
// the user types. Enter, "&Mostrar" or a double click on a line brings up the note of
// the current line and closes the window; Escape and "&Fechar" close it. While it is open
// the list follows the notes as they change. Created once and reused.
class TfrmLocalizaNota : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLocalizaNota(NoteCollection& notes, QWidget* parent = nullptr);

    // Opens the window, or brings it to the front, with what was typed last selected so
    // that typing replaces it, and the list up to date.
    void showFinder();
    // Lists the notes the field's text finds; the first line becomes current.
    void txtLocalizarChange();
    // Brings up the note of the current line and closes the window; nothing without a
    // line.
    void cmdMostrarClick();
    // The texts of the list's lines, as assistive technology reads them.
    QStringList lines() const;

    QLabel* lblLocalizar = nullptr;
    QLineEdit* txtLocalizar = nullptr;
    QLabel* lblNotas = nullptr;
    QListWidget* lstNotas = nullptr;
    QPushButton* cmdMostrar = nullptr;
    QPushButton* cmdFechar = nullptr;

    void retranslate();

Q_SIGNALS:
    // The user chose the note; the window is closed already.
    void noteChosen(Note* note);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NoteCollection& m_notes;
    NoteSearch m_search;
    // The note of each line of lstNotas.
    QList<QPointer<Note>> m_found;
    // Refills the list once after a burst of changes to the notes.
    QTimer* m_refill = nullptr;
};

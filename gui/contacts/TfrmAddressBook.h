#pragma once

#include "core/contacts/AddressPicker.h"
#include "core/contacts/ContactBook.h"

#include <QDialog>
#include <memory>

class IniFile;
class MessageBoxes;
class QLabel;
class QListWidget;
class QStatusBar;
class QTableWidget;
class QToolBar;
class QToolButton;
class QPushButton;
class QWidget;
class SoundPlayer;
class TfrmAddContato;

// "Caderneta de Contatos": the address book. Created once and reused, in two modes set
// before each showing: browsing (the tray menu; the picker panel hidden), where the
// user looks after the contacts, and picking (the send and e-mail dialogs; the picker
// panel shown), where the user also collects recipient addresses.
//
// While shown it keeps its own access to the notes file; each change rewrites the
// contacts section there at once, in one crash-safe write that leaves the rest of the
// file as the other writers left it.
class TfrmAddressBook : public QDialog, public AddressPicker {
    Q_OBJECT
public:
    // The locale decides the order of the names.
    TfrmAddressBook(const QString& notesFile, const QLocale& locale, MessageBoxes& messages,
                    SoundPlayer& sound, QWidget* parent = nullptr);
    ~TfrmAddressBook() override;

    // Browsing: shows the address book modally with the picker hidden.
    void browse();
    // Picking: shows it modally with the picker, over the parent's window when one is
    // given; the addresses picked, in picking order.
    QStringList pickAddresses(QWidget* parent) override;
    // The items of lstSelecionado; they stay until the dialog is shown again.
    QStringList pickedAddresses() const;

    const ContactBook& contacts() const { return m_book; }
    // The rows of lstContato selected, in list order.
    QList<qsizetype> selectedRows() const;

    // Handlers of the window and its components.
    void FormShow();
    void FormClose();
    void cmdNovoClick();
    void cmdEditarClick();
    void cmdExcluirClick();
    void cmdFecharClick();
    void cmdInserirClick();
    void cmdRemoverClick();
    // Writes all contacts into the notes file; throws TacknoteError when it cannot.
    void SaveContacts();

    void retranslate();

    // The dialog that enters or changes one contact.
    TfrmAddContato* frmAddContato = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* cmdNovo = nullptr;
    QToolButton* cmdEditar = nullptr;
    QToolButton* cmdExcluir = nullptr;
    QToolButton* cmdFechar = nullptr;
    QTableWidget* lstContato = nullptr;
    QWidget* pnlSelecionado = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdInserir = nullptr;
    QPushButton* cmdRemover = nullptr;
    QListWidget* lstSelecionado = nullptr;
    QStatusBar* StatusBar1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QToolButton* addToolButton(const QString& name, const QIcon& icon);
    void buildPicker();
    // Puts the contact of this row of the book into a new row of the list.
    void insertListRow(qsizetype row);
    void selectOnly(qsizetype row);
    IniFile& file();

    QString m_notesFile;
    MessageBoxes& m_messages;
    SoundPlayer& m_sound;
    ContactBook m_book;
    std::unique_ptr<IniFile> m_file;
};

#pragma once

#include "core/net/OutgoingNote.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class AddressPicker;
class MessageBoxes;
class NoteSender;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
struct GeneralSettings;
struct NetworkSettings;

// "Enviar para...": sends one note to the computers typed into txtPara (addresses or
// names separated by ",") or picked from the address book, and follows the sending in
// the status log memStatus. Created once for the whole run and reused.
//
// The sending runs on the event loop through NoteSender, so the program stays
// responsive; meanwhile the hourglass shows and "&Enviar" is off. A recipient that
// cannot be reached is reported with a message box and a status line, and the dialog
// then stays open with its log; a sending without errors ends with "Nota Enviada!" and
// closes the dialog. Closing the dialog in the middle of a sending (with "&Cancelar",
// Esc or the close box) stops it at once: the recipient being served keeps what reached
// it, the recipients after it are not contacted.
//
// The dialog keeps a copy of the note it sends and never the note window, which may be
// deleted while the dialog is open.
class TfrmEnviaComputador : public QDialog {
    Q_OBJECT
public:
    // Lines memStatus keeps; beyond that the oldest line goes.
    static constexpr int StatusLineCap = 1000;

    // The settings are read at each sending (User names the sender, PortTCP is the port
    // of every recipient). Everything passed in must outlive the dialog.
    TfrmEnviaComputador(const GeneralSettings& recGeral, const NetworkSettings& recRede,
                        NoteSender& sender, AddressPicker& addressPicker,
                        MessageBoxes& messageBoxes, QWidget* parent = nullptr);
    ~TfrmEnviaComputador() override;

    // Shows the dialog modally for the note numbered noteNumber. For a reply txtPara
    // takes the reply address (an empty one leaves "&Enviar" off); otherwise it keeps
    // what it held when the dialog was last closed. Returns when the dialog has closed;
    // at once, changing nothing, when it is open already.
    void sendNote(int noteNumber, const OutgoingNote& note,
                  const std::optional<QString>& replyAddress);

    bool isSending() const { return m_sending; }

    // Event handlers.
    void FormShow();
    void txtParaChange();
    void cmdAddressClick();
    void cmdEnviarClick();
    void cmdCancelarClick();
    // Appends text as the last line of memStatus, drops the first line beyond
    // StatusLineCap lines and scrolls to the end.
    void AddStatus(const QString& text);

    // The note number of the note being sent.
    int Tag = -1;

    QLabel* Label1 = nullptr;
    QLineEdit* txtPara = nullptr;
    QToolButton* cmdAddress = nullptr;
    QPushButton* cmdEnviar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QLabel* Label2 = nullptr;
    // Names the characters of the note that will arrive as "?"; hidden when there are none.
    QLabel* lblAviso = nullptr;
    QPlainTextEdit* memStatus = nullptr;
    // The recipients of the sending under way, split from txtPara.
    QStringList lstComputador;
    // The note's text as the lines its window displays.
    QStringList memAux;

public Q_SLOTS:
    // Every way of closing ends here, so a sending never outlives the open dialog.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void showLostCharacters();
    void moveToScreenCentre();
    void senderStatus(const QString& text);
    void senderRecipientFailed(const QString& message);
    void senderFinished(bool errors);
    // The sending is over or stopped: the normal cursor and "&Enviar" come back.
    void endSending();
    void showHourglass(bool on);

    const GeneralSettings& m_recGeral;
    const NetworkSettings& m_recRede;
    NoteSender& m_sender;
    AddressPicker& m_addressPicker;
    MessageBoxes& m_messageBoxes;
    OutgoingNote m_note;
    bool m_sending = false;
    // Some recipient of the current sending could not be reached.
    bool m_errors = false;
    // The hourglass this dialog set is showing.
    bool m_hourglass = false;
};

#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class AddressPicker;
class Clock;
class MessageBoxes;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTimer;
class QToolButton;
class SmtpSession;
class SmtpSessionWithFiles;
class UtcOffsetSource;
struct GeneralSettings;
struct NetworkSettings;

// The e-mail composer "Enviar E-Mail": mails a note's text to the addresses typed or
// picked from the address book, through the SMTP server of the settings, following the
// dialogue in its status bar, and says with a message box whether the mail went out. When
// it did not, the status bar keeps the reason (the server's reply, the connection error or
// "Timeout!!!"). Created once for the whole run; so is its session, which it owns.
//
// A server whose certificate does not verify (self-signed, issued for another name) is
// refused; the composer then shows the certificate and asks whether to trust it for that
// server. If the user says yes, its fingerprint goes into the settings (TrustedCerts) and
// the mail is sent once more; from then on that certificate is accepted from that server,
// and any other one that does not verify is asked about again.
//
// A sending waits three times (connected, session opened, mail transferred), each wait
// bounded by tmrTimeOut; while it waits the window stays responsive and "&Cancelar" can
// end the sending.
class TfrmEnviarEmail : public QDialog {
    Q_OBJECT
public:
    static constexpr int TimeOutInterval = 30000;
    // Between the note and the footer of every mail.
    static QString separatorLine() { return QString(44, QLatin1Char('-')); }

    // The settings are read at each sending, so changes made meanwhile apply; a certificate
    // the user trusts is added to recRede. The clock and zone give the mail's Date line.
    // Everything passed in must outlive the dialog.
    TfrmEnviarEmail(const GeneralSettings& recGeral, NetworkSettings& recRede,
                    AddressPicker& addressPicker, MessageBoxes& messageBoxes, const Clock& clock,
                    const UtcOffsetSource& utcOffset, QWidget* parent = nullptr);
    ~TfrmEnviarEmail() override;

    // Shows the composer modally for one note: subject is the whole subject line ("Tacknote
    // - " and the note's title), text the note's whole text. Nothing of the note is kept.
    // Returns the dialog's result: Accepted once "&Enviar" has run, sent or not.
    int sendNote(const QString& subject, const QString& text);

    // The recipients of a recipient field: the whole text when it holds no ",", otherwise
    // every piece between commas that is not blank, unchanged and in order.
    static QStringList Recipients(const QString& field);
    // The lines of memTexto as it shows them: each line the memo wraps into becomes a line.
    QStringList MemoLines() const;
    // The message body: the memo's lines, the user's name between empty lines, and the
    // footer naming the program and its web address.
    QStringList MessageBody() const;

    // Event handlers.
    void FormShow();
    void txtParaChange();
    void cmdAddressClick();
    void cmdEnviarClick();
    void cmdCancelarClick();
    void SmtpClientCommand(SmtpSession* Sender, const QString& Msg);
    void SmtpClientSessionConnected(SmtpSession* Sender, quint16 Error);
    void SmtpClientSessionClosed(SmtpSession* Sender, quint16 Error);
    void tmrTimeOutTimer();

    QLabel* Label1 = nullptr;
    QLineEdit* txtPara = nullptr;
    QToolButton* cmdAddress = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblAssunto = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* memTexto = nullptr;
    QPushButton* cmdEnviar = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdFechar = nullptr;
    QStatusBar* stsEMail = nullptr;
    SmtpSessionWithFiles* SmtpClient = nullptr;
    QTimer* tmrTimeOut = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void retranslate();
    // One sending with the hourglass and the buttons as they are meanwhile; true when the
    // mail went out.
    bool Attempt();
    // Steps 1 to 9 of a sending; false (or an exception) for the failure path.
    bool Send();
    // After a sending refused for the server's certificate: shows it and asks whether to
    // trust it; true when the user said yes and it is now trusted.
    bool AskTrust();
    QString ServerKey() const;
    void CopySettings();
    // Runs the event loop until done() holds; false after tmrTimeOut has run out (with
    // "Timeout!!!" in the status bar) or when the loop was ended from outside.
    bool Wait(const std::function<bool()>& done);
    // Notes why a request of the session failed, unless a reason is known already.
    void NoteRequestEnd();
    void NoteFailure(const QString& reason);
    void ShowStatus(const QString& text);

    const GeneralSettings& m_recGeral;
    NetworkSettings& m_recRede;
    AddressPicker& m_addressPicker;
    MessageBoxes& m_messageBoxes;
    bool m_sending = false;
    // Set by "&Cancelar": the QUIT that follows the abort ends with 0, so the session's
    // last result cannot tell.
    bool m_cancelled = false;
    QString m_failureReason;
};

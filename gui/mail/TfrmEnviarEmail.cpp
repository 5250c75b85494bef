#include "gui/mail/TfrmEnviarEmail.h"

#include "core/base/TacknoteError.h"
#include "core/contacts/AddressPicker.h"
#include "core/mail/SmtpSessionWithFiles.h"
#include "core/program/HelpTopics.h"
#include "core/program/ProductInfo.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "platform/MessageBoxes.h"
#include "platform/system/TcpClientSocket.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The hourglass for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A text from a server's certificate, fit to be shown: on one line and of bounded length.
QString certificateText(const QString& text) {
    constexpr qsizetype MaxLength = 200;
    QString shown = text.left(MaxLength);
    for (QChar& c : shown) {
        // Format characters (bidirectional overrides among them) could make a name read
        // as another.
        if (c.unicode() < 0x20 || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph || c.category() == QChar::Other_Format)
            c = QLatin1Char(' ');
    }
    return text.size() > MaxLength ? shown + QStringLiteral("...") : shown;
}

TSmtpTlsMode tlsModeOf(int setting) {
    return setting >= smtpTlsWhenOffered && setting <= smtpTlsNone ? TSmtpTlsMode(setting)
                                                                   : smtpTlsWhenOffered;
}

} // namespace

TfrmEnviarEmail::TfrmEnviarEmail(const GeneralSettings& recGeral, NetworkSettings& recRede,
                                 AddressPicker& addressPicker, MessageBoxes& messageBoxes,
                                 const Clock& clock, const UtcOffsetSource& utcOffset,
                                 QWidget* parent)
    : QDialog(parent), m_recGeral(recGeral), m_recRede(recRede), m_addressPicker(addressPicker),
      m_messageBoxes(messageBoxes) {
    setObjectName(QStringLiteral("frmEnviarEmail"));
    setProperty(HelpTopics::property, HelpTopics::ofContext(8));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtPara = new QLineEdit(this);
    txtPara->setObjectName(QStringLiteral("txtPara"));
    Label1->setBuddy(txtPara);
    cmdAddress = new QToolButton(this);
    cmdAddress->setObjectName(QStringLiteral("cmdAddress"));
    cmdAddress->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    cmdAddress->setAutoRaise(false);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblAssunto = new QLabel(this);
    lblAssunto->setObjectName(QStringLiteral("lblAssunto"));
    lblAssunto->setTextFormat(Qt::PlainText);
    // A long title must not widen the window; the label shows what fits.
    lblAssunto->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QPalette maroon = lblAssunto->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    lblAssunto->setPalette(maroon);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    memTexto = new QPlainTextEdit(this);
    memTexto->setObjectName(QStringLiteral("memTexto"));
    memTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memTexto->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memTexto->setMinimumSize(420, 200);
    Label2->setBuddy(memTexto);
    Label3->setBuddy(memTexto);

    cmdEnviar = new QPushButton(this);
    cmdEnviar->setObjectName(QStringLiteral("cmdEnviar"));
    cmdEnviar->setDefault(true);
    cmdEnviar->setEnabled(false);
    cmdCancelar = new QPushButton(this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);
    cmdFechar = new QPushButton(this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setAutoDefault(false);

    stsEMail = new QStatusBar(this);
    stsEMail->setObjectName(QStringLiteral("stsEMail"));
    stsEMail->setSizeGripEnabled(false);

    tmrTimeOut = new QTimer(this);
    tmrTimeOut->setObjectName(QStringLiteral("tmrTimeOut"));
    tmrTimeOut->setInterval(TimeOutInterval);

    SmtpClient = new SmtpSessionWithFiles(clock, utcOffset, this);
    SmtpClient->setObjectName(QStringLiteral("SmtpClient"));
    SmtpClient->OnCommand = [this](SmtpSession* sender, const QString& msg) {
        SmtpClientCommand(sender, msg);
    };
    SmtpClient->OnSessionConnected = [this](SmtpSession* sender, quint16 error) {
        SmtpClientSessionConnected(sender, error);
    };
    SmtpClient->OnSessionClosed = [this](SmtpSession* sender, quint16 error) {
        SmtpClientSessionClosed(sender, error);
    };
    connect(SmtpClient, &SmtpSessionWithFiles::stateChanged, this, [this] { NoteRequestEnd(); });

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtPara, 0, 1);
    fields->addWidget(cmdAddress, 0, 2);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(lblAssunto, 1, 1, 1, 2);
    fields->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdEnviar);
    buttons->addWidget(cmdCancelar);
    buttons->addWidget(cmdFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Label3);
    layout->addWidget(memTexto, 1);
    layout->addLayout(buttons);
    layout->addWidget(stsEMail);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtPara, &QLineEdit::textChanged, this, [this] { txtParaChange(); });
    connect(cmdAddress, &QToolButton::clicked, this, [this] { cmdAddressClick(); });
    connect(cmdEnviar, &QPushButton::clicked, this, [this] { cmdEnviarClick(); });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { cmdCancelarClick(); });
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(tmrTimeOut, &QTimer::timeout, this, [this] { tmrTimeOutTimer(); });

    retranslate();
}

TfrmEnviarEmail::~TfrmEnviarEmail() {
    // The session goes with the dialog; none of its events may reach a half-gone window.
    SmtpClient->OnCommand = nullptr;
    SmtpClient->OnSessionConnected = nullptr;
    SmtpClient->OnSessionClosed = nullptr;
    disconnect(SmtpClient, nullptr, this, nullptr);
}

void TfrmEnviarEmail::retranslate() {
    setWindowTitle(tr("Enviar E-Mail"));
    Label1->setText(tr("&Para:"));
    cmdAddress->setToolTip(tr("Caderno de Endereços e Contatos"));
    Label2->setText(tr("&Assunto:"));
    Label3->setText(tr("Te&xto:"));
    cmdEnviar->setText(tr("&Enviar"));
    cmdCancelar->setText(tr("&Cancelar"));
    cmdFechar->setText(tr("&Fechar"));
}

void TfrmEnviarEmail::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

int TfrmEnviarEmail::sendNote(const QString& subject, const QString& text) {
    lblAssunto->setText(subject);
    memTexto->setPlainText(text);
    return exec();
}

void TfrmEnviarEmail::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEnviarEmail::keyPressEvent(QKeyEvent* event) {
    // Esc answers "&Cancelar" and never closes the window by itself.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cmdCancelar->isEnabled())
            cmdCancelar->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEnviarEmail::closeEvent(QCloseEvent* event) {
    // The window stays while a sending runs, as "&Fechar" is disabled then.
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmEnviarEmail::FormShow() {
    txtPara->clear();
    cmdCancelar->setEnabled(false);
    cmdEnviar->setEnabled(true);
}

void TfrmEnviarEmail::txtParaChange() {
    // Not during a sending: "&Enviar" comes back when it is over.
    cmdEnviar->setEnabled(!m_sending && !txtPara->text().isEmpty());
}

void TfrmEnviarEmail::cmdAddressClick() {
    const QStringList picked = m_addressPicker.pickAddresses(this);
    txtPara->setText(AddressPicker::mergeInto(txtPara->text(), picked));
}

QStringList TfrmEnviarEmail::Recipients(const QString& field) {
    if (!field.contains(QLatin1Char(',')))
        return {field};
    QStringList recipients;
    for (const QString& piece : field.split(QLatin1Char(','))) {
        if (!piece.trimmed().isEmpty())
            recipients << piece;
    }
    return recipients;
}

QStringList TfrmEnviarEmail::MemoLines() const {
    QStringList lines;
    const QTextDocument* document = memTexto->document();
    auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // Blocks out of sight may not have been laid out yet.
        if (layout)
            layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* textLayout = block.layout();
        if (!textLayout || textLayout->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < textLayout->lineCount(); ++i) {
            const QTextLine line = textLayout->lineAt(i);
            QString shown = text.mid(line.textStart(), line.textLength());
            // A line typed with Shift+Enter ends in a separator the wire has no byte for.
            if (shown.endsWith(QChar::LineSeparator))
                shown.chop(1);
            lines << shown;
        }
    }
    return lines;
}

QStringList TfrmEnviarEmail::MessageBody() const {
    // "\r\n\r\n" goes out as a line of its own: three empty lines on the wire.
    const QString emptyLines = QStringLiteral("\r\n\r\n");
    QStringList body = MemoLines();
    body << emptyLines << m_recGeral.User << emptyLines << separatorLine()
         << tr("Este e-mail foi enviado pelo Tacknote") << tr("Faça o download gratuíto em")
         << ProductInfo::webAddress() << separatorLine();
    return body;
}

void TfrmEnviarEmail::ShowStatus(const QString& text) {
    stsEMail->showMessage(text);
}

void TfrmEnviarEmail::SmtpClientCommand(SmtpSession*, const QString& Msg) {
    ShowStatus(Msg);
    // Painted at once, without letting other events run inside the session's step.
    stsEMail->repaint();
}

void TfrmEnviarEmail::SmtpClientSessionConnected(SmtpSession*, quint16) {
    ShowStatus(tr("Conectado!"));
}

void TfrmEnviarEmail::SmtpClientSessionClosed(SmtpSession*, quint16) {
    ShowStatus(tr("Conexão Terminada!"));
}

void TfrmEnviarEmail::tmrTimeOutTimer() {
    tmrTimeOut->stop();
}

void TfrmEnviarEmail::cmdCancelarClick() {
    if (m_sending)
        m_cancelled = true;
    SmtpClient->AbortSession();
    SmtpClient->QuitSession();
}

void TfrmEnviarEmail::NoteFailure(const QString& reason) {
    if (m_failureReason.isEmpty())
        m_failureReason = reason;
}

void TfrmEnviarEmail::NoteRequestEnd() {
    if (!m_sending || SmtpClient->State() != smtpReady)
        return;
    const quint16 result = SmtpClient->LastRequestResult();
    if (result == 0)
        return;
    if (!SmtpClient->ErrorMessage().isEmpty())
        NoteFailure(SmtpClient->ErrorMessage());
    else if (result == SmtpSession::ErrorConnectionClosed)
        NoteFailure(tr("Conexão Terminada!"));
    else
        NoteFailure(QString::number(result));
}

bool TfrmEnviarEmail::Wait(const std::function<bool()>& done) {
    tmrTimeOut->start(); // (re)starts its full interval
    if (!done()) {
        QEventLoop loop;
        const auto check = [&] {
            if (done() || !tmrTimeOut->isActive())
                loop.quit();
        };
        connect(SmtpClient, &SmtpSessionWithFiles::stateChanged, &loop, check);
        connect(tmrTimeOut, &QTimer::timeout, &loop, check);
        loop.exec();
    }
    const bool ok = done();
    const bool timedOut = !ok && !tmrTimeOut->isActive();
    tmrTimeOut->stop();
    if (timedOut) {
        const QString text = tr("Timeout!!!");
        ShowStatus(text);
        NoteFailure(text);
    }
    return ok;
}

void TfrmEnviarEmail::CopySettings() {
    SmtpClient->Host = m_recRede.SMTPServer;
    SmtpClient->Port = m_recRede.SMTPPort;
    if (m_recRede.Authtype != smtpAuthNone) {
        SmtpClient->Username = m_recRede.Username;
        SmtpClient->Password = m_recRede.Password;
    }
    SmtpClient->AuthType = TSmtpAuthType(m_recRede.Authtype);
    SmtpClient->TlsMode = tlsModeOf(m_recRede.SMTPSecurity);
    SmtpClient->TrustedCertificate = m_recRede.TrustedCerts.value(ServerKey()).toLatin1();
}

QString TfrmEnviarEmail::ServerKey() const {
    return NetworkSettings::serverKey(m_recRede.SMTPServer,
                                      TcpClientSocket::portNumber(m_recRede.SMTPPort));
}

bool TfrmEnviarEmail::AskTrust() {
    const QSslCertificate certificate = SmtpClient->UntrustedCertificate();
    if (certificate.isNull())
        return false;
    const QString key = ServerKey();
    const QString fingerprint = QString::fromLatin1(TcpClientSocket::fingerprint(certificate));
    const QString server = certificateText(m_recRede.SMTPServer.trimmed());
    const QString opening =
        m_recRede.TrustedCerts.contains(key)
            ? tr("O certificado do servidor %1 mudou desde que você confiou nele.").arg(server)
            : tr("O certificado do servidor %1 não pôde ser verificado.").arg(server);
    const QString text =
        opening + QStringLiteral("\n\n") +
        tr("Titular: %1").arg(certificateText(certificate.subjectDisplayName())) +
        QLatin1Char('\n') +
        tr("Emissor: %1").arg(certificateText(certificate.issuerDisplayName())) +
        QLatin1Char('\n') +
        tr("Impressão digital SHA-256: %1")
            .arg(QString::fromLatin1(
                certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper())) +
        QLatin1Char('\n') +
        tr("Motivo: %1")
            .arg(certificateText(SmtpClient->CertificateProblems().join(QStringLiteral("; ")))) +
        QStringLiteral("\n\n") +
        tr("Confiar neste certificado para este servidor e enviar o e-mail?");
    if (!m_messageBoxes.askYesNo(MessageBoxes::titleAttention(), text))
        return false;
    m_recRede.TrustedCerts.insert(key, fingerprint);
    return true;
}

bool TfrmEnviarEmail::Send() {
    ShowStatus(tr("Conectando ao Servidor..."));
    cmdEnviar->setEnabled(false);
    cmdFechar->setEnabled(false);
    cmdCancelar->setEnabled(true);

    CopySettings();
    SmtpClient->OpenSession();
    // Connected, or the opening is over without a connection (refused, unknown host).
    if (!Wait([this] { return SmtpClient->IsConnected() || SmtpClient->State() == smtpReady; }))
        return false;
    if (!SmtpClient->IsConnected())
        return false;

    SmtpClient->FromName = m_recRede.Email;
    SmtpClient->RcptName = Recipients(txtPara->text());
    QCoreApplication::processEvents();

    SmtpClient->HdrFrom = m_recRede.Email;
    SmtpClient->HdrTo = txtPara->text();
    SmtpClient->HdrSubject = lblAssunto->text();
    SmtpClient->MailMessage = MessageBody();

    // The opening is over, whatever its outcome: a refused authentication still lets the
    // server decide about the mail.
    if (!Wait([this] { return SmtpClient->State() == smtpReady; }))
        return false;
    SmtpClient->TransferMail();
    if (!Wait([this] { return SmtpClient->State() == smtpReady; }))
        return false;
    if (m_cancelled || SmtpClient->LastRequestResult() != 0)
        return false;
    SmtpClient->QuitSession();
    return true;
}

void TfrmEnviarEmail::cmdEnviarClick() {
    if (m_sending)
        return;
    bool sent = Attempt();
    // Asked outside the sending, with the normal cursor; the retry runs once.
    if (!sent && !m_cancelled && AskTrust())
        sent = Attempt();
    if (sent) {
        m_messageBoxes.show(MessageBoxes::Icon::Information, MessageBoxes::titleNotice(),
                            tr("O e-mail foi enviado com sucesso!"));
    } else {
        // The reason stays in the status bar for the user to act on.
        if (!m_failureReason.isEmpty())
            ShowStatus(m_failureReason);
        m_messageBoxes.show(MessageBoxes::Icon::Error, MessageBoxes::titleError(),
                            tr("O e-mail não foi enviado! Verifique as configurações de rede."));
    }
    accept();
}

bool TfrmEnviarEmail::Attempt() {
    // A connection that the previous sending's QUIT still holds is not needed any more.
    if (SmtpClient->State() != smtpReady || SmtpClient->IsConnected())
        SmtpClient->AbortSession();
    m_sending = true;
    m_cancelled = false;
    m_failureReason.clear();
    bool sent = false;
    {
        const WaitCursor hourglass;
        try {
            sent = Send();
        } catch (const TacknoteError& error) {
            NoteFailure(error.message());
        } catch (const std::exception& error) {
            NoteFailure(QString::fromLocal8Bit(error.what()));
        }
        if (!sent)
            SmtpClient->AbortSession();
        tmrTimeOut->stop();
        m_sending = false;
        cmdEnviar->setEnabled(true);
        cmdFechar->setEnabled(true);
        cmdCancelar->setEnabled(false);
    }
    return sent;
}

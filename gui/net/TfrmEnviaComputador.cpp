#include "gui/net/TfrmEnviaComputador.h"

#include "core/program/HelpTopics.h"
#include "core/store/Windows1252.h"

#include "core/contacts/AddressPicker.h"
#include "core/net/NoteSender.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TfrmEnviaComputador::TfrmEnviaComputador(const GeneralSettings& recGeral,
                                         const NetworkSettings& recRede, NoteSender& sender,
                                         AddressPicker& addressPicker, MessageBoxes& messageBoxes,
                                         QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_recGeral(recGeral), m_recRede(recRede), m_sender(sender), m_addressPicker(addressPicker),
      m_messageBoxes(messageBoxes) {
    setObjectName(QStringLiteral("frmEnviaComputador"));
    setProperty(HelpTopics::property, HelpTopics::ofContext(9));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    txtPara = new QLineEdit(this);
    txtPara->setObjectName(QStringLiteral("txtPara"));
    txtPara->setMinimumWidth(260);
    Label1->setBuddy(txtPara);
    cmdAddress = new QToolButton(this);
    cmdAddress->setObjectName(QStringLiteral("cmdAddress"));
    cmdAddress->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    cmdAddress->setAutoRaise(false);

    cmdEnviar = new QPushButton(this);
    cmdEnviar->setObjectName(QStringLiteral("cmdEnviar"));
    cmdEnviar->setDefault(true);
    cmdEnviar->setEnabled(false);
    cmdCancelar = new QPushButton(this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);

    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setTextFormat(Qt::PlainText);
    lblAviso->setWordWrap(true);
    lblAviso->hide();

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    memStatus = new QPlainTextEdit(this);
    memStatus->setObjectName(QStringLiteral("memStatus"));
    memStatus->setReadOnly(true);
    memStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memStatus->setMaximumBlockCount(StatusLineCap);
    memStatus->setMinimumSize(340, 110);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(9);
    memStatus->setFont(small);
    QPalette maroon = memStatus->palette();
    maroon.setColor(QPalette::Text, QColor(0x80, 0x00, 0x00));
    memStatus->setPalette(maroon);
    Label2->setBuddy(memStatus);

    auto* recipients = new QGridLayout;
    recipients->addWidget(Label1, 0, 0, 1, 2);
    recipients->addWidget(txtPara, 1, 0);
    recipients->addWidget(cmdAddress, 1, 1);
    recipients->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdEnviar);
    buttons->addWidget(cmdCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(recipients);
    layout->addWidget(lblAviso);
    layout->addLayout(buttons);
    layout->addWidget(Label2);
    layout->addWidget(memStatus, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtPara, &QLineEdit::textChanged, this, [this] { txtParaChange(); });
    connect(cmdAddress, &QToolButton::clicked, this, [this] { cmdAddressClick(); });
    connect(cmdEnviar, &QPushButton::clicked, this, [this] { cmdEnviarClick(); });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { cmdCancelarClick(); });

    connect(&m_sender, &NoteSender::status, this, &TfrmEnviaComputador::senderStatus);
    connect(&m_sender, &NoteSender::recipientFailed, this,
            &TfrmEnviaComputador::senderRecipientFailed);
    connect(&m_sender, &NoteSender::finished, this, &TfrmEnviaComputador::senderFinished);

    retranslate();
}

TfrmEnviaComputador::~TfrmEnviaComputador() {
    disconnect(&m_sender, nullptr, this, nullptr);
    if (m_sending) {
        m_sender.cancel();
        endSending();
    }
}

void TfrmEnviaComputador::retranslate() {
    setWindowTitle(tr("Enviar para..."));
    Label1->setText(tr("IP ou Nome do Computador:"));
    cmdAddress->setToolTip(tr("Caderno de Endereços e Contatos"));
    cmdEnviar->setText(tr("&Enviar"));
    cmdCancelar->setText(tr("&Cancelar"));
    Label2->setText(tr("Status:"));
    showLostCharacters();
}

void TfrmEnviaComputador::showLostCharacters() {
    // The wire carries Windows-1252: say before the sending what will not arrive.
    QString text = m_note.caption + m_recGeral.User;
    for (const QString& line : std::as_const(m_note.lines))
        text += line;
    QString lost = Windows1252::unencodable(text);
    constexpr int Shown = 24;
    if (lost.size() > Shown) {
        const bool splitPair = lost.at(Shown - 1).isHighSurrogate();
        lost = lost.left(splitPair ? Shown - 1 : Shown) + QStringLiteral("…");
    }
    lblAviso->setText(
        tr("Estes caracteres não existem na rede e chegarão como \"?\": %1").arg(lost));
    lblAviso->setVisible(!lost.isEmpty());
}

void TfrmEnviaComputador::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TfrmEnviaComputador::sendNote(int noteNumber, const OutgoingNote& note,
                                   const std::optional<QString>& replyAddress) {
    // Already open: the sending under way keeps its note.
    if (isVisible())
        return;
    Tag = noteNumber;
    m_note = note;
    showLostCharacters();
    if (replyAddress)
        txtPara->setText(*replyAddress);
    moveToScreenCentre();
    exec();
}

void TfrmEnviaComputador::moveToScreenCentre() {
    adjustSize();
    const QScreen* screen =
        parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TfrmEnviaComputador::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEnviaComputador::FormShow() {
    memStatus->clear();
}

void TfrmEnviaComputador::txtParaChange() {
    // Not during a sending: "&Enviar" comes back when it is over.
    cmdEnviar->setEnabled(!m_sending && !txtPara->text().isEmpty());
}

void TfrmEnviaComputador::cmdAddressClick() {
    const QStringList picked = m_addressPicker.pickAddresses(this);
    txtPara->setText(AddressPicker::mergeInto(txtPara->text(), picked));
}

void TfrmEnviaComputador::cmdCancelarClick() {
    reject();
}

void TfrmEnviaComputador::done(int result) {
    if (m_sending) {
        m_sender.cancel();
        endSending();
    }
    QDialog::done(result);
}

void TfrmEnviaComputador::AddStatus(const QString& text) {
    // memStatus holds at most StatusLineCap lines: the oldest goes first.
    memStatus->appendPlainText(text);
    memStatus->moveCursor(QTextCursor::End);
    memStatus->ensureCursorVisible();
}

void TfrmEnviaComputador::cmdEnviarClick() {
    if (m_sending || m_sender.isSending())
        return;
    showHourglass(true);
    m_sending = true;
    cmdEnviar->setEnabled(false);
    lstComputador = NoteSender::recipientsFrom(txtPara->text());
    memAux = m_note.lines;
    m_errors = false;
    if (!m_sender.send(lstComputador, m_note, m_recGeral.User, m_recRede.PortTCP))
        endSending();
}

void TfrmEnviaComputador::senderStatus(const QString& text) {
    if (m_sending)
        AddStatus(text);
}

void TfrmEnviaComputador::senderRecipientFailed(const QString& message) {
    if (!m_sending)
        return;
    m_errors = true;
    // The sending waits for the user, who gets the normal cursor on the box.
    showHourglass(false);
    const QPointer<TfrmEnviaComputador> self(this);
    m_messageBoxes.show(MessageBoxes::Icon::Information, MessageBoxes::titleError(), message);
    if (self && m_sending)
        showHourglass(true);
}

void TfrmEnviaComputador::senderFinished(bool errors) {
    if (!m_sending)
        return;
    endSending();
    if (errors || m_errors)
        return; // the log stays for the user to read
    m_messageBoxes.information(tr("Nota Enviada!"));
    memAux.clear();
    accept();
}

void TfrmEnviaComputador::endSending() {
    if (!m_sending)
        return;
    m_sending = false;
    showHourglass(false);
    txtParaChange();
}

void TfrmEnviaComputador::showHourglass(bool on) {
    if (on == m_hourglass)
        return;
    m_hourglass = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

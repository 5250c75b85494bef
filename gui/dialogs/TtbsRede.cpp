#include "gui/dialogs/TtbsRede.h"

#include "core/settings/NetworkSettings.h"
#include "gui/dialogs/TfrmInsereBloq.h"
#include "platform/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// Shows a star for each character of a password, whatever the desktop style uses.
class StarPasswordStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLabel* buddyLabel(QWidget* parent, QWidget* buddy) {
    auto* label = new QLabel(parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TtbsRede::TtbsRede(MessageBoxes& messages, QWidget* parent)
    : QWidget(parent), m_messages(messages) {
    setObjectName(QStringLiteral("tbsRede"));

    chkHabilitaRede = new QCheckBox(this);
    chkHabilitaRede->setObjectName(QStringLiteral("chkHabilitaRede"));

    grpSMTP = new QGroupBox(this);
    grpSMTP->setObjectName(QStringLiteral("grpSMTP"));
    txtSMTPServer = new QLineEdit(QStringLiteral("smtp.servidor.com.br"), grpSMTP);
    txtSMTPServer->setObjectName(QStringLiteral("txtSMTPServer"));
    Label5 = buddyLabel(grpSMTP, txtSMTPServer);
    txtPortaSMTP = new QLineEdit(QStringLiteral("25"), grpSMTP);
    txtPortaSMTP->setObjectName(QStringLiteral("txtPortaSMTP"));
    txtPortaSMTP->setFixedWidth(50);
    Label6 = buddyLabel(grpSMTP, txtPortaSMTP);
    txtSeuEmail = new QLineEdit(grpSMTP);
    txtSeuEmail->setObjectName(QStringLiteral("txtSeuEmail"));
    Label8 = buddyLabel(grpSMTP, txtSeuEmail);
    AuthComboBox = new QComboBox(grpSMTP);
    AuthComboBox->setObjectName(QStringLiteral("AuthComboBox"));
    for (int i = 0; i < 4; ++i)
        AuthComboBox->addItem(QString());
    AuthComboBox->setCurrentIndex(0);
    Label11 = buddyLabel(grpSMTP, AuthComboBox);
    UsernameEdit = new QLineEdit(grpSMTP);
    UsernameEdit->setObjectName(QStringLiteral("UsernameEdit"));
    Label9 = buddyLabel(grpSMTP, UsernameEdit);
    PasswordEdit = new QLineEdit(grpSMTP);
    PasswordEdit->setObjectName(QStringLiteral("PasswordEdit"));
    auto* stars = new StarPasswordStyle;
    stars->setParent(PasswordEdit);
    PasswordEdit->setStyle(stars);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    Label7 = buddyLabel(grpSMTP, PasswordEdit);
    // How the mail connection is protected: the stored SMTPSecurity value is the index.
    SecurityComboBox = new QComboBox(grpSMTP);
    SecurityComboBox->setObjectName(QStringLiteral("SecurityComboBox"));
    for (int i = 0; i < 4; ++i)
        SecurityComboBox->addItem(QString());
    lblSeguranca = buddyLabel(grpSMTP, SecurityComboBox);

    auto* smtp = new QGridLayout(grpSMTP);
    smtp->addWidget(Label5, 0, 0);
    smtp->addWidget(txtSMTPServer, 0, 1);
    smtp->addWidget(Label6, 0, 2);
    smtp->addWidget(txtPortaSMTP, 0, 3);
    smtp->addWidget(Label8, 1, 0);
    smtp->addWidget(txtSeuEmail, 1, 1);
    smtp->addWidget(Label11, 1, 2);
    smtp->addWidget(AuthComboBox, 1, 3);
    smtp->addWidget(Label9, 2, 0);
    smtp->addWidget(UsernameEdit, 2, 1);
    smtp->addWidget(Label7, 2, 2);
    smtp->addWidget(PasswordEdit, 2, 3);
    smtp->addWidget(lblSeguranca, 3, 0);
    smtp->addWidget(SecurityComboBox, 3, 1, 1, 3);
    smtp->setColumnStretch(1, 1);

    grpRedeLocal = new QGroupBox(this);
    grpRedeLocal->setObjectName(QStringLiteral("grpRedeLocal"));
    radNaoBloqueia = new QRadioButton(grpRedeLocal);
    radNaoBloqueia->setObjectName(QStringLiteral("radNaoBloqueia"));
    radNaoBloqueia->setChecked(true);
    radBloqueiaTudo = new QRadioButton(grpRedeLocal);
    radBloqueiaTudo->setObjectName(QStringLiteral("radBloqueiaTudo"));
    radBloqueiaSel = new QRadioButton(grpRedeLocal);
    radBloqueiaSel->setObjectName(QStringLiteral("radBloqueiaSel"));
    lstBloqueio = new QListWidget(grpRedeLocal);
    lstBloqueio->setObjectName(QStringLiteral("lstBloqueio"));
    lstBloqueio->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdAdicionaBloqueio = new QPushButton(grpRedeLocal);
    cmdAdicionaBloqueio->setObjectName(QStringLiteral("cmdAdicionaBloqueio"));
    cmdAdicionaBloqueio->setAutoDefault(false);
    cmdApagaBloqueio = new QPushButton(grpRedeLocal);
    cmdApagaBloqueio->setObjectName(QStringLiteral("cmdApagaBloqueio"));
    cmdApagaBloqueio->setAutoDefault(false);
    txtPortaTCP = new QLineEdit(QStringLiteral("7801"), grpRedeLocal);
    txtPortaTCP->setObjectName(QStringLiteral("txtPortaTCP"));
    txtPortaTCP->setFixedWidth(50);
    Label13 = buddyLabel(grpRedeLocal, txtPortaTCP);

    auto* modes = new QVBoxLayout;
    modes->addWidget(radNaoBloqueia);
    modes->addWidget(radBloqueiaTudo);
    modes->addWidget(radBloqueiaSel);
    auto* port = new QHBoxLayout;
    port->addWidget(Label13);
    port->addWidget(txtPortaTCP);
    modes->addStretch(1);
    modes->addLayout(port);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(cmdAdicionaBloqueio);
    listButtons->addWidget(cmdApagaBloqueio);
    listButtons->addStretch(1);
    auto* local = new QHBoxLayout(grpRedeLocal);
    local->addLayout(modes);
    local->addWidget(lstBloqueio, 1);
    local->addLayout(listButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkHabilitaRede);
    layout->addWidget(grpSMTP);
    layout->addWidget(grpRedeLocal, 1);

    connect(chkHabilitaRede, &QCheckBox::toggled, this, [this] { chkHabilitaRedeClick(); });
    connect(AuthComboBox, &QComboBox::currentIndexChanged, this, [this] { AuthComboBoxChange(); });
    for (QRadioButton* mode : {radNaoBloqueia, radBloqueiaTudo, radBloqueiaSel})
        connect(mode, &QRadioButton::toggled, this, [this] { radBloqueioClick(); });
    connect(cmdAdicionaBloqueio, &QPushButton::clicked, this,
            [this] { cmdAdicionaBloqueioClick(); });
    connect(cmdApagaBloqueio, &QPushButton::clicked, this, [this] { cmdApagaBloqueioClick(); });
    retranslate();
}

void TtbsRede::retranslate() {
    chkHabilitaRede->setText(tr("Habilitar Funções de Rede"));
    grpSMTP->setTitle(tr("Servidor SMTP"));
    Label5->setText(tr("&Endereço"));
    Label6->setText(tr("&Porta"));
    Label8->setText(tr("&Seu e-mail:"));
    Label11->setText(tr("&Autenticação"));
    const QStringList methods = {tr("Nenhuma"), tr("Texto Plano"), tr("Login"), tr("MD5")};
    for (int i = 0; i < methods.size(); ++i)
        AuthComboBox->setItemText(i, methods[i]);
    Label9->setText(tr("&Usuário"));
    Label7->setText(tr("&Senha:"));
    lblSeguranca->setText(tr("Se&gurança:"));
    const QStringList protections = {tr("STARTTLS quando oferecido"), tr("STARTTLS obrigatório"),
                                     tr("TLS implícito (SMTPS, porta 465)"),
                                     tr("Nenhuma (texto puro)")};
    for (int i = 0; i < protections.size(); ++i)
        SecurityComboBox->setItemText(i, protections[i]);
    grpRedeLocal->setTitle(tr("Rede Local"));
    radNaoBloqueia->setText(tr("Não bloqueia notas "));
    radBloqueiaTudo->setText(tr("Bloqueia todas as notas"));
    radBloqueiaSel->setText(tr("Bloquear notas vindas de:"));
    cmdAdicionaBloqueio->setText(tr("&Adicionar"));
    cmdApagaBloqueio->setText(tr("Apa&gar"));
    Label13->setText(tr("Porta:"));
}

void TtbsRede::prime(const NetworkSettings& recRede) {
    txtPortaTCP->setText(recRede.PortTCP);
    chkHabilitaRede->setChecked(recRede.Enabled);
    chkHabilitaRedeClick();
    txtSMTPServer->setText(recRede.SMTPServer);
    txtPortaSMTP->setText(recRede.SMTPPort);
    // A method this program does not know leaves the list without a choice; OK then
    // keeps the stored value.
    AuthComboBox->setCurrentIndex(
        recRede.Authtype >= 0 && recRede.Authtype < AuthComboBox->count() ? recRede.Authtype : -1);
    txtSeuEmail->setText(recRede.Email);
    SecurityComboBox->setCurrentIndex(recRede.SMTPSecurity >= 0 &&
                                              recRede.SMTPSecurity < SecurityComboBox->count()
                                          ? recRede.SMTPSecurity
                                          : 0);
    const bool authenticates = recRede.Authtype != 0;
    UsernameEdit->setText(authenticates ? recRede.Username : QString());
    PasswordEdit->setText(authenticates ? recRede.Password : QString());
    UsernameEdit->setEnabled(authenticates);
    PasswordEdit->setEnabled(authenticates);

    lstBloqueio->clear();
    lstBloqueio->setEnabled(false);
    m_storedBlockList = recRede.BlockList;
    switch (recRede.Blocktype) {
    case 0:
        radNaoBloqueia->setChecked(true);
        break;
    case 1:
        radBloqueiaTudo->setChecked(true);
        break;
    case 2:
        radBloqueiaSel->setChecked(true);
        radBloqueioClick();
        break;
    default:
        break;
    }
}

int TtbsRede::blocktype() const {
    if (radNaoBloqueia->isChecked())
        return 0;
    if (radBloqueiaTudo->isChecked())
        return 1;
    return radBloqueiaSel->isChecked() ? 2 : 0;
}

QStringList TtbsRede::blockEntries() const {
    QStringList entries;
    for (int i = 0; i < lstBloqueio->count(); ++i)
        entries.append(lstBloqueio->item(i)->text());
    return entries;
}

QString TtbsRede::emptyBlockListNotice() {
    return tr("Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará todas "
              "as mensagens.");
}

bool TtbsRede::applyTo(NetworkSettings& recRede) const {
    recRede.SMTPServer = txtSMTPServer->text();
    recRede.SMTPPort = txtPortaSMTP->text();
    if (AuthComboBox->currentIndex() >= 0)
        recRede.Authtype = AuthComboBox->currentIndex();
    recRede.Email = txtSeuEmail->text();
    recRede.SMTPSecurity = SecurityComboBox->currentIndex();
    if (recRede.Authtype != 0) {
        recRede.Username = UsernameEdit->text();
        recRede.Password = PasswordEdit->text();
    } else {
        recRede.Username.clear();
        recRede.Password.clear();
    }
    recRede.Blocktype = blocktype();
    // In the other modes the stored list stays as it is, for a later selective mode.
    const bool emptySelective = recRede.Blocktype == 2 && lstBloqueio->count() == 0;
    if (recRede.Blocktype == 2)
        recRede.BlockList = blockEntries();
    recRede.Enabled = chkHabilitaRede->isChecked();
    recRede.PortTCP = txtPortaTCP->text();
    return emptySelective;
}

void TtbsRede::chkHabilitaRedeClick() {
    const bool on = chkHabilitaRede->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             grpSMTP, grpRedeLocal, txtSMTPServer, txtPortaSMTP, AuthComboBox, SecurityComboBox,
             radNaoBloqueia, radBloqueiaTudo, radBloqueiaSel, cmdAdicionaBloqueio, cmdApagaBloqueio,
             txtSeuEmail, txtPortaTCP})
        control->setEnabled(on);
    // The account fields and the list keep following their own rules, so that nothing
    // typed there is thrown away on OK without the user having seen it disabled.
    if (on) {
        AuthComboBoxChange();
        radBloqueioClick();
    } else {
        UsernameEdit->setEnabled(false);
        PasswordEdit->setEnabled(false);
        lstBloqueio->setEnabled(false);
    }
}

void TtbsRede::AuthComboBoxChange() {
    const bool authenticates = AuthComboBox->currentIndex() != 0;
    UsernameEdit->setEnabled(authenticates);
    PasswordEdit->setEnabled(authenticates);
}

void TtbsRede::radBloqueioClick() {
    const bool selective = radBloqueiaSel->isChecked();
    lstBloqueio->setEnabled(selective);
    // OK in this mode stores what the list box holds: it starts with the stored entries,
    // so that none is dropped unseen.
    if (selective && m_storedBlockList)
        lstBloqueio->addItems(*std::exchange(m_storedBlockList, std::nullopt));
}

TfrmInsereBloq* TtbsRede::frmInsereBloq() {
    if (!m_frmInsereBloq)
        m_frmInsereBloq = new TfrmInsereBloq(this);
    return m_frmInsereBloq;
}

void TtbsRede::cmdAdicionaBloqueioClick() {
    const QPointer<TtbsRede> self(this);
    const std::optional<QString> entry = frmInsereBloq()->ask();
    if (self && entry)
        lstBloqueio->addItem(*entry);
}

void TtbsRede::cmdApagaBloqueioClick() {
    if (lstBloqueio->selectedItems().isEmpty()) {
        m_messages.error(tr("Selecione um ítem para exclusão!"));
        return;
    }
    const QPointer<TtbsRede> self(this);
    const bool yes =
        m_messages.askYesNo(MessageBoxes::titleAttention(), tr("Confirma Exclusão deste ítem?"));
    if (!self || !yes)
        return;
    // The question ran an event loop of its own: look at the selection again.
    const QList<QListWidgetItem*> selected = lstBloqueio->selectedItems();
    if (!selected.isEmpty())
        delete lstBloqueio->takeItem(lstBloqueio->row(selected.constFirst()));
}

void TtbsRede::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

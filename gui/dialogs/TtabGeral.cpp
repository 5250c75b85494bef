#include "gui/dialogs/TtabGeral.h"

#include "core/settings/GeneralSettings.h"
#include "core/store/Rotinas.h"
#include "gui/dialogs/UpDown.h"
#include "platform/CommonDialogs.h"
#include "platform/SessionAutostart.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TtabGeral::TtabGeral(CommonDialogs& dialogs, SessionAutostart* autostart, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_autostart(autostart) {
    setObjectName(QStringLiteral("tabGeral"));

    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    QFont bold = font();
    bold.setBold(true);
    Label1 = new QLabel(GroupBox2);
    Label1->setFont(bold);
    txtIDUsuario = new QLineEdit(GroupBox2);
    txtIDUsuario->setObjectName(QStringLiteral("txtIDUsuario"));
    Label1->setBuddy(txtIDUsuario);
    Label3 = new QLabel(GroupBox2);
    Label3->setFont(bold);
    lblDirDados = new QLabel(GroupBox2);
    lblDirDados->setObjectName(QStringLiteral("lblDirDados"));
    lblDirDados->setTextFormat(Qt::PlainText);
    lblDirDados->setWordWrap(true);
    QPalette navy = lblDirDados->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    lblDirDados->setPalette(navy);
    auto* personal = new QGridLayout(GroupBox2);
    personal->addWidget(Label1, 0, 0);
    personal->addWidget(txtIDUsuario, 0, 1);
    personal->addWidget(Label3, 1, 0, Qt::AlignTop);
    personal->addWidget(lblDirDados, 1, 1);
    personal->setColumnStretch(1, 1);

    chkPerguntaExclui = new QCheckBox(this);
    chkPerguntaExclui->setObjectName(QStringLiteral("chkPerguntaExclui"));
    chkAutoSave = new QCheckBox(this);
    chkAutoSave->setObjectName(QStringLiteral("chkAutoSave"));
    txtAutoSave = new QLineEdit(QStringLiteral("10"), this);
    txtAutoSave->setObjectName(QStringLiteral("txtAutoSave"));
    txtAutoSave->setFixedWidth(40);
    txtAutoSave->setMaxLength(10);
    updTempo = new UpDown(txtAutoSave, MinAutoSave, MaxAutoSave, 10, this);
    updTempo->setObjectName(QStringLiteral("updTempo"));
    Label10 = new QLabel(this);
    chkCriaNotaAlarme = new QCheckBox(this);
    chkCriaNotaAlarme->setObjectName(QStringLiteral("chkCriaNotaAlarme"));
    chkLocalBackup = new QCheckBox(this);
    chkLocalBackup->setObjectName(QStringLiteral("chkLocalBackup"));
    txtLocalBackup = new QLineEdit(this);
    txtLocalBackup->setObjectName(QStringLiteral("txtLocalBackup"));
    cmdLocalBackup = new QPushButton(QStringLiteral("..."), this);
    cmdLocalBackup->setObjectName(QStringLiteral("cmdLocalBackup"));
    cmdLocalBackup->setAutoDefault(false);
    cmdLocalBackup->setFixedWidth(28);
    chkIniciaSessao = new QCheckBox(this);
    chkIniciaSessao->setObjectName(QStringLiteral("chkIniciaSessao"));
    chkIniciaSessao->setVisible(m_autostart != nullptr);

    auto* autoSave = new QHBoxLayout;
    autoSave->addWidget(chkAutoSave);
    autoSave->addWidget(txtAutoSave);
    autoSave->addWidget(updTempo);
    autoSave->addWidget(Label10);
    autoSave->addStretch(1);
    auto* backup = new QHBoxLayout;
    backup->addSpacing(20);
    backup->addWidget(txtLocalBackup, 1);
    backup->addWidget(cmdLocalBackup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox2);
    layout->addWidget(chkPerguntaExclui);
    layout->addLayout(autoSave);
    layout->addWidget(chkCriaNotaAlarme);
    layout->addWidget(chkLocalBackup);
    layout->addLayout(backup);
    layout->addWidget(chkIniciaSessao);
    layout->addStretch(1);

    connect(chkLocalBackup, &QCheckBox::toggled, this, [this] { chkLocalBackupClick(); });
    connect(cmdLocalBackup, &QPushButton::clicked, this, [this] { cmdLocalBackupClick(); });
    retranslate();
}

void TtabGeral::retranslate() {
    GroupBox2->setTitle(tr("Informações Pessoais"));
    Label1->setText(tr("Usuário:"));
    Label3->setText(tr("Diretório de Dados:"));
    chkPerguntaExclui->setText(tr("&Perguntar antes de excluir nota"));
    chkAutoSave->setText(tr("Sal&vamento Automático a cada"));
    Label10->setText(tr("minutos"));
    chkCriaNotaAlarme->setText(
        tr("Mostra Nota com Tarefas Agendadas para o Dia na Inicialização"));
    chkLocalBackup->setText(tr("Efetuar Backup na Saída do Programa"));
    chkIniciaSessao->setText(tr("Iniciar o Tacknote com a sessão"));
}

void TtabGeral::primePersonal(const GeneralSettings& recGeral) {
    txtIDUsuario->setText(recGeral.User);
    chkAutoSave->setChecked(recGeral.AutoSave);
    // The field shows the stored interval as it is, even outside the arrows' range, so
    // that OK never changes it unseen.
    updTempo->setPosition(recGeral.TimeAutoSave);
    txtAutoSave->setText(QString::number(recGeral.TimeAutoSave));
}

void TtabGeral::primeGeneral(const GeneralSettings& recGeral, const QString& dataDir) {
    lblDirDados->setText(dataDir);
    chkPerguntaExclui->setChecked(recGeral.AskDelete);
    chkCriaNotaAlarme->setChecked(recGeral.NoteDaily);
    chkLocalBackup->setChecked(recGeral.BackupOnExit);
    txtLocalBackup->setText(recGeral.BackupPath);
    chkLocalBackupClick();
    if (m_autostart)
        chkIniciaSessao->setChecked(m_autostart->isEnabled());
}

std::optional<int> TtabGeral::autoSaveMinutes() const {
    bool isNumber = false;
    const int minutes = txtAutoSave->text().trimmed().toInt(&isNumber);
    if (!isNumber)
        return std::nullopt;
    return minutes;
}

bool TtabGeral::autoSaveAccepted() const {
    const std::optional<int> minutes = autoSaveMinutes();
    if (!minutes)
        return false;
    return !chkAutoSave->isChecked() || (*minutes >= MinAutoSave && *minutes <= MaxAutoSave);
}

bool TtabGeral::backupFolderAccepted() const {
    return !chkLocalBackup->isChecked() || !txtLocalBackup->text().trimmed().isEmpty();
}

void TtabGeral::applyPersonal(GeneralSettings& recGeral) const {
    recGeral.User = txtIDUsuario->text();
    recGeral.AutoSave = chkAutoSave->isChecked();
    if (const std::optional<int> minutes = autoSaveMinutes())
        recGeral.TimeAutoSave = *minutes;
}

void TtabGeral::applyGeneral(GeneralSettings& recGeral) const {
    recGeral.AskDelete = chkPerguntaExclui->isChecked();
    recGeral.NoteDaily = chkCriaNotaAlarme->isChecked();
    recGeral.BackupOnExit = chkLocalBackup->isChecked();
    recGeral.BackupPath = txtLocalBackup->text();
}

void TtabGeral::applySessionStart() const {
    if (!m_autostart)
        return;
    // Turning it on again also brings an entry left by another copy of the program (an
    // older install, a build folder) up to this one.
    if (chkIniciaSessao->isChecked())
        m_autostart->setEnabled(true);
    else if (m_autostart->isEnabled())
        m_autostart->setEnabled(false);
}

void TtabGeral::chkLocalBackupClick() {
    const bool on = chkLocalBackup->isChecked();
    txtLocalBackup->setEnabled(on);
    cmdLocalBackup->setEnabled(on);
}

void TtabGeral::cmdLocalBackupClick() {
    const QString start =
        txtLocalBackup->text().isEmpty() ? QDir::homePath() : txtLocalBackup->text();
    const QString chosen = m_dialogs.folder(this, tr("Selecione o Local para Backup"), start);
    if (!chosen.isEmpty())
        txtLocalBackup->setText(Rotinas::AddBackslash(chosen));
}

void TtabGeral::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

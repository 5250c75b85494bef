#include "gui/dialogs/TfrmConfSom.h"

#include "core/program/HelpTopics.h"
#include "gui/dialogs/DialogButtons.h"

#include "platform/CommonDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

TfrmConfSom::TfrmConfSom(MessageBoxes& messages, CommonDialogs& dialogs, const SoundPlayer& sound,
                         QWidget* parent)
    : QDialog(parent), m_messages(messages), m_dialogs(dialogs), m_sound(sound) {
    setObjectName(QStringLiteral("frmConfSom"));
    setProperty(HelpTopics::property, QStringLiteral("sounds"));

    rgpEvento = new QGroupBox(this);
    rgpEvento->setObjectName(QStringLiteral("rgpEvento"));
    rgpEventoSemSom = new QRadioButton(rgpEvento);
    rgpEventoSemSom->setObjectName(QStringLiteral("rgpEventoSemSom"));
    rgpEventoSemSom->setChecked(true);
    rgpEventoSom = new QRadioButton(rgpEvento);
    rgpEventoSom->setObjectName(QStringLiteral("rgpEventoSom"));
    fleWave = new QLineEdit(rgpEvento);
    fleWave->setObjectName(QStringLiteral("fleWave"));
    fleWave->setMinimumWidth(260);
    cmdProcurar = new QPushButton(QStringLiteral("..."), rgpEvento);
    cmdProcurar->setObjectName(QStringLiteral("cmdProcurar"));
    cmdProcurar->setAutoDefault(false);
    cmdProcurar->setFixedWidth(28);

    auto* group = new QGridLayout(rgpEvento);
    group->addWidget(rgpEventoSemSom, 0, 0, 1, 3);
    group->addWidget(rgpEventoSom, 1, 0);
    group->addWidget(fleWave, 1, 1);
    group->addWidget(cmdProcurar, 1, 2);

    const DialogButtons okCancel = DialogButtons::create(this);
    cmdOK = okCancel.ok;
    cmdCancelar = okCancel.cancel;
    QBoxLayout* buttons = okCancel.row;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rgpEvento);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(rgpEventoSemSom, &QRadioButton::clicked, this, [this] { rgpEventoClick(); });
    connect(rgpEventoSom, &QRadioButton::clicked, this, [this] { rgpEventoClick(); });
    connect(cmdProcurar, &QPushButton::clicked, this, [this] { cmdProcurarClick(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void TfrmConfSom::retranslate() {
    setWindowTitle(tr("Configurar Som"));
    rgpEventoSemSom->setText(tr("Sem Som"));
    rgpEventoSom->setText(tr("Som:"));
    cmdOK->setText(tr("&OK"));
    cmdCancelar->setText(tr("&Cancelar"));
}

bool TfrmConfSom::edit(const QString& eventCaption, QString& path) {
    rgpEvento->setTitle(eventCaption);
    fleWave->setText(path);
    if (exec() != QDialog::Accepted)
        return false;
    path = fleWave->text();
    return true;
}

void TfrmConfSom::FormShow() {
    const bool hasPath = !fleWave->text().isEmpty();
    (hasPath ? rgpEventoSom : rgpEventoSemSom)->setChecked(true);
    fleWave->setEnabled(hasPath);
}

void TfrmConfSom::rgpEventoClick() {
    fleWave->setEnabled(rgpEventoSom->isChecked());
}

void TfrmConfSom::cmdProcurarClick() {
    const QString chosen =
        m_dialogs.openFile(this, tr("Abrir"), m_sound.soundFolder(), tr("Arquivos Wave (*.wav)"));
    if (!chosen.isEmpty())
        fleWave->setText(chosen);
}

void TfrmConfSom::cmdOKClick() {
    if (rgpEventoSom->isChecked()) {
        if (fleWave->text().isEmpty()) {
            m_messages.error(tr("Selecione um arquivo!"));
            return;
        }
    } else {
        fleWave->clear();
    }
    accept();
}

void TfrmConfSom::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmConfSom::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

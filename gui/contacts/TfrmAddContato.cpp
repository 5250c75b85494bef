#include "gui/contacts/TfrmAddContato.h"

#include "core/program/HelpTopics.h"
#include "core/store/IniFile.h"
#include "gui/contacts/Windows1252Validator.h"
#include "platform/SoundPlayer.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TfrmAddContato::TfrmAddContato(SoundPlayer& sound, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_sound(sound) {
    setObjectName(QStringLiteral("frmAddContato"));
    setProperty(HelpTopics::property, HelpTopics::ofContext(7));

    txtNome = addField(QStringLiteral("txtNome"));
    txtEmail = addField(QStringLiteral("txtEmail"));
    txtAnotacoes = addField(QStringLiteral("txtAnotacoes"));
    txtNome->setMinimumWidth(300);

    const auto label = [this](const QString& name, QLineEdit* buddy) {
        auto* created = new QLabel(this);
        created->setObjectName(name);
        created->setTextFormat(Qt::PlainText);
        created->setBuddy(buddy);
        return created;
    };
    Label1 = label(QStringLiteral("Label1"), txtNome);
    Label2 = label(QStringLiteral("Label2"), txtEmail);
    Label3 = label(QStringLiteral("Label3"), txtAnotacoes);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* fields = new QFormLayout;
    fields->addRow(Label1, txtNome);
    fields->addRow(Label2, txtEmail);
    fields->addRow(Label3, txtAnotacoes);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

QLineEdit* TfrmAddContato::addField(const QString& name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setMaxLength(IniFile::MaxValueLength);
    field->setValidator(new Windows1252Validator(field));
    connect(field, &QLineEdit::inputRejected, this, [this] { m_sound.beep(); });
    return field;
}

void TfrmAddContato::retranslate() {
    setWindowTitle(tr("Adicionar/Modificar Contatos"));
    Label1->setText(tr("&Nome:"));
    Label2->setText(tr("&E-Mail ou IP:"));
    Label3->setText(tr("&Anotações:"));
    cmdOK->setText(tr("OK"));
    cmdCancel->setText(tr("Cancelar"));
}

bool TfrmAddContato::edit(Contact& contact) {
    setContact(contact);
    if (exec() != QDialog::Accepted)
        return false;
    contact = this->contact();
    return true;
}

void TfrmAddContato::setContact(const Contact& contact) {
    txtNome->setText(contact.name);
    txtEmail->setText(contact.address);
    txtAnotacoes->setText(contact.remark);
}

Contact TfrmAddContato::contact() const {
    return {txtNome->text(), txtEmail->text(), txtAnotacoes->text()};
}

void TfrmAddContato::FormShow() {
    txtNome->setFocus(Qt::OtherFocusReason);
}

void TfrmAddContato::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmAddContato::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

#include "gui/dialogs/TfrmInsereBloq.h"

#include "core/program/HelpTopics.h"
#include "gui/dialogs/DialogButtons.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TfrmInsereBloq::TfrmInsereBloq(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInsereBloq"));
    setProperty(HelpTopics::property, QStringLiteral("receive"));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setFixedWidth(289);
    QPalette maroon = Label1->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    Label1->setPalette(maroon);

    txtBloq = new QLineEdit(this);
    txtBloq->setObjectName(QStringLiteral("txtBloq"));

    const DialogButtons okCancel = DialogButtons::create(this);
    cmdOK = okCancel.ok;
    cmdCancelar = okCancel.cancel;
    QBoxLayout* buttons = okCancel.row;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(txtBloq);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void TfrmInsereBloq::retranslate() {
    setWindowTitle(tr("Inserir Remetente Bloqueado"));
    Label1->setText(tr("Insira o e-mail, nome do usuário, nome do computador ou qualquer outra "
                       "informação que identifica o remetente que você deseja bloquear."));
    cmdOK->setText(tr("&OK"));
    cmdCancelar->setText(tr("Cancelar"));
}

std::optional<QString> TfrmInsereBloq::ask() {
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return txtBloq->text();
}

void TfrmInsereBloq::FormShow() {
    txtBloq->clear();
    txtBloq->setFocus();
}

void TfrmInsereBloq::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmInsereBloq::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

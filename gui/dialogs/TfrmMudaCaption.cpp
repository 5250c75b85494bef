#include "gui/dialogs/TfrmMudaCaption.h"

#include "core/program/HelpTopics.h"
#include "gui/dialogs/DialogButtons.h"

#include "core/settings/GeneralSettings.h"
#include "platform/Clock.h"
#include "platform/LocaleInfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

TfrmMudaCaption::TfrmMudaCaption(const Clock& clock, const LocaleInfo& locale,
                                 const GeneralSettings& recGeral, QWidget* parent)
    : QDialog(parent), m_clock(clock), m_locale(locale), m_recGeral(recGeral) {
    setObjectName(QStringLiteral("frmMudaCaption"));
    setProperty(HelpTopics::property, QStringLiteral("title"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    txtCaptionNota = new QLineEdit(this);
    txtCaptionNota->setObjectName(QStringLiteral("txtCaptionNota"));
    txtCaptionNota->setMaxLength(MaxCaptionLength);
    txtCaptionNota->setMinimumWidth(280);
    Label1->setBuddy(txtCaptionNota);

    cmdPadrao = new QPushButton(this);
    cmdPadrao->setObjectName(QStringLiteral("cmdPadrao"));
    cmdPadrao->setAutoDefault(false);
    const DialogButtons okCancel = DialogButtons::create(this);
    cmdOK = okCancel.ok;
    cmdCancelar = okCancel.cancel;

    auto* field = new QHBoxLayout;
    field->addWidget(txtCaptionNota, 1);
    field->addWidget(cmdPadrao);
    QBoxLayout* buttons = okCancel.row;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(field);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(txtCaptionNota, &QLineEdit::textChanged, this, [this] { txtCaptionNotaChange(); });
    connect(cmdPadrao, &QPushButton::clicked, this, [this] { cmdPadraoClick(); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void TfrmMudaCaption::retranslate() {
    setWindowTitle(tr("Muda Título"));
    Label1->setText(tr("&Título da Nota:"));
    cmdPadrao->setText(tr("&Padrão"));
    cmdOK->setText(tr("&OK"));
    cmdCancelar->setText(tr("&Cancelar"));
}

void TfrmMudaCaption::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

bool TfrmMudaCaption::edit(QString& caption) {
    setCaptionText(caption);
    if (exec() != QDialog::Accepted)
        return false;
    caption = txtCaptionNota->text();
    return true;
}

void TfrmMudaCaption::setCaptionText(const QString& text) {
    // The limit holds for typing only: a longer title set here stays whole, and can then
    // be shortened but not lengthened by typing.
    txtCaptionNota->setMaxLength(std::max(MaxCaptionLength, int(text.size())));
    txtCaptionNota->setText(text);
}

void TfrmMudaCaption::FormShow() {
    cmdOK->setEnabled(true);
}

void TfrmMudaCaption::txtCaptionNotaChange() {
    const int length = int(txtCaptionNota->text().size());
    if (txtCaptionNota->maxLength() > MaxCaptionLength && length < txtCaptionNota->maxLength())
        txtCaptionNota->setMaxLength(std::max(MaxCaptionLength, length));
    cmdOK->setEnabled(length > 0);
}

void TfrmMudaCaption::cmdPadraoClick() {
    if (!m_recGeral.ShowDate && !m_recGeral.ShowTime)
        return;
    const QDateTime now = m_clock.now();
    QString text = txtCaptionNota->text();
    if (m_recGeral.ShowDate)
        text = m_locale.formatDate(now.date()) + QLatin1Char(' ');
    if (m_recGeral.ShowTime)
        text += m_locale.formatTime(now.time());
    setCaptionText(text);
}

void TfrmMudaCaption::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

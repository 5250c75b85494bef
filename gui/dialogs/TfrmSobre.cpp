#include "gui/dialogs/TfrmSobre.h"

#include "core/program/HelpTopics.h"
#include "core/program/ProductInfo.h"
#include "gui/dialogs/AboutLogo.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>
#include <QVBoxLayout>

TfrmSobre::TfrmSobre(VersionInfo versionInfo, QWidget* parent)
    : QDialog(parent), m_versionInfo(std::move(versionInfo)) {
    setObjectName(QStringLiteral("frmSobre"));
    setProperty(HelpTopics::property, QStringLiteral("about"));
    // A small tool window with a title but no buttons on its title bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Button, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(AboutLogo::pixmap(devicePixelRatioF()));
    Image1->setAlignment(Qt::AlignCenter);

    lblVerTit = new QLabel(this);
    lblVerTit->setObjectName(QStringLiteral("lblVerTit"));
    QFont bold = lblVerTit->font();
    bold.setBold(true);
    lblVerTit->setFont(bold);
    lblVersao = new QLabel(this);
    lblVersao->setObjectName(QStringLiteral("lblVersao"));
    lblVersao->setTextFormat(Qt::PlainText);
    lblVersao->setWordWrap(true);
    lblVersao->setMinimumWidth(160);

    Label1 = new QLabel(ProductInfo::webAddress(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setCursor(Qt::PointingHandCursor);
    QFont link = Label1->font();
    link.setUnderline(true);
    Label1->setFont(link);
    QPalette blue = Label1->palette();
    blue.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xFF));
    Label1->setPalette(blue);
    Label1->setAlignment(Qt::AlignCenter);

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setFlat(true);
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(75);

    auto* version = new QHBoxLayout;
    version->addStretch(1);
    version->addWidget(lblVerTit, 0, Qt::AlignTop);
    version->addWidget(lblVersao, 0, Qt::AlignTop);
    version->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(Image1);
    layout->addSpacing(6);
    layout->addLayout(version);
    layout->addWidget(Label1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    retranslate();
}

void TfrmSobre::retranslate() {
    setWindowTitle(tr("Sobre o Sistema"));
    lblVerTit->setText(tr("Versão:"));
    // The design text, shown only when the program carries no version information.
    if (!m_versionInfo.aboutText())
        lblVersao->setText(tr("Aqui fica a versão"));
    cmdOK->setText(tr("&OK"));
}

void TfrmSobre::FormShow() {
    if (const std::optional<QString> text = m_versionInfo.aboutText())
        lblVersao->setText(*text);
}

void TfrmSobre::Label1Click() {
    const QUrl address = m_productPage.isEmpty() ? QUrl(ProductInfo::webAddress())
                                                 : QUrl::fromLocalFile(m_productPage);
    if (openLink)
        openLink(address);
}

QWidget* TfrmSobre::clickTarget(const QPoint& position) const {
    QWidget* child = childAt(position);
    if (child == lblVersao || child == Label1)
        return child;
    return child ? nullptr : const_cast<TfrmSobre*>(this);
}

void TfrmSobre::mousePressEvent(QMouseEvent* event) {
    // The labels leave their clicks to the box, which sees them here.
    if (event->button() == Qt::LeftButton)
        m_pressed = clickTarget(event->position().toPoint());
    QDialog::mousePressEvent(event);
}

void TfrmSobre::mouseReleaseEvent(QMouseEvent* event) {
    QWidget* pressed = m_pressed;
    m_pressed = nullptr;
    if (event->button() != Qt::LeftButton || !pressed ||
        clickTarget(event->position().toPoint()) != pressed) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    if (pressed == Label1)
        Label1Click();
    else
        accept(); // the background or the version
}

void TfrmSobre::centreOnScreen() {
    const QScreen* desktop = QGuiApplication::screenAt(QCursor::pos());
    if (!desktop)
        desktop = screen();
    if (!desktop)
        return;
    // The window with its frame, as far as the window system has told its size.
    QRect frame = frameGeometry();
    frame.moveCenter(desktop->availableGeometry().center());
    move(frame.topLeft());
}

void TfrmSobre::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    adjustSize();
    centreOnScreen();
}

void TfrmSobre::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

#include "gui/dialogs/TtabFonteCor.h"

#include "gui/note/NoteFonts.h"

#include "core/notes/DarkenedCaptionColor.h"
#include "gui/note/WinColor.h"
#include "platform/Clock.h"
#include "platform/CommonDialogs.h"
#include "platform/LocaleInfo.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace {

void setPaletteColor(QWidget* widget, QPalette::ColorRole role, int winColor) {
    QPalette palette = widget->palette();
    palette.setColor(role, WinColor::toQColor(winColor));
    widget->setPalette(palette);
}

int paletteColor(const QWidget* widget, QPalette::ColorRole role) {
    return WinColor::fromQColor(widget->palette().color(role));
}

} // namespace

TtabFonteCor::TtabFonteCor(CommonDialogs& dialogs, const Clock& clock, const LocaleInfo& locale,
                           QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_clock(clock), m_locale(locale) {
    setObjectName(QStringLiteral("tabFonteCor"));

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    pnlExemplo = new QFrame(GroupBox1);
    pnlExemplo->setObjectName(QStringLiteral("pnlExemplo"));
    pnlExemplo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlExemplo->setLineWidth(1);
    pnlExemplo->setFixedSize(184, 105);
    pnlExemplo->setAutoFillBackground(true);

    pnlExemploCaption = new QLabel(QStringLiteral("  01/01/2002 12:35"), pnlExemplo);
    pnlExemploCaption->setObjectName(QStringLiteral("pnlExemploCaption"));
    pnlExemploCaption->setTextFormat(Qt::PlainText);
    pnlExemploCaption->setFixedHeight(16);
    pnlExemploCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pnlExemploCaption->setAutoFillBackground(true);
    QFont smallFonts(QStringLiteral("Small Fonts"));
    smallFonts.setPixelSize(9);
    smallFonts.setBold(true);
    pnlExemploCaption->setFont(smallFonts);

    m_exampleText = new QLabel(pnlExemplo);
    m_exampleText->setTextFormat(Qt::PlainText);
    m_exampleText->setAlignment(Qt::AlignCenter);
    scbExemplo = new QScrollBar(Qt::Vertical, pnlExemplo);
    scbExemplo->setObjectName(QStringLiteral("scbExemplo"));
    scbExemplo->setEnabled(false);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(m_exampleText, 1);
    body->addWidget(scbExemplo);
    auto* preview = new QVBoxLayout(pnlExemplo);
    preview->setContentsMargins(1, 1, 1, 1);
    preview->setSpacing(0);
    preview->addWidget(pnlExemploCaption);
    preview->addLayout(body, 1);
    auto* previewGroup = new QVBoxLayout(GroupBox1);
    previewGroup->addWidget(pnlExemplo, 0, Qt::AlignCenter);

    cmdCordeFundo = new QPushButton(this);
    cmdCordeFundo->setObjectName(QStringLiteral("cmdCordeFundo"));
    cmdCordeFundo->setAutoDefault(false);
    cmdFonte = new QPushButton(this);
    cmdFonte->setObjectName(QStringLiteral("cmdFonte"));
    cmdFonte->setAutoDefault(false);
    chkScroll = new QCheckBox(this);
    chkScroll->setObjectName(QStringLiteral("chkScroll"));

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    chkCorCaption = new QCheckBox(GroupBox3);
    chkCorCaption->setObjectName(QStringLiteral("chkCorCaption"));
    TrackBar1 = new QSlider(Qt::Horizontal, GroupBox3);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(1, 25);
    TrackBar1->setTickInterval(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(1);
    TrackBar1->setValue(1);
    chkDataCaption = new QCheckBox(GroupBox3);
    chkDataCaption->setObjectName(QStringLiteral("chkDataCaption"));
    chkHoraCaption = new QCheckBox(GroupBox3);
    chkHoraCaption->setObjectName(QStringLiteral("chkHoraCaption"));

    auto* title = new QGridLayout(GroupBox3);
    title->addWidget(chkCorCaption, 0, 0);
    title->addWidget(TrackBar1, 0, 1);
    title->addWidget(chkDataCaption, 1, 0);
    title->addWidget(chkHoraCaption, 1, 1);

    auto* choices = new QVBoxLayout;
    choices->addWidget(cmdCordeFundo);
    choices->addWidget(cmdFonte);
    choices->addWidget(chkScroll);
    choices->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox1);
    top->addLayout(choices);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(GroupBox3);

    setPreviewColor(0x80FFFF);
    setCaptionColor(0x80FFFF);
    setPreviewFont(m_font);
    setCaptionTextColor(0);

    connect(cmdCordeFundo, &QPushButton::clicked, this, [this] { cmdCordeFundoClick(); });
    connect(cmdFonte, &QPushButton::clicked, this, [this] { cmdFonteClick(); });
    connect(chkScroll, &QCheckBox::toggled, this, [this] { chkScrollClick(); });
    connect(chkCorCaption, &QCheckBox::toggled, this, [this] { chkCorCaptionClick(); });
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    connect(chkDataCaption, &QCheckBox::toggled, this, [this] { chkDataHoraCaptionClick(); });
    connect(chkHoraCaption, &QCheckBox::toggled, this, [this] { chkDataHoraCaptionClick(); });
    retranslate();
}

void TtabFonteCor::retranslate() {
    GroupBox1->setTitle(tr("Pré-Visualização"));
    m_exampleText->setText(tr("Exemplo de Nota"));
    cmdCordeFundo->setText(tr("C&or de Fundo"));
    cmdFonte->setText(tr("&Fonte"));
    chkScroll->setText(tr("E&xibir Barra de Rolagem"));
    GroupBox3->setTitle(tr("Título"));
    chkCorCaption->setText(tr("&Cor Diferenciada"));
    chkDataCaption->setText(tr("Exibir &Data"));
    chkHoraCaption->setText(tr("Exibir &Hora"));
}

int TtabFonteCor::previewColor() const {
    return paletteColor(pnlExemplo, QPalette::Window);
}

void TtabFonteCor::setPreviewColor(int color) {
    setPaletteColor(pnlExemplo, QPalette::Window, color);
}

void TtabFonteCor::setPreviewFont(const NoteFont& font) {
    m_font = font;
    m_exampleText->setFont(NoteFonts::toQFont(font));
    setPaletteColor(m_exampleText, QPalette::WindowText, font.Color);
}

int TtabFonteCor::captionColor() const {
    return paletteColor(pnlExemploCaption, QPalette::Window);
}

void TtabFonteCor::setCaptionColor(int color) {
    setPaletteColor(pnlExemploCaption, QPalette::Window, color);
}

QString TtabFonteCor::captionText() const {
    return pnlExemploCaption->text();
}

int TtabFonteCor::captionTextColor() const {
    return paletteColor(pnlExemploCaption, QPalette::WindowText);
}

void TtabFonteCor::setCaptionTextColor(int color) {
    setPaletteColor(pnlExemploCaption, QPalette::WindowText, color);
}

void TtabFonteCor::cmdCordeFundoClick() {
    const std::optional<int> chosen = m_dialogs.color(this, previewColor());
    if (!chosen)
        return;
    setPreviewColor(*chosen);
    chkCorCaptionClick();
}

void TtabFonteCor::cmdFonteClick() {
    const std::optional<NoteFont> chosen = m_dialogs.font(this, m_font);
    if (!chosen)
        return;
    setPreviewFont(*chosen);
    setCaptionTextColor(chosen->Color);
}

void TtabFonteCor::chkScrollClick() {
    scbExemplo->setVisible(chkScroll->isChecked());
}

void TtabFonteCor::chkCorCaptionClick() {
    TrackBar1->setEnabled(chkCorCaption->isChecked());
    if (chkCorCaption->isChecked())
        TrackBar1Change();
    else
        setCaptionColor(previewColor());
}

void TtabFonteCor::TrackBar1Change() {
    setCaptionColor(DarkenedCaptionColor(previewColor(), TrackBar1->value()));
}

void TtabFonteCor::chkDataHoraCaptionClick() {
    const QDateTime now = m_clock.now();
    QString text;
    if (chkDataCaption->isChecked())
        text = m_locale.formatDate(now.date()) + QLatin1Char(' ');
    if (chkHoraCaption->isChecked())
        text += m_locale.formatTime(now.time());
    pnlExemploCaption->setText(text);
}

void TtabFonteCor::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

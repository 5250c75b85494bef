#include "gui/note/NoteCaptionBar.h"

#include "core/notes/Note.h"

#include "gui/note/CaptionButton.h"
#include "gui/note/NoteIcons.h"
#include "gui/note/NoteLabelFont.h"
#include "gui/note/WinColor.h"

#include <QLabel>

#include <algorithm>

namespace {

constexpr int kPanel1Width = 16;
constexpr int kIconWidth = 14;
constexpr int kButtonSize = 13;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new CaptionButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    button->setFont(NoteLabelFont::font(true, false));
    return button;
}

QLabel* makeIcon(QWidget* parent, const char* name, const QPixmap& picture) {
    auto* icon = new QLabel(parent);
    icon->setObjectName(QLatin1String(name));
    icon->setPixmap(picture);
    icon->setFixedSize(kIconWidth, NoteCaptionBar::BarHeight);
    icon->hide();
    return icon;
}

void setRoleColor(QWidget* widget, QPalette::ColorRole role, int color) {
    QPalette palette = widget->palette();
    palette.setColor(role, WinColor::toQColor(color));
    widget->setPalette(palette);
}

} // namespace

NoteCaptionBar::NoteCaptionBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnlCaption"));
    setAutoFillBackground(true);
    setCursor(Qt::ArrowCursor);

    // Presses on the icon panel neither move the window nor reach the caption bar.
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAttribute(Qt::WA_NoMousePropagation);
    Panel1->setGeometry(0, 0, kPanel1Width, BarHeight);
    imgAlarme = makeIcon(Panel1, "imgAlarme", NoteIcons::alarmSet());
    imgAlarmeOn = makeIcon(Panel1, "imgAlarmeOn", NoteIcons::alarmRinging());

    lblCaption = new QLabel(this);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setTextFormat(Qt::PlainText);
    lblCaption->setFont(NoteLabelFont::font(true, false));
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    cmdEsconder = makeButton(this, "cmdEsconder", QStringLiteral("-"));
    cmdApagarPostit = makeButton(this, "cmdApagarPostit", QStringLiteral("X"));
    connect(cmdEsconder, &QPushButton::clicked, this, &NoteCaptionBar::hideClicked);
    connect(cmdApagarPostit, &QPushButton::clicked, this, &NoteCaptionBar::deleteClicked);
    retranslate();
}

void NoteCaptionBar::retranslate() {
    cmdEsconder->setToolTip(tr("Esconder esta nota"));
    cmdApagarPostit->setToolTip(tr("Apagar esta nota"));
}

QString NoteCaptionBar::caption() const {
    return m_caption;
}

void NoteCaptionBar::setCaption(const QString& caption) {
    m_caption = caption;
    lblCaption->setText(caption);
    m_captionWidth = lblCaption->sizeHint().width();
    placeParts(width());
}

int NoteCaptionBar::barColor() const {
    return WinColor::fromQColor(palette().color(QPalette::Window));
}

void NoteCaptionBar::setBarColor(int color) {
    setRoleColor(this, QPalette::Window, color);
}

int NoteCaptionBar::textColor() const {
    return WinColor::fromQColor(lblCaption->palette().color(QPalette::WindowText));
}

void NoteCaptionBar::setTextColor(int color) {
    setRoleColor(lblCaption, QPalette::WindowText, color);
}

void NoteCaptionBar::setAlarmIconVisible(bool on) {
    imgAlarme->setVisible(on);
    placeParts(width());
}

bool NoteCaptionBar::alarmIconVisible() const {
    return !imgAlarme->isHidden();
}

void NoteCaptionBar::setRingingIconVisible(bool on) {
    imgAlarmeOn->setVisible(on);
    placeParts(width());
}

bool NoteCaptionBar::ringingIconVisible() const {
    return !imgAlarmeOn->isHidden();
}

bool NoteCaptionBar::captionWiderThan(int width) const {
    return m_captionWidth > width;
}

void NoteCaptionBar::placeParts(int width) {
    setGeometry(0, 0, width, BarHeight);
    // The ringing icon follows the alarm-set icon when both show.
    imgAlarme->move(0, 0);
    imgAlarmeOn->move(imgAlarme->isHidden() ? 0 : kIconWidth, 0);
    // The caption ends where the buttons begin, with an ellipsis when it is cut.
    const int room = std::max(0, width - kPanel1Width - 2 * kButtonSize);
    const QString shown =
        m_captionWidth <= room
            ? m_caption
            : lblCaption->fontMetrics().elidedText(m_caption, Qt::ElideRight, room);
    if (lblCaption->text() != shown)
        lblCaption->setText(shown);
    lblCaption->setGeometry(kPanel1Width, 0, std::min(m_captionWidth, room), BarHeight);
    cmdApagarPostit->move(width - kButtonSize, 0);
    cmdEsconder->move(width - 2 * kButtonSize, 0);
    cmdEsconder->raise();
    cmdApagarPostit->raise();
}

void NoteCaptionBar::showNote(const Note& note) {
    if (caption() != note.record().caption)
        setCaption(note.record().caption);
    if (barColor() != note.captionColor())
        setBarColor(note.captionColor());
    if (textColor() != note.captionTextColor())
        setTextColor(note.captionTextColor());
    if (alarmIconVisible() != note.alarmIconShown())
        setAlarmIconVisible(note.alarmIconShown());
    if (ringingIconVisible() != note.ringing())
        setRingingIconVisible(note.ringing());
}

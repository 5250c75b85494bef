#include "note/TfPostIt.h"

#include "note/NoteHost.h"
#include "note/NoteIcons.h"
#include "note/NoteMessage.h"
#include "note/NotePrinter.h"
#include "note/UrlSelection.h"
#include "note/WinColor.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int kDesignWidth = 170;
constexpr int kDesignHeight = 120;
constexpr int kMinimumWidth = 80;
constexpr int kMinimumHeight = 40;
constexpr int kCaptionHeight = 13;
constexpr int kPanel1Width = 16;
constexpr int kIconWidth = 14;
constexpr int kButtonSize = 13;
constexpr int kMemoTop = 16;
constexpr int kFooterHeight = 12;
constexpr int kDesignColor = 0x7BFFFF;
// Font sizes from a damaged file or a peer are kept in the record but shown within this
// range, so a note cannot make its text unreadably small or enormous.
constexpr int kMaxShownFontSize = 400;

// "Small Fonts" at 9 pixels, the font of the caption and footer labels.
QFont smallFont(bool bold, bool italic) {
    QFont font(QStringLiteral("Small Fonts"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(9);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void setRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

QPushButton* makeCaptionButton(QWidget* parent, const char* name, const QString& text,
                               const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setCursor(Qt::ArrowCursor);
    button->setFont(smallFont(true, false));
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: white; color: black;"
                                         " border: 1px solid #808080; padding: 0px; }"
                                         "QPushButton:pressed { background-color: #d0d0d0; }"));
    return button;
}

} // namespace

TfPostIt::TfPostIt(NoteHost* host, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool), m_host(host) {
    setObjectName(QStringLiteral("fPostIt"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFont(smallFont(true, false));
    setWindowIcon(NoteIcons::programIcon());

    pnlCaption = new QWidget(this);
    pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    pnlCaption->setAutoFillBackground(true);
    pnlCaption->setCursor(Qt::ArrowCursor);
    pnlCaption->installEventFilter(this);

    // Presses on the icon panel neither move the window nor reach the caption bar.
    Panel1 = new QWidget(pnlCaption);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAttribute(Qt::WA_NoMousePropagation);

    imgAlarme = new QLabel(Panel1);
    imgAlarme->setObjectName(QStringLiteral("imgAlarme"));
    imgAlarme->setPixmap(NoteIcons::alarmSet());
    imgAlarme->setFixedSize(kIconWidth, kCaptionHeight);
    imgAlarme->installEventFilter(this);
    imgAlarme->hide();

    imgAlarmeOn = new QLabel(Panel1);
    imgAlarmeOn->setObjectName(QStringLiteral("imgAlarmeOn"));
    imgAlarmeOn->setPixmap(NoteIcons::alarmRinging());
    imgAlarmeOn->setFixedSize(kIconWidth, kCaptionHeight);
    imgAlarmeOn->installEventFilter(this);
    imgAlarmeOn->hide();

    lblCaption = new QLabel(pnlCaption);
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setTextFormat(Qt::PlainText);
    lblCaption->setFont(smallFont(true, false));
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblCaption->installEventFilter(this);

    cmdEsconder = makeCaptionButton(pnlCaption, "cmdEsconder", QStringLiteral("-"),
                                    QStringLiteral("Esconder esta nota"));
    cmdApagarPostit = makeCaptionButton(pnlCaption, "cmdApagarPostit", QStringLiteral("X"),
                                        QStringLiteral("Apagar esta nota"));
    connect(cmdEsconder, &QPushButton::clicked, this, &TfPostIt::cmdEsconderClick);
    connect(cmdApagarPostit, &QPushButton::clicked, this, &TfPostIt::ApagarSticky);

    memPostit = new QPlainTextEdit(this);
    memPostit->setObjectName(QStringLiteral("memPostit"));
    memPostit->setFrameShape(QFrame::NoFrame);
    memPostit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memPostit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memPostit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memPostit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memPostit->setCursor(Qt::ArrowCursor); // the viewport keeps its text cursor
    memPostit->document()->setDocumentMargin(2);
    memPostit->installEventFilter(this);
    memPostit->viewport()->installEventFilter(this);
    // The note's own menu, also over the text: it holds copy and paste and offers to
    // open a selected address.
    memPostit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memPostit, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popPrincipal->popup(memPostit->viewport()->mapToGlobal(pos));
    });

    pnlRodape = new QWidget(this);
    pnlRodape->setObjectName(QStringLiteral("pnlRodape"));
    pnlRodape->setAutoFillBackground(true);
    pnlRodape->setCursor(Qt::ArrowCursor);
    pnlRodape->installEventFilter(this);
    pnlRodape->hide();

    lblRodape = new QLabel(pnlRodape);
    lblRodape->setObjectName(QStringLiteral("lblRodape"));
    lblRodape->setTextFormat(Qt::PlainText);
    lblRodape->setFont(smallFont(false, true));
    lblRodape->move(3, 1);
    lblRodape->installEventFilter(this);

    pnlCaption->setGeometry(0, 0, kDesignWidth, kCaptionHeight);
    pnlRodape->resize(kDesignWidth, kFooterHeight);
    Panel1->setGeometry(0, 0, kPanel1Width, kCaptionHeight);

    createMenu();

    setColor(kDesignColor);
    setCaptionColor(kDesignColor);
    setCaptionTextColor(0);
    applyMemoFont();
    resize(kDesignWidth, kDesignHeight);
    FormResize();
}

TfPostIt::~TfPostIt() = default;

QString TfPostIt::caption() const {
    return lblCaption->text();
}

void TfPostIt::setCaption(const QString& caption) {
    lblCaption->setText(caption);
    placeCaptionParts();
}

QString TfPostIt::note() const {
    // Built from the blocks rather than toPlainText(), which would turn non-breaking
    // spaces into ordinary ones.
    QString text;
    for (QTextBlock block = memPostit->document()->begin(); block.isValid(); block = block.next()) {
        if (block != memPostit->document()->begin()) {
            text += QStringLiteral("\r\n");
        }
        text += block.text();
    }
    return text;
}

void TfPostIt::setNote(const QString& text) {
    // The editor starts a new line at every CR and at every LF, so CR LF pairs and lone
    // CRs become single LFs first.
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memPostit->setPlainText(normalised);
}

int TfPostIt::Color() const {
    return m_color;
}

void TfPostIt::setColor(int color) {
    m_color = color;
    const QColor qcolor = WinColor::toQColor(color);
    setRoleColor(this, QPalette::Window, qcolor);
    setRoleColor(memPostit, QPalette::Base, qcolor);
    setRoleColor(pnlRodape, QPalette::Window, qcolor);
}

int TfPostIt::captionColor() const {
    return WinColor::fromQColor(pnlCaption->palette().color(QPalette::Window));
}

void TfPostIt::setCaptionColor(int color) {
    setRoleColor(pnlCaption, QPalette::Window, WinColor::toQColor(color));
}

int TfPostIt::captionTextColor() const {
    return WinColor::fromQColor(lblCaption->palette().color(QPalette::WindowText));
}

void TfPostIt::setCaptionTextColor(int color) {
    setRoleColor(lblCaption, QPalette::WindowText, WinColor::toQColor(color));
}

bool TfPostIt::scrollbar() const {
    return m_scrollbar;
}

void TfPostIt::setScrollbar(bool on) {
    m_scrollbar = on;
    memPostit->setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

QString TfPostIt::Rodape() const {
    return lblRodape->text();
}

void TfPostIt::setRodape(const QString& text) {
    lblRodape->setText(text);
    lblRodape->adjustSize();
    pnlRodape->setVisible(!text.isEmpty());
    // The reply command (and its shortcut) exists exactly for received notes.
    if (mnuResponder)
        mnuResponder->setVisible(!text.isEmpty());
    FormResize();
}

bool TfPostIt::footerVisible() const {
    return !pnlRodape->isHidden();
}

TNoteFont TfPostIt::memoFont() const {
    return m_font;
}

void TfPostIt::setMemoFont(const TNoteFont& font) {
    m_font = font;
    applyMemoFont();
}

void TfPostIt::applyMemoFont() {
    QFont font(m_font.Name);
    font.setPointSize(std::clamp(m_font.Size, 1, kMaxShownFontSize));
    font.setBold(m_font.Bold);
    font.setItalic(m_font.Italic);
    memPostit->setFont(font);
    setRoleColor(memPostit, QPalette::Text, WinColor::toQColor(m_font.Color));
}

QDateTime TfPostIt::AlarmDateTime() const {
    return m_alarmDateTime;
}

void TfPostIt::setAlarmDateTime(const QDateTime& when) {
    m_alarmDateTime = when;
}

bool TfPostIt::topmost() const {
    return m_topmost;
}

void TfPostIt::setTopmost(bool on) {
    m_topmost = on;
    mnuOnTop->setChecked(on);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    // Changing the flag recreates the native window hidden; put it back where it was.
    QRect geometryBefore = geometry();
    if (m_placedAt)
        geometryBefore.moveTopLeft(*m_placedAt);
    const bool shown = !isHidden();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(geometryBefore);
    if (shown) {
        show();
    }
}

void TfPostIt::setAlarmIconVisible(bool on) {
    imgAlarme->setVisible(on);
    placeCaptionParts();
}

bool TfPostIt::alarmIconVisible() const {
    return !imgAlarme->isHidden();
}

void TfPostIt::setRingingIconVisible(bool on) {
    imgAlarmeOn->setVisible(on);
    placeCaptionParts();
}

bool TfPostIt::ringingIconVisible() const {
    return !imgAlarmeOn->isHidden();
}

void TfPostIt::setBounds(int posx, int posy, int width, int height) {
    m_placedAt = QPoint(posx, posy);
    m_placeCorrections = 0;
    setGeometry(posx, posy, width, height);
}

QRect TfPostIt::bounds() const {
    return geometry();
}

NoteRecord TfPostIt::toRecord() const {
    NoteRecord record;
    record.caption = caption();
    record.visible = !isHidden();
    record.topmost = topmost();
    record.alarm = alarm;
    record.AlarmDateTime = AlarmDateTime();
    record.UseSound = UseSound;
    record.SoundFile = SoundFile;
    record.Dia = Dia;
    record.Remember = Remember;
    record.RememberNo = RememberNo;
    record.RememberUnit = RememberUnit;
    record.note = note();
    record.scrollbar = scrollbar();
    record.DarkCaption = DarkCaption;
    record.TrackPosition = TrackPosition;
    const QRect outer = bounds();
    record.posx = outer.x();
    record.posy = outer.y();
    record.Width = outer.width();
    record.Height = outer.height();
    record.FontName = m_font.Name;
    record.FontSize = m_font.Size;
    record.FontColor = m_font.Color;
    record.FontBold = m_font.Bold;
    record.FontItalic = m_font.Italic;
    // The colour is saved from the text area, which is what the user sees.
    record.Color = WinColor::fromQColor(memPostit->palette().color(QPalette::Base));
    record.Rodape = footerVisible() ? Rodape() : QString();
    return record;
}

void TfPostIt::placeCaptionParts() {
    const int clientWidth = width();
    pnlCaption->setGeometry(0, 0, clientWidth, kCaptionHeight);
    // The icons are aligned left inside Panel1: the ringing icon follows the alarm-set
    // icon when both show.
    imgAlarme->move(0, 0);
    imgAlarmeOn->move(imgAlarme->isHidden() ? 0 : kIconWidth, 0);
    lblCaption->setGeometry(kPanel1Width, 0, lblCaption->sizeHint().width(), kCaptionHeight);
    cmdApagarPostit->move(clientWidth - kButtonSize, 0);
    cmdEsconder->move(clientWidth - 2 * kButtonSize, 0);
    cmdEsconder->raise();
    cmdApagarPostit->raise();
}

void TfPostIt::FormResize() {
    placeCaptionParts();
    const int clientWidth = width();
    const int clientHeight = height();
    const int memoWidth = std::max(0, clientWidth - 5);
    int memoHeight = 0;
    if (footerVisible()) {
        const int footerHeight = pnlRodape->height();
        pnlRodape->setGeometry(0, clientHeight - footerHeight - 2, std::max(0, clientWidth - 2),
                               footerHeight);
        memoHeight = clientHeight - kCaptionHeight - footerHeight - 5;
    } else {
        memoHeight = clientHeight - kCaptionHeight - 5;
    }
    memPostit->setGeometry(0, kMemoTop, memoWidth, std::max(0, memoHeight));
}

void TfPostIt::lblCaptionMouseEnter() {
    if (lblCaption->width() > width() - 40) {
        // Rich text made from the escaped caption, so the title shows exactly as typed.
        setToolTip(
            QStringLiteral("<p style='white-space:pre'>%1</p>").arg(caption().toHtmlEscaped()));
    } else {
        setToolTip(QString());
    }
}

void TfPostIt::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Some X11 window managers report a frameless window at the wrong place right after
    // it is mapped, and the window system then believes it. Until the user moves the
    // note, a position other than the one it was placed at is put right (a few times at
    // most, so a window manager that insists on its own placement wins).
    if (m_placedAt && event->pos() != *m_placedAt && isVisible() && m_placeCorrections < 3) {
        ++m_placeCorrections;
        QTimer::singleShot(0, this, [this] {
            if (m_placedAt && pos() != *m_placedAt)
                move(*m_placedAt);
        });
    }
}

void TfPostIt::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TfPostIt::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const NoteHitTest::Zone zone = NoteHitTest::zoneAt(pos.x(), pos.y(), width(), height());
    if (zone != NoteHitTest::Client) {
        beginMoveOrResize(zone, event->globalPosition().toPoint());
    }
    event->accept();
}

void TfPostIt::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragZone != NoteHitTest::Client) {
        dragTo(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        const QPoint pos = event->position().toPoint();
        setCursor(NoteHitTest::cursor(NoteHitTest::zoneAt(pos.x(), pos.y(), width(), height())));
    }
    QWidget::mouseMoveEvent(event);
}

void TfPostIt::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragZone = NoteHitTest::Client;
    }
    QWidget::mouseReleaseEvent(event);
}

bool TfPostIt::eventFilter(QObject* watched, QEvent* event) {
    // Events can arrive while the constructor is still building the components.
    if (!memPostit || !popPrincipal)
        return QWidget::eventFilter(watched, event);
    if (watched == lblCaption && event->type() == QEvent::Enter) {
        lblCaptionMouseEnter();
    }
    if (watched == memPostit && event->type() == QEvent::ShortcutOverride) {
        // The note's menu shortcuts (Ctrl+A among them) win over the text area's own.
        if (isMenuShortcut(static_cast<QKeyEvent*>(event)))
            return true;
    }
    if (watched == memPostit->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        memPostitClick();
    }
    if (watched == imgAlarme || watched == imgAlarmeOn) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (event->type() == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
            imgAlarmeDblClick();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            if (watched == imgAlarmeOn)
                imgAlarmeOnClick();
            return true;
        }
    }
    if (watched == pnlCaption || watched == lblCaption || watched == pnlRodape ||
        watched == lblRodape) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            // A click on the caption acknowledges a ringing alarm; the press also moves.
            if ((watched == pnlCaption || watched == lblCaption) &&
                mouse->button() == Qt::LeftButton)
                lblCaptionClick();
            return pnlCaptionMouseDown(mouse);
        }
        case QEvent::MouseMove:
            if (m_dragZone != NoteHitTest::Client) {
                dragTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_dragZone = NoteHitTest::Client;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TfPostIt::pnlCaptionMouseDown(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        beginMoveOrResize(NoteHitTest::Caption, event->globalPosition().toPoint());
    }
    // Other buttons do nothing here; the press is not passed on to the window either,
    // where it would be taken for a press on the window's own surface.
    return true;
}

void TfPostIt::beginMoveOrResize(NoteHitTest::Zone zone, const QPoint& globalPos) {
    // From now on the note is where the user puts it.
    m_placedAt.reset();
    // Moving is left to the window manager. Resizing is done here: some X11 window
    // managers size a frameless window from the wrong origin when asked to resize it.
    bool started = false;
    if (zone == NoteHitTest::Caption) {
        if (QWindow* window = windowHandle())
            started = window->startSystemMove();
    }
    if (!started) {
        m_dragZone = zone;
        m_dragStart = globalPos;
        m_dragStartGeometry = geometry();
    }
}

void TfPostIt::dragTo(const QPoint& globalPos) {
    const QPoint delta = globalPos - m_dragStart;
    QRect target = m_dragStartGeometry;
    if (m_dragZone == NoteHitTest::Caption) {
        target.translate(delta);
        setGeometry(target);
        return;
    }
    const Qt::Edges edges = NoteHitTest::edges(m_dragZone);
    const QSize minimum = minimumSize();
    if (edges & Qt::LeftEdge) {
        target.setLeft(std::min(target.left() + delta.x(), target.right() + 1 - minimum.width()));
    }
    if (edges & Qt::RightEdge) {
        target.setRight(std::max(target.right() + delta.x(), target.left() + minimum.width() - 1));
    }
    if (edges & Qt::TopEdge) {
        target.setTop(std::min(target.top() + delta.y(), target.bottom() + 1 - minimum.height()));
    }
    if (edges & Qt::BottomEdge) {
        target.setBottom(
            std::max(target.bottom() + delta.y(), target.top() + minimum.height() - 1));
    }
    setGeometry(target);
}

void TfPostIt::contextMenuEvent(QContextMenuEvent* event) {
    popPrincipal->popup(event->globalPos());
    event->accept();
}

void TfPostIt::createMenu() {
    popPrincipal = new QMenu(this);
    popPrincipal->setObjectName(QStringLiteral("popPrincipal"));
    auto item = [this](QMenu* menu, const char* name, const QString& text,
                       const QKeySequence& shortcut, void (TfPostIt::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
            // Shortcuts work while the menu is closed, too.
            addAction(action);
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };

    mnuURL = item(popPrincipal, "mnuURL", QStringLiteral("Abrir &URL"), {}, &TfPostIt::mnuURLClick);
    sepURL = separator(popPrincipal, "sepURL");
    mnuURL->setVisible(false);
    sepURL->setVisible(false);
    mnuConfigurar = item(popPrincipal, "mnuConfigurar", QStringLiteral("C&onfigurar..."), {},
                         &TfPostIt::mnuConfigurarClick);
    mnuMudaCaption = item(popPrincipal, "mnuMudaCaption", QStringLiteral("&Título da Nota..."),
                          QKeySequence(Qt::CTRL | Qt::Key_T), &TfPostIt::mnuMudaCaptionClick);
    mnuAlarme = item(popPrincipal, "mnuAlarme", QStringLiteral("Alarme..."),
                     QKeySequence(Qt::CTRL | Qt::Key_A), &TfPostIt::imgAlarmeDblClick);
    separator(popPrincipal, "N4");
    mnuOnTop = item(popPrincipal, "mnuOnTop", QStringLiteral("Sempre &Visível"), {},
                    &TfPostIt::mnuOnTopClick);
    mnuOnTop->setCheckable(true);
    separator(popPrincipal, "N5");
    mnuCopiar =
        item(popPrincipal, "mnuCopiar", QStringLiteral("Co&piar"), {}, &TfPostIt::mnuCopiarClick);
    mnuColar =
        item(popPrincipal, "mnuColar", QStringLiteral("C&olar"), {}, &TfPostIt::mnuColarClick);
    separator(popPrincipal, "N2");
    mnuEnviar = popPrincipal->addMenu(QStringLiteral("Enviar..."));
    mnuEnviar->setObjectName(QStringLiteral("mnuEnviar"));
    EnviarpelaRede1 = item(mnuEnviar, "EnviarpelaRede1", QStringLiteral("&Para um Computador..."),
                           QKeySequence(Qt::CTRL | Qt::Key_S), &TfPostIt::EnviarpelaRede1Click);
    mnuResponder = item(mnuEnviar, "mnuResponder", QStringLiteral("&Responder para Computador..."),
                        QKeySequence(Qt::CTRL | Qt::Key_R), &TfPostIt::mnuResponderClick);
    mnuResponder->setVisible(false);
    separator(mnuEnviar, "N3");
    EMail1 = item(mnuEnviar, "EMail1", QStringLiteral("E-Mail..."),
                  QKeySequence(Qt::CTRL | Qt::Key_E), &TfPostIt::EMail1Click);
    mnuImprimir = item(popPrincipal, "mnuImprimir", QStringLiteral("&Imprimir"), {},
                       &TfPostIt::mnuImprimirClick);
    separator(popPrincipal, "N1");
    Sair1 = item(popPrincipal, "Sair1", QStringLiteral("&Apagar Nota..."),
                 QKeySequence(Qt::CTRL | Qt::Key_Q), &TfPostIt::ApagarSticky);

    connect(popPrincipal, &QMenu::aboutToShow, this, &TfPostIt::popPrincipalPopup);
}

bool TfPostIt::isMenuShortcut(QKeyEvent* event) const {
    const QKeySequence pressed(event->keyCombination());
    for (const QAction* action : actions()) {
        if (action->isEnabled() && action->shortcut() == pressed)
            return true;
    }
    return false;
}

QString TfPostIt::selectedText() const {
    QString text = memPostit->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

void TfPostIt::popPrincipalPopup() {
    // The reply item follows the footer already (setRodape).
    mnuEnviar->setEnabled(m_host && m_host->networkEnabled());
    const bool offerUrl =
        memPostit->textCursor().hasSelection() && UrlSelection::looksLikeUrl(selectedText());
    mnuURL->setVisible(offerUrl);
    sepURL->setVisible(offerUrl);
}

void TfPostIt::mnuURLClick() {
    // Only web and mail addresses are handed to the desktop; anything else is ignored
    // without a message.
    const std::optional<QUrl> url = UrlSelection::openableUrl(selectedText());
    if (url && m_host)
        m_host->openUrl(*url);
}

void TfPostIt::mnuConfigurarClick() {
    if (m_host)
        m_host->configureNote(*this, 0, 2);
}

void TfPostIt::imgAlarmeDblClick() {
    if (m_host)
        m_host->configureNote(*this, 1, 3);
}

void TfPostIt::mnuMudaCaptionClick() {
    QString text = caption();
    // The dialog runs its own event loop, in which the program may close and delete
    // this note.
    const QPointer<TfPostIt> self(this);
    if (m_host && m_host->editCaption(text) && self)
        setCaption(text);
}

void TfPostIt::mnuOnTopClick() {
    // The item's check mark was toggled by the click; the window follows it.
    setTopmost(mnuOnTop->isChecked());
}

void TfPostIt::mnuCopiarClick() {
    memPostit->copy();
}

void TfPostIt::mnuColarClick() {
    memPostit->paste();
}

// Sending and mailing are reachable only with the network functions on, by the menu
// and by the shortcuts alike.
void TfPostIt::EnviarpelaRede1Click() {
    if (m_host && m_host->networkEnabled())
        m_host->sendNote(Tag, QString());
}

void TfPostIt::mnuResponderClick() {
    if (m_host && m_host->networkEnabled() && footerVisible())
        m_host->sendNote(Tag, replyAddress);
}

void TfPostIt::EMail1Click() {
    if (m_host && m_host->networkEnabled())
        m_host->mailNote(QStringLiteral("Tacknote - ") + caption(), note());
}

void TfPostIt::mnuImprimirClick() {
    NotePrinter::printWithDialog(this, caption(), note(), memPostit->font());
}

void TfPostIt::postToMain(int type, int noteNumber) {
    if (messageTarget)
        QCoreApplication::postEvent(
            messageTarget, new NoteMessage(static_cast<QEvent::Type>(type), noteNumber, this));
}

void TfPostIt::ApagarSticky() {
    postToMain(NoteMessage::WM_DELETENOTE, Tag);
}

void TfPostIt::cmdEsconderClick() {
    if (ringingIconVisible()) {
        setRingingIconVisible(false);
        postToMain(NoteMessage::WM_STOPALARM, 0);
    }
    hide();
}

void TfPostIt::imgAlarmeOnClick() {
    postToMain(NoteMessage::WM_STOPALARM, 0);
    // A reminder has been armed again: its alarm-set icon comes back.
    if (Remember && alarm)
        imgAlarme->setVisible(true);
    setRingingIconVisible(false);
}

void TfPostIt::memPostitClick() {
    setRingingIconVisible(false);
    postToMain(NoteMessage::WM_STOPALARM, 0);
}

void TfPostIt::lblCaptionClick() {
    if (ringingIconVisible()) {
        setRingingIconVisible(false);
        postToMain(NoteMessage::WM_STOPALARM, 0);
    }
}

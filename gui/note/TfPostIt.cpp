#include "gui/note/TfPostIt.h"

#include "core/notes/Note.h"
#include "core/notes/NoteDefaults.h"
#include "core/notes/NoteGeometry.h"
#include "core/notes/UrlSelection.h"
#include "core/program/HelpTopics.h"
#include "gui/note/NoteCaptionBar.h"
#include "gui/note/NoteEdit.h"
#include "gui/note/NoteFooter.h"
#include "gui/note/NoteHost.h"
#include "gui/note/NoteIcons.h"
#include "gui/note/NoteLabelFont.h"
#include "gui/note/NoteMessage.h"
#include "gui/note/NoteMouse.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/note/WinColor.h"
#include "platform/WindowSystemHints.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMoveEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace {

constexpr int kMemoTop = 16;
// Font sizes from a damaged file or a peer are kept in the record but shown within this
// range, so a note cannot make its text unreadably small or enormous.
constexpr int kMaxShownFontSize = 400;

void setRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

TfPostIt::TfPostIt(Note& note, NoteHost* host, WindowSystemHints* hints, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Tool), m_note(note), m_host(host),
      m_hints(hints) {
    setObjectName(QStringLiteral("fPostIt"));
    setProperty(HelpTopics::property, HelpTopics::ofContext(1));
    setMinimumSize(NoteGeometry::MinWidth, NoteGeometry::MinHeight);
    setAutoFillBackground(true);
    setMouseTracking(true);
    // The caption's tooltip and the buttons' hints show on a note that is not active
    // too: notes are seldom the active window.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFont(NoteLabelFont::font(true, false));
    setWindowIcon(NoteIcons::noteWindowIcon());
    if (m_hints)
        m_hints->releaseSurfaceWhenIdle(*this);

    pnlCaption = new NoteCaptionBar(this);
    connect(pnlCaption, &NoteCaptionBar::hideClicked, this, &TfPostIt::cmdEsconderClick);
    connect(pnlCaption, &NoteCaptionBar::deleteClicked, this, &TfPostIt::ApagarSticky);

    memPostit = new NoteEdit(this);
    // The note's own menu, also over the text: it holds copy and paste and offers to
    // open a selected address.
    memPostit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memPostit, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        popPrincipal->popup(memPostit->viewport()->mapToGlobal(pos));
    });
    connect(memPostit->document(), &QTextDocument::contentsChanged, this, [this] {
        if (m_rendering || !m_constructed)
            return;
        m_shown.note = memPostit->noteText();
        m_note.setText(m_shown.note);
    });

    pnlRodape = new NoteFooter(this);
    lblRodape = pnlRodape->label();

    createMenu();
    m_mouse = new NoteMouse(*this, *pnlCaption, *memPostit, *pnlRodape, *lblRodape);
    retranslate();

    resize(NoteDefaults::DesignWidth, NoteDefaults::DesignHeight);
    FormResize();
    // Shown from scratch: every value differs from what is "shown" before.
    m_shown.note = m_shown.footer = m_shown.caption = QStringLiteral("\n");
    m_shown.visible = !note.record().visible;
    m_shown.topmost = !note.record().topmost;
    m_shown.Color = m_shown.FontColor = m_shown.FontSize = m_shown.Width = -1;
    m_shown.scrollbar = !note.record().scrollbar;
    render();
    connect(&m_note, &Note::recordChanged, this, &TfPostIt::render);
    connect(&m_note, &Note::displayChanged, this, &TfPostIt::render);
    m_constructed = true;
}

TfPostIt::~TfPostIt() = default;

void TfPostIt::render() {
    const NoteRecord& r = m_note.record();
    {
        QScopedValueRollback rendering(m_rendering, true);
        if (r.Color != m_shown.Color) {
            const QColor color = WinColor::toQColor(r.Color);
            setRoleColor(this, QPalette::Window, color);
            setRoleColor(memPostit, QPalette::Base, color);
            setRoleColor(pnlRodape, QPalette::Window, color);
        }
        if (r.scrollbar != m_shown.scrollbar)
            memPostit->setVerticalScrollBarPolicy(r.scrollbar ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAlwaysOff);
        if (r.footer != m_shown.footer) {
            pnlRodape->setText(r.footer);
            // The reply command (and its shortcut) exists exactly for received notes.
            popPrincipal->mnuResponder->setVisible(!r.footer.isEmpty());
            FormResize();
        }
        const QRect bounds(r.posx, r.posy, r.Width, r.Height);
        // A note kept where it is (shown away from its own place, say) leaves the window
        // alone.
        if (QRect(m_shown.posx, m_shown.posy, m_shown.Width, m_shown.Height) != bounds &&
            recordedBounds() != bounds)
            applyBounds(bounds);
        if (r.FontName != m_shown.FontName || r.FontSize != m_shown.FontSize ||
            r.FontColor != m_shown.FontColor || r.FontBold != m_shown.FontBold ||
            r.FontItalic != m_shown.FontItalic)
            applyMemoFont();
        if (r.caption != m_shown.caption) {
            // The native window's title, for window lists that show notes anyway; "[*]" is
            // the placeholder of Qt's modified mark unless doubled.
            QString title = r.caption;
            setWindowTitle(title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
        }
        if (r.note != m_shown.note && r.note != memPostit->noteText())
            memPostit->setNoteText(r.note);
        if (r.topmost != m_shown.topmost)
            applyTopmost(r.topmost);
        pnlCaption->showNote(m_note);
        m_shown = r;
        if (isHidden() == r.visible) {
            // Shown as it is, once, and without taking the keyboard focus: a note read from
            // the file does not ask for the user's attention (whoever wants that, as for a
            // new note, activates it).
            setAttribute(Qt::WA_ShowWithoutActivating);
            setVisible(r.visible);
            setAttribute(Qt::WA_ShowWithoutActivating, false);
        }
    }
    // The text area may hold a text a little differently (a line break of another kind):
    // the note holds what the user sees.
    if (const QString shown = memPostit->noteText(); shown != r.note) {
        m_shown.note = shown;
        m_note.edit([&shown](NoteRecord& record) { record.note = shown; });
    }
}

void TfPostIt::reportBounds() {
    if (m_rendering || !m_constructed)
        return;
    const QRect outer = recordedBounds();
    m_shown.posx = outer.x();
    m_shown.posy = outer.y();
    m_shown.Width = outer.width();
    m_shown.Height = outer.height();
    m_note.setBounds(outer);
}

void TfPostIt::retranslate() {
    pnlCaption->retranslate();
    popPrincipal->retranslate();
}

void TfPostIt::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

QString TfPostIt::caption() const {
    return pnlCaption->caption();
}

QString TfPostIt::note() const {
    return memPostit->noteText();
}

QStringList TfPostIt::displayedLines() const {
    return memPostit->displayedLines();
}

void TfPostIt::scrollToStart() {
    memPostit->scrollToStart();
}

void TfPostIt::appendLine(const QString& text) {
    const QString current = note();
    setNote(current.isEmpty() ? text : current + QStringLiteral("\r\n") + text);
}

int TfPostIt::footerHeight() const {
    return pnlRodape->height();
}

QSize TfPostIt::textAreaSize() const {
    return memPostit->size();
}

int TfPostIt::captionColor() const {
    return pnlCaption->barColor();
}

int TfPostIt::captionTextColor() const {
    return pnlCaption->textColor();
}

QString TfPostIt::footer() const {
    return lblRodape->text();
}

bool TfPostIt::footerVisible() const {
    return !pnlRodape->isHidden();
}

void TfPostIt::applyMemoFont() {
    const NoteRecord& data = m_note.record();
    QFont font(data.FontName);
    // Set rather than inherited from the caption's font: an inherited sans-serif hint
    // would make every face name resolve to the same sans-serif face.
    font.setStyleHint(QFont::AnyStyle);
    font.setPointSize(std::clamp(data.FontSize, 1, kMaxShownFontSize));
    font.setBold(data.FontBold);
    font.setItalic(data.FontItalic);
    memPostit->setFont(font);
    setRoleColor(memPostit, QPalette::Text, WinColor::toQColor(data.FontColor));
}

void TfPostIt::applyTopmost(bool on) {
    popPrincipal->mnuOnTop->setChecked(on);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    // Changing the flag recreates the native window hidden; put it back where it was.
    const QRect geometryBefore = geometry();
    const bool shown = !isHidden();
    // A native window that exists is replaced when it is next mapped, after the show
    // event has asked to keep the old one out of the task bar.
    m_nativeWindowReplaced = m_nativeWindowReplaced || testAttribute(Qt::WA_WState_Created);
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(geometryBefore);
    if (shown)
        show();
}

bool TfPostIt::alarmIconVisible() const {
    return pnlCaption->alarmIconVisible();
}

bool TfPostIt::ringingIconVisible() const {
    return pnlCaption->ringingIconVisible();
}

void TfPostIt::setBounds(int posx, int posy, int width, int height) {
    applyBounds(QRect(posx, posy, width, height));
    reportBounds();
}

void TfPostIt::applyBounds(const QRect& bounds) {
    // The note keeps its size; the window shows as much of it as the screens can.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    setGeometry(m_placement.put(bounds, screens));
}

void TfPostIt::showAwayFromStoredPlace(const QPoint& place) {
    m_placement.showAway(place, geometry());
    move(place);
}

std::optional<QRect> TfPostIt::storedPlace() const {
    return m_placement.storedPlace(pos());
}

QRect TfPostIt::recordedBounds() const {
    return m_placement.recordedBounds(geometry());
}

void TfPostIt::FormResize() {
    pnlCaption->placeParts(width());
    const int clientWidth = width();
    const int clientHeight = height();
    const int memoWidth = std::max(0, clientWidth - TextAreaMargin);
    int memoHeight = 0;
    if (footerVisible()) {
        const int footerHeight = pnlRodape->height();
        pnlRodape->setGeometry(0, clientHeight - footerHeight - 2, std::max(0, clientWidth - 2),
                               footerHeight);
        memoHeight = clientHeight - NoteCaptionBar::BarHeight - footerHeight - TextAreaMargin;
    } else {
        memoHeight = clientHeight - NoteCaptionBar::BarHeight - TextAreaMargin;
    }
    memPostit->setGeometry(0, kMemoTop, memoWidth, std::max(0, memoHeight));
}

void TfPostIt::lblCaptionMouseEnter() {
    if (pnlCaption->captionWiderThan(width() - 40)) {
        // Rich text made from the escaped caption, so the title shows exactly as typed.
        setToolTip(
            QStringLiteral("<p style='white-space:pre'>%1</p>").arg(caption().toHtmlEscaped()));
    } else {
        setToolTip(QString());
    }
}

void TfPostIt::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_mouse->mover().moved(event->pos(), event->spontaneous());
    reportBounds();
}

void TfPostIt::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Resized for real (by the user), not just rounded to the window manager's steps
    // on a fractionally scaled screen: the note takes the window's size.
    m_placement.resized(event->size());
    FormResize();
    reportBounds();
}

void TfPostIt::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    // The window is about to be mapped (its native window exists by now).
    if (m_hints)
        m_hints->keepOffTaskbar(*this);
    // A replaced native window is told again once it is on screen.
    if (m_hints && std::exchange(m_nativeWindowReplaced, false))
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                m_hints->keepShownWindowOffTaskbar(*this);
        });
    m_mouse->mover().mapping();
    m_mouse->watchWindow(windowHandle());
    reportVisibility();
}

void TfPostIt::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        reportVisibility();
}

void TfPostIt::reportVisibility() {
    if (m_rendering || !m_constructed)
        return;
    m_shown.visible = !isHidden();
    m_note.setVisible(m_shown.visible);
}

void TfPostIt::contextMenuEvent(QContextMenuEvent* event) {
    popPrincipal->popup(event->globalPos());
    event->accept();
}

void TfPostIt::createMenu() {
    popPrincipal = new NotePopupMenu(this);
    const auto on = [this](QAction* action, void (TfPostIt::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(popPrincipal->mnuURL, &TfPostIt::mnuURLClick);
    on(popPrincipal->mnuConfigurar, &TfPostIt::mnuConfigurarClick);
    on(popPrincipal->mnuMudaCaption, &TfPostIt::mnuMudaCaptionClick);
    on(popPrincipal->mnuAlarme, &TfPostIt::imgAlarmeDblClick);
    on(popPrincipal->mnuOnTop, &TfPostIt::mnuOnTopClick);
    on(popPrincipal->mnuCopiar, &TfPostIt::mnuCopiarClick);
    on(popPrincipal->mnuColar, &TfPostIt::mnuColarClick);
    on(popPrincipal->EnviarpelaRede1, &TfPostIt::EnviarpelaRede1Click);
    on(popPrincipal->mnuResponder, &TfPostIt::mnuResponderClick);
    on(popPrincipal->EMail1, &TfPostIt::EMail1Click);
    on(popPrincipal->mnuImprimir, &TfPostIt::mnuImprimirClick);
    on(popPrincipal->Sair1, &TfPostIt::ApagarSticky);
    connect(popPrincipal->mnuLocalizarNota, &QAction::triggered, this, [this] {
        if (m_host)
            m_host->findNote();
    });
    // Shortcuts work while the menu is closed, too.
    addActions(popPrincipal->shortcutItems());
    connect(popPrincipal, &QMenu::aboutToShow, this, &TfPostIt::popPrincipalPopup);
}

void TfPostIt::popPrincipalPopup() {
    // The reply item follows the footer already (setFooter).
    popPrincipal->mnuEnviar->setEnabled(m_host && m_host->networkEnabled());
    const bool offerUrl = memPostit->textCursor().hasSelection() &&
                          UrlSelection::looksLikeUrl(memPostit->selectedNoteText());
    popPrincipal->mnuURL->setVisible(offerUrl);
    popPrincipal->sepURL->setVisible(offerUrl);
}

void TfPostIt::mnuURLClick() {
    // Only web and mail addresses are handed to the desktop; anything else is ignored
    // without a message.
    const std::optional<QUrl> url = UrlSelection::openableUrl(memPostit->selectedNoteText());
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
    // The dialog runs its own event loop, where a deletion asked for earlier may be
    // carried out: then the new title has no note to go to.
    const QPointer<TfPostIt> self(this);
    if (m_host && m_host->editCaption(text) && self)
        setCaption(text);
}

void TfPostIt::mnuOnTopClick() {
    // The item's check mark was toggled by the click; the window follows it.
    setTopmost(popPrincipal->mnuOnTop->isChecked());
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
        m_host->sendNote(*this, false);
}

void TfPostIt::mnuResponderClick() {
    if (m_host && m_host->networkEnabled() && footerVisible())
        m_host->sendNote(*this, true);
}

void TfPostIt::EMail1Click() {
    if (m_host && m_host->networkEnabled())
        m_host->mailNote(QStringLiteral("Tacknote - ") + caption(), note());
}

void TfPostIt::mnuImprimirClick() {
    if (m_host)
        m_host->printNote(caption(), note(), memPostit->font());
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
    if (data().Remember && data().alarm)
        setAlarmIconVisible(true);
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

#include "gui/program/NoteRegistry.h"

#include "core/settings/EventSounds.h"

#include "core/notes/DarkenedCaptionColor.h"
#include "core/notes/NoteDefaults.h"
#include "core/program/ScreenPlacement.h"
#include "core/settings/GeneralSettings.h"
#include "gui/note/TfPostIt.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

NoteRegistry::NoteRegistry(NoteHost& host, QObject& messageTarget, const Services& services,
                           QObject* parent)
    : QObject(parent), m_host(host), m_messageTarget(messageTarget), m_services(services) {
    for (QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watchScreen(screen);
        keepOnScreens();
    });
    // Queued: the screen being removed is still listed while the signal runs.
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &NoteRegistry::keepOnScreens,
            Qt::QueuedConnection);
}

void NoteRegistry::watchScreen(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &NoteRegistry::keepOnScreens);
    connect(screen, &QScreen::availableGeometryChanged, this, &NoteRegistry::keepOnScreens);
}

void NoteRegistry::keepOnScreens() {
    QList<ScreenPlacement::Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append({screen->geometry(), screen->availableGeometry()});
    for (TfPostIt* window : notes()) {
        // A note shown elsewhere goes back to its own place once that is on a screen again.
        if (const std::optional<QRect> own = window->storedPlace();
            own && !screens.isEmpty() && !ScreenPlacement::placeOnScreen(*own, screens)) {
            window->setBounds(own->x(), own->y(), own->width(), own->height());
            continue;
        }
        if (const std::optional<QPoint> place =
                ScreenPlacement::placeOnScreen(window->bounds(), screens))
            window->showAwayFromStoredPlace(*place);
    }
}

NoteRegistry::~NoteRegistry() {
    for (QPointer<TfPostIt>& window : m_table)
        delete window.data();
    for (QPointer<TfPostIt>& window : m_disposed)
        delete window.data();
}

void NoteRegistry::dispose(TfPostIt* window) {
    window->disconnect(this);
    window->hide();
    window->deleteLater();
    m_disposed.removeAll(nullptr);
    m_disposed.append(window);
}

TfPostIt* NoteRegistry::note(int number) const {
    return number >= 0 && number < m_noteCount ? m_table[number].data() : nullptr;
}

int NoteRegistry::slotOf(const QObject* window) const {
    if (!window)
        return -1;
    for (int slot = 0; slot < m_noteCount; ++slot) {
        if (m_table[slot] == window)
            return slot;
    }
    return -1;
}

QList<TfPostIt*> NoteRegistry::notes() const {
    QList<TfPostIt*> live;
    for (int slot = 0; slot < m_noteCount; ++slot) {
        if (m_table[slot])
            live.append(m_table[slot]);
    }
    return live;
}

TfPostIt* NoteRegistry::create() {
    auto* window = new TfPostIt(&m_host, m_services.windowHints);
    const int slot = m_noteCount;
    window->Tag = slot;
    window->messageTarget = &m_messageTarget;
    m_table[slot] = window;
    connect(window, &TfPostIt::changed, this, &NoteRegistry::notesChanged);
    return window;
}

TfPostIt* NoteRegistry::addLoaded(const NoteRecord& record) {
    if (m_noteCount >= Capacity)
        return nullptr;
    TfPostIt* window = create();
    window->applyRecord(record);
    ++m_noteCount;
    if (m_loadPending > 0)
        --m_loadPending;
    return window;
}

bool NoteRegistry::roomForOneMore() {
    // A note asked for while the notes load must leave the slots the load still fills.
    if (m_loading)
        return m_noteCount + m_loadPending < Capacity;
    return m_noteCount < Capacity || compact();
}

NoteRecord NoteRegistry::newNoteRecord(const QRect& bounds, int color, const NoteFont& font) const {
    const GeneralSettings& settings = m_services.settings;
    NoteRecord record;
    record.posx = bounds.x();
    record.posy = bounds.y();
    record.Width = bounds.width();
    record.Height = bounds.height();
    record.Color = color;
    record.caption =
        NoteDefaults::defaultTitle(settings, m_services.clock.now(), m_services.locale);
    record.FontName = font.Name;
    record.FontSize = font.Size;
    record.FontColor = font.Color;
    record.FontBold = font.Bold;
    record.FontItalic = font.Italic;
    // A new note takes the caption shade only while the setting asks for it.
    record.DarkCaption = settings.DarkCaption;
    record.TrackPosition = settings.DarkCaption ? settings.TrackPosition : 0;
    record.scrollbar = settings.ScrollBar;
    // The alarm fields of a window that never had an alarm.
    record.weekdays.fill(false);
    record.RememberNo = 0;
    record.visible = false;
    return record;
}

TfPostIt* NoteRegistry::addNew(const NoteRecord& record, bool activate) {
    TfPostIt* window = create();
    window->applyRecord(record);
    // The caption's text takes the default font's colour in both kinds of note.
    window->setCaptionTextColor(m_services.settings.DefaultFont.Color);
    if (activate)
        showNote(window);
    else
        showInFront(window);
    ++m_noteCount;
    Q_EMIT notesChanged();
    return window;
}

TfPostIt* NoteRegistry::newUserNote() {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!roomForOneMore()) {
        m_services.messages.show(
            MessageBoxes::Icon::Warning, MessageBoxes::titleNotice(),
            tr("Não é possível criar mais notas: o limite de %1 notas foi atingido. Apague "
               "algumas notas e tente novamente.")
                .arg(Capacity));
        return nullptr;
    }
    m_services.sounds.newNote();
    const int top = nextRandom(NoteDefaults::PlacementRange);
    const int left = nextRandom(NoteDefaults::PlacementRange);
    return addNew(
        newNoteRecord(QRect(left, top, NoteDefaults::DesignWidth, NoteDefaults::DesignHeight),
                      m_services.settings.DefaultColor, m_services.settings.DefaultFont),
        true);
}

TfPostIt* NoteRegistry::newReceivedNote() {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!roomForOneMore())
        return nullptr;
    m_services.sounds.receivedNote();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const int width = NoteDefaults::ReceivedWidth;
    const int height = NoteDefaults::ReceivedHeight;
    return addNew(newNoteRecord(QRect(desktop.width() / 2 - width / 2,
                                      desktop.height() / 2 - height / 2, width, height),
                                NoteDefaults::ReceivedColor, NoteDefaults::receivedFont()),
                  false);
}

bool NoteRegistry::compact() {
    // A dialog may hold a note number; renumbering under it would mix notes up.
    if (QApplication::activeModalWidget() || m_loading)
        return false;
    int next = 0;
    int lastAlarm = -1;
    for (int slot = 0; slot < m_noteCount; ++slot) {
        TfPostIt* window = m_table[slot];
        if (!window)
            continue;
        if (slot == m_lastAlarmNote)
            lastAlarm = next;
        m_table[slot] = nullptr;
        m_table[next] = window;
        window->Tag = next;
        ++next;
    }
    m_noteCount = next;
    m_lastAlarmNote = lastAlarm;
    return next < Capacity;
}

void NoteRegistry::deleteNote(int number) {
    if (!note(number))
        return;
    if (m_services.settings.AskDelete &&
        !m_services.messages.confirm(tr("Deseja realmente eliminar esta nota?")))
        return;
    // The question let other events run; the note may be gone already.
    TfPostIt* window = note(number);
    if (!window)
        return;
    m_services.sounds.deletedNote();
    if (number == m_lastAlarmNote)
        m_lastAlarmNote = -1;
    if (window->ringingIconVisible())
        Q_EMIT ringingNoteDeleted();
    m_table[number] = nullptr;
    dispose(window);
    Q_EMIT notesChanged();
}

void NoteRegistry::destroyAll() {
    for (QPointer<TfPostIt>& window : m_table) {
        if (window)
            dispose(window);
        window = nullptr;
    }
    m_noteCount = 0;
}

void NoteRegistry::showNote(TfPostIt* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void NoteRegistry::showInFront(TfPostIt* window) {
    if (window->isHidden()) {
        // Some window managers give every window they map the focus, whatever it asks
        // for. A window that takes no focus while it is mapped keeps the keys where they
        // are; a moment later it takes the focus again, so a click lets the user type.
        window->winId();
        if (QWindow* handle = window->windowHandle()) {
            handle->setFlag(Qt::WindowDoesNotAcceptFocus, true);
            QTimer::singleShot(NoFocusWhileMappedMs, window, [window] {
                if (QWindow* mapped = window->windowHandle())
                    mapped->setFlag(Qt::WindowDoesNotAcceptFocus, false);
            });
        }
    }
    const bool withoutActivating = window->testAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->raise();
    window->setAttribute(Qt::WA_ShowWithoutActivating, withoutActivating);
}

void NoteRegistry::showAll() {
    for (TfPostIt* window : notes())
        showNote(window);
}

int NoteRegistry::nextRandom(int range) {
    m_randSeed = m_randSeed * 134775813u + 1u;
    return static_cast<int>((quint64(m_randSeed) * quint64(range)) >> 32);
}

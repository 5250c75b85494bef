#include "gui/program/NoteRegistry.h"

#include "core/settings/EventSounds.h"

#include "core/base/TacknoteError.h"
#include "core/notes/DarkenedCaptionColor.h"
#include "core/notes/DeletedNotes.h"
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
#include <algorithm>

NoteRegistry::NoteRegistry(NoteCollection& notes, NoteHost& host, QObject& messageTarget,
                           const Services& services, QObject* parent)
    : QObject(parent), m_notes(notes), m_host(host), m_messageTarget(messageTarget),
      m_services(services) {
    for (Note* note : m_notes.notes())
        noteAdded(note);
    connect(&m_notes, &NoteCollection::noteAdded, this, &NoteRegistry::noteAdded);
    connect(&m_notes, &NoteCollection::noteRemoved, this, &NoteRegistry::noteRemoved);
    connect(&m_notes, &NoteCollection::renumbered, this, [this] {
        for (Note* note : m_notes.notes()) {
            if (TfPostIt* window = this->window(note))
                window->Tag = note->number();
        }
    });
    connect(&m_notes, &NoteCollection::notesChanged, this, &NoteRegistry::notesChanged);
    // A dialog may hold a note number; renumbering under it would mix notes up.
    m_notes.setRenumberAllowed([] { return !QApplication::activeModalWidget(); });
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
    for (QPointer<TfPostIt>& window : m_windows)
        delete window.data();
    for (QPointer<TfPostIt>& window : m_disposed)
        delete window.data();
}

void NoteRegistry::noteAdded(Note* note) {
    auto* window = new TfPostIt(*note, &m_host, m_services.windowHints);
    window->Tag = note->number();
    window->messageTarget = &m_messageTarget;
    m_windows.insert(note, window);
}

void NoteRegistry::noteRemoved(Note* note) {
    if (TfPostIt* window = m_windows.take(note))
        dispose(window);
}

void NoteRegistry::dispose(TfPostIt* window) {
    window->disconnect(this);
    window->hide();
    window->deleteLater();
    m_disposed.removeAll(nullptr);
    m_disposed.append(window);
}

TfPostIt* NoteRegistry::note(int number) const {
    return window(m_notes.note(number));
}

int NoteRegistry::slotOf(const QObject* window) const {
    if (!window)
        return -1;
    for (Note* note : m_notes.notes()) {
        if (this->window(note) == window)
            return note->number();
    }
    return -1;
}

QList<TfPostIt*> NoteRegistry::notes() const {
    QList<TfPostIt*> live;
    for (Note* note : m_notes.notes()) {
        if (TfPostIt* window = this->window(note))
            live.append(window);
    }
    return live;
}

TfPostIt* NoteRegistry::addLoaded(const NoteRecord& record) {
    return window(m_notes.addLoaded(record));
}

NoteRecord NoteRegistry::newNoteRecord(const QRect& bounds, int color, const NoteFont& font) const {
    return NoteDefaults::newNote(m_services.settings, m_services.clock.now(), m_services.locale,
                                 bounds, color, font);
}

TfPostIt* NoteRegistry::addNew(const NoteRecord& record, bool activate) {
    Note* note = m_notes.add(record);
    TfPostIt* window = this->window(note);
    if (!window)
        return nullptr;
    // The caption's text takes the default font's colour in both kinds of note.
    note->setCaptionTextColor(m_services.settings.DefaultFont.Color);
    if (activate)
        showNote(window);
    else
        showInFront(window);
    return window;
}

TfPostIt* NoteRegistry::newUserNote() {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!m_notes.roomForOneMore()) {
        tellRegistryFull();
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

void NoteRegistry::tellRegistryFull() {
    m_services.messages.show(
        MessageBoxes::Icon::Warning, MessageBoxes::titleNotice(),
        tr("Não é possível criar mais notas: o limite de %1 notas foi atingido. Apague "
           "algumas notas e tente novamente.")
            .arg(Capacity));
}

TfPostIt* NoteRegistry::restoreNote(const NoteRecord& record) {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!m_notes.roomForOneMore()) {
        tellRegistryFull();
        return nullptr;
    }
    TfPostIt* window = this->window(m_notes.add(record));
    if (!window)
        return nullptr;
    showNote(window);
    keepOnScreens();
    return window;
}

TfPostIt* NoteRegistry::newReceivedNote() {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!m_notes.roomForOneMore())
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

void NoteRegistry::deleteNote(int number) {
    if (!note(number))
        return;
    if (m_services.settings.AskDelete &&
        !m_services.messages.confirm(tr("Deseja realmente eliminar esta nota?")))
        return;
    // The question let other events run; the note may be gone already.
    TfPostIt* window = note(number);
    if (!window || !keepDeleted(window->toRecord()))
        return;
    // So may the question after a failure to keep it.
    window = note(number);
    if (!window)
        return;
    m_services.sounds.deletedNote();
    if (window->ringingIconVisible())
        Q_EMIT ringingNoteDeleted();
    m_notes.remove(number);
}

bool NoteRegistry::keepDeleted(const NoteRecord& record) {
    if (!m_services.deletedNotes)
        return true;
    try {
        m_services.deletedNotes->keep(record);
        return true;
    } catch (const TacknoteError& error) {
        return m_services.messages.askYesNo(
            MessageBoxes::titleError(),
            error.message() + QStringLiteral("\n\n") +
                tr("A nota não poderá ser restaurada em \"Notas Excluídas\". Excluir a nota "
                   "mesmo assim?"));
    }
}

void NoteRegistry::destroyAll() {
    m_notes.clear();
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

void NoteRegistry::hideAll() {
    for (TfPostIt* window : notes())
        window->cmdEsconderClick();
}

void NoteRegistry::toggleAll() {
    const QList<TfPostIt*> windows = notes();
    if (std::any_of(windows.begin(), windows.end(),
                    [](const TfPostIt* window) { return window->isVisible(); }))
        hideAll();
    else
        showAll();
}

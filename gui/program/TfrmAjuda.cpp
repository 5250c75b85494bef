#include "gui/program/TfrmAjuda.h"

#include "gui/program/LinkOpener.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// A shipped page, as opposed to anything the desktop should open.
bool isLocalPage(const QUrl& url) {
    if (!url.isLocalFile())
        return false;
    const QFileInfo file(url.toLocalFile());
    const QString suffix = file.suffix().toLower();
    return file.isFile() && (suffix == QLatin1String("html") || suffix == QLatin1String("htm"));
}

} // namespace

TfrmAjuda::TfrmAjuda(LinkOpener& links, MessageBoxes& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), m_links(links), m_messages(messages) {
    setObjectName(QStringLiteral("frmAjuda"));
    memAjuda = new QTextBrowser(this);
    memAjuda->setObjectName(QStringLiteral("memAjuda"));
    // Every click comes here: only shipped pages are shown in the window.
    memAjuda->setOpenLinks(false);
    connect(memAjuda, &QTextBrowser::anchorClicked, this, &TfrmAjuda::memAjudaAnchorClicked);
    connect(memAjuda, &QTextBrowser::sourceChanged, this, &TfrmAjuda::retranslate);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memAjuda);
    retranslate();
}

void TfrmAjuda::retranslate() {
    const QString title = memAjuda->documentTitle().trimmed();
    setWindowTitle(title.isEmpty() ? tr("Ajuda do Tacknote") : title);
}

void TfrmAjuda::showPage(const QString& file, const QString& topic) {
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (!isLocalPage(url)) {
        m_messages.error(tr("A página %1 não foi encontrada.").arg(file));
        return;
    }
    if (!topic.isEmpty())
        url.setFragment(topic);
    memAjuda->setSource(url);
    if (topic.isEmpty()) {
        // The same page again starts from its top.
        memAjuda->moveCursor(QTextCursor::Start);
        memAjuda->ensureCursorVisible();
    } else {
        // Also when the page was open already, at another place.
        memAjuda->scrollToAnchor(topic);
    }
    present();
}

void TfrmAjuda::open(const QUrl& address) {
    QUrl withoutPlace = address;
    withoutPlace.setFragment(QString());
    if (isLocalPage(withoutPlace))
        showPage(withoutPlace.toLocalFile(), address.fragment());
    else
        m_links.open(address);
}

void TfrmAjuda::present() {
    if (!windowHandle()) {
        // Its first showing: a comfortable size for reading, within the screen however
        // large the interface is scaled.
        QSize size(640, 520);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
        resize(size);
        create();
    }
    followDialog();
    show();
    raise();
    activateWindow();
}

QUrl TfrmAjuda::page() const {
    return memAjuda->source();
}

void TfrmAjuda::memAjudaAnchorClicked(const QUrl& link) {
    const QUrl target = memAjuda->source().resolved(link);
    QUrl withoutPlace = target;
    withoutPlace.setFragment(QString());
    if (isLocalPage(withoutPlace))
        memAjuda->setSource(target);
    else
        m_links.open(target);
}

void TfrmAjuda::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void TfrmAjuda::followDialog() {
    // A window shown while a dialog is modal takes no input unless it belongs to that
    // dialog; the help then belongs to it, and like it stays above the notes. Once that
    // dialog has closed it belongs to the one still open, or is an ordinary window again.
    QWindow* window = windowHandle();
    if (!window)
        return;
    QWidget* dialog = QApplication::activeModalWidget();
    QWindow* dialogWindow = dialog ? dialog->windowHandle() : nullptr;
    window->setTransientParent(dialogWindow);
    window->setFlag(Qt::WindowStaysOnTopHint, dialogWindow != nullptr);
    if (dialogWindow)
        connect(dialogWindow, &QWindow::visibleChanged, this, &TfrmAjuda::followDialog,
                Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}

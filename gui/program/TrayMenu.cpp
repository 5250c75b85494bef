#include "gui/program/TrayMenu.h"

#include "core/notes/NoteListCaption.h"
#include "core/program/HelpTopics.h"
#include "gui/note/NoteIcons.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/MenuIcons.h"
#include "gui/program/NoteRegistry.h"
#include "platform/LocaleInfo.h"
#include "platform/TrayIcon.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace {

QAction* namedItem(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction* pictureItem(QMenu* menu, const char* name, MenuIcons::Picture picture) {
    QAction* action = namedItem(menu, name);
    action->setIcon(MenuIcons::icon(picture));
    return action;
}

QMenu* namedMenu(QMenu* menu, const char* name) {
    QMenu* sub = menu->addMenu(QString());
    sub->setObjectName(QLatin1String(name));
    return sub;
}

} // namespace

TrayMenu::TrayMenu(NoteRegistry& registry, TrayIcon& tray, QWidget* menuParent)
    : QObject(menuParent), m_registry(registry), m_tray(tray) {
    using MenuIcons::Picture;
    popPrincipal = new QMenu(menuParent);
    popPrincipal->setObjectName(QStringLiteral("popPrincipal"));
    popPrincipal->setProperty(HelpTopics::property, QStringLiteral("tray-menu"));
    cmdNovaNota = pictureItem(popPrincipal, "cmdNovaNota", Picture::NewNote);
    connect(cmdNovaNota, &QAction::triggered, this, &TrayMenu::newNoteChosen);
    popPrincipal->addSeparator();
    mnuMostrar = namedMenu(popPrincipal, "mnuMostrar");
    mnuMostrar->setIcon(MenuIcons::icon(Picture::Show));
    mnuEscondidos = namedMenu(popPrincipal, "mnuEscondidos");
    mnuLocalizarNota = namedItem(popPrincipal, "mnuLocalizarNota");
    connect(mnuLocalizarNota, &QAction::triggered, this, &TrayMenu::findNoteChosen);
    mnuNotasExcluidas = namedItem(popPrincipal, "mnuNotasExcluidas");
    connect(mnuNotasExcluidas, &QAction::triggered, this, &TrayMenu::deletedNotesChosen);
    mnuMostrarTarefasparaHoje1 =
        pictureItem(popPrincipal, "mnuMostrarTarefasparaHoje1", Picture::TodaysTasks);
    connect(mnuMostrarTarefasparaHoje1, &QAction::triggered, this, &TrayMenu::todaysTasksChosen);
    popPrincipal->addSeparator();
    mnuSalvarNotas = pictureItem(popPrincipal, "mnuSalvarNotas", Picture::Save);
    connect(mnuSalvarNotas, &QAction::triggered, this, &TrayMenu::saveChosen);
    mnuCopiaSeg = namedMenu(popPrincipal, "mnuCopiaSeg");
    mnuBackup = namedItem(mnuCopiaSeg, "mnuBackup");
    connect(mnuBackup, &QAction::triggered, this, &TrayMenu::backupChosen);
    popPrincipal->addSeparator();
    mnuAddressBook = pictureItem(popPrincipal, "mnuAddressBook", Picture::AddressBook);
    connect(mnuAddressBook, &QAction::triggered, this, &TrayMenu::addressBookChosen);
    popPrincipal->addSeparator();
    mnuPreferencias = pictureItem(popPrincipal, "mnuPreferencias", Picture::Preferences);
    connect(mnuPreferencias, &QAction::triggered, this, &TrayMenu::preferencesChosen);
    mnuIdioma = namedMenu(popPrincipal, "mnuIdioma");
    mnuPortugues = namedItem(mnuIdioma, "mnuPortugues");
    mnuPortugues->setData(LocaleInfo::LcidPortugueseBrazil);
    mnuPortugues->setCheckable(true);
    connect(mnuPortugues, &QAction::triggered, this,
            [this] { Q_EMIT languageChosen(Language::Portuguese); });
    mnuIngles = namedItem(mnuIdioma, "mnuIngles");
    mnuIngles->setData(LocaleInfo::LcidEnglishUs);
    mnuIngles->setCheckable(true);
    connect(mnuIngles, &QAction::triggered, this,
            [this] { Q_EMIT languageChosen(Language::English); });
    popPrincipal->addSeparator();
    mnuWeb = pictureItem(popPrincipal, "mnuWeb", Picture::Web);
    connect(mnuWeb, &QAction::triggered, this, &TrayMenu::webChosen);
    mnuSobre = namedItem(popPrincipal, "mnuSobre");
    connect(mnuSobre, &QAction::triggered, this, &TrayMenu::aboutChosen);
    popPrincipal->addSeparator();
    Ajuda1 = pictureItem(popPrincipal, "Ajuda1", Picture::Help);
    connect(Ajuda1, &QAction::triggered, this, &TrayMenu::helpChosen);
    Sair1 = pictureItem(popPrincipal, "Sair1", Picture::Exit);
    connect(Sair1, &QAction::triggered, this, &TrayMenu::quitChosen);
    connect(popPrincipal, &QMenu::aboutToShow, this, &TrayMenu::popPrincipalPopup);
    // A desktop that draws the menu itself may announce only the list it opens.
    connect(mnuMostrar, &QMenu::aboutToShow, this, &TrayMenu::popPrincipalPopup);
    connect(mnuEscondidos, &QMenu::aboutToShow, this, &TrayMenu::popPrincipalPopup);

    m_animation = new QTimer(this);
    m_animation->setInterval(900);
    connect(m_animation, &QTimer::timeout, this, &TrayMenu::tmrAnimacaoTimer);

    connect(&m_tray, &TrayIcon::activated, this, [this](TrayIcon::Activation activation) {
        if (activation == TrayIcon::Activation::Click)
            Q_EMIT clicked();
        else
            Q_EMIT doubleClicked();
    });
    retranslate();
    popPrincipalPopup();
}

void TrayMenu::retranslate() {
    cmdNovaNota->setText(tr("&Nova Nota"));
    mnuMostrar->setTitle(tr("Mo&strar"));
    mnuEscondidos->setTitle(tr("M&ostrar Escondidas"));
    mnuLocalizarNota->setText(tr("&Localizar Nota..."));
    mnuNotasExcluidas->setText(tr("Notas E&xcluídas..."));
    mnuMostrarTarefasparaHoje1->setText(tr("Mostrar Tarefas para &Hoje"));
    mnuSalvarNotas->setText(tr("Salvar A&gora"));
    mnuCopiaSeg->setTitle(tr("Cópia de &Segurança"));
    mnuBackup->setText(tr("&Salvar"));
    mnuAddressBook->setText(tr("&Caderneta de Contatos"));
    mnuPreferencias->setText(tr("&Preferências..."));
    mnuIdioma->setTitle(tr("&Idioma"));
    mnuPortugues->setText(tr("Português"));
    mnuIngles->setText(tr("Inglês"));
    mnuWeb->setText(tr("Tacknote na Web..."));
    mnuSobre->setText(tr("Sobre o Sistema..."));
    Ajuda1->setText(tr("A&juda"));
    Sair1->setText(tr("&Sair"));
    if (m_all)
        m_all->setText(tr("<Todos>"));
    m_tray.setToolTip(tr("Duplo-clique para criar nota"));
}

void TrayMenu::show() {
    m_tray.setIcon(NoteIcons::programIcon());
    m_tray.setMenu(popPrincipal);
    m_tray.show();
}

void TrayMenu::popupAt(const QPoint& position) {
    popPrincipal->popup(position);
    popPrincipal->activateWindow();
}

void TrayMenu::markLanguage(Language language) {
    mnuPortugues->setChecked(language == Language::Portuguese);
    mnuIngles->setChecked(language == Language::English);
}

void TrayMenu::hide() {
    m_animation->stop();
    m_tray.hide();
}

void TrayMenu::addNoteItem(QMenu* menu, int slot) {
    TfPostIt* window = m_registry.note(slot);
    QAction* item = menu->addAction(NoteListCaption::of(window->caption(), window->note()));
    item->setData(slot);
    const QPointer<TfPostIt> target(window);
    connect(item, &QAction::triggered, this, [this, target] {
        if (target && m_registry.slotOf(target) >= 0)
            NoteRegistry::showNote(target);
    });
}

void TrayMenu::popPrincipalPopup() {
    mnuEscondidos->clear();
    bool anyHidden = false;
    for (int slot = 0; slot < m_registry.NoteCount(); ++slot) {
        if (TfPostIt* window = m_registry.note(slot); window && window->isHidden()) {
            addNoteItem(mnuEscondidos, slot);
            anyHidden = true;
        }
    }
    mnuEscondidos->menuAction()->setEnabled(anyHidden);

    mnuMostrar->clear();
    m_all = mnuMostrar->addAction(tr("<Todos>"));
    connect(m_all, &QAction::triggered, &m_registry, &NoteRegistry::showAll);
    mnuMostrar->addSeparator();
    bool anyNote = false;
    for (int slot = 0; slot < m_registry.NoteCount(); ++slot) {
        if (m_registry.note(slot)) {
            addNoteItem(mnuMostrar, slot);
            anyNote = true;
        }
    }
    mnuMostrar->menuAction()->setEnabled(anyNote);
}

void TrayMenu::startAnimation() {
    if (m_animation->isActive())
        return;
    m_frame = 0;
    tmrAnimacaoTimer();
    m_animation->start();
}

void TrayMenu::stopAnimation() {
    m_animation->stop();
    m_tray.setIcon(NoteIcons::programIcon());
}

bool TrayMenu::animating() const {
    return m_animation->isActive();
}

void TrayMenu::tmrAnimacaoTimer() {
    const QList<QIcon> frames = NoteIcons::trayAlarmFrames();
    if (frames.isEmpty())
        return;
    m_tray.setIcon(frames.at(m_frame % frames.size()));
    ++m_frame;
}

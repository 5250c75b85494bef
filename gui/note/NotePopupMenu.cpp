#include "gui/note/NotePopupMenu.h"

#include "core/program/HelpTopics.h"
#include <QAction>
#include <QKeySequence>

namespace {

QAction* item(QMenu* menu, const char* name, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

} // namespace

NotePopupMenu::NotePopupMenu(QWidget* parent) : QMenu(parent) {
    setProperty(HelpTopics::property, QStringLiteral("note-menu"));
    setObjectName(QStringLiteral("popPrincipal"));
    mnuURL = item(this, "mnuURL");
    sepURL = separator(this, "sepURL");
    mnuURL->setVisible(false);
    sepURL->setVisible(false);
    mnuConfigurar = item(this, "mnuConfigurar");
    mnuMudaCaption = item(this, "mnuMudaCaption", QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuAlarme = item(this, "mnuAlarme", QKeySequence(Qt::CTRL | Qt::Key_A));
    separator(this, "N4");
    mnuOnTop = item(this, "mnuOnTop");
    mnuOnTop->setCheckable(true);
    separator(this, "N5");
    mnuCopiar = item(this, "mnuCopiar");
    mnuColar = item(this, "mnuColar");
    separator(this, "N2");
    mnuEnviar = addMenu(QString());
    mnuEnviar->setObjectName(QStringLiteral("mnuEnviar"));
    EnviarpelaRede1 = item(mnuEnviar, "EnviarpelaRede1", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuResponder = item(mnuEnviar, "mnuResponder", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuResponder->setVisible(false);
    separator(mnuEnviar, "N3");
    EMail1 = item(mnuEnviar, "EMail1", QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuImprimir = item(this, "mnuImprimir");
    separator(this, "N1");
    Sair1 = item(this, "Sair1", QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuLocalizarNota = new QAction(this);
    mnuLocalizarNota->setObjectName(QStringLiteral("mnuLocalizarNota"));
    mnuLocalizarNota->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuLocalizarNota->setShortcutContext(Qt::WindowShortcut);
    retranslate();
}

void NotePopupMenu::retranslate() {
    mnuURL->setText(tr("Abrir &URL"));
    mnuConfigurar->setText(tr("C&onfigurar..."));
    mnuMudaCaption->setText(tr("&Título da Nota..."));
    mnuAlarme->setText(tr("Alarme..."));
    mnuOnTop->setText(tr("Sempre &Visível"));
    mnuCopiar->setText(tr("Co&piar"));
    mnuColar->setText(tr("C&olar"));
    mnuEnviar->setTitle(tr("Enviar..."));
    EnviarpelaRede1->setText(tr("&Para um Computador..."));
    mnuResponder->setText(tr("&Responder para Computador..."));
    EMail1->setText(tr("E-Mail..."));
    mnuImprimir->setText(tr("&Imprimir"));
    Sair1->setText(tr("&Apagar Nota..."));
    mnuLocalizarNota->setText(tr("&Localizar Nota..."));
}

QList<QAction*> NotePopupMenu::shortcutItems() const {
    return {mnuMudaCaption, mnuAlarme, EnviarpelaRede1, mnuResponder,
            EMail1,         Sair1,     mnuLocalizarNota};
}

bool NotePopupMenu::hasShortcut(const QKeySequence& keys) const {
    const QList<QAction*> items = shortcutItems();
    return std::any_of(items.begin(), items.end(), [&keys](const QAction* action) {
        return action->isEnabled() && action->shortcut() == keys;
    });
}

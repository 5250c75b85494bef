#pragma once

#include <QMenu>

class QAction;
class QKeySequence;

// A note's own menu `popPrincipal`, with its items in order. The note window connects
// the items to its handlers and takes the items' shortcuts as its own, so they work
// while the menu is closed; one shortcut (finding a note) has no item in the menu.
class NotePopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit NotePopupMenu(QWidget* parent);

    void retranslate();
    // The items that have a shortcut.
    QList<QAction*> shortcutItems() const;
    // Whether an enabled item answers to keys.
    bool hasShortcut(const QKeySequence& keys) const;

    QAction* mnuURL = nullptr;
    QAction* sepURL = nullptr;
    QAction* mnuConfigurar = nullptr;
    QAction* mnuMudaCaption = nullptr;
    QAction* mnuAlarme = nullptr;
    QAction* mnuOnTop = nullptr;
    QAction* mnuCopiar = nullptr;
    QAction* mnuColar = nullptr;
    QMenu* mnuEnviar = nullptr;
    QAction* EnviarpelaRede1 = nullptr;
    QAction* mnuResponder = nullptr;
    QAction* EMail1 = nullptr;
    QAction* mnuImprimir = nullptr;
    QAction* Sair1 = nullptr;
    // Not an item of the menu: Ctrl+F on the note, which opens "Localizar Nota".
    QAction* mnuLocalizarNota = nullptr;
};

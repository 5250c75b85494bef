#pragma once

#include "core/program/StartLanguage.h"

#include <QObject>
#include <QPoint>

class NoteRegistry;
class QAction;
class QMenu;
class QTimer;
class QWidget;
class TrayIcon;

// The tray icon and its menu `popPrincipal`: the program's permanent face. Builds the
// menu, rebuilds its two note lists each time it opens, animates the icon while an alarm
// rings, and re-texts itself in the interface language. What the items do is the main
// window's business: each item only announces that it was chosen.
class TrayMenu : public QObject {
    Q_OBJECT
public:
    // menuParent owns the menu (the hidden main window).
    TrayMenu(NoteRegistry& registry, TrayIcon& tray, QWidget* menuParent);

    using Language = StartLanguage::Language;

    // Shows the icon with its tooltip and menu.
    void show();
    void hide();
    // Opens the menu at a point of the screen, as the tray's right button would.
    void popupAt(const QPoint& position);

    // The check mark of the language items: on the item of language, off on the other.
    void markLanguage(Language language);

    // Rebuilds "Mo&strar" and "M&ostrar Escondidas"; runs each time the menu opens.
    void popPrincipalPopup();

    // The icon shows its two alarm frames in turn, 900 ms each, until stopAnimation().
    void startAnimation();
    void stopAnimation();
    bool animating() const;

    void retranslate();

    QMenu* popPrincipal = nullptr;
    QAction* cmdNovaNota = nullptr;
    QMenu* mnuMostrar = nullptr;
    QMenu* mnuEscondidos = nullptr;
    QAction* mnuLocalizarNota = nullptr;
    QAction* mnuNotasExcluidas = nullptr;
    QAction* mnuMostrarTarefasparaHoje1 = nullptr;
    QAction* mnuSalvarNotas = nullptr;
    QMenu* mnuCopiaSeg = nullptr;
    QAction* mnuBackup = nullptr;
    QAction* mnuAddressBook = nullptr;
    QAction* mnuPreferencias = nullptr;
    QMenu* mnuIdioma = nullptr;
    QAction* mnuPortugues = nullptr; // tag 1046
    QAction* mnuIngles = nullptr;    // tag 1033
    QAction* mnuWeb = nullptr;
    QAction* mnuSobre = nullptr;
    QAction* Ajuda1 = nullptr;
    QAction* Sair1 = nullptr;

Q_SIGNALS:
    void newNoteChosen();
    void findNoteChosen();
    void deletedNotesChosen();
    void todaysTasksChosen();
    void saveChosen();
    void backupChosen();
    void addressBookChosen();
    void preferencesChosen();
    // A language item was chosen (also the one already marked).
    void languageChosen(TrayMenu::Language language);
    void webChosen();
    void aboutChosen();
    void helpChosen();
    void quitChosen();
    // The icon was clicked or double-clicked.
    void clicked();
    void doubleClicked();

private:
    void tmrAnimacaoTimer();
    void addNoteItem(QMenu* menu, int slot);

    NoteRegistry& m_registry;
    TrayIcon& m_tray;
    QTimer* m_animation = nullptr;
    int m_frame = 0;
    QAction* m_all = nullptr;
};

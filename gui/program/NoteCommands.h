#pragma once

#include "core/net/OutgoingNote.h"
#include "core/notes/DeletedNotes.h"
#include "gui/note/NoteHost.h"

#include <QObject>
#include <QString>
#include <memory>

class CommonDialogs;
class Clock;
class DeletedNotes;
class LocaleInfo;
class MessageBoxes;
class NoteServerControl;
class LinkOpener;
class ShellOpener;
class SoundPlayer;
class SystemUtcOffset;
class NoteSender;
class NoteRegistry;
class NotesKeeper;
class TfrmAddressBook;
class TfrmAjuda;
class TfrmEnviaComputador;
class TfrmEnviarEmail;
class TfrmLocalizaNota;
class TfrmMudaCaption;
class TfrmNotasExcluidas;
class TfrmSobre;
class SessionAutostart;
class QWidget;
struct NoteRecord;
struct GeneralSettings;
struct NetworkSettings;

// What the note windows ask of the program around them, and the dialogs that act on
// notes and settings: the title dialog, the configuration and preferences dialog, the
// address book, the e-mail composer, finding a note and restoring deleted notes. The
// dialogs kept between openings are made on their first opening; the configuration
// dialog is made anew for each opening.
class NoteCommands : public QObject, public NoteHost {
    Q_OBJECT
public:
    struct Services {
        GeneralSettings& recGeral;
        NetworkSettings& recRede;
        const Clock& clock;
        const LocaleInfo& locale;
        MessageBoxes& messages;
        CommonDialogs& dialogs;
        SoundPlayer& sound;
        ShellOpener& shell;
        NoteServerControl& noteServer;
        QString notesFile;
        QString dataDir;
        SessionAutostart* autostart = nullptr;
    };

    explicit NoteCommands(const Services& services, QObject* parent = nullptr);
    ~NoteCommands() override;

    bool networkEnabled() const override;
    bool editCaption(QString& caption) override;
    void configureNote(TfPostIt& note, int pageIndex, int helpContext) override;
    void sendNote(TfPostIt& note, bool reply) override;
    void mailNote(const QString& subject, const QString& text) override;
    void openUrl(const QUrl& url) override;
    void printNote(const QString& caption, const QString& text, const QFont& font) override;
    // "&Localizar Nota..." and Ctrl+F on a note: the chosen note comes up shown, in front,
    // on a screen.
    void findNote() override;

    // The notes that finding and restoring act on, and what saves them.
    void setNotes(NoteRegistry& registry, NotesKeeper& keeper);
    // Where deleted notes are kept, beside the notes file.
    DeletedNotes& deletedNotes() const { return *m_deletedNotes; }
    // "Notas E&xcluídas...": the deleted notes; the ones the user chooses are restored.
    // An unreadable file, or none kept, is told instead.
    void showDeletedNotes();
    // Brings the entries back as notes, as they were and where they were, each shown;
    // an alarm whose time has passed stays off. They leave the deleted notes once the
    // notes file holds them; a failure is shown and leaves them there too.
    void restoreDeleted(const QList<DeletedNotes::Entry>& entries);

    // The preferences: the configuration dialog in preferences mode, help context 2.
    void openPreferences();
    // The about box; its link shows productPage in the help window, or, when that page
    // is missing, hands the product's web address to the desktop.
    void showAbout(const QString& productPage);
    // A shipped page (the help, the product page) in the program's own window, at the
    // place topic when one is given.
    void showHelp(const QString& page, const QString& topic = QString());
    // The address book for looking after the contacts, without the recipient picker.
    void browseAddressBook();
    // Copies the notes file into folder as a dated backup; returns the backup's path
    // and throws TacknoteError when the copy fails.
    QString makeBackup(const QString& folder);
    // The backup into BackupPath on closing; false when it failed, the reason shown to
    // the user when told, else logged.
    bool backupOnExit(bool tellUser);
    // Asks for a folder ("Selecione o Local para Backup") and makes a backup there; says
    // where it went, or why it could not be made.
    void backupToChosenFolder();

    // Ends every dialog still open (the program is closing).
    void closeDialogs();

    // The dialogs, each made on its first use.
    TfrmMudaCaption* frmMudaCaption();
    TfrmSobre* frmSobre();
    TfrmAddressBook* frmAddressBook();
    TfrmEnviarEmail* frmEnviarEmail();
    TfrmEnviaComputador* frmEnviaComputador();
    TfrmAjuda* frmAjuda() const { return m_frmAjuda.get(); }
    TfrmLocalizaNota* frmLocalizaNota() const { return m_frmLocalizaNota.get(); }
    TfrmNotasExcluidas* frmNotasExcluidas() const { return m_frmNotasExcluidas.get(); }

    // What a sending transmits of a note: its looks, its alarm and its text as the note
    // window displays it.
    static OutgoingNote outgoing(const TfPostIt& note);

    // What the configuration dialog changes of a note: its alarm, colour, font, scroll
    // bar and caption shade; everything else stays as the note has it now.
    static NoteRecord configured(const NoteRecord& current, const NoteRecord& fromDialog);

private:
    Services m_services;
    std::unique_ptr<SystemUtcOffset> m_utcOffset;
    std::unique_ptr<LinkOpener> m_links;
    // Dialogs have no parent window: a note that opened one may be deleted meanwhile.
    // Each is made on its first use.
    std::unique_ptr<TfrmMudaCaption> m_frmMudaCaption;
    std::unique_ptr<TfrmSobre> m_frmSobre;
    std::unique_ptr<TfrmAjuda> m_frmAjuda;
    TfrmAjuda& helpWindow();
    std::unique_ptr<TfrmAddressBook> m_frmAddressBook;
    std::unique_ptr<TfrmEnviarEmail> m_frmEnviarEmail;
    // The client socket and connect time-out of the note sender.
    NoteSender* m_sender = nullptr;
    std::unique_ptr<TfrmEnviaComputador> m_frmEnviaComputador;
    std::unique_ptr<DeletedNotes> m_deletedNotes;
    NoteRegistry* m_registry = nullptr;
    NotesKeeper* m_keeper = nullptr;
    // Made on first use.
    std::unique_ptr<TfrmLocalizaNota> m_frmLocalizaNota;
    std::unique_ptr<TfrmNotasExcluidas> m_frmNotasExcluidas;
};

#include "gui/program/NoteCommands.h"

#include "core/base/TacknoteError.h"
#include "core/mail/SystemUtcOffset.h"
#include "core/net/NoteSender.h"
#include "core/notes/NotesKeeper.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "core/store/Backup.h"
#include "core/store/Rotinas.h"
#include "gui/contacts/TfrmAddressBook.h"
#include "gui/dialogs/TfrmConfNota.h"
#include "gui/dialogs/TfrmMudaCaption.h"
#include "gui/dialogs/TfrmSobre.h"
#include "gui/mail/TfrmEnviarEmail.h"
#include "gui/net/TfrmEnviaComputador.h"
#include "gui/note/NotePrinter.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/LinkOpener.h"
#include "gui/program/NoteRegistry.h"
#include "gui/program/TfrmAjuda.h"
#include "gui/program/TfrmLocalizaNota.h"
#include "gui/program/TfrmNotasExcluidas.h"
#include "platform/Clock.h"
#include "platform/CommonDialogs.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBoxes.h"
#include "platform/ShellOpener.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>
#include <QTabWidget>

NoteCommands::NoteCommands(const Services& services, QObject* parent)
    : QObject(parent), m_services(services), m_utcOffset(std::make_unique<SystemUtcOffset>()) {
    m_links = std::make_unique<LinkOpener>(services.shell, services.messages);

    m_deletedNotes = std::make_unique<DeletedNotes>(
        DeletedNotes::besideNotesFile(services.notesFile), services.clock, services.locale);
    // What an interrupted write of an earlier run left beside it.
    m_deletedNotes->removeLeftovers();
}

void NoteCommands::setNotes(NoteRegistry& registry, NotesKeeper& keeper) {
    m_registry = &registry;
    m_keeper = &keeper;
}

void NoteCommands::findNote() {
    if (!m_registry)
        return;
    if (!m_frmLocalizaNota) {
        m_frmLocalizaNota = std::make_unique<TfrmLocalizaNota>(m_registry->collection());
        connect(m_frmLocalizaNota.get(), &TfrmLocalizaNota::noteChosen, this, [this](Note* note) {
            if (TfPostIt* window = m_registry->window(note)) {
                NoteRegistry::showNote(window);
                m_registry->keepOnScreens();
            }
        });
    }
    m_frmLocalizaNota->showFinder();
}

void NoteCommands::showDeletedNotes() {
    QList<DeletedNotes::Entry> entries;
    try {
        entries = m_deletedNotes->entries();
    } catch (const TacknoteError& error) {
        m_services.messages.error(error.message());
        return;
    }
    if (entries.isEmpty()) {
        m_services.messages.information(tr("Não há notas excluídas para restaurar."));
        return;
    }
    if (!m_frmNotasExcluidas)
        m_frmNotasExcluidas = std::make_unique<TfrmNotasExcluidas>(m_services.locale);
    restoreDeleted(m_frmNotasExcluidas->choose(entries));
}

void NoteCommands::restoreDeleted(const QList<DeletedNotes::Entry>& entries) {
    // While the notes load, the notes file cannot take them yet.
    if (!m_registry || !m_keeper || m_keeper->isLoading())
        return;
    QList<DeletedNotes::Entry> restored;
    for (const DeletedNotes::Entry& entry : entries) {
        // No slot left: the user was told, and the rest stays among the deleted notes.
        if (!m_registry->restoreNote(DeletedNotes::restored(entry, m_services.clock.now())))
            break;
        restored.append(entry);
    }
    if (restored.isEmpty())
        return;
    try {
        // On disk as notes before they leave the deleted notes: a crash in between leaves
        // a note twice, never nowhere.
        m_keeper->SaveNotes();
        m_deletedNotes->forget(restored);
    } catch (const TacknoteError& error) {
        m_services.messages.error(error.message());
    }
}

NoteCommands::~NoteCommands() = default;

// The dialogs are made when first opened: most runs open none of them, and a start that
// made them all would build windows, load the address book and the network's TLS
// libraries before the first note shows.
TfrmMudaCaption* NoteCommands::frmMudaCaption() {
    if (!m_frmMudaCaption)
        m_frmMudaCaption = std::make_unique<TfrmMudaCaption>(m_services.clock, m_services.locale,
                                                             m_services.recGeral);
    return m_frmMudaCaption.get();
}

TfrmSobre* NoteCommands::frmSobre() {
    if (!m_frmSobre) {
        m_frmSobre = std::make_unique<TfrmSobre>();
        m_frmSobre->openLink = [this](const QUrl& address) { helpWindow().open(address); };
    }
    return m_frmSobre.get();
}

TfrmAddressBook* NoteCommands::frmAddressBook() {
    if (!m_frmAddressBook)
        m_frmAddressBook =
            std::make_unique<TfrmAddressBook>(m_services.notesFile, m_services.locale.locale(),
                                              m_services.messages, m_services.sound);
    return m_frmAddressBook.get();
}

TfrmEnviarEmail* NoteCommands::frmEnviarEmail() {
    if (!m_frmEnviarEmail)
        m_frmEnviarEmail = std::make_unique<TfrmEnviarEmail>(
            m_services.recGeral, m_services.recRede, *frmAddressBook(), m_services.messages,
            m_services.clock, *m_utcOffset);
    return m_frmEnviarEmail.get();
}

TfrmEnviaComputador* NoteCommands::frmEnviaComputador() {
    if (!m_frmEnviaComputador) {
        m_sender = new NoteSender(m_services.locale, this);
        m_frmEnviaComputador = std::make_unique<TfrmEnviaComputador>(
            m_services.recGeral, m_services.recRede, *m_sender, *frmAddressBook(),
            m_services.messages);
    }
    return m_frmEnviaComputador.get();
}

bool NoteCommands::networkEnabled() const {
    return m_services.recRede.Enabled;
}

bool NoteCommands::editCaption(QString& caption) {
    return frmMudaCaption()->edit(caption);
}

NoteRecord NoteCommands::configured(const NoteRecord& current, const NoteRecord& fromDialog) {
    NoteRecord record = current;
    record.alarm = fromDialog.alarm;
    record.AlarmDateTime = fromDialog.AlarmDateTime;
    record.UseSound = fromDialog.UseSound;
    record.SoundFile = fromDialog.SoundFile;
    record.weekdays = fromDialog.weekdays;
    record.Remember = fromDialog.Remember;
    record.RememberNo = fromDialog.RememberNo;
    record.RememberUnit = fromDialog.RememberUnit;
    record.Color = fromDialog.Color;
    record.FontName = fromDialog.FontName;
    record.FontSize = fromDialog.FontSize;
    record.FontColor = fromDialog.FontColor;
    record.FontBold = fromDialog.FontBold;
    record.FontItalic = fromDialog.FontItalic;
    record.scrollbar = fromDialog.scrollbar;
    record.DarkCaption = fromDialog.DarkCaption;
    record.TrackPosition = fromDialog.TrackPosition;
    return record;
}

void NoteCommands::configureNote(TfPostIt& note, int pageIndex, int helpContext) {
    const ConfNotaServices services{m_services.clock,   m_services.locale, m_services.messages,
                                    m_services.dialogs, m_services.sound,  m_services.autostart};
    // The dialog deletes itself when it closes.
    auto* dialog = new TfrmConfNota(services, m_services.recGeral, m_services.recRede,
                                    m_services.noteServer, m_services.dataDir);
    dialog->primeForNote(note.Tag, note.toRecord());
    dialog->pagGeral->setCurrentIndex(pageIndex);
    dialog->setHelpContext(helpContext);
    // The note may be deleted while the dialog is open; then OK changes nothing.
    const QPointer<TfPostIt> target(&note);
    connect(dialog, &TfrmConfNota::noteConfigured, this, [target](int, const NoteRecord& record) {
        if (target)
            target->applyRecord(configured(target->toRecord(), record));
    });
    dialog->exec();
}

void NoteCommands::openPreferences() {
    const ConfNotaServices services{m_services.clock,   m_services.locale, m_services.messages,
                                    m_services.dialogs, m_services.sound,  m_services.autostart};
    auto* dialog = new TfrmConfNota(services, m_services.recGeral, m_services.recRede,
                                    m_services.noteServer, m_services.dataDir);
    dialog->primePreferences();
    dialog->setHelpContext(2);
    dialog->exec();
}

void NoteCommands::showAbout(const QString& productPage) {
    frmSobre()->setProductPage(QFileInfo(productPage).isFile() ? productPage : QString());
    m_frmSobre->exec();
}

void NoteCommands::browseAddressBook() {
    frmAddressBook()->browse();
}

QString NoteCommands::makeBackup(const QString& folder) {
    return Backup::MakeBackup(m_services.notesFile, folder, m_services.clock.now());
}

void NoteCommands::backupToChosenFolder() {
    const QString& backupPath = m_services.recGeral.BackupPath;
    const QString suggested =
        Rotinas::AddBackslash(backupPath.isEmpty() ? m_services.dataDir : backupPath) +
        Backup::BackupFileName(m_services.clock.now());
    const QString chosen = m_services.dialogs.saveFile(nullptr, tr("Selecione o Local para Backup"),
                                                       suggested, QStringLiteral("*.tkn"));
    if (chosen.isEmpty())
        return;
    // Only the folder is used; the name is the minute of the copy.
    const QString folder = Rotinas::AddBackslash(QFileInfo(chosen).absolutePath());
    QString name;
    try {
        name = makeBackup(folder);
    } catch (const TacknoteError& error) {
        // The message names the backup that could not be made.
        m_services.messages.error(error.message());
        return;
    }
    m_services.messages.information(tr("Backup efetuado em  ") + name);
}

OutgoingNote NoteCommands::outgoing(const TfPostIt& note) {
    OutgoingNote out;
    out.caption = note.caption();
    out.Color = note.Color();
    const QSize text = note.textAreaSize();
    out.textWidth = text.width();
    out.textHeight = text.height();
    out.captionColor = note.captionColor();
    const NoteFont font = note.memoFont();
    out.FontName = font.Name;
    out.FontSize = font.Size;
    out.FontColor = font.Color;
    out.FontBold = font.Bold;
    out.FontItalic = font.Italic;
    out.alarm = note.alarm();
    out.AlarmDateTime = note.AlarmDateTime();
    out.UseSound = note.UseSound();
    out.SoundFile = note.SoundFile();
    out.Remember = note.Remember();
    out.RememberNo = note.RememberNo();
    out.RememberUnit = note.RememberUnit();
    out.weekdays = note.weekdays();
    out.lines = note.displayedLines();
    return out;
}

void NoteCommands::sendNote(TfPostIt& note, bool reply) {
    frmEnviaComputador()->sendNote(note.Tag, outgoing(note),
                                   reply ? std::optional<QString>(note.replyAddress())
                                         : std::nullopt);
}

void NoteCommands::mailNote(const QString& subject, const QString& text) {
    frmEnviarEmail()->sendNote(subject, text);
}

void NoteCommands::openUrl(const QUrl& url) {
    m_links->open(url);
}

TfrmAjuda& NoteCommands::helpWindow() {
    if (!m_frmAjuda)
        m_frmAjuda = std::make_unique<TfrmAjuda>(*m_links, m_services.messages);
    return *m_frmAjuda;
}

void NoteCommands::showHelp(const QString& page, const QString& topic) {
    helpWindow().showPage(page, topic);
}

void NoteCommands::printNote(const QString& caption, const QString& text, const QFont& font) {
    QPrinter printer;
    if (m_services.dialogs.print(nullptr, printer))
        NotePrinter::print(printer, caption, text, font);
}

void NoteCommands::closeDialogs() {
    // Whatever a sending still had to send is dropped with the program.
    if (m_sender)
        m_sender->cancel();
    if (m_frmMudaCaption)
        m_frmMudaCaption->reject();
    if (m_frmAjuda)
        m_frmAjuda->hide();
    if (m_frmLocalizaNota)
        m_frmLocalizaNota->reject();
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->hide();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }
}

bool NoteCommands::backupOnExit(bool tellUser) {
    QString problem;
    if (m_services.recGeral.BackupPath.trimmed().isEmpty()) {
        problem = tr("A cópia de segurança na saída do programa não foi feita: nenhuma pasta "
                     "foi escolhida para ela nas preferências.");
    } else {
        try {
            makeBackup(m_services.recGeral.BackupPath);
            return true;
        } catch (const TacknoteError& error) {
            problem = error.message();
        }
    }
    qWarning().noquote() << problem;
    if (tellUser)
        m_services.messages.error(problem);
    return false;
}

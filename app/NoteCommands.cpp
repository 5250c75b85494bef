#include "app/NoteCommands.h"

#include "dialogs/TfrmMudaCaption.h"
#include "note/NotePrinter.h"
#include "platform/CommonDialogs.h"
#include "platform/ShellOpener.h"
#include "store/TRecRede.h"

#include <QApplication>
#include <QPrinter>

NoteCommands::NoteCommands(const Services& services, QObject* parent)
    : QObject(parent), m_services(services) {
    // Dialogs have no parent window: a note that opened one may be deleted meanwhile.
    m_frmMudaCaption = new TfrmMudaCaption(services.clock, services.locale, services.recGeral);
}

NoteCommands::~NoteCommands() {
    delete m_frmMudaCaption;
}

bool NoteCommands::networkEnabled() const {
    return m_services.recRede.Enabled;
}

bool NoteCommands::editCaption(QString& caption) {
    return m_frmMudaCaption->edit(caption);
}

void NoteCommands::configureNote(TfPostIt& note, int pageIndex, int helpContext) {
    // The configuration dialog plugs in here.
    Q_UNUSED(note);
    Q_UNUSED(pageIndex);
    Q_UNUSED(helpContext);
}

void NoteCommands::sendNote(int noteNumber, const QString& recipient) {
    // The send-to-computer dialog plugs in here.
    Q_UNUSED(noteNumber);
    Q_UNUSED(recipient);
}

void NoteCommands::mailNote(const QString& subject, const QString& text) {
    // The e-mail dialog plugs in here.
    Q_UNUSED(subject);
    Q_UNUSED(text);
}

void NoteCommands::openUrl(const QUrl& url) {
    m_services.shell.open(url);
}

void NoteCommands::printNote(const QString& caption, const QString& text, const QFont& font) {
    QPrinter printer;
    if (m_services.dialogs.print(nullptr, printer))
        NotePrinter::print(printer, caption, text, font);
}

void NoteCommands::closeDialogs() {
    m_frmMudaCaption->reject();
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->hide();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }
}

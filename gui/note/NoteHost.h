#pragma once

#include <QString>
#include <QUrl>

class QFont;
class TfPostIt;

// What a note window asks of the program around it: the settings its menu depends on
// and the dialogs that act on a note. The main window implements it.
class NoteHost {
public:
    virtual ~NoteHost() = default;

    // The network functions are switched on (sending and mailing notes).
    virtual bool networkEnabled() const = 0;
    // The title dialog, opened on caption; true and caption changed when confirmed.
    virtual bool editCaption(QString& caption) = 0;
    // The configuration dialog for note, opened on the given page (0 the first page,
    // 1 the alarm page) with the given help context.
    virtual void configureNote(TfPostIt& note, int pageIndex, int helpContext) = 0;
    // The send-to-computer dialog for note: a plain send, or a reply to the computer the
    // note came from.
    virtual void sendNote(TfPostIt& note, bool reply) = 0;
    // The e-mail dialog with the given subject and text.
    virtual void mailNote(const QString& subject, const QString& text) = 0;
    // Opens a web or mail address in the desktop's program for it.
    virtual void openUrl(const QUrl& url) = 0;
    // The print dialog, then the note printed on the chosen printer.
    virtual void printNote(const QString& caption, const QString& text, const QFont& font) = 0;
    // The window that finds any note by its title or text.
    virtual void findNote() = 0;
};

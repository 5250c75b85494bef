#pragma once

#include "note/NoteHost.h"

#include <QObject>

class CommonDialogs;
class Clock;
class LocaleInfo;
class ShellOpener;
class TfrmMudaCaption;
class QWidget;
struct TRecGeral;
struct TRecRede;

// What the note windows ask of the program around them: the settings their menu
// depends on, and the dialogs that act on a note. Owns the dialogs created once per run.
class NoteCommands : public QObject, public NoteHost {
    Q_OBJECT
public:
    struct Services {
        const TRecGeral& recGeral;
        const TRecRede& recRede;
        const Clock& clock;
        const LocaleInfo& locale;
        CommonDialogs& dialogs;
        ShellOpener& shell;
    };

    explicit NoteCommands(const Services& services, QObject* parent = nullptr);
    ~NoteCommands() override;

    bool networkEnabled() const override;
    bool editCaption(QString& caption) override;
    void configureNote(TfPostIt& note, int pageIndex, int helpContext) override;
    void sendNote(int noteNumber, const QString& recipient) override;
    void mailNote(const QString& subject, const QString& text) override;
    void openUrl(const QUrl& url) override;
    void printNote(const QString& caption, const QString& text, const QFont& font) override;

    // Ends every dialog still open (the program is closing).
    void closeDialogs();

    TfrmMudaCaption* frmMudaCaption() const { return m_frmMudaCaption; }

private:
    Services m_services;
    TfrmMudaCaption* m_frmMudaCaption = nullptr;
};

#pragma once

#include "core/notes/NoteRecord.h"

#include <QDialog>
#include <QString>

class Clock;
class CommonDialogs;
class LocaleInfo;
class MessageBoxes;
class NoteServerControl;
class QPushButton;
class QTabWidget;
class SessionAutostart;
class SoundPlayer;
class TtabAlarme;
class TtabFonteCor;
class TtabGeral;
class TtabSons;
class TtbsRede;
struct GeneralSettings;
struct NetworkSettings;

// The seams the configuration dialog works through; all outlive it.
struct ConfNotaServices {
    const Clock& clock;
    const LocaleInfo& locale;
    MessageBoxes& messages;
    CommonDialogs& dialogs;
    SoundPlayer& sound;
    // The start with the desktop session; without it page "Geral" does not offer it.
    SessionAutostart* autostart = nullptr;
};

// "Configurações": one dialog for two purposes. In preferences mode it edits the
// program settings, whose appearance values are the defaults of notes created later;
// in note mode it edits one note's look and alarm, given as the note's record, and
// hands the changed record back. It is created for one opening and deletes itself
// when it closes; nothing changes unless OK passes its checks.
class TfrmConfNota : public QDialog {
    Q_OBJECT
public:
    // The pages of pagGeral in tab order.
    enum Page { PageFonteCor, PageAlarme, PageSons, PageGeral, PageRede, PageCount };

    // The settings are edited in place on OK of preferences mode only. dataDir is the
    // data folder shown on page "Geral".
    TfrmConfNota(const ConfNotaServices& services, GeneralSettings& recGeral,
                 NetworkSettings& recRede, NoteServerControl& noteServer, const QString& dataDir,
                 QWidget* parent = nullptr);

    // The number of the configured note, or -1 in preferences mode.
    int ConfiguredNote = -1;

    // Preferences mode, before showing: ConfiguredNote -1 and the controls primed from
    // the settings.
    void primePreferences();
    // Note mode, before showing: ConfiguredNote and the preview primed from the note.
    void primeForNote(int noteNumber, const NoteRecord& note);

    // The help context of the page shown; it follows every change of page.
    int helpContext() const { return m_helpContext; }
    // Also the place in the help that F1 opens.
    void setHelpContext(int context);
    static int helpContextOf(int page);

    // FormShow: the pages of the mode and every control primed, in order.
    void FormShow();
    // The page changed: the help context becomes the new page's.
    void pagGeralChange(int page);
    // The checks, then what the mode changes; the dialog closes with OK only after that.
    void cmdOKClick();

    QTabWidget* pagGeral = nullptr;
    TtabFonteCor* tabFonteCor = nullptr;
    TtabAlarme* tabAlarme = nullptr;
    TtabSons* tabSons = nullptr;
    TtabGeral* tabGeral = nullptr;
    TtbsRede* tbsRede = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancelar = nullptr;

Q_SIGNALS:
    // OK in note mode: the note with that number is to take this record. The note may
    // have been deleted meanwhile; the receiver checks.
    void noteConfigured(int noteNumber, const NoteRecord& note);
    // OK in preferences mode: the settings have changed.
    void preferencesApplied();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    bool preferencesMode() const { return ConfiguredNote < 0; }
    // The checks of OK; the first that fails shows its message, puts the focus on its
    // field and gives false.
    bool checksPass();
    void refuse(int page, QWidget* field, const QString& message);
    void applyToNote();
    void applyToSettings();
    // The listener listens after OK exactly when the network functions are on, on the
    // port now set: one listening on another port is closed first.
    void startOrStopNoteServer(bool portChanged);
    void applySessionStart();

    const ConfNotaServices m_services;
    GeneralSettings& m_recGeral;
    NetworkSettings& m_recRede;
    NoteServerControl& m_noteServer;
    QString m_dataDir;
    NoteRecord m_note; // the configured note as primed
    int m_helpContext = 0;
};

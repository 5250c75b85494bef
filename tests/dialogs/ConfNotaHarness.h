#pragma once

#include "core/base/TacknoteError.h"
#include "core/net/NoteServerControl.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/dialogs/TfrmConfNota.h"
#include "platform/SessionAutostart.h"
#include "platform/system/QtLocaleInfo.h"

#include "../support/FakeClock.h"
#include "../support/RecordingSoundPlayer.h"
#include "../support/ScriptedCommonDialogs.h"
#include "../support/ScriptedMessageBoxes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QListWidget>

#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <optional>

// Records the listener's starts and stops, in their order; a start fails when failure
// holds a text.
struct RecordingNoteServer final : NoteServerControl {
    void StartNoteServer() override {
        calls.append(QStringLiteral("start"));
        if (!failure.isEmpty())
            throw TacknoteError(failure);
    }
    void StopNoteServer() override { calls.append(QStringLiteral("stop")); }

    QStringList calls;
    QString failure;
};

// A configuration dialog on test doubles, with the settings a fresh notes file gives,
// on a clock standing at 25/12/2002 14:30:05.500.
struct ConfNotaHarness {
    static inline const QString DataDir =
        QStringLiteral("/home/maria/Documentos/Tacknote/maria/data/");

    ConfNotaHarness() : locale(QLocale(QStringLiteral("pt_BR"))) {
        recGeral.SoundNewSticky = QStringLiteral("/opt/tacknote/boing.wav");
        recGeral.User = QStringLiteral("maria");
        recGeral.SoundDelSticky = QStringLiteral("/opt/tacknote/recycle.wav");
        recGeral.SoundRecSticky = QStringLiteral("/opt/tacknote/BIPECOMP.WAV");
        recGeral.AskDelete = true;
        recGeral.DefaultColor = 0x80FFFF;
        recGeral.DefaultFont = NoteFont{QStringLiteral("Arial"), 10, 0, false, false};
        recGeral.TrackPosition = 12;
        recGeral.ShowDate = true;
        recGeral.ShowTime = true;
        recGeral.AutoSave = true;
        recGeral.TimeAutoSave = 10;
        recRede.SMTPPort = QStringLiteral("25");
        recRede.PortTCP = QStringLiteral("7801");
    }
    ~ConfNotaHarness() { delete dialog; }

    TfrmConfNota& create() {
        dialog = new TfrmConfNota({clock, locale, messages, dialogs, sound, autostart}, recGeral,
                                  recRede, server, DataDir);
        QObject::connect(dialog, &TfrmConfNota::noteConfigured,
                         [this](int number, const NoteRecord& note) {
                             configuredNumber = number;
                             configured = note;
                         });
        QObject::connect(dialog, &TfrmConfNota::preferencesApplied, [this] { ++applied; });
        return *dialog;
    }
    // Primed for the note and shown.
    TfrmConfNota& openNote(const NoteRecord& note, int number = 4) {
        create().primeForNote(number, note);
        dialog->show();
        return *dialog;
    }
    // Primed with the settings and shown.
    TfrmConfNota& openPreferences() {
        create().primePreferences();
        dialog->show();
        return *dialog;
    }
    // Presses OK; true when the dialog closed and freed itself.
    bool pressOk() {
        dialog->cmdOK->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
    // Runs action as soon as the modal dialog that trigger opens is shown.
    static void whenModal(const std::function<void()>& trigger,
                          const std::function<void()>& action) {
        QTimer::singleShot(0, action);
        trigger();
    }
    // The texts of a list's rows, top to bottom.
    static QStringList itemTexts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5, 500))};
    QtLocaleInfo locale;
    ScriptedMessageBoxes messages;
    ScriptedCommonDialogs dialogs;
    RecordingSoundPlayer sound;
    RecordingNoteServer server;
    SessionAutostart* autostart = nullptr; // none: page "Geral" does not offer it
    GeneralSettings recGeral;
    NetworkSettings recRede;
    QPointer<TfrmConfNota> dialog;
    std::optional<NoteRecord> configured;
    int configuredNumber = -1;
    int applied = 0;
};

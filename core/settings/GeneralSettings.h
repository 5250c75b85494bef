#pragma once

#include "core/base/NoteFont.h"

#include <QString>

// General program settings (section "General" of the notes file). Each field's key and
// default are declared once, in the table of SettingsStore.cpp, and a new record holds
// those defaults; only the sound files and the user, whose defaults depend on where the
// program is and who runs it, stay empty (SettingsStore::defaultGeral gives them). A
// field without its entry there would be neither stored nor given a value.
struct GeneralSettings {
    GeneralSettings();

    bool UseSounds;
    QString SoundNewSticky;
    QString User;
    QString SoundDelSticky;
    QString SoundRecSticky;
    bool AskDelete;
    int DefaultColor;
    NoteFont DefaultFont;
    bool ScrollBar;
    bool DarkCaption;
    int TrackPosition;
    bool ShowDate;
    bool ShowTime;
    bool AutoSave;
    int TimeAutoSave;
    bool NoteDaily;
    bool BackupOnExit;
    QString BackupPath;
    // The user was told once that the desktop shows no tray (key "TrayNoticeShown",
    // written only once it is true; the Windows program leaves it in place).
    bool TrayNoticeShown;

    bool operator==(const GeneralSettings&) const = default;
};

#pragma once

#include "core/base/NoteFont.h"

#include <QString>

// General program settings (section "General" of the notes file). The fields hold zero
// values until the notes file is first loaded.
struct GeneralSettings {
    bool UseSounds = false;
    QString SoundNewSticky;
    QString User;
    QString SoundDelSticky;
    QString SoundRecSticky;
    bool AskDelete = false;
    int DefaultColor = 0;
    NoteFont DefaultFont{QString(), 0, 0, false, false};
    bool ScrollBar = false;
    bool DarkCaption = false;
    int TrackPosition = 0;
    bool ShowDate = false;
    bool ShowTime = false;
    bool AutoSave = false;
    int TimeAutoSave = 0;
    bool NoteDaily = false;
    bool BackupOnExit = false;
    QString BackupPath;
    // The user was told once that the desktop shows no tray (key "TrayNoticeShown",
    // written only once it is true; the Windows program leaves it in place).
    bool TrayNoticeShown = false;

    bool operator==(const GeneralSettings&) const = default;
};

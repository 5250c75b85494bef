#pragma once

#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"

#include <QString>

class IniFile;

// Moves the program settings between the records and the sections "General" and
// "Network" of the notes file, key by key in the order the file format fixes.
class SettingsStore {
public:
    // Values the defaults depend on.
    struct Context {
        QString soundDir; // the shipped default sounds; ends in a separator
        QString logonUser;
    };

    static void read(IniFile& file, const Context& context, GeneralSettings& geral,
                     NetworkSettings& rede);
    // portugueseMarked: the Portuguese language item is checked ("Port"), else "Eng".
    static void write(IniFile& file, const GeneralSettings& geral, const NetworkSettings& rede,
                      bool portugueseMarked);

    static int readNumStickies(IniFile& file);
    static void writeNumStickies(IniFile& file, int count);
    static QString readDefaultLang(IniFile& file);

    // The settings of an empty notes file.
    static GeneralSettings defaultGeral(const Context& context);
    static NetworkSettings defaultRede();
};

#pragma once

#include "store/TRecGeral.h"
#include "store/TRecRede.h"

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

    static void read(IniFile& file, const Context& context, TRecGeral& geral, TRecRede& rede);
    // portugueseMarked: the Portuguese language item is checked ("Port"), else "Eng".
    static void write(IniFile& file, const TRecGeral& geral, const TRecRede& rede,
                      bool portugueseMarked);

    static int readNumStickies(IniFile& file);
    static void writeNumStickies(IniFile& file, int count);
    static QString readDefaultLang(IniFile& file);

    // The settings of an empty notes file.
    static TRecGeral defaultGeral(const Context& context);
    static TRecRede defaultRede();
};

#pragma once

#include <QString>

// Where the help speaks of a window: a place (an anchor) in the help page, which F1 opens.
// A window names its place in the property HelpTopics::property; a window nested in
// another (a page, a field, a dialog opened from a dialog) takes the place of the nearest
// window around it that names one.
class HelpTopics {
public:
    static constexpr char property[] = "helpTopic";

    // The place of a numbered help context: 1 the note, 2 its appearance, 3 alarms,
    // 4 sounds, 5 the general preferences, 6 the network, 7 the address book, 8 e-mail,
    // 9 sending to a computer. Any other number gives the start of the help (empty).
    static QString ofContext(int helpContext);
};

#pragma once

#include <QString>

// Which interface language the program starts in, and which browser menu entry goes
// with it, from the saved language choice and the user's locale.
struct StartLanguage {
    enum class Language { None, Portuguese, English };

    Language language = Language::None;     // the language item to switch to
    Language browserEntry = Language::None; // the browser entry to write
    bool entryBeforeSwitch = false;         // the entry is written before the switch

    // defaultLang: the saved choice ("Port", "Eng" or empty); lcid: the user's locale.
    static StartLanguage decide(const QString& defaultLang, int lcid);

    bool operator==(const StartLanguage&) const = default;
};

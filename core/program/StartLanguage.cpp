#include "core/program/StartLanguage.h"

#include "platform/LocaleInfo.h"

StartLanguage StartLanguage::decide(const QString& defaultLang, int lcid) {
    StartLanguage choice;
    if (!defaultLang.isEmpty()) {
        const Language saved = defaultLang.toUpper() == QLatin1String("PORT") ? Language::Portuguese
                                                                              : Language::English;
        choice.language = saved;
        choice.browserEntry = saved;
        choice.entryBeforeSwitch = true;
        return choice;
    }
    if (lcid == LocaleInfo::LcidEnglishUs) {
        choice.language = Language::English;
        choice.browserEntry = Language::English;
    } else if (lcid == LocaleInfo::LcidPortugueseBrazil) {
        choice.language = Language::Portuguese;
        choice.browserEntry = Language::Portuguese;
    }
    return choice;
}

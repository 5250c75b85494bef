#pragma once

#include "app/StartLanguage.h"

#include <QString>
#include <memory>

class QTranslator;

// The interface texts of one language, taken from the language's resource set beside
// the program: "tacknote.PTB" for Portuguese and "tacknote.ENU" for English, else
// "tacknote.PT" and "tacknote.EN". Installing a set replaces the one installed before,
// and every window receives a language change and re-texts itself.
class InterfaceTexts {
public:
    using Language = StartLanguage::Language;

    // programDir ends in a separator.
    explicit InterfaceTexts(QString programDir);
    ~InterfaceTexts();
    InterfaceTexts(const InterfaceTexts&) = delete;
    InterfaceTexts& operator=(const InterfaceTexts&) = delete;

    // Installs the texts of language; false, with nothing changed, when its resource
    // set is missing or unreadable.
    bool install(Language language);
    // The file a language's texts would come from; empty when there is none.
    QString resourceSet(Language language) const;

private:
    QString m_programDir;
    std::unique_ptr<QTranslator> m_translator;
};

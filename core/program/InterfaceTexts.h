#pragma once

#include "core/program/StartLanguage.h"
#include "platform/system/QtTranslations.h"

#include <QString>
#include <memory>

class QTranslator;

// The interface language: the program's texts of one language, taken from the
// language's resource set in the program's shared files ("tacknote.PTB" for Portuguese and
// "tacknote.ENU" for English, else "tacknote.PT" and "tacknote.EN"), with Qt's own
// texts in the same language, the language's help and product page, and which language
// item is marked. Installing a set replaces the one installed before; every window then
// receives a language change and re-texts itself.
class InterfaceTexts {
public:
    using Language = StartLanguage::Language;

    // folder holds the language sets and help/; it ends in a separator.
    explicit InterfaceTexts(QString folder);
    ~InterfaceTexts();
    InterfaceTexts(const InterfaceTexts&) = delete;
    InterfaceTexts& operator=(const InterfaceTexts&) = delete;

    // Installs the texts of language and marks it; false, with nothing changed, when its
    // resource set is missing or unreadable.
    bool install(Language language);
    // The file a language's texts would come from; empty when there is none.
    QString resourceSet(Language language) const;

    // The language item marked: none until a language was installed.
    Language marked() const { return m_marked; }
    // The help of the marked language (the English one while none is marked).
    QString helpFile() const;
    // The product's page in the marked language (Portuguese unless English is marked).
    QString productPage() const;

private:
    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
    QtTranslations m_qtTexts;
    Language m_marked = Language::None;
};

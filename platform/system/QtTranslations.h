#pragma once

#include <QString>
#include <memory>

class QTranslator;

// Qt's own texts (the standard buttons of message boxes, the print, file, colour and
// font dialogs) in the interface language: Qt's translation catalogue of one language
// at a time, installed in the application. A language switch installs the next one.
class QtTranslations {
public:
    // folder holds Qt's catalogues; by default the one Qt was installed with.
    explicit QtTranslations(const QString& folder = defaultFolder());
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    static QString defaultFolder();

    // Installs Qt's catalogue for language (a locale name such as "pt_BR" or "en"),
    // replacing the one installed before. False when Qt has none for it: Qt's texts are
    // then its English originals.
    bool install(const QString& language);
    // The language installed; empty for none.
    QString language() const { return m_language; }

private:
    void remove();

    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
    QString m_language;
};

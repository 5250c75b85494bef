#include "platform/system/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

QtTranslations::QtTranslations(const QString& folder) : m_folder(folder) {}

QtTranslations::~QtTranslations() {
    remove();
}

QString QtTranslations::defaultFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::install(const QString& language) {
    remove();
    auto translator = std::make_unique<QTranslator>();
    // "qt" names the catalogue that pulls in those of every Qt module.
    if (!translator->load(QLocale(language), QStringLiteral("qt"), QStringLiteral("_"), m_folder)) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    m_language = language;
    return true;
}

void QtTranslations::remove() {
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
    m_language.clear();
}

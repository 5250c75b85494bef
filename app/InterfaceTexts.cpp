#include "app/InterfaceTexts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

InterfaceTexts::InterfaceTexts(QString programDir) : m_programDir(std::move(programDir)) {}

InterfaceTexts::~InterfaceTexts() {
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
}

QString InterfaceTexts::resourceSet(Language language) const {
    if (language == Language::None)
        return QString();
    // The language's three-letter abbreviation, then its first two letters.
    const QString abbreviation =
        language == Language::Portuguese ? QStringLiteral("PTB") : QStringLiteral("ENU");
    for (const QString& extension : {abbreviation, abbreviation.left(2)}) {
        const QString path = m_programDir + QStringLiteral("tacknote.") + extension;
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

bool InterfaceTexts::install(Language language) {
    const QString path = resourceSet(language);
    if (path.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path))
        return false;
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator = std::move(translator);
    QCoreApplication::installTranslator(m_translator.get());
    return true;
}

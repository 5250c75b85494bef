#include "core/program/InterfaceTexts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

InterfaceTexts::InterfaceTexts(QString folder) : m_folder(std::move(folder)) {
    // The built-in texts are Portuguese; Qt's own follow them until a language is chosen.
    m_qtTexts.install(QStringLiteral("pt_BR"));
}

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
        const QString path = m_folder + QStringLiteral("tacknote.") + extension;
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
    // Qt's own texts (standard buttons, common dialogs) follow.
    m_qtTexts.install(language == Language::English ? QStringLiteral("en")
                                                    : QStringLiteral("pt_BR"));
    m_marked = language;
    return true;
}

QString InterfaceTexts::helpFile() const {
    return m_folder + QStringLiteral("help/") +
           (m_marked == Language::Portuguese ? QStringLiteral("tacknote.html")
                                             : QStringLiteral("tacknote_enu.html"));
}

QString InterfaceTexts::productPage() const {
    return m_folder + QStringLiteral("help/") +
           (m_marked == Language::English ? QStringLiteral("index_enu.html")
                                          : QStringLiteral("index.html"));
}

#include "core/program/StartGate.h"

#include "core/program/InterfaceTexts.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "platform/LocaleInfo.h"
#include "platform/MessageBoxes.h"
#include "platform/system/ErrorReason.h"
#include "platform/system/PrivateFolder.h"
#include "platform/system/SingleInstance.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

StartGate::StartGate(const Services& services) : m_services(services) {}

StartGate::~StartGate() = default;

std::unique_ptr<InterfaceTexts> StartGate::installTexts(const DataLocation& location,
                                                        const LocaleInfo& locale) {
    QString defaultLang;
    if (QFileInfo(location.NotesFile).isFile()) {
        IniFile file(location.NotesFile, IniFile::Mode::Batched);
        defaultLang = SettingsStore::readDefaultLang(file);
    }
    const StartLanguage start = StartLanguage::decide(defaultLang, locale.lcid());
    auto texts = std::make_unique<InterfaceTexts>(location.SharedDir);
    if (start.language != StartLanguage::Language::None)
        texts->install(start.language);
    return texts;
}

StartGate::Outcome StartGate::open(const QByteArray& message, int waitMs) {
    m_location = DataLocation::prepare(m_services.paths);
    if (!QFileInfo(m_location.DataDir).isDir()) {
        // The folders were made one by one above; this says why one of them was not.
        const int error = PrivateFolder::create(m_location.DataDir);
        if (error != 0 || !QFileInfo(m_location.DataDir).isDir())
            return refuse([&] {
                return QCoreApplication::translate(
                           "StartGate", "O Tacknote não pôde ser iniciado: a pasta de dados "
                                        "%1 não pôde ser criada (%2).")
                    .arg(m_location.DataDir, ErrorReason::text(error));
            });
    }

    m_channel = std::make_unique<SingleInstance>(m_location.DataDir, m_location.LogonUser);
    if (m_channel->claim())
        return Outcome::Run;
    if (m_channel->failure() != 0)
        return refuse([&] {
            return QCoreApplication::translate(
                       "StartGate", "O Tacknote não pôde ser iniciado: o arquivo de trava "
                                    "%1 não pôde ser criado (%2).")
                .arg(m_location.DataDir + QStringLiteral("stickies.tkn.lock"),
                     ErrorReason::text(m_channel->failure()));
        });
    const QString server = SingleInstance::serverName(m_location.DataDir, m_location.LogonUser);
    if (SingleInstance::send(server, message, waitMs))
        return Outcome::HandedOver;
    // A process holds the lock and is alive, but takes no message.
    return refuse([&] {
        return QCoreApplication::translate(
                   "StartGate", "O Tacknote já está aberto para a pasta %1, mas não responde. "
                                "Feche-o (ou encerre o processo) e inicie o Tacknote de novo.")
            .arg(m_location.DataDir);
    });
}

StartGate::Outcome StartGate::refuse(const std::function<QString()>& reason) {
    // The message in the language the program would have had.
    m_texts = installTexts(m_location, m_services.locale);
    m_reason = reason();
    std::fprintf(stderr, "%s\n", qPrintable(m_reason));
    m_services.messages.error(m_reason);
    return Outcome::Refused;
}

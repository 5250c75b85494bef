#pragma once

#include "core/program/DataLocation.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class InterfaceTexts;
class LocaleInfo;
class MessageBoxes;
class SingleInstance;
class SystemPaths;

// What must hold before the program may run: a data folder, and no other running copy
// for that folder. A start that finds a running copy hands its message over and ends; a
// start that cannot run says why, in the interface language, in a message box (it may
// have come from a menu, with no terminal to read) and on standard error, and never
// claims that another copy runs when none answers.
class StartGate {
public:
    enum class Outcome {
        Run,        // this start runs the program; channel() is its local socket
        HandedOver, // the running copy took the message; this start ends
        Refused,    // this start cannot run; reason() says why and was shown
    };

    struct Services {
        const SystemPaths& paths;
        const LocaleInfo& locale;
        MessageBoxes& messages;
    };

    explicit StartGate(const Services& services);
    ~StartGate();
    StartGate(const StartGate&) = delete;
    StartGate& operator=(const StartGate&) = delete;

    // Prepares the data folder and claims the running copy's place; when another copy
    // holds it, hands message to that copy, waiting at most waitMs for it to take it.
    Outcome open(const QByteArray& message, int waitMs = 5000);

    const DataLocation& location() const { return m_location; }
    // The local socket of a start that runs; it belongs to this object.
    SingleInstance* channel() const { return m_channel.get(); }
    QString reason() const { return m_reason; }

    // Installs the interface texts of the language the program would start in (the
    // saved choice, else the user's locale), for the messages of a start that does not
    // get as far as the program's own choice. Keep the result while they are used.
    static std::unique_ptr<InterfaceTexts> installTexts(const DataLocation& location,
                                                        const LocaleInfo& locale);

private:
    // reason composes the text once the interface texts are installed.
    Outcome refuse(const std::function<QString()>& reason);

    Services m_services;
    DataLocation m_location;
    std::unique_ptr<SingleInstance> m_channel;
    std::unique_ptr<InterfaceTexts> m_texts;
    QString m_reason;
};

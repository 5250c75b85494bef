#pragma once

#include <QString>

// Where the program and the user's files are, and who the user is.
class SystemPaths {
public:
    virtual ~SystemPaths() = default;

    // The user's personal documents folder; empty when the system names none.
    virtual QString documentsDir() const = 0;
    // The folder holding the executable.
    virtual QString programDir() const = 0;
    // The logon name of the user; "Default" when it cannot be obtained.
    virtual QString logonUser() const = 0;

    static constexpr int MaxUserNameBuffer = 255; // characters, terminating zero included
    static QString defaultUserName() { return QStringLiteral("Default"); }
    // The logon name as the program uses it: a name that does not fit the buffer,
    // or none at all, becomes "Default".
    static QString usableUserName(const QString& name);
};

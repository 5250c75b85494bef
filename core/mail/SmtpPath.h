#pragma once

#include <QString>

// The address of MAIL FROM and RCPT TO as it goes on the wire, in angle brackets.
class SmtpPath {
public:
    // An address written with its own angle brackets ("Ann Smith <ann@example.org>") is
    // sent as the bracketed part alone, since a display name before it is no valid path and
    // strict servers refuse it; any other text is trimmed and put into brackets.
    static QString of(const QString& address);
};

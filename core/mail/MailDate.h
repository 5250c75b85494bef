#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The date text of a mail's Date header: "Wed, 25 Dec 2002 14:30:00 -0300", always with
// English day and month names.
class MailDate {
public:
    // utcOffsetMinutes is local time minus UTC; nothing when the zone is unknown.
    static QString format(const QDateTime& local, std::optional<int> utcOffsetMinutes);
    // "+hhmm" east of UTC (UTC itself included), "-hhmm" west of it, "-0000" unknown.
    static QString zoneText(std::optional<int> utcOffsetMinutes);
};

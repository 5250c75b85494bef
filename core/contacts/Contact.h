#pragma once

#include <QString>

// One entry of the address book. No field is checked: any may be empty, and names and
// addresses may repeat.
struct Contact {
    QString name;
    // A computer's IP address or name, or an e-mail address.
    QString address;
    QString remark;

    bool operator==(const Contact&) const = default;
};

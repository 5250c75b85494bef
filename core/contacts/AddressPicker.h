#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Lets the user pick recipients from the address book. The send and e-mail dialogs ask
// through this, so they do not depend on the address book's window.
class AddressPicker {
public:
    virtual ~AddressPicker() = default;

    // Shows the address book modally in its picking mode; the picked addresses in the
    // order they were picked, empty when none was picked.
    virtual QStringList pickAddresses(QWidget* parent) = 0;

    // The recipient field after picking: with nothing picked, the field as it was;
    // otherwise a "," after a non-empty field, then each picked address that does not
    // already occur anywhere inside the field (plain substring test, letter case
    // included) followed by ",", and no "," at the very end.
    static QString mergeInto(const QString& field, const QStringList& picked) {
        if (picked.isEmpty())
            return field;
        QString merged = field;
        if (!merged.isEmpty())
            merged += QLatin1Char(',');
        for (const QString& address : picked) {
            if (!merged.contains(address))
                merged += address + QLatin1Char(',');
        }
        if (merged.endsWith(QLatin1Char(',')))
            merged.chop(1);
        return merged;
    }
};

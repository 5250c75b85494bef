#include "core/mail/SmtpPath.h"

QString SmtpPath::of(const QString& address) {
    const qsizetype open = address.indexOf(QLatin1Char('<'));
    const qsizetype close = open < 0 ? -1 : address.indexOf(QLatin1Char('>'), open);
    if (close > open)
        return address.mid(open, close - open + 1);
    qsizetype from = 0;
    qsizetype to = address.size();
    while (from < to && address.at(from).unicode() <= ' ')
        ++from;
    while (to > from && address.at(to - 1).unicode() <= ' ')
        --to;
    return QLatin1Char('<') + address.mid(from, to - from) + QLatin1Char('>');
}

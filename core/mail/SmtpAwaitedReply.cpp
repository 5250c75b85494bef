#include "core/mail/SmtpAwaitedReply.h"

#include <utility>

void SmtpAwaitedReply::await(QList<int> okCodes, Handler next) {
    okCodes.resize(qMin<qsizetype>(okCodes.size(), MaxOkCodes));
    m_okCodes = std::move(okCodes);
    m_next = std::move(next);
}

int SmtpAwaitedReply::resultOf(int statusCode) const {
    if (m_okCodes.contains(statusCode))
        return 0;
    return statusCode != 0 ? statusCode : 500;
}

SmtpAwaitedReply::Handler SmtpAwaitedReply::takeNext() {
    return std::exchange(m_next, nullptr);
}

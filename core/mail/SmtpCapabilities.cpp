#include "core/mail/SmtpCapabilities.h"

void SmtpCapabilities::add(const QString& replyLine) {
    if (m_lines.size() < MaxLines)
        m_lines << replyLine.mid(4).trimmed();
}

bool SmtpCapabilities::offers(const QString& keyword) const {
    for (const QString& line : m_lines) {
        if (line.section(QLatin1Char(' '), 0, 0).compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

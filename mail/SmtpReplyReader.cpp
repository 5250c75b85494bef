#include "mail/SmtpReplyReader.h"

#include <cstring>

void SmtpReplyReader::clear() {
    m_length = 0;
    m_discarding = false;
}

void SmtpReplyReader::appended(int count) {
    m_length = qBound(0, m_length + count, BufferSize);
}

int SmtpReplyReader::findLineEnd() const {
    for (int i = 0; i + 1 < m_length; ++i) {
        if (m_buffer[size_t(i)] == '\r' && m_buffer[size_t(i) + 1] == '\n')
            return i;
    }
    return -1;
}

void SmtpReplyReader::drop(int count) {
    std::memmove(m_buffer.data(), m_buffer.data() + count, size_t(m_length - count));
    m_length -= count;
}

std::optional<QByteArray> SmtpReplyReader::takeLine() {
    for (;;) {
        const int end = findLineEnd();
        if (m_discarding) {
            if (end < 0) {
                // A CR at the very end may be the first half of the line's CR LF.
                const bool keepCr = m_length > 0 && m_buffer[size_t(m_length) - 1] == '\r';
                drop(m_length - (keepCr ? 1 : 0));
                return std::nullopt;
            }
            drop(end + 2);
            m_discarding = false;
            continue;
        }
        if (end >= 0) {
            QByteArray line(m_buffer.data(), end);
            drop(end + 2);
            return line;
        }
        if (m_length < BufferSize)
            return std::nullopt;
        const bool keepCr = m_buffer[size_t(BufferSize) - 1] == '\r';
        const int take = keepCr ? BufferSize - 1 : BufferSize;
        QByteArray line(m_buffer.data(), take);
        drop(take);
        m_discarding = true;
        return line;
    }
}

bool SmtpReplyReader::readStatusCode(const QString& line, int& code) {
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t') ||
                        line.at(i) == QLatin1Char('\r') || line.at(i) == QLatin1Char('\n')))
        ++i;
    if (i < size && (line.at(i) == QLatin1Char('+') || line.at(i) == QLatin1Char('-')))
        ++i;
    int value = 0;
    int digits = 0;
    while (i < size && line.at(i) >= QLatin1Char('0') && line.at(i) <= QLatin1Char('9')) {
        if (digits < 3)
            value = value * 10 + (line.at(i).unicode() - '0');
        ++digits;
        ++i;
    }
    // Reply codes have three digits; anything else is no code at all.
    code = digits == 3 ? value : 0;
    return !(i < size && line.at(i) == QLatin1Char('-'));
}

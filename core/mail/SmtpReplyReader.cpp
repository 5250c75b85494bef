#include "core/mail/SmtpReplyReader.h"

SmtpReplyReader::SmtpReplyReader()
    : m_lines(LineAssembler::Options{BufferSize, false, LineAssembler::Overflow::CutLine}) {}

void SmtpReplyReader::clear() {
    m_lines.clear();
}

void SmtpReplyReader::append(QByteArrayView bytes) {
    m_lines.append(bytes);
}

std::optional<QByteArray> SmtpReplyReader::takeLine() {
    QByteArray line;
    if (m_lines.next(line) != LineAssembler::Result::Line)
        return std::nullopt;
    line.chop(2); // CR LF
    // A line that arrived whole is cut like one that outgrew the buffer on its way.
    if (line.size() > BufferSize)
        line.truncate(BufferSize);
    return line;
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

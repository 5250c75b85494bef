#include "core/mail/SmtpMessageStream.h"

#include "core/mail/MailEncoding.h"
#include "core/mail/SmtpMessageText.h"

#include <utility>

SmtpMessageStream::SmtpMessageStream(HeaderHook headerHook, BodySource body)
    : m_headerHook(std::move(headerHook)), m_body(std::move(body)) {}

void SmtpMessageStream::start(QStringList headerLines) {
    m_headerLines = std::move(headerLines);
    m_headerIndex = 0;
    m_lineNum = 0;
    m_moreLines = true;
}

std::optional<SmtpMessageStream::Line> SmtpMessageStream::next() {
    if (m_headerIndex < m_headerLines.size()) {
        QString line = m_headerLines.at(m_headerIndex++);
        m_headerHook(line);
        return wireLine(line, true);
    }
    if (m_moreLines) {
        ++m_lineNum;
        QString line;
        bool more = true;
        m_body(m_lineNum, line, more);
        if (more)
            return wireLine(line, false);
        m_moreLines = false;
    }
    return std::nullopt;
}

SmtpMessageStream::Line SmtpMessageStream::wireLine(const QString& line, bool header) {
    Line out;
    out.text = SmtpMessageText::wireLines(line, header ? SmtpMessageText::Kind::Header
                                                       : SmtpMessageText::Kind::Body)
                   .join(QStringLiteral("\r\n"));
    // The header is ASCII but for what cannot be encoded (an address that is not), which
    // goes as UTF-8; body lines are ASCII, or the single-byte text of a message with its
    // own headers.
    out.bytes = (header ? out.text.toUtf8() : MailEncoding::toWire(out.text)) + "\r\n";
    return out;
}

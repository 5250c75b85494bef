#pragma once

#include <QString>
#include <QStringList>

// The extensions a server named in its last accepted EHLO reply ("STARTTLS", "AUTH PLAIN",
// ...), one line each. Servers name a dozen or two; a reply that goes on naming more
// cannot make the list grow without bound.
class SmtpCapabilities {
public:
    static constexpr int MaxLines = 64;

    void clear() { m_lines.clear(); }
    // Keeps the text after the code of one line of an EHLO reply, while fewer than
    // MaxLines are kept.
    void add(const QString& replyLine);
    // Whether a kept line names the extension as its first word, in any case.
    bool offers(const QString& keyword) const;
    QStringList lines() const { return m_lines; }

private:
    QStringList m_lines;
};

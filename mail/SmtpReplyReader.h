#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// Cuts what a mail server sends into reply lines. Received bytes collect in a buffer of
// fixed size until a CR LF ends a line. A line too long for the buffer is cut: the part
// that fits is handed out as the line (its reply code is at its start) and the rest, up
// to its CR LF, is dropped unread; the buffer is never overrun.
class SmtpReplyReader {
public:
    static constexpr int BufferSize = 4096;

    void clear();

    // Where received bytes go, how many fit, and how many were put there.
    char* freeSpace() { return m_buffer.data() + m_length; }
    int freeSize() const { return BufferSize - m_length; }
    void appended(int count);

    // The next complete line without its CR LF; nothing until more bytes arrive.
    std::optional<QByteArray> takeLine();

    // Reads the reply code at the start of a line: blanks, tabs, CR and LF are passed
    // over, a "+" or "-" is allowed, then the digits. code becomes the three-digit code,
    // or 0 when the line has none. False for a continuation line of a multi-line reply
    // (a "-" right after the digits), true for a reply's final line.
    static bool readStatusCode(const QString& line, int& code);

private:
    int findLineEnd() const;
    void drop(int count);

    std::array<char, BufferSize> m_buffer{};
    int m_length = 0;
    bool m_discarding = false;
};

#pragma once

#include "platform/system/LineAssembler.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Cuts what a mail server sends into reply lines, with the socket layer's line mode.
// A line longer than BufferSize bytes is cut: its first BufferSize bytes are the line
// (its reply code is at its start) and the rest, up to its CR LF, is dropped, so no
// reply can make the buffer grow without bound.
class SmtpReplyReader {
public:
    static constexpr int BufferSize = 4096;

    SmtpReplyReader();

    void clear();
    // Adds bytes as they arrive.
    void append(QByteArrayView bytes);
    // The next complete line without its CR LF; nothing until more bytes arrive.
    std::optional<QByteArray> takeLine();

    // Reads the reply code at the start of a line: blanks, tabs, CR and LF are passed
    // over, a "+" or "-" is allowed, then the digits. code becomes the three-digit code,
    // or 0 when the line has none. False for a continuation line of a multi-line reply
    // (a "-" right after the digits), true for a reply's final line.
    static bool readStatusCode(const QString& line, int& code);

private:
    LineAssembler m_lines;
};

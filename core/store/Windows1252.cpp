#include "core/store/Windows1252.h"

#include <array>

namespace {

// Characters of the bytes 0x80 ... 0x9F; the undefined bytes map to themselves.
constexpr std::array<char16_t, 32> HighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character, or -1.
int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

namespace Windows1252 {

QString decode(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? HighControls[u - 0x80] : char16_t(u));
    }
    return text;
}

QByteArray encode(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        const int b = byteOf(c.unicode());
        if (b >= 0) {
            *out++ = static_cast<char>(b);
            continue;
        }
        // A surrogate pair is one character and becomes one "?".
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate())
            ++i;
        *out++ = '?';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

bool canEncode(QChar c) {
    return byteOf(c.unicode()) >= 0;
}

QString unencodable(QStringView text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            length = 2;
        const QStringView character = text.mid(i, length);
        if ((length == 2 || !canEncode(text[i])) && !found.contains(character))
            found += character;
        i += length - 1;
    }
    return found;
}

} // namespace Windows1252

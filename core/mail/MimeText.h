#pragma once

#include <QByteArray>
#include <QString>

// The MIME forms of a message's text (RFC 2045 and RFC 2047): the body in a character
// set of its own with the quoted-printable transfer encoding, which every server passes
// unchanged, and header values whose non-ASCII text travels as encoded words.
class MimeText {
public:
    // The longest encoded line quoted-printable allows, its soft break included.
    static constexpr int MaxEncodedLineLength = 76;
    // The longest encoded word RFC 2047 allows.
    static constexpr int MaxEncodedWordLength = 75;

    // The character set a text named charSet goes out in: charSet itself when this system
    // can write it, otherwise "utf-8".
    static QString usableCharset(const QString& charSet);
    // text in the character set charSet; characters it has no byte for become "?".
    static QByteArray encode(const QString& text, const QString& charSet);

    // text in quoted-printable: its line breaks (CR LF, or a lone CR or LF) stay hard
    // line breaks, written as CR LF; longer lines get soft breaks. The result is ASCII.
    // Blanks at a line's end, "=" and every byte outside printable ASCII are written as
    // "=XX", and so is the "F" of a line that starts with "From ", which some mail stores
    // would otherwise mark.
    static QByteArray quotedPrintable(const QByteArray& bytes);

    // An unstructured header value (Subject): unchanged when it is plain ASCII, otherwise
    // UTF-8 encoded words, folded onto lines of their own so that no line grows long.
    // lineUsed: the characters before the value on its first line (the header's name).
    static QString unstructured(const QString& value, int lineUsed = 0);
    // An address list ("Ana <ana@example.org>, bob@example.org"): each display name that
    // is not plain ASCII becomes encoded words (its quotation marks removed); addresses,
    // commas and everything else stay as they are.
    static QString addressList(const QString& value);

    // Whether the text needs encoded words: a character outside printable ASCII or
    // something a reader would take for an encoded word.
    static bool needsEncoding(const QString& text);
    // The UTF-8 encoded words ("=?UTF-8?B?...?=") of text, separated by CR LF and a blank
    // (a fold); each word holds whole characters.
    static QString encodedWords(const QString& text, int lineUsed = 0);
};

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The single-byte code page of the notes file, the note protocol and the mail wire.
//
// Every byte decodes to one character and encodes back to the same byte, so text that
// is read and written again is unchanged byte for byte: the five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control characters
// of the same value, as the Windows conversion functions have it. A character the code
// page cannot hold is written as "?" (one "?" for a character outside the Basic
// Multilingual Plane).
namespace Windows1252 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
// Whether the code page holds c.
bool canEncode(QChar c);
// The characters of text the code page cannot hold, each once, in the order they first
// appear (a character outside the Basic Multilingual Plane whole).
QString unencodable(QStringView text);

} // namespace Windows1252

#pragma once

#include "core/notes/NoteRecord.h"

#include <QString>

class IniFile;
class LocaleInfo;

// Moves notes between note records and the "Stick<n>" sections of the notes file.
class NoteStore {
public:
    // Sections Stick0 ... Stick100: the note registry's capacity.
    static constexpr int MaxNotes = 101;
    // The farthest a note's position may lie from the origin: the largest coordinate a
    // window can take, so a damaged position cannot overflow a rectangle's edges.
    static constexpr int MaxPosition = 16777215;

    // Keys beside "caption" and "note" holding the exact text, as Base64 of its UTF-8,
    // when the usual key cannot: characters beyond Windows-1252, a text longer than the
    // 2047 characters a value holds. Used at load only while the usual key still holds
    // what this text was saved as there, so an edit made by another program wins.
    static constexpr const char* ExactCaptionKey = "CaptionUnicode";
    static constexpr const char* ExactNoteKey = "NoteUnicode";

    static QString sectionName(int index);

    // Reads note `index`; `now` is the alarm time of a note whose alarm time is unreadable.
    static NoteRecord read(IniFile& file, int index, const LocaleInfo& locale,
                           const QDateTime& now);
    static void write(IniFile& file, int index, const NoteRecord& note, const LocaleInfo& locale);

    // The stored form of a note text: every line break (CR LF, a lone CR or LF, and the
    // line and paragraph separators U+2028 and U+2029 alike) becomes the two characters
    // "\n"; nothing else is escaped.
    static QString encodeText(const QString& text);
    // Every "\n" becomes CR LF.
    static QString decodeText(const QString& stored);
};

#pragma once

#include <QString>

// How a note is named in the tray's note lists: its title followed by the first words of
// its text, so that notes titled alike (by the date they were made) can be told apart.
class NoteListCaption {
public:
    // The longest item, in characters, before the "&" are doubled.
    static constexpr int MaxLength = 60;

    // The item's text for a note with this title and text (lines separated by any line
    // break): title, " — " and the text's first words, on one line; cut after the last
    // word that fits, with "…", when longer than MaxLength. Every "&" is doubled, so the
    // menu shows it instead of taking it for a shortcut mark.
    static QString of(const QString& caption, const QString& note);
    // The same text with every "&" as it is: for lists that show text as it stands.
    static QString plain(const QString& caption, const QString& note);
    // Text on one line: control characters (line breaks, tabs) become blanks, and runs
    // of blanks one blank.
    static QString oneLine(QString text);
};

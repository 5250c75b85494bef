#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <optional>

class Note;

// Finding notes by what the user types: a note is found when its title or its text holds
// the typed text, with letter case, accents and the kind and number of blanks and line
// breaks between words left aside ("sao paulo" finds "São\nPaulo"). Hidden notes are found
// like shown ones.
//
// Each note found comes with the line that names it: its title and the first words of its
// text, as the tray's lists show them, and, when the match lies beyond those words, the
// words around it as a second line, so the match can always be shown.
class NoteSearch {
public:
    // A part of a line: where the match shows.
    struct Range {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Range&) const = default;
    };
    struct Found {
        QPointer<Note> note;
        // The title and the first words of the text (NoteListCaption, "&" kept as it is).
        QString line;
        // The words around the match, "…" marking what is left out; empty when the match
        // shows in line.
        QString context;
        // The match in line, or in context when that is not empty; empty when nothing was
        // typed.
        Range match;
    };
    // How much of the text before a match its context shows, in characters.
    static constexpr int ContextBefore = 24;
    // How much a context shows after its match, at least.
    static constexpr int ContextAfter = 40;

    // The form in which texts are compared: letters without their accents and in one
    // letter case, every run of blanks, tabs and line breaks one blank.
    static QString fold(const QString& text);

    // How the note with this title and text is found for query; nothing when it is not.
    static std::optional<Found> match(const QString& caption, const QString& text,
                                      const QString& query);

    // The notes, in the order given, that query finds; every note for a query of blanks
    // only. The folded form of each note is kept for the next search until the note's
    // title or text changes.
    QList<Found> find(const QList<Note*>& notes, const QString& query);

private:
    // A folded text and, for each of its characters (and its end), where it comes from.
    struct Folded {
        QString text;
        QList<qsizetype> origin;
        // The source range of the folded range start ... start + length.
        Range sourceRange(qsizetype start, qsizetype length, const QString& source) const;
    };
    struct Indexed {
        QString caption;
        QString text;
        QString line;
        Folded foldedCaption;
        Folded foldedText;
        Folded foldedLine;
    };

    static Folded foldWithOrigins(const QString& source);
    static Indexed index(const QString& caption, const QString& text);
    static std::optional<Found> match(const Indexed& indexed, const QString& foldedQuery);
    // The words of source around its range, on one line, and where the range is in them.
    static QString context(const QString& source, Range range, Range* inContext);

    QHash<const Note*, Indexed> m_index;
};

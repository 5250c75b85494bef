#include "core/notes/NoteSearch.h"

#include "core/notes/Note.h"
#include "core/notes/NoteListCaption.h"

#include <algorithm>

namespace {

const QChar FoldBlank(QLatin1Char(' '));
const QChar LeftOut(0x2026);

bool isSearchBlank(QChar c) {
    return c.isSpace() || c.category() == QChar::Other_Control;
}

// Blanks, tabs and line breaks as single blanks, nothing taken off the ends.
QString onOneLine(const QString& text) {
    QString flat;
    flat.reserve(text.size());
    for (const QChar c : text) {
        if (!isSearchBlank(c))
            flat += c;
        else if (!flat.endsWith(FoldBlank))
            flat += FoldBlank;
    }
    return flat;
}

// The folded query: what matching looks for, without blanks at its ends.
QString foldedQuery(const QString& query) {
    QString folded = NoteSearch::fold(query);
    while (folded.endsWith(FoldBlank))
        folded.chop(1);
    return folded;
}

} // namespace

NoteSearch::Folded NoteSearch::foldWithOrigins(const QString& source) {
    Folded folded;
    const qsizetype size = source.size();
    folded.text.reserve(size);
    folded.origin.reserve(size + 1);
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = source.at(i);
        if (isSearchBlank(c)) {
            // Leading blanks are left out, runs become one blank.
            if (!folded.text.isEmpty() && !folded.text.endsWith(FoldBlank)) {
                folded.text += FoldBlank;
                folded.origin.append(i);
            }
            continue;
        }
        // Accents typed as marks of their own fold away with the letter's own accents.
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        QChar base = c;
        while (!base.isSurrogate() && base.decompositionTag() == QChar::Canonical) {
            const QString parts = base.decomposition();
            if (parts.isEmpty() || parts.at(0).isSurrogate())
                break;
            base = parts.at(0);
        }
        folded.text += base.isSurrogate() ? base : base.toCaseFolded();
        folded.origin.append(i);
    }
    folded.origin.append(size);
    return folded;
}

NoteSearch::Range NoteSearch::Folded::sourceRange(qsizetype start, qsizetype length,
                                                  const QString& source) const {
    const qsizetype from = origin.at(start);
    // Up to the next folded character, so the marks of the last letter belong to the match;
    // the blanks before that character do not.
    qsizetype to = origin.at(start + length);
    while (to > from && isSearchBlank(source.at(to - 1)))
        --to;
    return {from, to - from};
}

QString NoteSearch::fold(const QString& text) {
    return foldWithOrigins(text).text;
}

NoteSearch::Indexed NoteSearch::index(const QString& caption, const QString& text) {
    Indexed indexed;
    indexed.caption = caption;
    indexed.text = text;
    indexed.line = NoteListCaption::plain(caption, text);
    indexed.foldedCaption = foldWithOrigins(caption);
    indexed.foldedText = foldWithOrigins(text);
    indexed.foldedLine = foldWithOrigins(indexed.line);
    return indexed;
}

std::optional<NoteSearch::Found> NoteSearch::match(const QString& caption, const QString& text,
                                                   const QString& query) {
    return match(index(caption, text), foldedQuery(query));
}

std::optional<NoteSearch::Found> NoteSearch::match(const Indexed& indexed,
                                                   const QString& foldedQuery) {
    Found found;
    found.line = indexed.line;
    if (foldedQuery.isEmpty())
        return found;
    const qsizetype inText = indexed.foldedText.text.indexOf(foldedQuery);
    const qsizetype inCaption =
        inText < 0 ? indexed.foldedCaption.text.indexOf(foldedQuery) : qsizetype(-1);
    if (inText < 0 && inCaption < 0)
        return std::nullopt;
    // The line shows the match, unless it lies beyond the words the line holds.
    if (const qsizetype inLine = indexed.foldedLine.text.indexOf(foldedQuery); inLine >= 0) {
        found.match = indexed.foldedLine.sourceRange(inLine, foldedQuery.size(), indexed.line);
        return found;
    }
    const bool fromText = inText >= 0;
    const QString& source = fromText ? indexed.text : indexed.caption;
    const Folded& folded = fromText ? indexed.foldedText : indexed.foldedCaption;
    const Range range =
        folded.sourceRange(fromText ? inText : inCaption, foldedQuery.size(), source);
    found.context = context(source, range, &found.match);
    return found;
}

QString NoteSearch::context(const QString& source, Range range, Range* inContext) {
    const qsizetype size = source.size();
    const qsizetype matchEnd = range.start + range.length;
    // From the start of a word before the match, to the end of a word after it.
    qsizetype start = std::max<qsizetype>(0, range.start - ContextBefore);
    if (start > 0) {
        qsizetype word = start;
        while (word < range.start && !isSearchBlank(source.at(word - 1)))
            ++word;
        if (word < range.start)
            start = word;
        else if (source.at(start).isLowSurrogate())
            ++start;
    }
    qsizetype end = std::min(size, matchEnd + ContextAfter);
    if (end < size) {
        qsizetype word = end;
        while (word > matchEnd && !isSearchBlank(source.at(word)))
            --word;
        if (word > matchEnd)
            end = word;
        else if (source.at(end - 1).isHighSurrogate())
            --end;
    }
    QString before = onOneLine(source.mid(start, range.start - start));
    const QString hit = onOneLine(source.mid(range.start, range.length));
    QString after = onOneLine(source.mid(matchEnd, end - matchEnd));
    while (before.startsWith(FoldBlank))
        before.remove(0, 1);
    while (after.endsWith(FoldBlank))
        after.chop(1);
    if (start > 0)
        before.prepend(LeftOut);
    if (end < size)
        after.append(LeftOut);
    *inContext = {before.size(), hit.size()};
    return before + hit + after;
}

QList<NoteSearch::Found> NoteSearch::find(const QList<Note*>& notes, const QString& query) {
    const QString folded = foldedQuery(query);
    QHash<const Note*, Indexed> kept;
    kept.reserve(notes.size());
    QList<Found> found;
    for (Note* note : notes) {
        const NoteRecord& record = note->record();
        const auto known = m_index.constFind(note);
        const Indexed indexed = known != m_index.constEnd() && known->caption == record.caption &&
                                        known->text == record.note
                                    ? *known
                                    : index(record.caption, record.note);
        if (std::optional<Found> hit = match(indexed, folded)) {
            hit->note = note;
            found.append(std::move(*hit));
        }
        kept.insert(note, indexed);
    }
    m_index = std::move(kept);
    return found;
}

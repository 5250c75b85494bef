#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Cuts a stream of received bytes into lines ending in CR LF, for the line mode of the
// sockets. Bytes are appended as they arrive; complete lines are taken out one by one.
//
// - Line editing (optional), applied to newly appended bytes only: a backspace (0x08)
//   deletes the byte before it, even one appended earlier, and is itself dropped; a tab
//   (0x09) becomes one blank and then further blanks until the position, counted from
//   the start of the buffer, is a multiple of 8.
// - The search for CR LF starts two bytes before the previous end of the buffer, so a
//   CR LF split between two pieces is found; after a line is taken out the search
//   starts again from the start of the buffer.
// - A limit (optional, 0 for none) bounds an unfinished line; it is checked only when no
//   further line end is found. What happens then is an option: report it once and
//   clear the buffer (the owner usually closes the connection), or cut the line at the
//   limit and drop the rest of it up to its CR LF, which then ends the cut line.
class LineAssembler {
public:
    enum class Overflow { ReportAndClear, CutLine };
    struct Options {
        qsizetype limit = 0; // bytes of an unfinished line; 0 for no limit
        bool editing = false;
        Overflow overflow = Overflow::ReportAndClear;
    };
    enum class Result { None, Line, LimitExceeded };

    LineAssembler() = default;
    explicit LineAssembler(Options options) : m_options(options) {}

    const Options& options() const { return m_options; }

    // Adds received bytes (edited when line editing is on).
    void append(QByteArrayView bytes);
    // Takes out the next complete line, CR LF included, into line and answers Line. When
    // there is none: LimitExceeded once when the unfinished line is longer than the
    // limit in report mode (the buffer is then empty), None otherwise.
    Result next(QByteArray& line);

    // Bytes held that do not yet form a line.
    qsizetype pending() const { return m_buffer.size(); }
    // Empties the buffer and forgets a line being cut.
    void clear();
    // Hands over and forgets the bytes of the unfinished line, as on a close.
    QByteArray takeRemainder();

private:
    void appendEdited(QByteArrayView bytes);
    void appendWhileCutting(QByteArrayView bytes);

    Options m_options;
    QByteArray m_buffer;
    qsizetype m_searchFrom = 0;
    // Cutting an over-long line: the kept part is in m_buffer; further bytes are dropped
    // until CR LF (a CR at the end of a piece is remembered in m_cutPendingCr).
    bool m_cutting = false;
    bool m_cutPendingCr = false;
};

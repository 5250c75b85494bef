#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A plain model of the socket line mode in its reporting form: received bytes, edited
// when asked (a backspace deletes the byte before it, a tab pads with blanks to the next
// multiple of 8 counted from the start of the buffer), go into one buffer; a line is
// everything up to the first CR LF, searched from the start every time; an unfinished
// line longer than the limit is reported and the buffer emptied.
class LineModel {
public:
    enum class Result { None, Line, LimitExceeded };

    LineModel(qsizetype limit, bool editing) : m_limit(limit), m_editing(editing) {}

    void append(QByteArrayView bytes);
    Result next(QByteArray& line);
    QByteArray takeRemainder();

private:
    qsizetype m_limit;
    bool m_editing;
    QByteArray m_buffer;
};

#include "platform/system/LineAssembler.h"

#include <algorithm>

namespace {
constexpr char Backspace = '\x08';
constexpr char Tab = '\x09';
constexpr QByteArrayView LineEnd("\r\n");
} // namespace

void LineAssembler::append(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    if (m_cutting) {
        appendWhileCutting(bytes);
        return;
    }
    if (m_options.editing) {
        appendEdited(bytes);
        return;
    }
    // A CR at the old end may pair with an LF at the start of the new bytes.
    m_searchFrom = std::min(m_searchFrom, std::max<qsizetype>(0, m_buffer.size() - 2));
    m_buffer.append(bytes.data(), bytes.size());
}

void LineAssembler::appendEdited(QByteArrayView bytes) {
    // Backspaces may take the output position below the old end; the bytes written from
    // there on have not been searched yet.
    qsizetype lowest = m_buffer.size();
    for (const char byte : bytes) {
        switch (byte) {
        case Backspace:
            if (!m_buffer.isEmpty())
                m_buffer.chop(1);
            lowest = std::min(lowest, m_buffer.size());
            break;
        case Tab:
            do {
                m_buffer.append(' ');
            } while (m_buffer.size() % 8 != 0);
            break;
        default:
            m_buffer.append(byte);
            break;
        }
    }
    m_searchFrom = std::min(m_searchFrom, std::max<qsizetype>(0, lowest - 2));
}

void LineAssembler::appendWhileCutting(QByteArrayView bytes) {
    qsizetype rest = -1;
    if (m_cutPendingCr && bytes.front() == '\n') {
        rest = 1;
    } else {
        const qsizetype end = bytes.indexOf(LineEnd);
        if (end >= 0)
            rest = end + LineEnd.size();
    }
    if (rest < 0) {
        m_cutPendingCr = bytes.back() == '\r';
        return;
    }
    // The dropped part has ended: the cut line is complete and what follows is new.
    m_cutting = false;
    m_cutPendingCr = false;
    m_searchFrom = std::min(m_searchFrom, m_buffer.size());
    m_buffer.append(LineEnd.data(), LineEnd.size());
    append(bytes.sliced(rest));
}

LineAssembler::Result LineAssembler::next(QByteArray& line) {
    const qsizetype end = m_buffer.indexOf(LineEnd, std::min(m_searchFrom, m_buffer.size()));
    if (end >= 0) {
        line = m_buffer.left(end + LineEnd.size());
        m_buffer.remove(0, line.size());
        m_searchFrom = 0;
        return Result::Line;
    }
    m_searchFrom = m_buffer.size();
    if (m_options.limit <= 0 || m_cutting || m_buffer.size() <= m_options.limit)
        return Result::None;
    if (m_options.overflow == Overflow::ReportAndClear) {
        clear();
        return Result::LimitExceeded;
    }
    m_cutPendingCr = m_buffer.endsWith('\r');
    m_buffer.truncate(m_options.limit);
    m_searchFrom = m_buffer.size();
    m_cutting = true;
    return Result::None;
}

void LineAssembler::clear() {
    m_buffer.clear();
    m_searchFrom = 0;
    m_cutting = false;
    m_cutPendingCr = false;
}

QByteArray LineAssembler::takeRemainder() {
    QByteArray rest = m_buffer;
    clear();
    return rest;
}

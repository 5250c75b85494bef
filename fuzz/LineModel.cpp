#include "fuzz/LineModel.h"

void LineModel::append(QByteArrayView bytes) {
    for (const char byte : bytes) {
        if (m_editing && byte == '\x08') {
            if (!m_buffer.isEmpty())
                m_buffer.chop(1);
        } else if (m_editing && byte == '\t') {
            m_buffer += ' ';
            while (m_buffer.size() % 8 != 0)
                m_buffer += ' ';
        } else {
            m_buffer += byte;
        }
    }
}

LineModel::Result LineModel::next(QByteArray& line) {
    const qsizetype end = m_buffer.indexOf("\r\n");
    if (end >= 0) {
        line = m_buffer.left(end + 2);
        m_buffer.remove(0, end + 2);
        return Result::Line;
    }
    if (m_limit > 0 && m_buffer.size() > m_limit) {
        m_buffer.clear();
        return Result::LimitExceeded;
    }
    return Result::None;
}

QByteArray LineModel::takeRemainder() {
    QByteArray rest = m_buffer;
    m_buffer.clear();
    return rest;
}

#pragma once

#include <QList>
#include <functional>

// The reply a command that has gone out waits for: the codes that count as success, and
// what runs once its final line has come.
class SmtpAwaitedReply {
public:
    using Handler = std::function<void()>;

    // Codes kept beyond these are ignored.
    static constexpr int MaxOkCodes = 16;

    void await(QList<int> okCodes, Handler next);
    // Nothing runs on a reply any more.
    void forget() { m_next = nullptr; }
    // The result of a final line with this code: 0 when it counts as success, else the
    // code, or 500 for a line without one.
    int resultOf(int statusCode) const;
    // What runs on the final line, taken: nothing is waited for afterwards.
    Handler takeNext();

private:
    QList<int> m_okCodes;
    Handler m_next;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The message DATA sends, in wire form and one line at a time: the header block first,
// then the body, asked for line by line (numbered from 1) until it says there is no more.
// Each line is broken, folded and dot-stuffed as SmtpMessageText says.
class SmtpMessageStream {
public:
    // May change a header line before it goes.
    using HeaderHook = std::function<void(QString& line)>;
    // Gives body line lineNum, or sets more to false at the end of the body.
    using BodySource = std::function<void(int lineNum, QString& line, bool& more)>;

    struct Line {
        QString text;     // as the session shows it, its wire lines joined by CR LF
        QByteArray bytes; // as it goes on the wire, with its final CR LF
    };

    SmtpMessageStream(HeaderHook headerHook, BodySource body);

    // A new message with this header block (empty when the message brings its own).
    void start(QStringList headerLines);
    // The next line; nothing once the body has ended.
    std::optional<Line> next();

private:
    static Line wireLine(const QString& line, bool header);

    HeaderHook m_headerHook;
    BodySource m_body;
    QStringList m_headerLines;
    int m_headerIndex = 0;
    int m_lineNum = 0;
    bool m_moreLines = false;
};

// A mail server's replies in pieces of any size, read as the session reads them (each
// piece appended, then every complete line taken out). Each line must be the server's
// line up to its CR LF, cut to its first 4096 bytes when it is longer, so no reply makes
// the buffer grow without bound; every reply code has three digits at most.

#include "core/mail/MailEncoding.h"
#include "core/mail/SmtpReplyReader.h"
#include "fuzz/FuzzEnvironment.h"

#include <QList>

#include <algorithm>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

// The lines of the whole stream as the reader should give them: each line ended by
// CR LF, cut to the buffer's size; an unfinished last line is not a line yet.
QList<QByteArray> expectedLines(const QByteArray& stream) {
    QList<QByteArray> lines;
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = stream.indexOf("\r\n", from);
        if (end < 0)
            break;
        lines << stream.mid(from, std::min<qsizetype>(end - from, SmtpReplyReader::BufferSize));
        from = end + 2;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    SmtpReplyReader reader;
    QByteArray stream;
    QList<QByteArray> lines;
    while (data.remaining_bytes() > 0) {
        // Long runs of bytes come from a short input: a piece may repeat itself.
        const size_t length = data.ConsumeIntegralInRange<size_t>(0, 64);
        const int repeat = data.ConsumeIntegralInRange(1, 200);
        const std::string part = data.ConsumeBytesAsString(length);
        QByteArray piece;
        for (int i = 0; i < repeat; ++i)
            piece.append(part.data(), qsizetype(part.size()));
        stream += piece;
        reader.append(piece);
        while (const std::optional<QByteArray> line = reader.takeLine()) {
            if (line->size() > SmtpReplyReader::BufferSize)
                Fuzz::fail("a line longer than the buffer");
            int code = -1;
            SmtpReplyReader::readStatusCode(MailEncoding::fromWire(*line), code);
            if (code < 0 || code > 999)
                Fuzz::fail("a reply code of more than three digits", QString::number(code));
            lines << *line;
        }
    }
    const QList<QByteArray> expected = expectedLines(stream);
    if (lines != expected) {
        qsizetype i = 0;
        while (i < lines.size() && i < expected.size() && lines[i] == expected[i])
            ++i;
        Fuzz::fail("reply lines", QStringLiteral("line %1 of %2 (%3 expected): %4 instead of %5")
                                      .arg(i)
                                      .arg(lines.size())
                                      .arg(expected.size())
                                      .arg(Fuzz::visible(lines.value(i).left(200)),
                                           Fuzz::visible(expected.value(i).left(200))));
    }
    return 0;
}

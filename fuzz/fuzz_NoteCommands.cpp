// One connection of the note receiver without its socket: bytes in pieces of any size
// through the receiver's line mode (limit 80, line editing), each line as the receiver
// takes it (line end stripped, a repeat of the last line dropped), cut into commands and
// fields, and "new", "alarm", "line" and "end" carried out by ReceivedNoteBuilder on a
// registry that checks every step. A faulty command may only raise ProtocolError, which
// ends the connection, as the line limit and "exit" do.

#include "core/net/NoteProtocol.h"
#include "core/net/ProtocolError.h"
#include "core/net/ReceivedNoteBuilder.h"
#include "fuzz/CheckingNoteSink.h"
#include "fuzz/FuzzEnvironment.h"
#include "platform/system/LineAssembler.h"
#include "platform/system/QtLocaleInfo.h"

#include <QFileInfo>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

class Connection {
public:
    Connection(ReceivedNoteSink& sink, const LocaleInfo& locale, const QString& programDir)
        : m_builder(sink, locale, programDir) {}

    bool open() const { return m_open; }

    // A line as the socket hands it over, CR LF included.
    void receive(const QByteArray& line) {
        const QString text = NoteProtocol::stripLineEnd(line);
        if (text == m_lastAccepted)
            return;
        m_lastAccepted = text;
        try {
            for (const QStringList& fields : NoteProtocol::splitCommands(text))
                run(fields);
        } catch (const ProtocolError&) {
            m_open = false;
        }
    }

private:
    void run(const QStringList& fields) {
        using NoteProtocol::isCommand;
        if (fields.isEmpty())
            Fuzz::fail("a command without a name");
        if (isCommand(fields, QLatin1StringView("exit"))) {
            m_open = false;
        } else if (isCommand(fields, QLatin1StringView("new"))) {
            m_text = {};
            m_note = m_builder.begin();
            if (m_note >= 0)
                m_builder.fillNew(m_note, fields, QStringLiteral("192.168.0.5"));
        } else if (m_note < 0) {
            return;
        } else if (isCommand(fields, QLatin1StringView("alarm"))) {
            m_builder.applyAlarm(m_note, fields);
        } else if (isCommand(fields, QLatin1StringView("line"))) {
            m_builder.appendLine(m_note, fields, m_text);
        } else if (isCommand(fields, QLatin1StringView("end"))) {
            m_builder.end(m_note);
            m_note = -1;
        }
    }

    ReceivedNoteBuilder m_builder;
    QString m_lastAccepted;
    int m_note = -1;
    ReceivedNoteBuilder::TextBudget m_text;
    bool m_open = true;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const QtLocaleInfo brazil(QLocale(QStringLiteral("pt_BR")));
    static const QString programDir = QFileInfo(Fuzz::scratchFile(QStringLiteral("x"))).path();
    FuzzedDataProvider data(bytes, size);
    CheckingNoteSink sink(data.ConsumeIntegralInRange(0, 3));
    Connection connection(sink, brazil, programDir);
    LineAssembler lines({80, true, LineAssembler::Overflow::ReportAndClear});

    bool limitHit = false;
    while (connection.open() && !limitHit && data.remaining_bytes() > 0) {
        const size_t length = data.ConsumeIntegralInRange<size_t>(0, 200);
        const std::string piece = data.ConsumeBytesAsString(length);
        lines.append(QByteArrayView(piece.data(), qsizetype(piece.size())));
        QByteArray line;
        for (;;) {
            const LineAssembler::Result result = lines.next(line);
            if (result == LineAssembler::Result::None)
                break;
            if (result == LineAssembler::Result::LimitExceeded) {
                limitHit = true;
                break;
            }
            connection.receive(line);
            if (!connection.open())
                break;
        }
    }
    // The peer closes: what is left of an unfinished line arrives as a last line.
    if (connection.open() && !limitHit && lines.pending() > 0)
        connection.receive(lines.takeRemainder());
    return 0;
}

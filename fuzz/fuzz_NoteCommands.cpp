// The note receiver's handling of one connection, ReceiverSession, as the receiver runs
// it but without a socket: bytes in pieces of any size through the connection's line
// mode (ReceiverSession::LineMode), the rest of an unfinished line when the peer closes,
// then the end of the connection; block settings that may or may not name the peer; and
// a registry that checks every step (CheckingNoteSink). Nothing may escape the session;
// every step names the note in progress; a note is ended before the next one begins and
// none is left unfinished when the connection has ended; the only answer is the help
// text, never after a close was asked for; a blocked peer gets nothing but the close of
// a line beyond the limit.

#include "core/net/BlockList.h"
#include "core/net/NoteProtocol.h"
#include "core/net/ReceiverSession.h"
#include "core/settings/NetworkSettings.h"
#include "fuzz/CheckingNoteSink.h"
#include "fuzz/FuzzEnvironment.h"
#include "platform/Clock.h"
#include "platform/system/LineAssembler.h"
#include "platform/system/QtLocaleInfo.h"

#include <QFileInfo>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz = FuzzEnvironment;

const QString Peer = QStringLiteral("192.168.0.5");

// The receiver's clock standing at one moment.
class StandingClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2002, 12, 25), QTime(14, 30)); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const QtLocaleInfo brazil(QLocale(QStringLiteral("pt_BR")));
    static const QString programDir = QFileInfo(Fuzz::scratchFile(QStringLiteral("x"))).path();
    static const StandingClock clock;
    FuzzedDataProvider data(bytes, size);
    CheckingNoteSink sink(data.ConsumeIntegralInRange(0, 3));
    NetworkSettings settings;
    settings.Blocktype = data.ConsumeIntegralInRange(0, 7);
    // An entry equal to the peer's address blocks it; one with a blank after it does not.
    settings.BlockList = data.ConsumeBool() ? QStringList{QStringLiteral("10.0.0.1"), Peer}
                                            : QStringList{Peer + QLatin1Char(' ')};
    const bool blocked = BlockList::IsBlocked(settings, Peer);

    ReceiverSession::Shared shared{sink,
                                   ReceivedNoteBuilder(sink, brazil, programDir),
                                   ReceivedNoteQuota(),
                                   settings,
                                   clock,
                                   [](const QString&) {},
                                   [](const QString&, ReceivedNoteQuota::Verdict) {},
                                   QString()};
    bool closeAsked = false;
    bool answered = false;
    ReceiverSession session(shared, Peer,
                            {[&](QByteArrayView answer) {
                                 if (closeAsked)
                                     Fuzz::fail("an answer after the close was asked for");
                                 if (answer != QByteArrayView(NoteProtocol::HelpText))
                                     Fuzz::fail("an answer other than the help text",
                                                Fuzz::visible(answer.toByteArray()));
                                 answered = true;
                             },
                             [&](ReceiverSession::Close) { closeAsked = true; }});
    LineAssembler lines(ReceiverSession::LineMode);
    bool limitHit = false;

    // The connection stops handing over lines once a close has been asked for.
    while (!closeAsked && data.remaining_bytes() > 0) {
        const size_t length = data.ConsumeIntegralInRange<size_t>(0, 200);
        const std::string piece = data.ConsumeBytesAsString(length);
        lines.append(QByteArrayView(piece.data(), qsizetype(piece.size())));
        QByteArray line;
        while (!closeAsked) {
            const LineAssembler::Result result = lines.next(line);
            if (result == LineAssembler::Result::None)
                break;
            if (result == LineAssembler::Result::LimitExceeded) {
                limitHit = true;
                session.lineLimitExceeded();
            } else {
                session.lineReceived(line);
            }
        }
    }
    // The peer closes: what is left of an unfinished line arrives as a last line.
    if (!closeAsked && lines.pending() > 0)
        session.lineReceived(lines.takeRemainder());
    session.closed();

    if (!sink.allEnded())
        Fuzz::fail("a note left unfinished when its connection ended");
    // The line limit holds for everybody.
    if (blocked && (sink.created() > 0 || answered || (closeAsked && !limitHit)))
        Fuzz::fail("a blocked peer was served");
    return 0;
}

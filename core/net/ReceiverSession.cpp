#include "core/net/ReceiverSession.h"

#include "core/base/TacknoteError.h"
#include "core/net/BlockList.h"
#include "core/net/NoteProtocol.h"
#include "core/net/ProtocolError.h"
#include "core/net/ReceivedNoteSink.h"
#include "platform/Clock.h"

#include <exception>

namespace {

// A time span as hours, minutes and seconds of one day: "hh:nn:ss".
QString durationText(qint64 seconds) {
    seconds = (seconds < 0 ? -seconds : seconds) % (24 * 3600);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

ReceiverSession::ReceiverSession(Shared& shared, QString peerAddr, Output output)
    : m_shared(shared), m_peerAddr(std::move(peerAddr)), m_output(std::move(output)),
      m_connectTime(shared.clock.now()) {}

void ReceiverSession::lineReceived(QByteArrayView bytes) {
    if (m_closing)
        return;
    try {
        const QString line = NoteProtocol::stripLineEnd(bytes);
        m_shared.log(QStringLiteral("Received from ") + m_peerAddr + QStringLiteral(": '") + line +
                     QLatin1Char('\''));
        if (BlockList::IsBlocked(m_shared.settings, m_peerAddr))
            return;
        if (line == m_shared.lastAcceptedLine)
            return;
        m_shared.lastAcceptedLine = line;
        processLine(line);
    } catch (const ProtocolError& error) {
        fail(QStringLiteral("ProtocolError"), error.message());
    } catch (const TacknoteError& error) {
        fail(QStringLiteral("TacknoteError"), error.message());
    } catch (const std::exception& error) {
        fail(QStringLiteral("std::exception"), QString::fromLocal8Bit(error.what()));
    }
}

void ReceiverSession::lineLimitExceeded() {
    if (m_closing)
        return;
    m_shared.log(QStringLiteral("Line limit exceeded from ") + m_peerAddr +
                 QStringLiteral(". Closing."));
    close(Close::Orderly);
}

void ReceiverSession::closed() {
    m_closing = true;
    endNote();
    m_shared.log(QStringLiteral("Client disconnecting: ") + m_peerAddr +
                 QStringLiteral("   Duration: ") +
                 durationText(m_connectTime.secsTo(m_shared.clock.now())));
}

void ReceiverSession::fail(const QString& className, const QString& message) {
    m_shared.log(QStringLiteral("Client exception occured: ") + className + QStringLiteral(": ") +
                 message);
    close(Close::Drop);
}

void ReceiverSession::send(QByteArrayView bytes) {
    if (!m_closing)
        m_output.send(bytes);
}

void ReceiverSession::close(Close how) {
    m_closing = true;
    m_output.close(how);
}

void ReceiverSession::processLine(const QString& line) {
    const QList<QStringList> commands = NoteProtocol::splitCommands(line);
    for (const QStringList& fields : commands) {
        if (!runCommand(fields))
            break;
    }
}

bool ReceiverSession::runCommand(const QStringList& fields) {
    using NoteProtocol::isCommand;
    if (isCommand(fields, QLatin1StringView("help"))) {
        send(NoteProtocol::HelpText);
    } else if (isCommand(fields, QLatin1StringView("exit"))) {
        close(Close::AfterThisEvent);
    } else if (isCommand(fields, QLatin1StringView("new"))) {
        return beginNote(fields);
    } else if (m_note < 0) {
        // "alarm", "line" and "end" need a note in progress; other names mean nothing.
    } else if (isCommand(fields, QLatin1StringView("alarm"))) {
        m_shared.builder.applyAlarm(m_note, fields);
    } else if (isCommand(fields, QLatin1StringView("line"))) {
        const bool wasFull = m_text.full;
        m_shared.builder.appendLine(m_note, fields, m_text);
        if (m_text.full && !wasFull)
            m_shared.log(QStringLiteral("Note text limit reached from ") + m_peerAddr +
                         QStringLiteral(". Further lines dropped."));
    } else if (isCommand(fields, QLatin1StringView("end"))) {
        endNote();
    }
    return true;
}

void ReceiverSession::endNote() {
    if (m_note < 0)
        return;
    const int note = m_note;
    m_note = -1;
    m_shared.builder.end(note);
}

bool ReceiverSession::beginNote(const QStringList& fields) {
    endNote();
    m_text = {};
    ReceivedNoteQuota::Verdict verdict =
        m_shared.quota.admit(m_peerAddr, m_shared.sink.notesHeld(), m_shared.clock.now());
    if (verdict == ReceivedNoteQuota::Verdict::Accepted) {
        m_note = m_shared.builder.begin();
        if (m_note >= 0) {
            m_shared.builder.fillNew(m_note, fields, m_peerAddr);
            return true;
        }
        verdict = ReceivedNoteQuota::Verdict::DesktopFull;
    }
    m_shared.log(QStringLiteral("Note refused from ") + m_peerAddr +
                 (verdict == ReceivedNoteQuota::Verdict::SenderOverBurst
                      ? QStringLiteral(": too many notes from this sender. Closing.")
                      : QStringLiteral(": no room left for received notes. Closing.")));
    close(Close::Orderly);
    m_shared.refused(m_peerAddr, verdict);
    return false;
}

#include "core/net/ReceivedNotes.h"

#include "core/notes/NoteCollection.h"
#include "core/notes/NoteDefaults.h"
#include "core/notes/NoteGeometry.h"
#include "core/notes/NoteText.h"
#include "core/settings/EventSounds.h"
#include "core/settings/GeneralSettings.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/ScreenAreas.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace {
// Notes whose transmission never ended are forgotten once this many are remembered.
constexpr int MaxRemembered = 256;
} // namespace

ReceivedNotes::ReceivedNotes(NoteCollection& notes, const Services& services, QObject* parent)
    : QObject(parent), m_notes(notes), m_services(services) {}

void ReceivedNotes::noteRefused(const QString& peerAddr, ReceivedNoteQuota::Verdict reason) {
    if (m_refusalTold || reason == ReceivedNoteQuota::Verdict::Accepted)
        return;
    m_refusalTold = true;
    const QString why =
        reason == ReceivedNoteQuota::Verdict::SenderOverBurst
            ? QCoreApplication::translate("ReceivedNotes",
                                          "Uma nota enviada por %1 foi recusada: esse computador "
                                          "enviou notas demais em pouco tempo.")
            : QCoreApplication::translate(
                  "ReceivedNotes",
                  "Uma nota enviada por %1 foi recusada: as últimas vagas para notas ficam "
                  "reservadas para as suas próprias notas. Apague algumas notas para voltar a "
                  "receber notas pela rede.");
    m_services.messages.show(MessageBoxes::Icon::Warning, MessageBoxes::titleNotice(),
                             why.arg(peerAddr) + QStringLiteral("\n\n") +
                                 QCoreApplication::translate(
                                     "ReceivedNotes", "Outras notas recusadas não serão avisadas "
                                                      "até o Tacknote ser reiniciado."));
}

int ReceivedNotes::notesHeld() const {
    return m_notes.size() + int(m_pending.size());
}

ReceivedNotes::Pending* ReceivedNotes::pending(int note) {
    const auto found = m_pending.find(note);
    return found == m_pending.end() ? nullptr : &found.value();
}

int ReceivedNotes::beginReceivedNote() {
    if (m_beforeNewNote)
        m_beforeNewNote();
    if (!m_notes.roomForOneMore() || m_notes.NoteCount() + m_pending.size() >= m_notes.Capacity)
        return -1;
    if (m_pending.size() >= MaxRemembered)
        return -1;
    // Red, twice as wide as a note, centred on the primary screen, in white bold Courier
    // New 8; the caption's text in the default font's colour.
    const QRect desktop = m_services.screens.primaryGeometry().value_or(QRect(0, 0, 1024, 768));
    const int width = NoteDefaults::ReceivedWidth;
    const int height = NoteDefaults::ReceivedHeight;
    Pending note;
    note.record = NoteDefaults::newNote(
        m_services.settings, m_services.clock.now(), m_services.locale,
        QRect(desktop.width() / 2 - width / 2, desktop.height() / 2 - height / 2, width, height),
        NoteDefaults::ReceivedColor, NoteDefaults::receivedFont());
    note.captionTextColor = m_services.settings.DefaultFont.Color;
    const int number = m_nextNote++;
    m_pending.insert(number, note);
    return number;
}

void ReceivedNotes::setCaption(int note, const QString& caption) {
    editRecord(note, [&caption](NoteRecord& record) { record.caption = caption; });
}

void ReceivedNotes::setNoteColor(int note, int color) {
    editRecord(note, [color](NoteRecord& record) { record.Color = color; });
}

void ReceivedNotes::setCaptionColor(int note, int color) {
    if (Pending* target = pending(note))
        target->captionColor = color;
}

void ReceivedNotes::resize(Pending& target, qint64 width, qint64 height) {
    const auto clamped = [](qint64 value) {
        return int(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
    };
    NoteRecord& record = target.record;
    const QSize size = NoteGeometry::boundedSize(clamped(width), clamped(height),
                                                 m_services.screens.availableAreas());
    QRect bounds(record.posx, record.posy, size.width(), size.height());
    // A note that a peer's size pushed over the edge of its screen moves back inside.
    if (const std::optional<QRect> screen = m_services.screens.availableAreaAt(bounds.center()))
        bounds = NoteGeometry::keptInside(bounds, *screen);
    record.posx = bounds.x();
    record.posy = bounds.y();
    record.Width = bounds.width();
    record.Height = bounds.height();
}

// The sizes are the sender's text area's: the window around it also holds the margin,
// and in height the caption bar and the footer the received note shows.
void ReceivedNotes::setTextAreaWidth(int note, int width) {
    if (Pending* target = pending(note))
        resize(*target, qint64(width) + NoteGeometry::TextAreaMargin, target->record.Height);
}

void ReceivedNotes::setTextAreaHeight(int note, int height) {
    if (Pending* target = pending(note))
        resize(*target, target->record.Width,
               qint64(height) + NoteGeometry::CaptionBarHeight + NoteGeometry::FooterHeight +
                   NoteGeometry::TextAreaMargin);
}

void ReceivedNotes::setReplyAddress(int note, const QString& address) {
    if (Pending* target = pending(note))
        target->replyAddress = address;
}

void ReceivedNotes::setFontName(int note, const QString& name) {
    editRecord(note, [&name](NoteRecord& record) { record.FontName = name; });
}

void ReceivedNotes::setFontSize(int note, int points) {
    editRecord(note, [points](NoteRecord& record) { record.FontSize = points; });
}

void ReceivedNotes::setFontColor(int note, int color) {
    // The caption keeps the colour the new note gave it.
    editRecord(note, [color](NoteRecord& record) { record.FontColor = color; });
}

void ReceivedNotes::setFontBold(int note, bool bold) {
    editRecord(note, [bold](NoteRecord& record) {
        record.FontBold = bold;
        record.FontItalic = false;
    });
}

void ReceivedNotes::setFontItalic(int note, bool italic) {
    editRecord(note, [italic](NoteRecord& record) { record.FontItalic = italic; });
}

void ReceivedNotes::showFooter(int note, const QString& text) {
    editRecord(note, [&text](NoteRecord& record) { record.footer = text; });
}

void ReceivedNotes::setAlarm(int note) {
    editRecord(note, [](NoteRecord& record) { record.alarm = true; });
}

void ReceivedNotes::setAlarmDateTime(int note, const QDateTime& when) {
    editRecord(note, [&when](NoteRecord& record) { record.AlarmDateTime = when; });
}

void ReceivedNotes::setUseSound(int note, bool useSound) {
    editRecord(note, [useSound](NoteRecord& record) { record.UseSound = useSound; });
}

void ReceivedNotes::setSoundFile(int note, const QString& path) {
    editRecord(note, [&path](NoteRecord& record) { record.SoundFile = path; });
}

void ReceivedNotes::setRemember(int note, bool remember) {
    editRecord(note, [remember](NoteRecord& record) { record.Remember = remember; });
}

void ReceivedNotes::setRememberNo(int note, int count) {
    editRecord(note, [count](NoteRecord& record) { record.RememberNo = count; });
}

void ReceivedNotes::setRememberUnit(int note, int unit) {
    editRecord(note, [unit](NoteRecord& record) { record.RememberUnit = unit; });
}

void ReceivedNotes::setDay(int note, int day, bool on) {
    if (day < 0 || day > 6)
        return;
    editRecord(note, [day, on](NoteRecord& record) { record.weekdays[day] = on; });
}

void ReceivedNotes::showAlarmIcon(int note) {
    if (Pending* target = pending(note))
        target->alarmIcon = true;
}

void ReceivedNotes::appendLine(int note, const QString& text) {
    editRecord(note, [&text](NoteRecord& record) {
        record.note = NoteText::normalized(
            record.note.isEmpty() ? text : record.note + QStringLiteral("\r\n") + text);
    });
}

void ReceivedNotes::endReceivedNote(int number) {
    const auto found = m_pending.constFind(number);
    if (found == m_pending.constEnd())
        return;
    const Pending received = found.value();
    m_pending.erase(found);
    Note* note = m_notes.add(received.record);
    if (!note)
        return;
    if (received.captionColor)
        note->setCaptionColor(*received.captionColor);
    note->setCaptionTextColor(received.captionTextColor);
    note->setAlarmIconShown(received.alarmIcon);
    note->setReplyAddress(received.replyAddress);
    m_services.sounds.receivedNote();
    Q_EMIT noteArrived(note);
}

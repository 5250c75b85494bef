#include "gui/program/ReceivedNotes.h"

#include "core/notes/NoteGeometry.h"
#include "gui/note/NoteCaptionBar.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/NoteRegistry.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace {
// Notes whose transmission never ended are forgotten once this many are remembered.
constexpr int MaxRemembered = 256;
} // namespace

ReceivedNotes::ReceivedNotes(NoteRegistry& registry, MessageBoxes& messages)
    : m_registry(registry), m_messages(messages) {}

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
    m_messages.show(MessageBoxes::Icon::Warning, MessageBoxes::titleNotice(),
                    why.arg(peerAddr) + QStringLiteral("\n\n") +
                        QCoreApplication::translate("ReceivedNotes",
                                                    "Outras notas recusadas não serão avisadas "
                                                    "até o Tacknote ser reiniciado."));
}

int ReceivedNotes::notesHeld() const {
    return int(m_registry.notes().size());
}

TfPostIt* ReceivedNotes::window(int note) const {
    return m_notes.value(note);
}

template <typename Edit> void ReceivedNotes::editRecord(int note, Edit edit) {
    TfPostIt* target = window(note);
    if (!target)
        return;
    // A received note keeps the caption colours and alarm icon the steps gave it.
    const int captionColor = target->captionColor();
    const int captionTextColor = target->captionTextColor();
    const bool alarmIcon = target->alarmIconVisible();
    NoteRecord record = target->toRecord();
    edit(record);
    target->applyRecord(record);
    target->setCaptionColor(captionColor);
    target->setCaptionTextColor(captionTextColor);
    target->setAlarmIconVisible(alarmIcon);
}

int ReceivedNotes::beginReceivedNote() {
    TfPostIt* created = m_registry.newReceivedNote();
    if (!created)
        return -1;
    if (m_notes.size() >= MaxRemembered)
        m_notes.removeIf([](const auto& entry) { return entry.value().isNull(); });
    const int note = m_nextNote++;
    m_notes.insert(note, created);
    return note;
}

void ReceivedNotes::setCaption(int note, const QString& caption) {
    if (TfPostIt* target = window(note))
        target->setCaption(caption);
}

void ReceivedNotes::setNoteColor(int note, int color) {
    if (TfPostIt* target = window(note))
        target->setColor(color);
}

void ReceivedNotes::setCaptionColor(int note, int color) {
    if (TfPostIt* target = window(note))
        target->setCaptionColor(color);
}

namespace {

// A size a peer sent, kept to what the screens here can show: the note keeps no more.
// Widened: a sum near the int range's end must not overflow.
QSize onTheScreens(qint64 width, qint64 height) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const auto clamped = [](qint64 value) {
        return int(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
    };
    return NoteGeometry::boundedSize(clamped(width), clamped(height), screens);
}

} // namespace

// The sizes are the sender's text area's: the window around it also holds the margin,
// and in height the caption bar and the footer the received note shows.
void ReceivedNotes::setTextAreaWidth(int note, int width) {
    if (TfPostIt* target = window(note)) {
        const QRect bounds = target->bounds();
        const QSize size = onTheScreens(qint64(width) + TfPostIt::TextAreaMargin, bounds.height());
        target->setBounds(bounds.x(), bounds.y(), size.width(), size.height());
        keepOnItsScreen(target);
    }
}

void ReceivedNotes::setTextAreaHeight(int note, int height) {
    if (TfPostIt* target = window(note)) {
        const QRect bounds = target->bounds();
        const QSize size =
            onTheScreens(bounds.width(), qint64(height) + NoteCaptionBar::BarHeight +
                                             target->footerHeight() + TfPostIt::TextAreaMargin);
        target->setBounds(bounds.x(), bounds.y(), size.width(), size.height());
        keepOnItsScreen(target);
    }
}

void ReceivedNotes::keepOnItsScreen(TfPostIt* target) {
    const QRect bounds = target->bounds();
    const QScreen* screen = QGuiApplication::screenAt(bounds.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect inside = NoteGeometry::keptInside(bounds, screen->availableGeometry());
    if (inside != bounds)
        target->setBounds(inside.x(), inside.y(), inside.width(), inside.height());
}

void ReceivedNotes::setReplyAddress(int note, const QString& address) {
    if (TfPostIt* target = window(note))
        target->setReplyAddress(address);
}

void ReceivedNotes::setFontName(int note, const QString& name) {
    editRecord(note, [&name](NoteRecord& record) { record.FontName = name; });
}

void ReceivedNotes::setFontSize(int note, int points) {
    editRecord(note, [points](NoteRecord& record) { record.FontSize = points; });
}

void ReceivedNotes::setFontColor(int note, int color) {
    // The caption keeps the colour the new note gave it.
    if (TfPostIt* target = window(note)) {
        const int captionText = target->captionTextColor();
        NoteFont font = target->memoFont();
        font.Color = color;
        target->setMemoFont(font);
        target->setCaptionTextColor(captionText);
    }
}

void ReceivedNotes::setFontBold(int note, bool bold) {
    if (TfPostIt* target = window(note)) {
        NoteFont font = target->memoFont();
        font.Bold = bold;
        font.Italic = false;
        target->setMemoFont(font);
    }
}

void ReceivedNotes::setFontItalic(int note, bool italic) {
    if (TfPostIt* target = window(note)) {
        NoteFont font = target->memoFont();
        font.Italic = italic;
        target->setMemoFont(font);
    }
}

void ReceivedNotes::showFooter(int note, const QString& text) {
    if (TfPostIt* target = window(note))
        target->setFooter(text);
}

void ReceivedNotes::setAlarm(int note) {
    if (TfPostIt* target = window(note))
        target->setAlarm(true);
}

void ReceivedNotes::setAlarmDateTime(int note, const QDateTime& when) {
    if (TfPostIt* target = window(note))
        target->setAlarmDateTime(when);
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
    if (TfPostIt* target = window(note))
        target->setAlarmIconVisible(true);
}

void ReceivedNotes::appendLine(int note, const QString& text) {
    if (TfPostIt* target = window(note))
        target->appendLine(text);
}

void ReceivedNotes::endReceivedNote(int note) {
    if (TfPostIt* target = window(note)) {
        target->scrollToStart();
        target->FormResize();
        NoteRegistry::showInFront(target);
    }
    m_notes.remove(note);
}

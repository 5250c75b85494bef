#include "core/notes/Note.h"

#include "core/notes/DarkenedCaptionColor.h"
#include "core/notes/NoteText.h"

#include <utility>

Note::Note(const NoteRecord& record, QObject* parent)
    : QObject(parent), m_record(record), m_alarmIconShown(record.alarm) {}

void Note::setRecord(const NoteRecord& record) {
    const bool display = m_captionColor || m_captionTextColor || m_alarmIconShown != record.alarm;
    m_captionColor.reset();
    m_captionTextColor.reset();
    m_alarmIconShown = record.alarm;
    update(record);
    if (display)
        Q_EMIT displayChanged();
}

void Note::update(const NoteRecord& record) {
    if (record == m_record)
        return;
    m_record = record;
    Q_EMIT recordChanged();
}

void Note::setText(const QString& text) {
    edit([&text](NoteRecord& r) { r.note = NoteText::normalized(text); });
}

void Note::setCaption(const QString& caption) {
    edit([&caption](NoteRecord& r) { r.caption = caption; });
}

void Note::setVisible(bool visible) {
    edit([visible](NoteRecord& r) { r.visible = visible; });
}

void Note::setTopmost(bool on) {
    edit([on](NoteRecord& r) { r.topmost = on; });
}

void Note::setBounds(const QRect& bounds) {
    edit([&bounds](NoteRecord& r) {
        r.posx = bounds.x();
        r.posy = bounds.y();
        r.Width = bounds.width();
        r.Height = bounds.height();
    });
}

QRect Note::bounds() const {
    return QRect(m_record.posx, m_record.posy, m_record.Width, m_record.Height);
}

NoteFont Note::font() const {
    return NoteFont{m_record.FontName, m_record.FontSize, m_record.FontColor, m_record.FontBold,
                    m_record.FontItalic};
}

void Note::setFont(const NoteFont& font) {
    edit([&font](NoteRecord& r) {
        r.FontName = font.Name;
        r.FontSize = font.Size;
        r.FontColor = font.Color;
        r.FontBold = font.Bold;
        r.FontItalic = font.Italic;
    });
}

void Note::setAlarm(bool on) {
    edit([on](NoteRecord& r) { r.alarm = on; });
}

void Note::setAlarmDateTime(const QDateTime& when) {
    edit([&when](NoteRecord& r) { r.AlarmDateTime = when; });
}

int Note::captionColor() const {
    if (m_captionColor)
        return *m_captionColor;
    return m_record.DarkCaption ? DarkenedCaptionColor(m_record.Color, m_record.TrackPosition)
                                : m_record.Color;
}

void Note::setCaptionColor(int color) {
    if (std::exchange(m_captionColor, color) != color)
        Q_EMIT displayChanged();
}

int Note::captionTextColor() const {
    return m_captionTextColor.value_or(m_record.FontColor);
}

void Note::setCaptionTextColor(int color) {
    if (std::exchange(m_captionTextColor, color) != color)
        Q_EMIT displayChanged();
}

void Note::setAlarmIconShown(bool on) {
    if (std::exchange(m_alarmIconShown, on) != on)
        Q_EMIT displayChanged();
}

void Note::setRinging(bool on) {
    if (std::exchange(m_ringing, on) != on)
        Q_EMIT displayChanged();
}

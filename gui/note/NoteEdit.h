#pragma once

#include <QPlainTextEdit>
#include <QString>

// The text area of a note. It keeps the text within what the notes file can hold: the
// stored form of the text, with every line break written as the two characters "\n",
// may have at most IniFile::MaxValueLength characters. Typing, pasting, dropping and
// input methods bring in only what fits, so a note is never cut later without the user
// seeing it; the first time a note is full a short hint beside the cursor says why,
// without taking the keyboard away. Every line break is a paragraph break: Shift+Enter
// and line or paragraph separators in pasted text start a new line like Enter does.
class NoteEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NoteEdit(QWidget* parent = nullptr);

    // The hint shown when a note is full.
    static QString fullHint();

    // Stored length of the whole text.
    qsizetype storedLength() const;

    // The text with its lines separated by CR LF.
    QString noteText() const;
    // The selected text, its line breaks as CR LF.
    QString selectedNoteText() const;
    // Takes every kind of line break as a line break; text beyond the limit is left out.
    void setNoteText(const QString& text);
    // The text as the text area shows it: one line per displayed line, so a paragraph
    // the text area wraps gives several lines. No line after a final line break, and
    // none for an empty text.
    QStringList displayedLines() const;
    // Moves the caret to the start and shows the text from there.
    void scrollToStart();

Q_SIGNALS:
    // Text was refused because the note is full.
    void noteFull();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // The part of incoming text that fits in place of the current selection.
    QString admit(const QString& incoming);
    void refused();

    bool m_hinted = false;
};

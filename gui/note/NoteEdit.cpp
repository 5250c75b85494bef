#include "gui/note/NoteEdit.h"

#include "core/notes/NoteText.h"
#include "core/store/IniFile.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QToolTip>

namespace {

bool isLineBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

NoteEdit::NoteEdit(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("memPostit"));
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCursor(Qt::ArrowCursor); // the viewport keeps its text cursor
    document()->setDocumentMargin(2);
}

QString NoteEdit::fullHint() {
    return tr("Esta nota está cheia: uma nota guarda até %1 caracteres, e cada quebra de linha "
              "conta como dois.")
        .arg(IniFile::MaxValueLength);
}

qsizetype NoteEdit::storedLength() const {
    qsizetype length = 0;
    const QTextDocument* document = this->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            length += 2;
        length += NoteText::storedLength(block.text());
    }
    return length;
}

QString NoteEdit::noteText() const {
    // Built from the blocks rather than toPlainText(), which would turn non-breaking
    // spaces into ordinary ones.
    QString text;
    const QTextDocument* document = this->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            text += QStringLiteral("\r\n");
        text += block.text();
    }
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

QString NoteEdit::selectedNoteText() const {
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void NoteEdit::setNoteText(const QString& text) {
    // The text area starts a new line at every LF.
    setPlainText(NoteText::withPlainLineBreaks(NoteText::fitted(text)));
}

QStringList NoteEdit::displayedLines() const {
    QStringList lines;
    const QTextDocument* document = this->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        // Lays the block out, also in a window never shown.
        layout->blockBoundingRect(block);
        const QString text = block.text();
        const QTextLayout* lineLayout = block.layout();
        if (!lineLayout || lineLayout->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < lineLayout->lineCount(); ++i) {
            const QTextLine line = lineLayout->lineAt(i);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

void NoteEdit::scrollToStart() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString NoteEdit::admit(const QString& incoming) {
    const QString selected = textCursor().selectedText();
    const qsizetype room =
        IniFile::MaxValueLength - storedLength() + NoteText::storedLength(selected);
    if (NoteText::storedLength(incoming) <= room)
        return incoming;
    // The incoming text cut where the room ends.
    qsizetype length = 0;
    qsizetype end = 0;
    for (; end < incoming.size(); ++end) {
        const qsizetype size = isLineBreak(incoming.at(end)) ? 2 : 1;
        if (length + size > room)
            break;
        length += size;
    }
    if (end > 0 && end < incoming.size() && incoming.at(end).isLowSurrogate())
        --end;
    refused();
    return incoming.left(end);
}

void NoteEdit::refused() {
    Q_EMIT noteFull();
    if (m_hinted)
        return;
    m_hinted = true;
    QToolTip::showText(viewport()->mapToGlobal(cursorRect().bottomRight()), fullHint(), this);
}

void NoteEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = isEnter(event) && !(event->modifiers() & Qt::ControlModifier);
    const QString text = enter ? QStringLiteral("\n") : event->text();
    const bool inserts =
        enter || (!text.isEmpty() && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t')));
    if (!inserts) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (admit(text).size() < text.size()) {
        event->accept();
        return;
    }
    if (enter && event->modifiers() & Qt::ShiftModifier) {
        // Shift+Enter would put a line separator into the text; a note knows one kind of
        // line break.
        textCursor().insertText(QStringLiteral("\n"));
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void NoteEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const QString admitted = admit(NoteText::withPlainLineBreaks(event->commitString()));
    QInputMethodEvent trimmed(event->preeditString(), event->attributes());
    trimmed.setCommitString(admitted, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&trimmed);
}

void NoteEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText())
        return;
    // Plain text only, whatever else the source offers.
    const QString admitted = admit(NoteText::withPlainLineBreaks(source->text()));
    if (!admitted.isEmpty())
        textCursor().insertText(admitted);
    ensureCursorVisible();
}

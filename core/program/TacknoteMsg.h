#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The messages a running program takes on its per-user local socket (SingleInstance),
// one line each; every line is one signal, and lines of any other text are ignored.
namespace TacknoteMsg {

// A later start of the program for the same data folder: bring every note to the front.
inline const QByteArray Activate = QByteArrayLiteral("activate");
// The desktop's "Nova Nota" action ("tacknote --new-note"): a user's new note. Followed
// by a blank and Base64 of UTF-8 text, the new note holds that text.
inline const QByteArray NewNote = QByteArrayLiteral("new-note");
// The browser capture (the capture host program sends it): make a new note and paste the
// clipboard's text into it.
inline const QByteArray Capture = QByteArrayLiteral("capture");
// "tacknote --show", "--hide", "--toggle": show every note, hide every note, or hide
// them all when any is visible and show them all otherwise.
inline const QByteArray Show = QByteArrayLiteral("show");
inline const QByteArray Hide = QByteArrayLiteral("hide");
inline const QByteArray Toggle = QByteArrayLiteral("toggle");
// "tacknote --quit": save and end, as "&Sair" does.
inline const QByteArray Quit = QByteArrayLiteral("quit");

// A new-note message whose note holds text.
inline QByteArray newNoteWith(const QString& text) {
    return NewNote + ' ' + text.toUtf8().toBase64();
}

// The text a new-note message carries; none for any other message or a damaged text.
inline std::optional<QString> noteTextOf(const QByteArray& message) {
    if (!message.startsWith(NewNote + ' '))
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(message.mid(NewNote.size() + 1),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return QString::fromUtf8(*decoded);
}

} // namespace TacknoteMsg

#pragma once

#include <QByteArray>

// The messages a running program takes on its per-user local socket (SingleInstance),
// one line each; every line is one signal, and lines of any other text are ignored.
namespace TacknoteMsg {

// A later start of the program for the same data folder: bring every note to the front.
inline const QByteArray Activate = QByteArrayLiteral("activate");
// The desktop's "Nova Nota" action ("tacknote --new-note"): a user's new note.
inline const QByteArray NewNote = QByteArrayLiteral("new-note");
// The browser capture (the capture host program sends it): make a new note and paste the
// clipboard's text into it.
inline const QByteArray Capture = QByteArrayLiteral("capture");

} // namespace TacknoteMsg

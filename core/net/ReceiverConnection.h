#pragma once

#include "core/net/ReceivedNoteBuilder.h"
#include "platform/system/AcceptedConnection.h"

#include <QDateTime>
#include <QString>

// A connection of the note receiver.
class ReceiverConnection : public AcceptedConnection {
    Q_OBJECT
public:
    explicit ReceiverConnection(QObject* parent = nullptr) : AcceptedConnection(parent) {}

    // The line being handled, its CR and LF at the end removed.
    QString RcvdLine;
    // When the connection was accepted.
    QDateTime ConnectTime;
    // Number of the note being received on this connection; -1 for none.
    int NoteInProgress = -1;
    // The text received so far for that note.
    ReceivedNoteBuilder::TextBudget NoteText;
};

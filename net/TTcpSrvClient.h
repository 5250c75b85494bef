#pragma once

#include "net/ReceivedNoteBuilder.h"
#include "platform/TWSocketClient.h"

#include <QDateTime>
#include <QString>

// A connection of the note receiver.
class TTcpSrvClient : public TWSocketClient {
    Q_OBJECT
public:
    explicit TTcpSrvClient(QObject* parent = nullptr) : TWSocketClient(parent) {}

    // The line being handled, its CR and LF at the end removed.
    QString RcvdLine;
    // When the connection was accepted.
    QDateTime ConnectTime;
    // Number of the note being received on this connection; -1 for none.
    int NoteInProgress = -1;
    // The text received so far for that note.
    ReceivedNoteBuilder::TextBudget NoteText;
};

#pragma once

// Peers for tests of the note sender: a receiver that captures what arrives, and an
// address that never answers.

#include "core/net/OutgoingNote.h"

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <functional>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A test receiver on one loopback address: it keeps every byte of each connection, and
// with each piece read the value stamp() had then.
class CapturingServer {
public:
    struct Connection {
        QByteArray bytes;
        QList<QPair<int, QByteArray>> pieces; // stamp, bytes
        bool closed = false;
        int closedStamp = -1;

        // The stamp of the piece that brought the byte at offset; -1 past the end.
        int stampAt(qsizetype offset) const {
            for (const auto& piece : pieces) {
                if (offset < piece.second.size())
                    return piece.first;
                offset -= piece.second.size();
            }
            return -1;
        }
    };
    QTcpServer server;
    QList<Connection> connections;
    // A connection is dropped as soon as these bytes have arrived on it; at once when
    // they are empty. Null: never.
    QByteArray dropWhenReceived;
    std::function<int()> stamp = [] { return 0; };

    explicit CapturingServer(const QHostAddress& address, quint16 port = 0) {
        QVERIFY(server.listen(address, port));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                const qsizetype index = connections.size();
                connections.append(Connection());
                if (!dropWhenReceived.isNull() && dropWhenReceived.isEmpty()) {
                    socket->abort();
                    continue;
                }
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket, index] {
                    const QByteArray bytes = socket->readAll();
                    connections[index].bytes += bytes;
                    connections[index].pieces.append({stamp(), bytes});
                    if (!dropWhenReceived.isEmpty() &&
                        connections[index].bytes.contains(dropWhenReceived))
                        socket->abort();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, [this, index] {
                    connections[index].closed = true;
                    connections[index].closedStamp = stamp();
                });
            }
        });
    }
};

// A listening socket whose queue of connections is full and never accepted: a further
// connection attempt gets no answer at all.
class Blackhole {
public:
    explicit Blackhole(const char* address, quint16 port) {
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(port);
        inet_pton(AF_INET, address, &where.sin_addr);
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int reuse = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        QVERIFY(::bind(m_listener, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0);
        QVERIFY(::listen(m_listener, 0) == 0);
        for (int& filler : m_fillers) {
            filler = ::socket(AF_INET, SOCK_STREAM, 0);
            ::fcntl(filler, F_SETFL, O_NONBLOCK);
            ::connect(filler, reinterpret_cast<sockaddr*>(&where), sizeof where);
        }
    }
    ~Blackhole() {
        for (const int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }

private:
    int m_listener = -1;
    int m_fillers[3]{};
};

inline OutgoingNote sampleNote() {
    OutgoingNote note;
    note.caption = QString::fromUtf8("Lista de compras \u2192 s\u00E1bado");
    note.Color = 8454143;
    note.textWidth = 166;
    note.textHeight = 93;
    note.captionColor = 4227327;
    note.FontName = QStringLiteral("Arial");
    note.FontSize = 10;
    note.FontColor = 128;
    note.FontItalic = true;
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2002, 12, 25), QTime(14, 30));
    note.lines = {QStringLiteral("p\u00E3o"), QStringLiteral("leite"), QStringLiteral("leite")};
    return note;
}

// sampleNote() on the wire, sent by "Jo\u00E3o" with Brazilian date formats.
inline QByteArray sampleNoteOnTheWire() {
    return "new\xA2Jo\xE3o\xA2Lista de compras ? s\xE1"
           "bado\xA2"
           "8454143\xA2"
           "166\xA2"
           "93\xA2"
           "4227327\xA2"
           "Arial\xA2"
           "10\xA2"
           "128\xA2"
           "nobold\xA2italic\r\n\r\n"
           "alarm\xA2"
           "25/12/2002 14:30:00\xA2"
           "0\xA2\xA2\r\n\r\n"
           "line\xA2p\xE3o\r\n\r\n"
           "line\xA2leite\r\n\r\n"
           "line\xA2leite\r\n\r\n"
           "end\xA2\r\n\r\n";
}

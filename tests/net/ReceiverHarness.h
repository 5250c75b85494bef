#pragma once

#include "RecordingNoteSink.h"

#include "../support/FakeClock.h"
#include "core/net/NoteProtocol.h"
#include "core/net/NoteReceiver.h"
#include "core/settings/NetworkSettings.h"
#include "platform/system/QtLocaleInfo.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

// A note receiver on a free port of the loopback interface, with a recording registry,
// a standing clock and a Brazilian locale.
struct ReceiverHarness {
    QTemporaryDir programDir;
    RecordingNoteSink sink;
    NetworkSettings settings;
    FakeClock clock;
    QtLocaleInfo locale{QLocale(QStringLiteral("pt_BR"))};
    NoteReceiver receiver{sink, settings, clock, locale, programDir.path()};

    ReceiverHarness() {
        settings.PortTCP = QStringLiteral("0");
        receiver.StartNoteServer();
    }

    bool logged(const QString& line) const { return receiver.DisplayMemo().contains(line); }
    static QString receivedLog(const QString& line) {
        return QStringLiteral("Received from 127.0.0.1: '") + line + QLatin1Char('\'');
    }
};

// The other end of a connection: it collects every byte the receiver sends.
class TestPeer {
public:
    QTcpSocket socket;
    QByteArray received;

    TestPeer() {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
    }
    void open(quint16 port) { socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port); }
    void send(const QByteArray& bytes) {
        socket.write(bytes);
        socket.flush();
    }
    bool closed() const { return socket.state() == QAbstractSocket::UnconnectedState; }

    static QByteArray banner() { return QByteArray(NoteProtocol::Banner) + "\r\n"; }
};

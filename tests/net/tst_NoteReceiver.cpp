#include "ReceiverHarness.h"

#include "core/base/TacknoteError.h"
#include "platform/system/ListeningSocket.h"

#include <QTcpServer>
#include <memory>

// The connection side of the note receiver: listening, answers, closing, blocking,
// limits and its log.
// A `new` command with every field, as a peer sends it.
constexpr char NewNote[] = "new\xA2me\xA2t\xA2"
                           "1\xA2"
                           "2\xA2"
                           "3\xA2"
                           "4\xA2"
                           "F\xA2"
                           "8\xA2"
                           "0\xA2"
                           "bold\xA2"
                           "italic";

class tst_NoteReceiver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void exitClosesAndTheDurationIsLogged();
    void blockedPeerGetsNothing_data();
    void blockedPeerGetsNothing();
    void lineLimit_data();
    void lineLimit();
    void unfinishedLastLineIsHandledOnClose();
    void logKeepsTheNewestLines();
    void listening();
    void idleConnectionsMakeRoomForASender();
};

void tst_NoteReceiver::answers_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("answer");

    const QByteArray help = NoteProtocol::HelpText;
    QTest::newRow("help") << QByteArray("help\r\n") << help;
    QTest::newRow("HELP in capitals") << QByteArray("HELP\r\n") << help;
    QTest::newRow("reply and unknown names get nothing")
        << QByteArray("reply\r\nfoo\xA2x\r\nhelp\r\n") << help;
    QTest::newRow("a repeated line is ignored")
        << QByteArray("help\r\nhelp\r\nHelp\r\n") << help + help;
    QTest::newRow("commands cut at LF inside one line")
        << QByteArray("help\nhelp\r\n") << help + help;
}

void tst_NoteReceiver::answers() {
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, answer);
    ReceiverHarness h;
    TestPeer peer;
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
    QVERIFY(h.logged(QStringLiteral("Waiting for clients...")));
    QVERIFY(h.receiver.DisplayMemo().at(1).startsWith(
        QStringLiteral("Client connected. Remote: 127.0.0.1/%1 Local: 127.0.0.1/%2")
            .arg(peer.socket.localPort())
            .arg(h.receiver.port())));
    peer.send(sent);
    QTRY_COMPARE(peer.received, TestPeer::banner() + answer);
    QVERIFY(!peer.closed());
}

void tst_NoteReceiver::exitClosesAndTheDurationIsLogged() {
    ReceiverHarness h;
    TestPeer peer;
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
    h.clock.advanceSeconds(3725);
    peer.send("EXIT\r\n");
    QTRY_VERIFY(peer.closed());
    QTRY_VERIFY(h.logged(QStringLiteral("Client disconnecting: 127.0.0.1   Duration: 01:02:05")));
    QTRY_COMPARE(h.receiver.connectionCount(), 0);
}

void tst_NoteReceiver::blockedPeerGetsNothing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("list");

    QTest::newRow("mode 1") << 1 << QStringList{};
    QTest::newRow("mode 2, listed") << 2 << QStringList{"10.1.1.1", "127.0.0.1"};
}

// Blocked lines are logged and have no other effect: no answer, no note, no close. Once
// unblocked, the same connection is answered, which shows it stayed open and that the
// earlier "help" was never answered.
void tst_NoteReceiver::blockedPeerGetsNothing() {
    QFETCH(int, mode);
    QFETCH(QStringList, list);
    ReceiverHarness h;
    h.settings.Blocktype = mode;
    h.settings.BlockList = list;
    TestPeer peer;
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
    peer.send("help\r\nnew\xA2x\r\nexit\r\n");
    QTRY_VERIFY(h.logged(ReceiverHarness::receivedLog(QStringLiteral("exit"))));
    QVERIFY(h.logged(ReceiverHarness::receivedLog(QStringLiteral("help"))));
    QVERIFY(h.sink.calls.isEmpty());

    h.settings.Blocktype = 0;
    peer.send("help\r\n");
    QTRY_COMPARE(peer.received, TestPeer::banner() + NoteProtocol::HelpText);
    QVERIFY(!peer.closed());
}

void tst_NoteReceiver::lineLimit_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<bool>("accepted");

    const QByteArray line = "help\n" + QByteArray(76, ' ');
    QTest::newRow("81 bytes in one piece") << QList<QByteArray>{line + "\r\n"} << true;
    QTest::newRow("81 bytes, then the line end") << QList<QByteArray>{line, "\r\n"} << false;
    QTest::newRow("80 bytes, then the rest") << QList<QByteArray>{line.left(80), " \r\n"} << true;
}

void tst_NoteReceiver::lineLimit() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(bool, accepted);
    ReceiverHarness h;
    TestPeer peer;
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
    const QString limitLog = QStringLiteral("Line limit exceeded from 127.0.0.1. Closing.");
    peer.send(pieces.front());
    if (!accepted) {
        // Only once the first piece has been read on its own may the rest follow.
        QTRY_VERIFY(h.logged(limitLog));
        QTRY_VERIFY(peer.closed());
        QCOMPARE(peer.received, TestPeer::banner());
        return;
    }
    for (const QByteArray& piece : pieces.sliced(1))
        peer.send(piece);
    QTRY_COMPARE(peer.received, TestPeer::banner() + NoteProtocol::HelpText);
    QVERIFY(!h.logged(limitLog));
    QVERIFY(!peer.closed());
}

void tst_NoteReceiver::unfinishedLastLineIsHandledOnClose() {
    ReceiverHarness h;
    TestPeer peer;
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
    peer.send(QByteArray(NewNote) + "\r\nend\xA2");
    QTRY_COMPARE(h.sink.notes.size(), 1);
    peer.socket.disconnectFromHost();
    QTRY_VERIFY(h.sink.notes[0].ended);
}

void tst_NoteReceiver::logKeepsTheNewestLines() {
    ReceiverHarness h; // its log starts with "Waiting for clients..."
    for (int i = 2; i <= 201; ++i)
        h.receiver.LogNetEvent(QString::number(i));
    QCOMPARE(h.receiver.DisplayMemo().size(), 201);
    h.receiver.LogNetEvent(QStringLiteral("202"));
    QCOMPARE(h.receiver.DisplayMemo().size(), 152);
    QCOMPARE(h.receiver.DisplayMemo().front(), QStringLiteral("51"));
    QCOMPARE(h.receiver.DisplayMemo().back(), QStringLiteral("202"));
}

void tst_NoteReceiver::listening() {
    ReceiverHarness h;
    const quint16 port = h.receiver.port();
    QVERIFY(port != 0);
    // Starting again while listening changes nothing, even with another port set.
    h.settings.PortTCP = QStringLiteral("1");
    h.receiver.StartNoteServer();
    QCOMPARE(h.receiver.port(), port);
    QCOMPARE(h.receiver.DisplayMemo().count(QStringLiteral("Waiting for clients...")), 1);

    // A port in use by another program is an error for the caller to show.
    ReceiverHarness second;
    second.receiver.StopNoteServer();
    QVERIFY(!second.receiver.isListening());
    second.settings.PortTCP = QString::number(port);
    QVERIFY_THROWS_EXCEPTION(TacknoteError, second.receiver.StartNoteServer());
    QVERIFY(!second.receiver.isListening());
    second.settings.PortTCP = QStringLiteral("port");
    QVERIFY_THROWS_EXCEPTION(TacknoteError, second.receiver.StartNoteServer());

    // Stopping leaves accepted connections running.
    TestPeer peer;
    peer.open(port);
    QTRY_COMPARE(peer.received, TestPeer::banner());
    h.receiver.StopNoteServer();
    peer.send("help\r\n");
    QTRY_COMPARE(peer.received, TestPeer::banner() + NoteProtocol::HelpText);
}

// Connections that only sit there cannot shut a sender out: at the limit, a newcomer
// takes the place of the connection idle longest, which need not be the oldest.
void tst_NoteReceiver::idleConnectionsMakeRoomForASender() {
    ReceiverHarness h;
    TestPeer typist;
    typist.open(h.receiver.port());
    QTRY_COMPARE(typist.received, TestPeer::banner());
    std::vector<std::unique_ptr<TestPeer>> idle;
    for (int i = 1; i < ListeningSocket::MaxConnections; ++i) {
        idle.push_back(std::make_unique<TestPeer>());
        idle.back()->open(h.receiver.port());
    }
    QTRY_COMPARE(h.receiver.connectionCount(), ListeningSocket::MaxConnections);
    const quint16 idlestPort = idle.front()->socket.localPort();
    // The oldest connection is someone typing commands by hand.
    typist.send("help\r\n");
    QTRY_COMPARE(typist.received, TestPeer::banner() + NoteProtocol::HelpText);

    TestPeer sender;
    sender.open(h.receiver.port());
    QTRY_COMPARE(sender.received, TestPeer::banner());
    sender.send(QByteArray(NewNote) + "\r\n\r\nend\xA2\r\n\r\n");
    QTRY_VERIFY(h.sink.notes.size() == 1 && h.sink.notes[0].ended);
    QTRY_VERIFY(idle.front()->closed());
    QVERIFY(h.logged(
        QStringLiteral("Too many connections, closing the one idle longest. Remote: 127.0.0.1/%1")
            .arg(idlestPort)));
    QCOMPARE(h.receiver.connectionCount(), ListeningSocket::MaxConnections);
    typist.send("HELP\r\n");
    QTRY_COMPARE(typist.received,
                 TestPeer::banner() + NoteProtocol::HelpText + NoteProtocol::HelpText);
    QVERIFY(!idle.back()->closed());
}

QTEST_GUILESS_MAIN(tst_NoteReceiver)
#include "tst_NoteReceiver.moc"

#include "ReceiverHarness.h"
#include "SenderPeers.h"

#include "core/net/NoteSender.h"
#include "core/net/OutgoingNote.h"

#include <QSignalSpy>
#include <QTimer>

namespace {

struct SenderHarness {
    QtLocaleInfo locale{QLocale(QStringLiteral("pt_BR"))};
    NoteSender sender{locale};
    QStringList statuses;
    QStringList failures;
    QSignalSpy finished{&sender, &NoteSender::finished};

    SenderHarness() {
        QObject::connect(&sender, &NoteSender::status,
                         [this](const QString& text) { statuses << text; });
        QObject::connect(&sender, &NoteSender::recipientFailed,
                         [this](const QString& text) { failures << text; });
    }
};

const QStringList Delivered{"Transmitindo Nota...", "OK!", "Nota Enviada!"};

// The sender's pauses, counted as they run out: the one-shot timer of 100 ms that holds
// back the next command. A command sent after a pause is written from its time-out, so
// it reaches a peer when the count has at least reached that pause.
class PauseCount {
public:
    explicit PauseCount(NoteSender& sender) {
        const QList<QTimer*> timers = sender.findChildren<QTimer*>();
        for (QTimer* timer : timers) {
            if (timer->interval() == 100 && timer->isSingleShot())
                QObject::connect(timer, &QTimer::timeout, [this] { ++m_count; });
        }
    }
    int operator()() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace

class tst_NoteSender : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wireFormatAndPauses();
    void noteArrivesAtTheReceiver();
    void unreachableRecipients();
    void brokenConnection_data();
    void brokenConnection();
    void oneSendingAtATime();
};

// A pause of 100 ms follows each "line" and "end", none "new" and "alarm".
void tst_NoteSender::wireFormatAndPauses() {
    CapturingServer peer(QHostAddress::LocalHost);
    SenderHarness h;
    const PauseCount pauses(h.sender);
    peer.stamp = [&] { return pauses(); };
    QVERIFY(h.sender.send({QStringLiteral("127.0.0.1")}, sampleNote(), QStringLiteral("Jo\u00E3o"),
                          QString::number(peer.server.serverPort())));
    QVERIFY(h.finished.wait(5000));
    QCOMPARE(h.finished.at(0).at(0).toBool(), false);
    QCOMPARE(h.statuses, QStringList{"Enviando para 127.0.0.1..."} + Delivered);
    QTRY_VERIFY(peer.connections.size() == 1 && peer.connections[0].closed);

    const CapturingServer::Connection& got = peer.connections[0];
    QCOMPARE(got.bytes, sampleNoteOnTheWire());
    QCOMPARE(pauses(), 4);
    // "new", "alarm" and the first "line" leave together; each later command, and the
    // close, only once the pause before it has run out.
    QList<int> stamps;
    for (qsizetype at = 0; at < got.bytes.size(); at = got.bytes.indexOf("\r\n\r\n", at) + 4)
        stamps << got.stampAt(at);
    stamps << got.closedStamp;
    QCOMPARE(stamps.size(), 7);
    QCOMPARE(stamps[1], stamps[0]);
    QCOMPARE(stamps[2], stamps[0]);
    for (int command = 3; command < stamps.size(); ++command)
        QVERIFY2(stamps[command] >= command - 2, qPrintable(QString::number(command)));
}

void tst_NoteSender::noteArrivesAtTheReceiver() {
    ReceiverHarness r;
    SenderHarness h;
    OutgoingNote note = sampleNote();
    note.UseSound = true;
    note.SoundFile = QStringLiteral("C:\\Sons\\ding.wav");
    note.Remember = true;
    note.RememberNo = 2;
    note.RememberUnit = 1;
    note.weekdays = {true, false, false, false, false, false, true};
    note.lines.append(QStringLiteral("a_^b"));
    const QString port = QString::number(r.receiver.port());
    const PauseCount pauses(h.sender);
    r.sink.stamp = [&] { return pauses(); };
    // Sent twice: the second transmission is not taken for a repetition of the first.
    for (int round = 0; round < 2; ++round) {
        QVERIFY(h.sender.send({QStringLiteral("127.0.0.1")}, note, QStringLiteral("Ana"), port));
        QVERIFY(h.finished.wait(5000));
    }
    QTRY_COMPARE(r.sink.notes.size(), 2);
    QTRY_VERIFY(r.sink.notes[1].ended);
    for (const RecordedNote& got : std::as_const(r.sink.notes)) {
        QCOMPARE(got.caption, QString::fromUtf8("Lista de compras ? s\u00E1bado"));
        QCOMPARE(got.color, note.Color);
        QCOMPARE(got.captionColor, note.captionColor);
        QCOMPARE(got.width, note.textWidth);
        QCOMPARE(got.textHeight, note.textHeight);
        QCOMPARE(got.fontName, note.FontName);
        QCOMPARE(got.fontSize, note.FontSize);
        QCOMPARE(got.fontColor, note.FontColor);
        QVERIFY(!got.bold && got.italic);
        QCOMPARE(got.footer, QStringLiteral("De Ana (127.0.0.1)"));
        QCOMPARE(got.alarmTime, note.AlarmDateTime);
        QVERIFY(got.useSound && got.remember);
        QVERIFY(got.soundFile.endsWith(QLatin1String("boing.WAV")));
        QCOMPARE(got.rememberNo, 2);
        QCOMPARE(got.rememberUnit, 1);
        QCOMPARE(got.days, note.weekdays);
        QCOMPARE(got.lines, (QStringList{"p\u00E3o", "leite", "leite", "a\r\nb"}));
    }
    // The pauses as the receiving side sees them: each line after the first, and "end",
    // only once the pause after the line before it has run out.
    int lineOrEnd = 0;
    for (qsizetype call = 0; call < r.sink.calls.size() && lineOrEnd < 5; ++call) {
        if (r.sink.calls[call] == QLatin1String("line") ||
            r.sink.calls[call] == QLatin1String("end"))
            QVERIFY(r.sink.callStamps[call] >= lineOrEnd++);
    }
    QCOMPARE(lineOrEnd, 5);
}

// Each recipient that cannot be reached is reported and the next one is still tried,
// from a closed socket: one that does not answer within the connect time-out, one that
// is no address, one that refuses, then one that takes the note.
void tst_NoteSender::unreachableRecipients() {
    CapturingServer peer(QHostAddress::LocalHost);
    const quint16 port = peer.server.serverPort();
    Blackhole silent("127.0.0.3", port);
    SenderHarness h;
    h.sender.setConnectTimeout(300);
    QVERIFY(h.sender.send(NoteSender::recipientsFrom(QStringLiteral(
                              "127.0.0.3, 127.0.0.256,127.0.0.2,127.0.0.1:1,127.0.0.1")),
                          sampleNote(), QStringLiteral("Ana"), QString::number(port)));
    QVERIFY(h.finished.wait(10000));
    QCOMPARE(h.finished.at(0).at(0).toBool(), true);
    const QStringList failed{"N\u00E3o foi poss\u00EDvel conectar em 127.0.0.3 !",
                             "N\u00E3o foi poss\u00EDvel conectar em  127.0.0.256 !",
                             "N\u00E3o foi poss\u00EDvel conectar em 127.0.0.2 !",
                             "N\u00E3o foi poss\u00EDvel conectar em 127.0.0.1:1 !"};
    QCOMPARE(h.failures, failed);
    QCOMPARE(h.statuses, failed + QStringList{"Enviando para 127.0.0.1..."} + Delivered);
    QTRY_COMPARE(peer.connections.size(), 1);
    QTRY_VERIFY(peer.connections[0].bytes.endsWith("end\xA2\r\n\r\n"));
}

void tst_NoteSender::brokenConnection_data() {
    QTest::addColumn<QByteArray>("dropWhen");
    QTest::addColumn<bool>("delivered");
    QTest::newRow("dropped at once") << QByteArray("") << false;
    QTest::newRow("dropped after the first line") << QByteArray("line\xA2p\xE3o") << false;
    QTest::newRow("dropped after end") << QByteArray("end\xA2\r\n\r\n") << true;
}

// A connection that breaks before "end" has left is a recipient that did not get the
// note: reported like one that cannot be reached, and the next recipient is served.
// Once "end" has left, the note is complete.
void tst_NoteSender::brokenConnection() {
    QFETCH(QByteArray, dropWhen);
    QFETCH(bool, delivered);
    CapturingServer dropping(QHostAddress(QStringLiteral("127.0.0.2")));
    dropping.dropWhenReceived = dropWhen;
    const quint16 port = dropping.server.serverPort();
    CapturingServer peer(QHostAddress::LocalHost, port);
    SenderHarness h;
    QVERIFY(h.sender.send({QStringLiteral("127.0.0.2"), QStringLiteral("127.0.0.1")}, sampleNote(),
                          QStringLiteral("Jo\u00E3o"), QString::number(port)));
    QVERIFY(h.finished.wait(5000));
    QCOMPARE(h.finished.at(0).at(0).toBool(), !delivered);
    const QStringList first{"Enviando para 127.0.0.2...", "Transmitindo Nota..."};
    const QStringList second = QStringList{"Enviando para 127.0.0.1..."} + Delivered;
    if (delivered) {
        QVERIFY(h.failures.isEmpty());
        QCOMPARE(h.statuses, (first + QStringList{"OK!", "Nota Enviada!"} + second));
    } else {
        const QString lost =
            QStringLiteral("A conex\u00E3o com 127.0.0.2 caiu antes do fim da nota!");
        QCOMPARE(h.failures, QStringList{lost});
        QCOMPARE(h.statuses, first + QStringList{lost} + second);
    }
    QTRY_COMPARE(peer.connections.size(), 1);
    QTRY_COMPARE(peer.connections[0].bytes, sampleNoteOnTheWire());
}

void tst_NoteSender::oneSendingAtATime() {
    CapturingServer peer(QHostAddress::LocalHost);
    SenderHarness h;
    const QString port = QString::number(peer.server.serverPort());
    QVERIFY(h.sender.send({QStringLiteral("127.0.0.1")}, sampleNote(), QStringLiteral("A"), port));
    QVERIFY(h.sender.isSending());
    QVERIFY(!h.sender.send({QStringLiteral("127.0.0.1")}, sampleNote(), QStringLiteral("B"), port));
    QVERIFY(h.finished.wait(5000));
    QCOMPARE(h.finished.size(), 1);
    QVERIFY(!h.sender.isSending());

    // Without recipients the sending ends at once, without errors.
    QVERIFY(h.sender.send(NoteSender::recipientsFrom(QStringLiteral(",,")), sampleNote(),
                          QStringLiteral("A"), port));
    QVERIFY(h.finished.wait(1000));
    QCOMPARE(h.finished.at(1).at(0).toBool(), false);
    QTRY_COMPARE(peer.connections.size(), 1);
}

QTEST_GUILESS_MAIN(tst_NoteSender)
#include "tst_NoteSender.moc"

#include "ReceiverHarness.h"

#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

// Notes built by the receiver from what a peer sends over a real connection.
class tst_ReceivedNotes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newNoteWithItsFields();
    void textLines_data();
    void textLines();
    void secondNewOnOneConnection();
    void alarm_data();
    void alarm();
    void commandsWithoutNoteAreIgnored();
    void faultyCommandDropsTheConnection_data();
    void faultyCommandDropsTheConnection();
    void fullRegistryRefusesTheTransmission();
    void textIsBoundedByTheNotesFileLimit();
};

namespace {

// A "new" line as a sender writes it, with the empty line after it.
QByteArray newCommand(const QByteArray& sender = "Jos\xE9") {
    return "new\xA2" + sender +
           "\xA2T\xEDtulo\xA2"
           "255\xA2"
           "166\xA2"
           "93\xA2"
           "16711680\xA2"
           "Courier New\xA2"
           "12\xA2"
           "-1\xA2"
           "bold\xA2"
           "italic\r\n\r\n";
}

// Connects a peer and waits for the banner.
void connectPeer(ReceiverHarness& h, TestPeer& peer) {
    peer.open(h.receiver.port());
    QTRY_COMPARE(peer.received, TestPeer::banner());
}

} // namespace

void tst_ReceivedNotes::newNoteWithItsFields() {
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    peer.send(newCommand() + "end\xA2\r\n\r\n");
    QTRY_COMPARE(h.sink.calls.size(), 14);
    QCOMPARE(h.sink.calls,
             (QStringList{"begin", "caption", "color", "captionColor", "width", "height", "reply",
                          "fontName", "fontSize", "fontColor", "bold", "italic", "footer", "end"}));
    const RecordedNote& note = h.sink.notes.at(0);
    QCOMPARE(note.caption, QString::fromUtf8("T\u00EDtulo"));
    QCOMPARE(note.color, 255);
    QCOMPARE(note.width, 166);
    QCOMPARE(note.textHeight, 93);
    QCOMPARE(note.captionColor, 16711680);
    QCOMPARE(note.fontName, QStringLiteral("Courier New"));
    QCOMPARE(note.fontSize, 12);
    QCOMPARE(note.fontColor, -1);
    QVERIFY(note.bold && note.italic);
    QCOMPARE(note.replyAddress, QStringLiteral("127.0.0.1"));
    QCOMPARE(note.footer, QString::fromUtf8("De Jos\u00E9 (127.0.0.1)"));
    QVERIFY(note.ended);
    QVERIFY(note.lines.isEmpty());
}

void tst_ReceivedNotes::textLines_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("_^ becomes a line break") << QByteArray("line\xA2"
                                                           "a_^b_c^\r\n\r\n")
                                             << QStringList{"a\r\nb_c^"};
    QTest::newRow("equal lines with the empty line between both arrive")
        << QByteArray("line\xA2x\r\n\r\nline\xA2x\r\n\r\n") << QStringList{"x", "x"};
    QTest::newRow("equal lines without it arrive once")
        << QByteArray("line\xA2x\r\nline\xA2x\r\n") << QStringList{"x"};
    QTest::newRow("empty text line") << QByteArray("line\xA2\r\n\r\n") << QStringList{""};
    QTest::newRow("tab up to the next multiple of 8")
        << QByteArray("line\xA2\tb\r\n") << QStringList{"   b"};
    QTest::newRow("backspace deletes the byte before it")
        << QByteArray("line\xA2xy\bz\r\n") << QStringList{"xz"};
    QTest::newRow("commands ended by LF wait for CR LF") << QByteArray("line\xA2"
                                                                       "a\nline\xA2"
                                                                       "b\n\r\n")
                                                         << QStringList{"a", "b"};
    QTest::newRow("more than 250 bytes of text are lost")
        << QByteArray("line\xA2") + QByteArray(260, 'w') + "\r\n"
        << QStringList{QString(250, 'w')};
    QTest::newRow("a second cent sign cuts the text") << QByteArray("line\xA2"
                                                                    "5\xA2 cada\r\n")
                                                      << QStringList{"5"};
}

void tst_ReceivedNotes::textLines() {
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, lines);
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    peer.send(newCommand());
    // The receiver's buffer is empty again before the text comes: a tab counts its
    // blanks from the start of that buffer.
    QTRY_VERIFY(h.sink.calls.contains(QStringLiteral("footer")));
    peer.send(sent + "end\xA2\r\n\r\n");
    QTRY_VERIFY(h.sink.notes[0].ended);
    QCOMPARE(h.sink.notes[0].lines, lines);
}

void tst_ReceivedNotes::secondNewOnOneConnection() {
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    peer.send(newCommand("Ana") + "line\xA2um\r\n\r\n" + newCommand("Bia") +
              "line\xA2"
              "dois\r\n\r\nend\xA2\r\n\r\n");
    QTRY_VERIFY(h.sink.notes.size() == 2 && h.sink.notes[1].ended);
    // The first note, never ended by its sender, shows with what arrived of it before
    // the second one begins.
    QCOMPARE(h.sink.notes[0].lines, QStringList{"um"});
    QCOMPARE(h.sink.calls.indexOf(QStringLiteral("end")),
             h.sink.calls.lastIndexOf(QStringLiteral("begin")) - 1);
    QCOMPARE(h.sink.notes[1].lines, QStringList{"dois"});
    QCOMPARE(h.sink.notes[1].footer, QStringLiteral("De Bia (127.0.0.1)"));
}

void tst_ReceivedNotes::alarm_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("soundFile"); // "-" for none; $DIR is the program folder
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QList<int>>("days");

    const QDateTime christmas(QDate(2002, 12, 25), QTime(14, 30));
    QTest::newRow("without sound or reminder") << QByteArray("alarm\xA2"
                                                             "25/12/2002 14:30:00\xA2"
                                                             "0\xA2\xA2\r\n")
                                               << christmas << "-" << false << QList<int>{};
    QTest::newRow("date only is midnight")
        << QByteArray("alarm\xA2"
                      "25/12/2002\xA2"
                      "0\xA2\xA2\r\n")
        << QDateTime(QDate(2002, 12, 25), QTime(0, 0)) << "-" << false << QList<int>{};
    QTest::newRow("readable sound file is kept, reminder on weekdays")
        << QByteArray("alarm\xA2"
                      "25/12/2002 14:30:00\xA2"
                      "1\xA2$DIR/mine.wav\xA2"
                      "1\xA2"
                      "2\xA2"
                      "3\xA2"
                      "0\xA2"
                      "1\xA2"
                      "1\xA2"
                      "1\xA2"
                      "1\xA2"
                      "1\xA2"
                      "0\xA2\r\n")
        << christmas << "$DIR/mine.wav" << true << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("missing sound file gives the default")
        << QByteArray("alarm\xA2"
                      "25/12/2002 14:30:00\xA2"
                      "1\xA2"
                      "C:\\Sons\\x.wav\xA2"
                      "0\xA2\r\n")
        << christmas << "$DIR/boing.wav" << false << QList<int>{};
    QTest::newRow("a folder is no sound file")
        << QByteArray("alarm\xA2"
                      "25/12/2002 14:30:00\xA2"
                      "1\xA2$DIR\xA2"
                      "0\xA2\r\n")
        << christmas << "$DIR/boing.wav" << false << QList<int>{};
    QTest::newRow("a device is no sound file")
        << QByteArray("alarm\xA2"
                      "25/12/2002 14:30:00\xA2"
                      "1\xA2/dev/zero\xA2\xA2\r\n")
        << christmas << "$DIR/boing.wav" << false << QList<int>{};
    QTest::newRow("a relative path is no sound file")
        << QByteArray("alarm\xA2"
                      "25/12/2002 14:30:00\xA2"
                      "1\xA2mine.wav\xA2\xA2\r\n")
        << christmas << "$DIR/boing.wav" << false << QList<int>{};
}

void tst_ReceivedNotes::alarm() {
    QFETCH(QByteArray, sent);
    QFETCH(QDateTime, time);
    QFETCH(QString, soundFile);
    QFETCH(bool, remember);
    QFETCH(QList<int>, days);
    ReceiverHarness h;
    const QString dir = QDir(h.programDir.path()).absolutePath();
    for (const char* name : {"mine.wav", "boing.wav"}) {
        QFile file(dir + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    sent.replace("$DIR", dir.toLocal8Bit());
    soundFile.replace(QStringLiteral("$DIR"), dir);

    TestPeer peer;
    connectPeer(h, peer);
    peer.send(newCommand() + sent + "\r\nend\xA2\r\n\r\n");
    QTRY_VERIFY(!h.sink.notes.isEmpty() && h.sink.notes[0].ended);
    const RecordedNote& note = h.sink.notes[0];
    QVERIFY(note.alarm && note.alarmIcon);
    QCOMPARE(note.alarmTime, time);
    QCOMPARE(note.useSound, soundFile != QLatin1String("-"));
    if (note.useSound)
        QCOMPARE(note.soundFile, soundFile);
    QCOMPARE(note.remember, remember);
    if (remember) {
        QCOMPARE(note.rememberNo, 2);
        QCOMPARE(note.rememberUnit, 3);
        for (int day = 0; day < 7; ++day)
            QCOMPARE(note.days.at(size_t(day)), days.contains(day));
    }
}

void tst_ReceivedNotes::commandsWithoutNoteAreIgnored() {
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    peer.send("line\xA2x\r\nalarm\xA2"
              "25/12/2002\xA2"
              "0\xA2\xA2\r\nend\xA2\r\n" +
              newCommand() + "end\xA2\r\n\r\nline\xA2y\r\n\r\nend\xA2\r\n\r\nhelp\r\n");
    QTRY_COMPARE(peer.received, TestPeer::banner() + NoteProtocol::HelpText);
    QCOMPARE(h.sink.notes.size(), 1);
    QVERIFY(h.sink.notes[0].lines.isEmpty());
    QCOMPARE(h.sink.calls.count(QStringLiteral("end")), 1);
}

void tst_ReceivedNotes::faultyCommandDropsTheConnection_data() {
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("lastStep");
    QTest::addColumn<QString>("logged");

    QTest::newRow("new without fields") << QByteArray("new\r\n") << "begin"
                                        << "Field 2 is missing";
    QTest::newRow("colour not a number") << QByteArray("new\xA2me\xA2t\xA2red\xA2"
                                                       "1\xA2"
                                                       "2\xA2"
                                                       "3\xA2"
                                                       "F\xA2"
                                                       "8\xA2"
                                                       "0\xA2"
                                                       "bold\xA2italic\r\n")
                                         << "caption"
                                         << "'red' is not a valid integer value";
    QTest::newRow("new of 11 fields") << QByteArray("new\xA2me\xA2t\xA2"
                                                    "1\xA2"
                                                    "2\xA2"
                                                    "3\xA2"
                                                    "4\xA2"
                                                    "F\xA2"
                                                    "8\xA2"
                                                    "0\xA2"
                                                    "bold\r\n")
                                      << "bold"
                                      << "Field 11 is missing";
    QTest::newRow("new beyond 255 bytes loses its last fields")
        << "new\xA2" + QByteArray(240, 's') +
               "\xA2t\xA2"
               "1\xA2"
               "2\xA2"
               "3\xA2"
               "4\xA2"
               "F\xA2"
               "8\xA2"
               "0\xA2"
               "bold\xA2italic\r\n"
        << "fontName"
        << "Field 8 is missing";
    QTest::newRow("alarm date unreadable") << newCommand() + "alarm\xA2"
                                                             "32/13/2002\xA2"
                                                             "0\xA2\xA2\r\n"
                                           << "alarm"
                                           << "'32/13/2002' is not a valid date and time";
    QTest::newRow("reminder with too few days") << newCommand() + "alarm\xA2"
                                                                  "25/12/2002\xA2"
                                                                  "0\xA2\xA2"
                                                                  "1\xA2"
                                                                  "2\xA2"
                                                                  "3\xA2"
                                                                  "1\xA2"
                                                                  "1\r\n"
                                                << "day"
                                                << "Field 9 is missing";
    QTest::newRow("line without its text") << newCommand() + "line\r\n"
                                           << "footer"
                                           << "Field 1 is missing";
}

// The steps before the faulty field stay done; the connection is dropped, the note shows
// with what arrived of it, and what the peer sent after it has no effect.
void tst_ReceivedNotes::faultyCommandDropsTheConnection() {
    QFETCH(QByteArray, sent);
    QFETCH(QString, lastStep);
    QFETCH(QString, logged);
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    peer.send(sent + "\r\nhelp\r\n");
    QTRY_VERIFY(peer.closed());
    QVERIFY(h.logged(QStringLiteral("Client exception occured: ProtocolError: ") + logged));
    QCOMPARE(peer.received, TestPeer::banner());
    QTRY_VERIFY(h.receiver.DisplayMemo().last().startsWith(QStringLiteral("Client disconnecting")));
    QVERIFY(h.sink.calls.size() >= 2);
    QCOMPARE(h.sink.calls.sliced(h.sink.calls.size() - 2), (QStringList{lastStep, "end"}));
    QCOMPARE(h.sink.notes.size(), 1);
}

// A note the registry has no room for is refused the usual way: the connection closes
// and the rest of the transmission has no effect.
void tst_ReceivedNotes::fullRegistryRefusesTheTransmission() {
    ReceiverHarness h;
    h.sink.capacity = 0;
    QSignalSpy refused(&h.receiver, &NoteReceiver::noteRefused);
    TestPeer peer;
    connectPeer(h, peer);
    peer.send(newCommand() + "alarm\xA2"
                             "25/12/2002\xA2"
                             "0\xA2\xA2\r\n\r\nline\xA2x\r\n\r\n"
                             "end\xA2\r\n\r\nhelp\r\n");
    QTRY_VERIFY(peer.closed());
    QCOMPARE(peer.received, TestPeer::banner());
    QCOMPARE(h.sink.calls, QStringList{"begin"});
    QCOMPARE(refused.size(), 1);
    QVERIFY(h.logged(
        QStringLiteral("Note refused from 127.0.0.1: no room left for received notes. Closing.")));
}

// A peer cannot make a note longer than the notes file can hold: the stored text stays
// within one value, the line that reaches the limit is cut and the rest is dropped.
void tst_ReceivedNotes::textIsBoundedByTheNotesFileLimit() {
    ReceiverHarness h;
    TestPeer peer;
    connectPeer(h, peer);
    QByteArray text;
    for (char c = 'a'; c < 'a' + 10; ++c)
        text += "line\xA2" + QByteArray(250, c) + "\r\n\r\n";
    peer.send(newCommand() + text + "end\xA2\r\n\r\n");
    QTRY_VERIFY(!h.sink.notes.isEmpty() && h.sink.notes[0].ended);
    const RecordedNote& note = h.sink.notes[0];
    QCOMPARE(NoteStore::encodeText(note.text()).size(), IniFile::MaxValueLength);
    QCOMPARE(note.lines.size(), 9);
    QCOMPARE(note.lines.last(), QString(31, QLatin1Char('i')));
    QVERIFY(
        h.logged(QStringLiteral("Note text limit reached from 127.0.0.1. Further lines dropped.")));
}

QTEST_GUILESS_MAIN(tst_ReceivedNotes)
#include "tst_ReceivedNotes.moc"

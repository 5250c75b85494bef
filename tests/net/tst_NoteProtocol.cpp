#include "core/net/BlockList.h"
#include "core/net/NoteProtocol.h"
#include "core/net/OutgoingNote.h"
#include "core/settings/NetworkSettings.h"
#include "core/store/Rotinas.h"
#include "core/store/Windows1252.h"
#include "platform/system/QtLocaleInfo.h"

#include <QTest>

using Commands = QList<QStringList>;

class tst_NoteProtocol : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitFields_data();
    void splitFields();
    void receivedLines_data();
    void receivedLines();
    void builtCommands_data();
    void builtCommands();
    void sentTextComesBack_data();
    void sentTextComesBack();
    void blocked_data();
    void blocked();
};

void tst_NoteProtocol::splitFields_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("delimiters");
    QTest::addColumn<bool>("keepEmpty");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("a,,b, without empties") << "a,,b,"
                                           << "," << false << QStringList{"a", "b"};
    QTest::newRow("a,,b, with empties") << "a,,b,"
                                        << "," << true << QStringList{"a", "", "b", ""};
    QTest::newRow("leading blanks stay") << "pc1, pc2,,pc3"
                                         << "," << false << QStringList{"pc1", " pc2", "pc3"};
    QTest::newRow("only commas") << ",,,"
                                 << "," << false << QStringList{};
    QTest::newRow("a lone delimiter with empties") << ","
                                                   << "," << true << QStringList{"", ""};
    QTest::newRow("empty source") << ""
                                  << "," << true << QStringList{};
    QTest::newRow("empty delimiter set") << "a,b"
                                         << "" << true << QStringList{};
    QTest::newRow("any delimiter of the set") << "a\rb\nc"
                                              << "\r\n"
                                              << false << QStringList{"a", "b", "c"};
    QTest::newRow("only the first 255 characters")
        << QString(250, QLatin1Char('x')) + ",abcdefgh"
        << "," << false << QStringList{QString(250, QLatin1Char('x')), "abcd"};
}

void tst_NoteProtocol::splitFields() {
    QFETCH(QString, source);
    QFETCH(QString, delimiters);
    QFETCH(bool, keepEmpty);
    QFETCH(QStringList, fields);
    QStringList output{"left over"};
    QCOMPARE(Rotinas::SplitFields(source, delimiters, keepEmpty, output), fields.size());
    QCOMPARE(output, fields);
}

void tst_NoteProtocol::receivedLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Commands>("commands");

    QTest::newRow("end with its empty last field")
        << QByteArray("end\xA2\r\n") << Commands{{"end", ""}};
    QTest::newRow("empty fields kept")
        << QByteArray("alarm\xA2x\xA2\xA2\xA2\r\n\r\n") << Commands{{"alarm", "x", "", "", ""}};
    QTest::newRow("cut into commands at LF and CR, empty ones dropped")
        << QByteArray("help\n\nline\xA2"
                      "a\rexit\r\n")
        << Commands{{"help"}, {"line", "a"}, {"exit"}};
    QTest::newRow("every byte is Windows-1252")
        << QByteArray("line\xA2\x80 \xE7\xE3o \x81\r\n")
        << Commands{{"line", QString::fromUtf8("\u20AC \u00E7\u00E3o \u0081")}};
    QTest::newRow("an empty line is no command") << QByteArray("\r\n") << Commands{};
}

void tst_NoteProtocol::receivedLines() {
    QFETCH(QByteArray, line);
    QFETCH(Commands, commands);
    QCOMPARE(NoteProtocol::splitCommands(NoteProtocol::stripLineEnd(line)), commands);
}

static OutgoingNote sampleNote() {
    OutgoingNote note;
    note.caption = QStringLiteral("Reuni\u00E3o");
    note.Color = 8454143;
    note.textWidth = 166;
    note.textHeight = 93;
    note.captionColor = -16777201;
    note.FontName = QStringLiteral("Arial");
    note.FontSize = 10;
    note.FontColor = 255;
    note.FontBold = true;
    note.AlarmDateTime = QDateTime(QDate(2002, 12, 25), QTime(14, 30));
    note.SoundFile = QStringLiteral("C:\\Sons\\ding.wav");
    note.RememberNo = 2;
    note.RememberUnit = 3;
    note.weekdays = {false, true, false, true, false, true, false};
    return note;
}

void tst_NoteProtocol::builtCommands_data() {
    QTest::addColumn<QByteArray>("built");
    QTest::addColumn<QByteArray>("wire");

    const QtLocaleInfo brazil{QLocale(QStringLiteral("pt_BR"))};
    OutgoingNote note = sampleNote();
    QTest::newRow("new") << NoteProtocol::newCommand(note, QStringLiteral("Jos\u00E9"))
                         << QByteArray("new\xA2Jos\xE9\xA2Reuni\xE3o\xA2"
                                       "8454143\xA2"
                                       "166\xA2"
                                       "93\xA2-16777201\xA2"
                                       "Arial\xA2"
                                       "10\xA2"
                                       "255\xA2"
                                       "bold\xA2noitalic\r\n");
    QTest::newRow("alarm without sound or reminder") << NoteProtocol::alarmCommand(note, brazil)
                                                     << QByteArray("alarm\xA2"
                                                                   "25/12/2002 14:30:00\xA2"
                                                                   "0\xA2\xA2\r\n");
    note.UseSound = true;
    note.Remember = true;
    note.AlarmDateTime.setTime(QTime(0, 0));
    QTest::newRow("alarm with sound and reminder, midnight without time")
        << NoteProtocol::alarmCommand(note, brazil)
        << QByteArray("alarm\xA2"
                      "25/12/2002\xA2"
                      "1\xA2"
                      "C:\\Sons\\ding.wav\xA2"
                      "1\xA2"
                      "2\xA2"
                      "3\xA2"
                      "0\xA2"
                      "1\xA2"
                      "0\xA2"
                      "1\xA2"
                      "0\xA2"
                      "1\xA2"
                      "0\xA2\r\n");
    QTest::newRow("line with CR and LF escaped")
        << NoteProtocol::lineCommand(QStringLiteral("a\rb\nc\u20AC"))
        << QByteArray("line\xA2"
                      "a_b^c\x80\r\n");
    QTest::newRow("empty line") << NoteProtocol::lineCommand(QString())
                                << QByteArray("line\xA2\r\n");
    QTest::newRow("end") << NoteProtocol::endCommand() << QByteArray("end\xA2\r\n");
}

void tst_NoteProtocol::builtCommands() {
    QFETCH(QByteArray, built);
    QFETCH(QByteArray, wire);
    QCOMPARE(built, wire);
}

// A text line goes out and comes back as the receiver reads it.
void tst_NoteProtocol::sentTextComesBack_data() {
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("received");

    QTest::newRow("plain") << "Comprar p\u00E3o"
                           << "Comprar p\u00E3o";
    QTest::newRow("lone _ and ^ stay") << "_a^b^_"
                                       << "_a^b^_";
    QTest::newRow("scanned left to right") << "__^^"
                                           << "_\r\n^";
    QTest::newRow("CR LF travels as _^") << "x\r\ny"
                                         << "x\r\ny";
    QTest::newRow("characters outside the code page") << "\u4E2D!"
                                                      << "?!";
}

void tst_NoteProtocol::sentTextComesBack() {
    QFETCH(QString, sent);
    QFETCH(QString, received);
    const Commands commands =
        NoteProtocol::splitCommands(NoteProtocol::stripLineEnd(NoteProtocol::lineCommand(sent)));
    QCOMPARE(commands.size(), 1);
    QCOMPARE(NoteProtocol::decodeText(commands[0].value(1)), received);
}

void tst_NoteProtocol::blocked_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("blocked");

    const QStringList list{"10.0.0.1", "192.168.0.7"};
    QTest::newRow("mode 0") << 0 << list << false;
    QTest::newRow("mode 1 blocks everybody") << 1 << QStringList{} << true;
    QTest::newRow("mode 2, listed") << 2 << list << true;
    QTest::newRow("mode 2, not listed") << 2 << QStringList{"10.0.0.1"} << false;
    QTest::newRow("mode 2, blanks around the entry") << 2 << QStringList{" 192.168.0.7 "} << false;
    QTest::newRow("mode 2, computer name") << 2 << QStringList{"pc-maria", ""} << false;
    QTest::newRow("mode 2, empty list") << 2 << QStringList{} << false;
    QTest::newRow("unknown mode") << 7 << list << false;
}

void tst_NoteProtocol::blocked() {
    QFETCH(int, mode);
    QFETCH(QStringList, list);
    QFETCH(bool, blocked);
    NetworkSettings settings;
    settings.Blocktype = mode;
    settings.BlockList = list;
    QCOMPARE(BlockList::IsBlocked(settings, QStringLiteral("192.168.0.7")), blocked);
}

QTEST_GUILESS_MAIN(tst_NoteProtocol)
#include "tst_NoteProtocol.moc"

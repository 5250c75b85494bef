#include "platform/system/LineAssembler.h"

#include <QTest>

using Chunks = QList<QByteArray>;
using Events = QList<QByteArray>;

// What the assembler reports for a series of pieces: each line as it is taken out,
// "<limit>" where the limit was reported, and the unfinished rest at the end.
static Events feed(LineAssembler& lines, const Chunks& chunks) {
    Events events;
    for (const QByteArray& chunk : chunks) {
        lines.append(chunk);
        for (;;) {
            QByteArray line;
            const LineAssembler::Result result = lines.next(line);
            if (result == LineAssembler::Result::None)
                break;
            events.append(result == LineAssembler::Result::Line ? line : "<limit>");
        }
    }
    events.append("rest:" + lines.takeRemainder());
    return events;
}

class tst_LineAssembler : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void receiverLineMode_data();
    void receiverLineMode();
    void cutMode_data();
    void cutMode();
    void withoutEditingBytesStayAsTheyAre();
};

void tst_LineAssembler::receiverLineMode_data() {
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<Events>("events");

    const QByteArray long81(81, 'x');
    QTest::newRow("two lines in one piece, rest kept")
        << Chunks{"new\r\nline\r\nen"} << Events{"new\r\n", "line\r\n", "rest:en"};
    QTest::newRow("CR LF split between pieces")
        << Chunks{"abc\r", "\ndef\r\n"} << Events{"abc\r\n", "def\r\n", "rest:"};
    QTest::newRow("81-byte line in one piece is accepted")
        << Chunks{long81 + "\r\n"} << Events{long81 + "\r\n", "rest:"};
    QTest::newRow("the same line in two pieces exceeds the limit")
        << Chunks{long81, "yy\r\n"} << Events{"<limit>", "yy\r\n", "rest:"};
    QTest::newRow("80 bytes without a line end are still fine")
        << Chunks{QByteArray(80, 'x'), "\r\n"} << Events{QByteArray(80, 'x') + "\r\n", "rest:"};
    QTest::newRow("lines found first, then the limit on what is left")
        << Chunks{"ok\r\n" + long81} << Events{"ok\r\n", "<limit>", "rest:"};
    QTest::newRow("LF alone ends nothing")
        << Chunks{"new\nline\n", "\r\n"} << Events{"new\nline\n\r\n", "rest:"};
    QTest::newRow("backspace deletes a byte of an earlier piece")
        << Chunks{"ab", "\bc\r\n"} << Events{"ac\r\n", "rest:"};
    QTest::newRow("backspace at the start deletes nothing")
        << Chunks{"\b\bx\r\n"} << Events{"x\r\n", "rest:"};
    QTest::newRow("backspace reaches into a line not yet taken out")
        << Chunks{"ab\r\n\bc\r\n"} << Events{"ab\rc\r\n", "rest:"};
    QTest::newRow("line end written over deleted bytes is found at once")
        << Chunks{"abcd", "\b\b\b\r\nX"} << Events{"a\r\n", "rest:X"};
    QTest::newRow("tab fills up to the next multiple of 8")
        << Chunks{"a\tb\r\n"} << Events{"a       b\r\n", "rest:"};
    QTest::newRow("tab on a multiple of 8 gives 8 blanks")
        << Chunks{"12345678\t|\r\n"} << Events{"12345678        |\r\n", "rest:"};
    QTest::newRow("tab counted from the start of the unconsumed buffer")
        << Chunks{"abc\r\n\tX\r\n"} << Events{"abc\r\n", "   X\r\n", "rest:"};
    QTest::newRow("tab after a consumed line counts from the new start")
        << Chunks{"abc\r\n", "\tX\r\n"} << Events{"abc\r\n", "        X\r\n", "rest:"};
}

void tst_LineAssembler::receiverLineMode() {
    QFETCH(Chunks, chunks);
    QFETCH(Events, events);
    LineAssembler lines({80, true, LineAssembler::Overflow::ReportAndClear});
    QCOMPARE(feed(lines, chunks), events);
}

void tst_LineAssembler::cutMode_data() {
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<Events>("events");

    QTest::newRow("long line cut, rest of it dropped")
        << Chunks{"0123456789ABCDEF", "GH\r\nnext\r\n"}
        << Events{"0123456789\r\n", "next\r\n", "rest:"};
    QTest::newRow("CR LF of the cut line split between pieces")
        << Chunks{"0123456789ABC\r", "\nnext\r\n"} << Events{"0123456789\r\n", "next\r\n", "rest:"};
    QTest::newRow("a CR not followed by LF does not end the dropped part")
        << Chunks{"0123456789ABC\r", "x\r\n"} << Events{"0123456789\r\n", "rest:"};
    QTest::newRow("long line in one piece with its end is not cut")
        << Chunks{"0123456789ABCDEF\r\n"} << Events{"0123456789ABCDEF\r\n", "rest:"};
}

void tst_LineAssembler::cutMode() {
    QFETCH(Chunks, chunks);
    QFETCH(Events, events);
    LineAssembler lines({10, false, LineAssembler::Overflow::CutLine});
    QCOMPARE(feed(lines, chunks), events);
}

void tst_LineAssembler::withoutEditingBytesStayAsTheyAre() {
    LineAssembler lines;
    QCOMPARE(feed(lines, {"a\bb\tc", QByteArray(500, 'z') + "\r\n"}),
             (Events{"a\bb\tc" + QByteArray(500, 'z') + "\r\n", "rest:"}));
}

QTEST_GUILESS_MAIN(tst_LineAssembler)
#include "tst_LineAssembler.moc"

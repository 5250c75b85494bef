#include "core/notes/PrintLayout.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<PrintLayout::Run>)

namespace {

// Two fonts with fixed sizes. Font 0: lines 10 high, characters 5 wide, except 'M'
// (10) and 'W' (1000, wider than any page here). Font 1: lines 20 high, characters 8
// wide, an average character width of 6.
class FakeMetrics final : public PrintFontMetrics {
public:
    double textHeight(int font) const override { return font == 0 ? 10 : 20; }
    double textWidth(int font, QStringView text) const override {
        double width = 0;
        for (QChar c : text) {
            if (font != 0)
                width += 8;
            else if (c == QLatin1Char('W'))
                width += 1000;
            else if (c == QLatin1Char('M'))
                width += 10;
            else
                width += 5;
        }
        return width;
    }
    double averageCharWidth(int font) const override { return font == 0 ? 5 : 6; }
};

// Pages as "[x,y:text; ...][...]"; pieces in font 1 end in "#1".
QString describe(const QList<PrintLayout::Page>& pages) {
    QString out;
    for (const PrintLayout::Page& page : pages) {
        QStringList pieces;
        for (const PrintLayout::Piece& piece : page.pieces) {
            QString item = QStringLiteral("%1,%2:%3")
                               .arg(QString::number(piece.x), QString::number(piece.y), piece.text);
            if (piece.font != 0)
                item += QStringLiteral("#%1").arg(piece.font);
            pieces.append(item);
        }
        out += QLatin1Char('[') + pieces.join(QStringLiteral("; ")) + QLatin1Char(']');
    }
    return out;
}

QList<PrintLayout::Run> inFont0(const QString& text) {
    return {{text, 0}};
}

// "1\n2\n...\nn" in font 0.
QString numberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QString::number(i));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class tst_PrintLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layout_data();
    void layout();
    void longTextKeepsEveryCharacter();
};

void tst_PrintLayout::layout_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QList<PrintLayout::Run>>("runs");
    QTest::addColumn<QString>("expected");

    // Lines and their advance.
    QTest::newRow("lines advance by the text height + 2")
        << 50.0 << 100.0 << inFont0("ab\ncd") << "[0,0:ab; 0,12:cd]";
    QTest::newRow("CR LF, lone CR and lone LF each end one line")
        << 50.0 << 100.0 << inFont0("a\r\nb\rc\nd") << "[0,0:a; 0,12:b; 0,24:c; 0,36:d]";
    QTest::newRow("CR CR and LF CR are two breaks each")
        << 50.0 << 100.0 << inFont0("a\r\rb\n\rc") << "[0,0:a; 0,24:b; 0,48:c]";
    QTest::newRow("an empty line advances like text in its font")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"a\n", 0}, {"\nb", 1}} << "[0,0:a; 0,34:b#1]";
    QTest::newRow("each font advances by its own height")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"ab\n", 0}, {"cd\nef", 1}}
        << "[0,0:ab; 0,12:cd#1; 0,34:ef#1]";
    QTest::newRow("a line of two fonts advances by the tallest")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"ab", 0}, {"c\n", 1}, {"e\nf", 0}}
        << "[0,0:ab; 10,0:c#1; 0,22:e; 0,34:f]";

    // Wrapping.
    QTest::newRow("a line that fits exactly stays whole")
        << 50.0 << 100.0 << inFont0("abcdefghij") << "[0,0:abcdefghij]";
    QTest::newRow("a long line wraps at the last character that fits")
        << 50.0 << 100.0 << inFont0("abcdefghijklmnopqrstuvwxy")
        << "[0,0:abcdefghij; 0,12:klmnopqrst; 0,24:uvwxy]";
    QTest::newRow("wrapping measures each character")
        << 50.0 << 100.0 << inFont0("MMMMaab") << "[0,0:MMMMaa; 0,12:b]";
    QTest::newRow("blanks are characters like any other")
        << 50.0 << 100.0 << inFont0("four five six") << "[0,0:four five ; 0,12:six]";
    QTest::newRow("text after text on the line wraps in the space left")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"abcdef", 0}, {"ghijklm", 0}}
        << "[0,0:abcdef; 30,0:ghij; 0,12:klm]";
    QTest::newRow("a surrogate pair is never split")
        << 50.0 << 100.0 << inFont0(QStringLiteral("abcdefghi\U0001F600"))
        << QStringLiteral("[0,0:abcdefghi; 0,12:\U0001F600]");

    // Tabs.
    QTest::newRow("a tab jumps to the next multiple of eight average widths")
        << 200.0 << 100.0 << inFont0("a\tb") << "[0,0:a; 40,0:b]";
    QTest::newRow("a tab at a stop jumps to the next stop")
        << 200.0 << 100.0 << inFont0("abcdefgh\tb\t\tc") << "[0,0:abcdefgh; 80,0:b; 160,0:c]";
    QTest::newRow("a tab at the start of a line")
        << 200.0 << 100.0 << inFont0("\tb\n\t\tc") << "[40,0:b; 80,12:c]";
    QTest::newRow("tab stops follow the current font")
        << 200.0 << 100.0 << QList<PrintLayout::Run>{{"a\tb", 1}} << "[0,0:a#1; 48,0:b#1]";
    QTest::newRow("a tab past the right edge starts a new line")
        << 50.0 << 100.0 << inFont0("abcdefgh\tb") << "[0,0:abcdefgh; 0,12:b]";
    QTest::newRow("the break of a tab and a line break are two breaks")
        << 50.0 << 100.0 << inFont0("abcdefgh\t\nb") << "[0,0:abcdefgh; 0,24:b]";

    // Pages.
    QTest::newRow("a form feed starts a new page")
        << 50.0 << 100.0 << inFont0("a\fb") << "[0,0:a][0,0:b]";
    QTest::newRow("a form feed in a line moves the rest to the next page")
        << 50.0 << 100.0 << inFont0("ab\fcd\ne") << "[0,0:ab][0,0:cd; 0,12:e]";
    QTest::newRow("two form feeds leave an empty page")
        << 50.0 << 100.0 << inFont0("a\f\fb") << "[0,0:a][][0,0:b]";
    QTest::newRow("a new page when less than twice the line height is left")
        << 50.0 << 100.0 << inFont0(numberedLines(9))
        << "[0,0:1; 0,12:2; 0,24:3; 0,36:4; 0,48:5; 0,60:6; 0,72:7][0,0:8; 0,12:9]";
    QTest::newRow("the page break rule with a taller font")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"1\n2\n3\n4", 1}}
        << "[0,0:1#1; 0,22:2#1; 0,44:3#1][0,0:4#1]";
    QTest::newRow("the page break rule uses the line just ended")
        << 50.0 << 100.0 << QList<PrintLayout::Run>{{"1\n2\n3\n4\n5\n", 0}, {"x\ny", 1}}
        << "[0,0:1; 0,12:2; 0,24:3; 0,36:4; 0,48:5; 0,60:x#1][0,0:y#1]";
    QTest::newRow("wrapped lines count for the page break")
        << 10.0 << 45.0 << inFont0("abcdef") << "[0,0:ab; 0,12:cd][0,0:ef]";
    QTest::newRow("no empty page after a final line break")
        << 50.0 << 100.0 << inFont0(numberedLines(7) + "\n")
        << "[0,0:1; 0,12:2; 0,24:3; 0,36:4; 0,48:5; 0,60:6; 0,72:7]";
    QTest::newRow("no empty page after a final form feed")
        << 50.0 << 100.0 << inFont0("a\f") << "[0,0:a]";

    // Degenerate input.
    QTest::newRow("a character wider than the page still gets a line of its own")
        << 50.0 << 100.0 << inFont0("aWbW") << "[0,0:a; 0,12:W; 0,24:b; 0,36:W]";
    QTest::newRow("a page narrower than any character: one character a line")
        << 1.0 << 100.0 << inFont0("abc") << "[0,0:a; 0,12:b; 0,24:c]";
    QTest::newRow("a page lower than a line: one line a page")
        << 50.0 << 5.0 << inFont0("a\nb") << "[0,0:a][0,0:b]";
    QTest::newRow("zero width") << 0.0 << 100.0 << inFont0("a") << "";
    QTest::newRow("negative height") << 50.0 << -1.0 << inFont0("a") << "";
    QTest::newRow("no text") << 50.0 << 100.0 << QList<PrintLayout::Run>{} << "";
    QTest::newRow("only line breaks") << 50.0 << 100.0 << inFont0("\n\r\n") << "";
}

void tst_PrintLayout::layout() {
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QList<PrintLayout::Run>, runs);
    QFETCH(QString, expected);
    const FakeMetrics metrics;
    QCOMPARE(describe(PrintLayout::layout(width, height, runs, metrics)), expected);
}

// A long text with tabs, breaks and wide characters on a small page: every character
// comes out once, in order, and every piece lies inside the page or starts a line.
void tst_PrintLayout::longTextKeepsEveryCharacter() {
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("word%1 MW").arg(i) + (i % 7 == 0 ? "\t" : "") +
                (i % 11 == 0 ? "\r\n" : "");
    const FakeMetrics metrics;
    const double width = 60;
    const QList<PrintLayout::Page> pages = PrintLayout::layout(width, 80, {{text, 0}}, metrics);
    QVERIFY(pages.size() > 10);
    QString printed;
    for (const PrintLayout::Page& page : pages) {
        QVERIFY(!page.pieces.isEmpty());
        for (const PrintLayout::Piece& piece : page.pieces) {
            QVERIFY(piece.y >= 0 && piece.y < 80);
            const bool inside = piece.x + metrics.textWidth(0, piece.text) <= width;
            QVERIFY2(inside || piece.x == 0, qPrintable(piece.text));
            printed += piece.text;
        }
    }
    text.remove(QLatin1Char('\t')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    QCOMPARE(printed, text);
}

QTEST_APPLESS_MAIN(tst_PrintLayout)
#include "tst_PrintLayout.moc"

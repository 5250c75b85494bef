#include "gui/note/NotePrinter.h"

#include <QApplication>
#include <QFontInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString Rule(80, QLatin1Char('-'));

// Runs one of the PDF tools on a file and returns what it wrote, or nothing when the
// tool is not installed.
std::optional<QString> runTool(const QString& tool, const QStringList& arguments) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

#define REQUIRE_TOOL(result, tool)                                                                 \
    if (!(result))                                                                                 \
        QSKIP(tool " is not installed (package poppler-utils; ./test.sh installs it)");

// Prints a note into a PDF file of the directory and returns the file's path.
QString printToPdf(const QTemporaryDir& dir, const QString& caption, const QString& text,
                   const QFont& font, bool* printed = nullptr) {
    const QString path = dir.filePath(QStringLiteral("note.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    const bool ok = NotePrinter::print(printer, caption, text, font);
    if (printed)
        *printed = ok;
    return path;
}

// The text lines of a PDF with their layout, without the trailing blanks.
QStringList pdfLines(const QString& pdfText) {
    QStringList lines;
    for (const QString& line : pdfText.split(QLatin1Char('\n')))
        lines.append(line.trimmed());
    return lines;
}

QFont noteFont() {
    return QFont(QStringLiteral("DejaVu Sans Mono"), 10);
}

} // namespace

class tst_NotePrinter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printsTheNote_data();
    void printsTheNote();
    void longLineWrapsWithoutLoss();
    void longNoteFillsSeveralPages();
    void leavesAMarginOnEverySide();
    void jobTitleIsInThePdf();
    void noteTextUsesTheNoteFont();
    void failureIsOnlyReturned();
};

void tst_NotePrinter::printsTheNote_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF lines") << "Compras"
                                 << "leite\r\npão\r\ncafé"
                                 << QStringList{"Compras", Rule, "leite", "pão", "café"};
    QTest::newRow("lone LF and lone CR")
        << "25/12/2002 14:30:00"
        << "um\ndois\rtrês" << QStringList{"25/12/2002 14:30:00", Rule, "um", "dois", "três"};
    QTest::newRow("empty caption and text") << ""
                                            << "" << QStringList{Rule};
    QTest::newRow("markup stays text")
        << "<b>Nota</b>"
        << "<i>x</i> & y" << QStringList{"<b>Nota</b>", Rule, "<i>x</i> & y"};
}

// The caption, the rule of hyphens and the note's lines come out in this order, each
// on a line of its own.
void tst_NotePrinter::printsTheNote() {
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    bool printed = false;
    const QString pdf = printToPdf(dir, caption, text, noteFont(), &printed);
    QVERIFY(printed);
    const std::optional<QString> out = runTool("pdftotext", {"-layout", pdf, "-"});
    REQUIRE_TOOL(out, "pdftotext");
    QStringList found = pdfLines(*out);
    found.removeAll(QString());
    found.removeAll(QStringLiteral("\f"));
    QCOMPARE(found, lines);
}

void tst_NotePrinter::longLineWrapsWithoutLoss() {
    QString line;
    for (int i = 0; i < 40; ++i)
        line += QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
    QTemporaryDir dir;
    const QString pdf = printToPdf(dir, QStringLiteral("Longa"), line, noteFont());
    const std::optional<QString> out = runTool("pdftotext", {"-layout", pdf, "-"});
    REQUIRE_TOOL(out, "pdftotext");
    QStringList found = pdfLines(*out);
    found.removeAll(QString());
    QCOMPARE(found.mid(0, 2), (QStringList{"Longa", Rule}));
    const QStringList wrapped = found.mid(2);
    QVERIFY2(wrapped.size() >= 3, qPrintable(wrapped.join(QLatin1Char('|'))));
    QCOMPARE(wrapped.join(QString()), line);
}

void tst_NotePrinter::longNoteFillsSeveralPages() {
    QStringList lines;
    for (int i = 1; i <= 250; ++i)
        lines.append(QStringLiteral("Linha %1").arg(i));
    QTemporaryDir dir;
    const QString pdf =
        printToPdf(dir, QStringLiteral("Lista"), lines.join(QStringLiteral("\r\n")), noteFont());
    const std::optional<QString> out = runTool("pdftotext", {"-layout", pdf, "-"});
    REQUIRE_TOOL(out, "pdftotext");
    const QStringList pages = out->split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    QStringList found;
    for (const QString& page : pages) {
        QStringList onPage = pdfLines(page);
        onPage.removeAll(QString());
        QVERIFY(!onPage.isEmpty());
        found += onPage;
    }
    QCOMPARE(found, QStringList({"Lista", Rule}) + lines);
    // The caption and the rule head the first page only.
    QVERIFY(!pages.at(1).contains(Rule));
}

// Nothing comes nearer to the paper's edges than 10 mm, where printers cannot print.
void tst_NotePrinter::leavesAMarginOnEverySide() {
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines.append(QStringLiteral("Linha %1 ").arg(i).repeated(20));
    QTemporaryDir dir;
    const QString pdf =
        printToPdf(dir, QStringLiteral("Margens"), lines.join(QStringLiteral("\r\n")), noteFont());
    const std::optional<QString> out = runTool("pdftotext", {"-bbox", pdf, "-"});
    REQUIRE_TOOL(out, "pdftotext");
    const QRegularExpression page(
        QString::fromLatin1(R"re(<page width="([\d.]+)" height="([\d.]+)")re"));
    const QRegularExpressionMatch size = page.match(*out);
    QVERIFY(size.hasMatch());
    const double margin = 10.0 / 25.4 * 72.0 - 0.5; // points
    const QRectF printable = QRectF(0, 0, size.captured(1).toDouble(), size.captured(2).toDouble())
                                 .adjusted(margin, margin, -margin, -margin);
    const QRegularExpression word(QString::fromLatin1(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re"));
    int words = 0;
    for (const QRegularExpressionMatch& match : word.globalMatch(*out)) {
        const QRectF box(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                         QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
        QVERIFY2(printable.contains(box), qPrintable(match.captured(5)));
        ++words;
    }
    QVERIFY(words > 80);
}

void tst_NotePrinter::jobTitleIsInThePdf() {
    QTemporaryDir dir;
    const QString pdf = printToPdf(dir, QStringLiteral("Reunião"), QStringLiteral("x"), noteFont());
    const std::optional<QString> info = runTool("pdfinfo", {pdf});
    REQUIRE_TOOL(info, "pdfinfo");
    QString title;
    for (const QString& line : info->split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Title:")))
            title = line.mid(6).trimmed();
    }
    if (title.isEmpty())
        QSKIP("pdfinfo shows no title");
    QCOMPARE(title, QStringLiteral("Tacknote  - Reunião"));
}

void tst_NotePrinter::noteTextUsesTheNoteFont() {
    const QFont font = noteFont();
    if (!QFontInfo(font).family().contains(QLatin1String("Mono")))
        QSKIP("DejaVu Sans Mono is not installed");
    QTemporaryDir dir;
    const QString pdf = printToPdf(dir, QStringLiteral("Fonte"), QStringLiteral("abc"), font);
    const std::optional<QString> fonts = runTool("pdffonts", {pdf});
    REQUIRE_TOOL(fonts, "pdffonts");
    const QStringList lines = fonts->split(QLatin1Char('\n')).mid(2);
    QStringList names;
    for (const QString& line : lines) {
        if (!line.isEmpty())
            names.append(line.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('+'), -1));
    }
    // The caption lines use the printer's default font, the text the note's font.
    QVERIFY2(names.size() == 2, qPrintable(names.join(QLatin1Char(' '))));
    QVERIFY2(names.contains(QStringLiteral("DejaVuSansMono")),
             qPrintable(names.join(QLatin1Char(' '))));
}

void tst_NotePrinter::failureIsOnlyReturned() {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/folder/note.pdf")));
    QVERIFY(!NotePrinter::print(printer, QStringLiteral("Nota"), QStringLiteral("x"), noteFont()));
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(tst_NotePrinter)
#include "tst_NotePrinter.moc"

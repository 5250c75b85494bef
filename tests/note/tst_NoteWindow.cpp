// The note window: its layout, colours, text, mouse and what it shows of itself.

#include "core/notes/DarkenedCaptionColor.h"
#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"
#include "gui/note/NoteHitTest.h"
#include "gui/note/NoteMover.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/note/WinColor.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/note/NoteUnderTest.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <memory>

using TestNote = NoteUnderTest;

class tst_NoteWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
    void layout_data();
    void layout();
    void darkenedCaptionColor_data();
    void darkenedCaptionColor();
    void windowsColours();
    void captionTooltip_data();
    void captionTooltip();
    void peerTextShowsAsPlainText();
    void noteTextLineBreaks();
    void typedLineBreaks_data();
    void typedLineBreaks();
    void textStaysWithinTheFileLimit_data();
    void textStaysWithinTheFileLimit();
    void displayedLinesFollowTheWrapping();
    void topmostKeepsGeometryAndStaysOffTaskbar();
    void captionPressMoves_data();
    void captionPressMoves();
    void hoverCursorFollowsZone();
    void edgeDragResizes_data();
    void edgeDragResizes();
    void mapReports_data();
    void mapReports();
    void windowTitleIsTheCaption();
    void textShowsInTheNotesFont_data();
    void textShowsInTheNotesFont();
    void longCaptionEndsInEllipsis();
    void hintsShowOnInactiveNote();
    void loadedNoteShowsOnceAsItIs();
    void seedNoteTextFits_data();
    void seedNoteTextFits();
    void recordHoldsWhatTheWindowShows();
};

void tst_NoteWindow::hitTest_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("zone");

    using Z = NoteHitTest;
    // The smallest note: corners x < 12 or x > 68 with y < 12 or y > 28.
    QTest::newRow("min top-left") << 80 << 40 << 11 << 11 << int(Z::TopLeft);
    QTest::newRow("min x=12 y=11") << 80 << 40 << 12 << 11 << int(Z::Caption);
    QTest::newRow("min x=12 y=1") << 80 << 40 << 12 << 1 << int(Z::Caption);
    QTest::newRow("min top edge") << 80 << 40 << 13 << 1 << int(Z::Top);
    QTest::newRow("min top edge ends at 2") << 80 << 40 << 40 << 2 << int(Z::Caption);
    QTest::newRow("min top-right") << 80 << 40 << 69 << 11 << int(Z::TopRight);
    QTest::newRow("min x=68 is no corner") << 80 << 40 << 68 << 5 << int(Z::Caption);
    QTest::newRow("min bottom-right") << 80 << 40 << 69 << 29 << int(Z::BottomRight);
    QTest::newRow("min y=28 is no corner") << 80 << 40 << 75 << 28 << int(Z::Caption);
    QTest::newRow("min bottom-left") << 80 << 40 << 0 << 39 << int(Z::BottomLeft);
    QTest::newRow("min bottom edge") << 80 << 40 << 40 << 35 << int(Z::Bottom);
    QTest::newRow("min bottom edge starts at 35") << 80 << 40 << 40 << 34 << int(Z::Caption);
    QTest::newRow("min right edge") << 80 << 40 << 75 << 20 << int(Z::Right);
    QTest::newRow("min right edge starts at 75") << 80 << 40 << 74 << 20 << int(Z::Caption);
    QTest::newRow("min left edge") << 80 << 40 << 5 << 13 << int(Z::Left);
    QTest::newRow("min left edge y=12") << 80 << 40 << 5 << 12 << int(Z::Caption);
    QTest::newRow("min left edge y=28") << 80 << 40 << 5 << 28 << int(Z::Caption);
    QTest::newRow("min middle") << 80 << 40 << 40 << 20 << int(Z::Caption);
    // A large note: every point exactly 12 pixels from a border drags.
    QTest::newRow("big x=12 y=12") << 400 << 300 << 12 << 12 << int(Z::Caption);
    QTest::newRow("big x=W-12 y=H-12") << 400 << 300 << 388 << 288 << int(Z::Caption);
    QTest::newRow("big x=W-11 y=H-11") << 400 << 300 << 389 << 289 << int(Z::BottomRight);
    QTest::newRow("big x=W-12 y=0") << 400 << 300 << 388 << 0 << int(Z::Caption);
    QTest::newRow("big x=12 y=H-1") << 400 << 300 << 12 << 299 << int(Z::Caption);
    QTest::newRow("big left") << 400 << 300 << 0 << 150 << int(Z::Left);
    QTest::newRow("big right") << 400 << 300 << 399 << 150 << int(Z::Right);
    QTest::newRow("big bottom") << 400 << 300 << 200 << 299 << int(Z::Bottom);
    QTest::newRow("big top") << 400 << 300 << 200 << 0 << int(Z::Top);
    QTest::newRow("big inside") << 400 << 300 << 6 << 150 << int(Z::Caption);
}

void tst_NoteWindow::hitTest() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, zone);
    QCOMPARE(int(NoteHitTest::zoneAt(x, y, width, height)), zone);
}

void tst_NoteWindow::layout_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("footer");
    QTest::addColumn<QRect>("memo");
    QTest::addColumn<QRect>("footerRect");

    QTest::newRow("design size") << QSize(170, 120) << false << QRect(0, 16, 165, 102) << QRect();
    QTest::newRow("design size, footer")
        << QSize(170, 120) << true << QRect(0, 16, 165, 90) << QRect(0, 106, 168, 12);
    QTest::newRow("minimum, footer")
        << QSize(80, 40) << true << QRect(0, 16, 75, 10) << QRect(0, 26, 78, 12);
    QTest::newRow("large") << QSize(640, 480) << false << QRect(0, 16, 635, 462) << QRect();
}

void tst_NoteWindow::layout() {
    QFETCH(QSize, size);
    QFETCH(bool, footer);
    QFETCH(QRect, memo);
    QFETCH(QRect, footerRect);

    TestNote note;
    if (footer)
        note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->resize(size);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    QCOMPARE(note.memPostit()->geometry(), memo);
    QCOMPARE(note.window->footerVisible(), footer);
    if (footer) {
        QCOMPARE(note.pnlRodape()->geometry(), footerRect);
        // The text ends exactly where the footer begins.
        QCOMPARE(memo.bottom() + 1, footerRect.top());
    }
    QCOMPARE(note.part<QWidget>("pnlCaption")->geometry(), QRect(0, 0, size.width(), 13));
    QCOMPARE(note.part<QPushButton>("cmdApagarPostit")->geometry(),
             QRect(size.width() - 13, 0, 13, 13));
    QCOMPARE(note.part<QPushButton>("cmdEsconder")->geometry(),
             QRect(size.width() - 26, 0, 13, 13));
    QCOMPARE(note.lblCaption()->x(), 16);
}

void tst_NoteWindow::darkenedCaptionColor_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("expected");
    QTest::newRow("pale yellow") << 0x0080FFFF << 12 << 0x005CDBDB;
    QTest::newRow("design yellow") << 0x007BFFFF << 12 << 0x0057DBDB;
    QTest::newRow("floored at zero") << 0x00123456 << 12 << 0x00001032;
    QTest::newRow("zero components stay zero") << 0x000000FF << 12 << 0x000000DB;
    QTest::newRow("0x14 becomes zero") << 0x00141414 << 12 << 0x00000000;
    QTest::newRow("step 1") << 0x00FFFFFF << 1 << 0x00FCFCFC;
    QTest::newRow("step 25") << 0x00FFFFFF << 25 << 0x00B4B4B4;
    QTest::newRow("huge step from a damaged file") << 0x00FFFFFF << 2000000000 << 0;
}

void tst_NoteWindow::darkenedCaptionColor() {
    QFETCH(int, color);
    QFETCH(int, step);
    QFETCH(int, expected);
    QCOMPARE(DarkenedCaptionColor(color, step), expected);
}

void tst_NoteWindow::windowsColours() {
    // Red sits in the lowest byte.
    QCOMPARE(WinColor::toQColor(0x00123456), QColor(0x56, 0x34, 0x12));
    QCOMPARE(WinColor::fromQColor(QColor(0x56, 0x34, 0x12)), 0x00123456);
    QCOMPARE(WinColor::toQColor(int(0xFF0000FFu)), QColor(0xFF, 0, 0));

    TestNote note;
    note.window->setColor(0x00C0FFEE);
    note.window->setCaptionColor(DarkenedCaptionColor(0x00C0FFEE, 5));
    QCOMPARE(note.window->Color(), 0x00C0FFEE);
    QCOMPARE(note.memPostit()->palette().color(QPalette::Base), QColor(0xEE, 0xFF, 0xC0));
    QCOMPARE(note.window->captionColor(), 0x00B1F0DF);
}

void tst_NoteWindow::captionTooltip_data() {
    QTest::addColumn<int>("spare");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("label exactly width - 40") << 0 << false;
    QTest::newRow("label one pixel wider") << -1 << true;
    QTest::newRow("short label") << 30 << false;
}

void tst_NoteWindow::captionTooltip() {
    QFETCH(int, spare);
    QFETCH(bool, tooltip);

    TestNote note;
    const QString title = QStringLiteral("Reunião <b>anual</b> & orçamento de 2027");
    note.window->setCaption(title);
    // The caption label sized to the whole caption.
    QLabel whole(title);
    whole.setTextFormat(Qt::PlainText);
    whole.setFont(note.lblCaption()->font());
    const int labelWidth = whole.sizeHint().width();
    QVERIFY(labelWidth + 40 + spare >= 80);
    note.window->resize(labelWidth + 40 + spare, 120);

    note.window->lblCaptionMouseEnter();
    if (!tooltip) {
        QVERIFY(note.window->toolTip().isEmpty());
        return;
    }
    // The tooltip shows the caption as typed, markup characters included.
    QTextDocument shown;
    shown.setHtml(note.window->toolTip());
    QCOMPARE(shown.toPlainText(), title);
}

void tst_NoteWindow::peerTextShowsAsPlainText() {
    TestNote note;
    note.window->setCaption(QStringLiteral("<b>x</b>"));
    note.window->setFooter(QStringLiteral("De <i>Ana</i> (10.0.0.7)"));
    note.window->setNote(QStringLiteral("<h1>oi</h1>"));
    QCOMPARE(note.lblCaption()->textFormat(), Qt::PlainText);
    QCOMPARE(note.part<QLabel>("lblRodape")->textFormat(), Qt::PlainText);
    QCOMPARE(note.lblCaption()->text(), QStringLiteral("<b>x</b>"));
    QCOMPARE(note.window->note(), QStringLiteral("<h1>oi</h1>"));
    QVERIFY(note.part<QLabel>("lblRodape")->font().italic());
}

void tst_NoteWindow::noteTextLineBreaks() {
    TestNote note;
    note.window->setNote(QStringLiteral("um\r\ndois\rtrês\nquatro\r\n\r\n"));
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois\r\ntrês\r\nquatro\r\n\r\n"));
    note.window->setNote(QStringLiteral("a\u00A0b"));
    QCOMPARE(note.window->note(), QStringLiteral("a\u00A0b"));
}

void tst_NoteWindow::typedLineBreaks_data() {
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Enter") << int(Qt::NoModifier);
    QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier);
}

void tst_NoteWindow::typedLineBreaks() {
    QFETCH(int, modifiers);
    TestNote note;
    note.window->show();
    QTest::keyClicks(note.memPostit(), QStringLiteral("um"));
    QTest::keyClick(note.memPostit(), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
    QTest::keyClicks(note.memPostit(), QStringLiteral("dois"));
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois"));
    // Separators that other programs put into pasted text are line breaks as well.
    QApplication::clipboard()->setText(QString::fromUtf8("\u2028tr\u00eas\u2029quatro"));
    note.memPostit()->paste();
    QCOMPARE(note.window->note(), QStringLiteral("um\r\ndois\r\ntrês\r\nquatro"));
    QCOMPARE(note.window->displayedLines().size(), 4);
}

void tst_NoteWindow::textStaysWithinTheFileLimit_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<int>("storedAfter");
    const QString nearlyFull(2040, QLatin1Char('a'));
    QTest::newRow("typing") << nearlyFull << "type" << QString(20, QLatin1Char('b')) << 2047;
    QTest::newRow("pasting") << QString() << "paste" << QString(5000, QLatin1Char('c')) << 2047;
    // A line break takes two characters in the file and is not split.
    QTest::newRow("pasted lines") << QString() << "paste" << QString("ab\n").repeated(700) << 2046;
    QTest::newRow("Enter at the limit")
        << QString(2046, QLatin1Char('a')) << "enter" << QString() << 2046;
    QTest::newRow("replacing a selection")
        << QString(2047, QLatin1Char('a')) << "select all and paste" << QStringLiteral("xyz") << 3;
}

void tst_NoteWindow::textStaysWithinTheFileLimit() {
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(QString, incoming);
    QFETCH(int, storedAfter);
    TestNote note;
    note.window->show();
    note.window->setNote(before);
    note.memPostit()->moveCursor(QTextCursor::End);
    if (how == QLatin1String("type")) {
        QTest::keyClicks(note.memPostit(), incoming);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(note.memPostit(), Qt::Key_Return);
    } else {
        if (how.startsWith(QLatin1String("select")))
            note.memPostit()->selectAll();
        QApplication::clipboard()->setText(incoming);
        note.memPostit()->paste();
    }
    const QString stored = NoteStore::encodeText(note.window->note());
    QCOMPARE(stored.size(), storedAfter);
    // What the file keeps is exactly what the note shows.
    QCOMPARE(NoteStore::decodeText(IniFile::cleanValue(stored)),
             note.window->note().trimmed().isEmpty() ? note.window->note()
                                                     : NoteStore::decodeText(stored));
}

void tst_NoteWindow::displayedLinesFollowTheWrapping() {
    TestNote note;
    note.window->setBounds(10, 10, 170, 120);
    note.window->show();
    note.window->setNote(QStringLiteral("curta\r\n") + QString(200, QLatin1Char('x')) +
                         QStringLiteral("\r\n"));
    const QStringList lines = note.window->displayedLines();
    QVERIFY(lines.size() > 2); // the long paragraph wraps
    QCOMPARE(lines.first(), QStringLiteral("curta"));
    QCOMPARE(lines.mid(1).join(QString()), QString(200, QLatin1Char('x')));
    note.window->setNote(QString());
    QVERIFY(note.window->displayedLines().isEmpty());
}

void tst_NoteWindow::topmostKeepsGeometryAndStaysOffTaskbar() {
    TestNote note;
    note.window->setBounds(150, 140, 230, 160);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    const QRect before = note.window->bounds();
    QCOMPARE(note.hints.requests, QStringList{QStringLiteral("before mapping")});

    // The window shown again after the change is kept out of the task bar once more,
    // when it is on screen, as a native window the toolkit may have replaced.
    note.window->popPrincipal->mnuOnTop->trigger();
    QTRY_COMPARE(note.hints.requests.last(), QStringLiteral("on screen on top"));
    QVERIFY(note.window->topmost());
    QVERIFY(note.window->popPrincipal->mnuOnTop->isChecked());
    QVERIFY(note.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(note.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(note.window->isVisible());
    QCOMPARE(note.window->bounds(), before);

    note.hints.requests.clear();
    note.window->popPrincipal->mnuOnTop->trigger();
    QTRY_COMPARE(note.hints.requests.last(), QStringLiteral("on screen"));
    QVERIFY(!note.window->topmost());
    QVERIFY(!note.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(note.window->bounds(), before);

    // A hidden note stays hidden.
    note.window->hide();
    note.window->setTopmost(true);
    QVERIFY(note.window->isHidden());
    QCOMPARE(note.window->bounds(), before);
    // ... and, shown later, is kept out of the task bar once it is on screen.
    note.hints.requests.clear();
    note.window->show();
    QTRY_COMPARE(note.hints.requests, QStringList({QStringLiteral("before mapping on top"),
                                                   QStringLiteral("on screen on top")}));
}

void tst_NoteWindow::captionPressMoves_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("moves");
    for (const char* part : {"pnlCaption", "lblCaption", "pnlRodape", "lblRodape"}) {
        QTest::newRow(part) << QString::fromLatin1(part) << Qt::LeftButton << true;
        QTest::addRow("%s, right button", part)
            << QString::fromLatin1(part) << Qt::RightButton << false;
    }
}

void tst_NoteWindow::captionPressMoves() {
    QFETCH(QString, part);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, moves);

    TestNote note;
    note.window->setCaption(QStringLiteral("Compras"));
    note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->setBounds(200, 200, 170, 120);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    note.window->popPrincipal->setAttribute(Qt::WA_DontShowOnScreen);

    QWidget* widget = note.part<QWidget>(qPrintable(part));
    QVERIFY(widget);
    const QPoint start(4, 3);
    QTest::mousePress(widget, button, {}, start);
    QTest::mouseMove(widget, start + QPoint(30, 20));
    QTest::mouseRelease(widget, button, {}, start + QPoint(30, 20));
    note.window->popPrincipal->hide();

    QCOMPARE(note.window->pos(), moves ? QPoint(230, 220) : QPoint(200, 200));
    QCOMPARE(note.window->size(), QSize(170, 120));
}

void tst_NoteWindow::hoverCursorFollowsZone() {
    TestNote note;
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    // The 5-pixel strip along the right edge is the window's own surface.
    QTest::mouseMove(note.window.get(), QPoint(168, 60));
    QCOMPARE(note.window->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(note.window.get(), QPoint(168, 119));
    QCOMPARE(note.window->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(note.window.get(), QPoint(60, 14));
    QCOMPARE(note.window->cursor().shape(), Qt::ArrowCursor);
}

void tst_NoteWindow::edgeDragResizes_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    // The note is at (100, 100), 170 x 120; the right strip and the bottom strip are
    // the window's own surface.
    QTest::newRow("right edge") << QPoint(167, 60) << QPoint(30, 9) << QRect(100, 100, 200, 120);
    QTest::newRow("bottom-right corner")
        << QPoint(168, 119) << QPoint(25, 35) << QRect(100, 100, 195, 155);
    QTest::newRow("bottom edge") << QPoint(60, 119) << QPoint(7, -20) << QRect(100, 100, 170, 100);
    QTest::newRow("bottom-left corner shrinks to the minimum")
        << QPoint(2, 119) << QPoint(150, -200) << QRect(190, 100, 80, 40);
    QTest::newRow("gap under the caption moves")
        << QPoint(60, 14) << QPoint(-40, 10) << QRect(60, 110, 170, 120);
}

void tst_NoteWindow::edgeDragResizes() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);

    TestNote note;
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    QTest::mousePress(note.window.get(), Qt::LeftButton, {}, press);
    QTest::mouseMove(note.window.get(), press + delta);
    QTest::mouseRelease(note.window.get(), Qt::LeftButton, {}, press + delta);
    QCOMPARE(note.window->bounds(), expected);
}

void tst_NoteWindow::mapReports_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QPoint>("expected");

    // Steps: "map" (about to be mapped), "expose" (on the screen), "report x,y" (the
    // window system says the window is there), "move x,y" (the program moves it).
    QTest::newRow("the false report after mapping is put right")
        << "map; report 0,0" << QPoint(150, 140);
    QTest::newRow("a window-manager move once on the screen stands")
        << "map; expose; report 300,310" << QPoint(300, 310);
    QTest::newRow("only the first report after mapping is put right")
        << "map; report 0,0; report 300,310" << QPoint(300, 310);
    QTest::newRow("a true first report leaves later ones alone")
        << "map; report 150,140; report 300,310" << QPoint(300, 310);
    QTest::newRow("the program's own moves are no reports")
        << "map; move 40,50; report 0,0" << QPoint(40, 50);
    QTest::newRow("each mapping expects its report")
        << "map; expose; report 300,310; map; report 0,0" << QPoint(300, 310);
    QTest::newRow("no report without a mapping") << "report 0,0" << QPoint(0, 0);
}

void tst_NoteWindow::mapReports() {
    QFETCH(QString, script);
    QFETCH(QPoint, expected);

    QWidget window;
    window.move(150, 140);
    NoteMover mover(&window);
    const auto point = [](const QString& text) {
        const QStringList xy = text.split(QLatin1Char(','));
        return QPoint(xy.at(0).toInt(), xy.at(1).toInt());
    };
    for (const QString& step : script.split(QStringLiteral("; "))) {
        const QStringList words = step.split(QLatin1Char(' '));
        if (words.first() == QLatin1String("map")) {
            mover.mapping();
        } else if (words.first() == QLatin1String("expose")) {
            mover.exposed();
        } else {
            // Qt has taken the position as the window's before the note hears of it.
            window.move(point(words.at(1)));
            mover.moved(window.pos(), words.first() == QLatin1String("report"));
        }
        QCoreApplication::processEvents();
    }
    QCOMPARE(window.pos(), expected);
}

void tst_NoteWindow::windowTitleIsTheCaption() {
    TestNote note;
    note.window->setCaption(QStringLiteral("Lista [*] da feira"));
    note.window->winId();
    QCOMPARE(note.window->windowHandle()->title(), QStringLiteral("Lista [*] da feira"));
}

void tst_NoteWindow::textShowsInTheNotesFont_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("shownAs");
    QTest::addColumn<bool>("fixedPitch");
    // The metric-compatible faces installed for the Windows names.
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono" << true;
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans" << false;
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif" << false;
    // Faces the desktop replaces by their kind: the substitute must keep that kind.
    QTest::newRow("Consolas") << "Consolas" << QString() << true;
    QTest::newRow("Georgia") << "Georgia" << QString() << false;
}

void tst_NoteWindow::textShowsInTheNotesFont() {
    QFETCH(QString, face);
    QFETCH(QString, shownAs);
    QFETCH(bool, fixedPitch);

    TestNote note;
    note.window->setMemoFont(NoteFont{face, 8, 0xFFFFFF, true, false});
    const QFontInfo shown(note.memPostit()->font());
    if (shownAs.isEmpty())
        shownAs = QFontInfo(QFont(face, 8)).family();
    QCOMPARE(shown.family(), shownAs);
    // Measured, not asked: fontconfig marks some monospaced faces (Noto Sans Mono) as
    // proportional.
    const QFontMetrics metrics(note.memPostit()->font());
    QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')) ==
                 metrics.horizontalAdvance(QLatin1Char('W')),
             fixedPitch);
    QVERIFY(shown.bold());
    QCOMPARE(shown.pointSize(), 8);
}

void tst_NoteWindow::longCaptionEndsInEllipsis() {
    TestNote note;
    const QString title =
        QStringLiteral("Reunião de planejamento do orçamento anual de 2027 com a diretoria");
    note.window->setCaption(title);
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();

    const QString shown = note.lblCaption()->text();
    QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
    QVERIFY(title.startsWith(shown.chopped(1)));
    QVERIFY(note.lblCaption()->geometry().right() < note.part<QWidget>("cmdEsconder")->x());
    QCOMPARE(note.window->caption(), title);
    QCOMPARE(note.window->toRecord().caption, title);
    note.window->lblCaptionMouseEnter();
    QVERIFY(note.window->toolTip().contains(title.toHtmlEscaped()));

    // Room enough: the whole caption again.
    note.window->resize(1000, 120);
    QCOMPARE(note.lblCaption()->text(), title);
}

void tst_NoteWindow::hintsShowOnInactiveNote() {
    TestNote note;
    note.window->setBounds(100, 100, 170, 120);
    note.window->show();
    QWidget other;
    other.setGeometry(400, 100, 100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!note.window->isActiveWindow());

    auto* hideButton = note.part<QWidget>("cmdEsconder");
    QTest::mouseMove(hideButton, QPoint(5, 5));
    QTest::mouseMove(hideButton, QPoint(6, 6));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), hideButton->toolTip());
    QToolTip::hideText();
}

// Records what a window holds at the moment it is shown.
class ShowWatcher final : public QObject {
public:
    explicit ShowWatcher(TfPostIt* window) : m_window(window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show) {
            ++shows;
            atShow = m_window->toRecord();
            activating = !m_window->testAttribute(Qt::WA_ShowWithoutActivating);
        }
        return false;
    }
    TfPostIt* m_window;
    int shows = 0;
    bool activating = true;
    NoteRecord atShow;
};

void tst_NoteWindow::loadedNoteShowsOnceAsItIs() {
    NoteRecord record;
    record.caption = QStringLiteral("Compras");
    record.note = QStringLiteral("pão\r\nleite");
    record.posx = 210;
    record.posy = 130;
    record.Width = 250;
    record.Height = 150;
    record.Color = 0x00C0FFEE;
    record.FontName = QStringLiteral("Courier New");
    record.FontSize = 12;
    record.FontBold = true;
    record.topmost = true;
    record.footer = QStringLiteral("De Ana (10.0.0.7)");
    record.visible = true;

    TestNote note;
    ShowWatcher watcher(note.window.get());
    note.window->applyRecord(record);
    // Shown once, last, with everything in place, and without taking the focus.
    QCOMPARE(watcher.shows, 1);
    QVERIFY(!watcher.activating);
    QCOMPARE(watcher.atShow, note.window->toRecord());
    QCOMPARE(watcher.atShow.FontName, record.FontName);
    QCOMPARE(watcher.atShow.note, record.note);
    QCOMPARE(watcher.atShow.posx, record.posx);
    QCOMPARE(watcher.atShow.Width, record.Width);
    QVERIFY(note.window->isVisible());
}

void tst_NoteWindow::seedNoteTextFits_data() {
    QTest::addColumn<QString>("seed");
    QTest::newRow("Portuguese") << QStringLiteral("default_ptb.tkn");
    QTest::newRow("English") << QStringLiteral("default_enu.tkn");
}

void tst_NoteWindow::seedNoteTextFits() {
    QFETCH(QString, seed);

    IniFile file(QStringLiteral(TACKNOTE_SOURCE_DIR "/data/") + seed, IniFile::Mode::Batched);
    const QtLocaleInfo locale{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    TestNote note;
    note.window->applyRecord(NoteStore::read(file, 0, locale, QDateTime::currentDateTime()));
    QVERIFY(!note.window->note().isEmpty());
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    // Every line shows without scrolling.
    QCOMPARE(note.memPostit()->verticalScrollBar()->maximum(), 0);
}

void tst_NoteWindow::recordHoldsWhatTheWindowShows() {
    TestNote note;
    note.window->setCaption(QStringLiteral("Dentista"));
    note.window->setNote(QStringLiteral("terça\r\n14h"));
    note.window->setColor(0x00FFC0C0);
    note.window->setScrollbar(true);
    note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->setMemoFont(NoteFont{QStringLiteral("Arial"), 12, 0x000000FF, true, false});
    note.window->setBounds(11, 22, 333, 244);
    NoteRecord alarmFields = note.window->toRecord();
    alarmFields.weekdays = {true, false, true, false, true, false, true};
    alarmFields.Remember = true;
    alarmFields.RememberNo = 3;
    alarmFields.RememberUnit = 2;
    note.window->applyRecord(alarmFields);
    note.window->setTopmost(true);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));

    const NoteRecord record = note.window->toRecord();
    QCOMPARE(record.caption, QStringLiteral("Dentista"));
    QCOMPARE(record.note, QStringLiteral("terça\r\n14h"));
    QCOMPARE(record.Color, 0x00FFC0C0);
    QVERIFY(record.scrollbar);
    QCOMPARE(record.footer, QStringLiteral("De Ana (10.0.0.7)"));
    QCOMPARE(QRect(record.posx, record.posy, record.Width, record.Height), QRect(11, 22, 333, 244));
    QCOMPARE(record.FontName, QStringLiteral("Arial"));
    QCOMPARE(record.FontSize, 12);
    QCOMPARE(record.FontColor, 0x000000FF);
    QVERIFY(record.FontBold && !record.FontItalic);
    QVERIFY(record.visible && record.topmost && record.Remember);
    QCOMPARE(record.weekdays, (std::array<bool, 7>{true, false, true, false, true, false, true}));
    QCOMPARE(record.RememberNo, 3);
    QCOMPARE(record.RememberUnit, 2);
    QCOMPARE(note.memPostit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(note.memPostit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

QTEST_MAIN(tst_NoteWindow)
#include "tst_NoteWindow.moc"

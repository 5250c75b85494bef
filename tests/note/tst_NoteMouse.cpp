// The note window under the mouse: where it drags, resizes and moves, and what the
// desktop hears of its moves.

#include "gui/note/NoteHitTest.h"
#include "gui/note/NoteMover.h"
#include "gui/note/NotePopupMenu.h"
#include "tests/note/NoteUnderTest.h"

#include <QApplication>
#include <QTest>

#include <memory>

using TestNote = NoteUnderTest;

class tst_NoteMouse : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hitTest_data();
    void hitTest();
    void captionPressMoves_data();
    void captionPressMoves();
    void hoverCursorFollowsZone();
    void edgeDragResizes_data();
    void edgeDragResizes();
    void mapReports_data();
    void mapReports();
};

void tst_NoteMouse::hitTest_data() {
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

void tst_NoteMouse::hitTest() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, zone);
    QCOMPARE(int(NoteHitTest::zoneAt(x, y, width, height)), zone);
}

void tst_NoteMouse::captionPressMoves_data() {
    QTest::addColumn<QString>("part");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("moves");
    for (const char* part : {"pnlCaption", "lblCaption", "pnlRodape", "lblRodape"}) {
        QTest::newRow(part) << QString::fromLatin1(part) << Qt::LeftButton << true;
        QTest::addRow("%s, right button", part)
            << QString::fromLatin1(part) << Qt::RightButton << false;
    }
}

void tst_NoteMouse::captionPressMoves() {
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

void tst_NoteMouse::hoverCursorFollowsZone() {
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

void tst_NoteMouse::edgeDragResizes_data() {
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

void tst_NoteMouse::edgeDragResizes() {
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

void tst_NoteMouse::mapReports_data() {
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

void tst_NoteMouse::mapReports() {
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

QTEST_MAIN(tst_NoteMouse)
#include "tst_NoteMouse.moc"

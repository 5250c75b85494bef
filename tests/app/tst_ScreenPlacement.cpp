#include "core/program/ScreenPlacement.h"

#include <QTest>

#include <limits>

using ScreenPlacement::Screen;

Q_DECLARE_METATYPE(std::optional<QPoint>)

class tst_ScreenPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placement_data();
    void placement();
};

void tst_ScreenPlacement::placement_data() {
    QTest::addColumn<QRect>("note");
    QTest::addColumn<QList<Screen>>("screens");
    QTest::addColumn<std::optional<QPoint>>("expected");

    // Two screens side by side, the left one with a panel of 30 pixels at its top.
    const QList<Screen> two{{QRect(0, 0, 1920, 1080), QRect(0, 30, 1920, 1050)},
                            {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}};
    QTest::newRow("on a screen") << QRect(100, 100, 170, 120) << two << std::optional<QPoint>();
    QTest::newRow("one pixel on a screen")
        << QRect(-169, -119, 170, 120) << two << std::optional<QPoint>();
    QTest::newRow("across both screens")
        << QRect(1850, 500, 170, 120) << two << std::optional<QPoint>();
    QTest::newRow("below the right screen, where the left one is taller")
        << QRect(2500, 1050, 170, 120) << two << std::optional<QPoint>(QPoint(2500, 904));
    QTest::newRow("left of everything, keeps its height")
        << QRect(-5000, 300, 170, 120) << two << std::optional<QPoint>(QPoint(0, 300));
    QTest::newRow("above the left screen: below its panel")
        << QRect(200, -400, 170, 120) << two << std::optional<QPoint>(QPoint(200, 30));
    QTest::newRow("far right, nearest the right screen")
        << QRect(9000, 9000, 170, 120) << two << std::optional<QPoint>(QPoint(3030, 904));
    QTest::newRow("larger than the screen goes to its corner")
        << QRect(5000, 0, 3000, 2000) << two << std::optional<QPoint>(QPoint(1920, 0));
    QTest::newRow("touching the screen's edge from outside")
        << QRect(-170, 300, 170, 120) << two << std::optional<QPoint>(QPoint(0, 300));
    // The farthest positions a note can have, and one where QRect's own edges overflow.
    QTest::newRow("at the farthest position to the left")
        << QRect(-16777215, 300, 170, 120) << two << std::optional<QPoint>(QPoint(0, 300));
    QTest::newRow("at the farthest position to the right")
        << QRect(16777215, 300, 170, 120) << two << std::optional<QPoint>(QPoint(3030, 300));
    QTest::newRow("at the smallest int") << QRect(std::numeric_limits<int>::min(), 300, 170, 120)
                                         << two << std::optional<QPoint>(QPoint(0, 300));

    QTest::newRow("no screen at all")

        << QRect(5000, 5000, 170, 120) << QList<Screen>() << std::optional<QPoint>();
}

void tst_ScreenPlacement::placement() {
    QFETCH(QRect, note);
    QFETCH(QList<Screen>, screens);
    QFETCH(std::optional<QPoint>, expected);
    QCOMPARE(ScreenPlacement::placeOnScreen(note, screens), expected);
}

QTEST_GUILESS_MAIN(tst_ScreenPlacement)
#include "tst_ScreenPlacement.moc"

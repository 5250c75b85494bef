#include "platform/system/WaylandSession.h"

#include <QTest>

class tst_WaylandSession : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void platformFor_data();
    void platformFor();
};

void tst_WaylandSession::platformFor_data() {
    QTest::addColumn<QStringList>("variables"); // NAME=value
    QTest::addColumn<QByteArray>("platform");

    QTest::newRow("Wayland with XWayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << QByteArray("xcb");
    QTest::newRow("Wayland named by the session type")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:1"} << QByteArray("xcb");
    QTest::newRow("Wayland without XWayland is left to Qt")
        << QStringList{"WAYLAND_DISPLAY=wayland-0"} << QByteArray();
    QTest::newRow("the user's own choice stands")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
        << QByteArray();
    QTest::newRow("an X11 session")
        << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QByteArray();
    QTest::newRow("empty variables count as unset")
        << QStringList{"WAYLAND_DISPLAY=", "DISPLAY=:0", "QT_QPA_PLATFORM="} << QByteArray();
}

void tst_WaylandSession::platformFor() {
    QFETCH(QStringList, variables);
    QFETCH(QByteArray, platform);
    QProcessEnvironment environment;
    for (const QString& variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0),
                           variable.section(QLatin1Char('='), 1));
    QCOMPARE(WaylandSession::platformFor(environment), platform);
}

QTEST_GUILESS_MAIN(tst_WaylandSession)
#include "tst_WaylandSession.moc"

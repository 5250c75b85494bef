#include "platform/desktop/QtTrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

// Stands in for the window in which Qt shows the icon on an X11 tray; the adapter knows
// that window by its class name.
class QSystemTrayIconSys final : public QWidget {
    Q_OBJECT
public:
    QSystemTrayIconSys() { resize(22, 22); }
    int pressesSeen = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++pressesSeen; }
};

namespace {

void send(QWidget* window, QEvent::Type type, Qt::MouseButton button, QPoint at = {11, 11}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, window->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}

QList<TrayIcon::Activation> activations(const QSignalSpy& spy) {
    QList<TrayIcon::Activation> list;
    for (const QList<QVariant>& arguments : spy)
        list << arguments.at(0).value<TrayIcon::Activation>();
    return list;
}

} // namespace

class tst_QtTrayIcon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activationsOfADbusTray();
    void contextRequestOpensTheMenuOnce();
    void buttonsOnTheIconWindow();
};

void tst_QtTrayIcon::activationsOfADbusTray() {
    qint64 now = 0;
    QtTrayIcon tray(nullptr, [&now] { return now; });
    QSignalSpy spy(&tray, &TrayIcon::activated);
    auto* inner = tray.findChild<QSystemTrayIcon*>();
    QVERIFY(inner);

    // Two quick activations, a pause, a lone one.
    for (const qint64 at : {0, 120, 2000}) {
        now = at;
        Q_EMIT inner->activated(QSystemTrayIcon::Trigger);
    }
    now = 2100;
    Q_EMIT inner->activated(QSystemTrayIcon::MiddleClick);
    QTRY_COMPARE(spy.count(), 3);
    QCOMPARE(activations(spy), (QList<TrayIcon::Activation>{TrayIcon::Activation::Click,
                                                            TrayIcon::Activation::DoubleClick,
                                                            TrayIcon::Activation::Click}));
}

void tst_QtTrayIcon::contextRequestOpensTheMenuOnce() {
    QtTrayIcon tray;
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    QSignalSpy opened(&menu, &QMenu::aboutToShow);
    QSignalSpy clicks(&tray, &TrayIcon::activated);
    tray.setMenu(&menu);
    auto* inner = tray.findChild<QSystemTrayIcon*>();

    Q_EMIT inner->activated(QSystemTrayIcon::Context);
    QTRY_VERIFY(menu.isVisible());
    // Where Qt has already opened the menu, it is not opened over again.
    Q_EMIT inner->activated(QSystemTrayIcon::Context);
    QCoreApplication::processEvents();
    QCOMPARE(opened.count(), 1);
    QCOMPARE(clicks.count(), 0);
    menu.hide();
}

void tst_QtTrayIcon::buttonsOnTheIconWindow() {
    QtTrayIcon tray;
    QMenu menu;
    menu.addAction(QStringLiteral("item"));
    tray.setMenu(&menu);
    QSignalSpy spy(&tray, &TrayIcon::activated);
    QSystemTrayIconSys icon;
    icon.move(300, 200);

    send(&icon, QEvent::MouseButtonPress, Qt::LeftButton);
    QVERIFY(spy.isEmpty()); // the click comes with the release
    send(&icon, QEvent::MouseButtonRelease, Qt::LeftButton);
    send(&icon, QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(&icon, QEvent::MouseButtonRelease, Qt::LeftButton);
    QCOMPARE(activations(spy), (QList<TrayIcon::Activation>{TrayIcon::Activation::Click,
                                                            TrayIcon::Activation::DoubleClick}));

    send(&icon, QEvent::MouseButtonPress, Qt::RightButton, {5, 6});
    QVERIFY(!menu.isVisible());
    send(&icon, QEvent::MouseButtonRelease, Qt::RightButton, {5, 6});
    QVERIFY(menu.isVisible());
    QCOMPARE(spy.count(), 2);
    // Qt's own handling of the window never saw a button.
    QCOMPARE(icon.pressesSeen, 0);
    menu.hide();
}

QTEST_MAIN(tst_QtTrayIcon)
#include "tst_QtTrayIcon.moc"

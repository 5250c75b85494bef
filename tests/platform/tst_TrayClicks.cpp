#include "platform/TrayClicks.h"

#include <QStringList>
#include <QTest>

namespace {

using Gesture = TrayClicks::Gesture;
using Button = TrayClicks::Button;
using Activation = TrayClicks::Activation;

TrayClicks::Button buttonOf(QChar letter) {
    return letter == u'l' ? Button::Left : letter == u'r' ? Button::Right : Button::Other;
}

// Feeds a sequence written as blank-separated steps and names the gestures raised.
// Activations at a time in ms: "T80" trigger, "D80" Qt's double click, "C80" context,
// "M80" any other. The icon window's events: "lp" left press, "ld" left double-click
// press, "lr" left release on the icon, "lr-" off it; "r" and "m" for the right and the
// middle button.
QString play(TrayClicks& clicks, const QString& steps) {
    QStringList raised;
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        Gesture gesture = Gesture::None;
        const QChar kind = step.at(0);
        if (kind.isUpper()) {
            const qint64 at = step.mid(1).toLongLong();
            const Activation activation = kind == u'T'   ? Activation::Trigger
                                          : kind == u'D' ? Activation::DoubleClick
                                          : kind == u'C' ? Activation::Context
                                                         : Activation::Other;
            gesture = clicks.activation(activation, at);
        } else {
            const Button button = buttonOf(kind);
            const QChar what = step.at(1);
            if (what == u'p')
                gesture = clicks.press(button);
            else if (what == u'd')
                gesture = clicks.doubleClickPress(button);
            else
                gesture = clicks.release(button, !step.endsWith(u'-'));
        }
        if (gesture == Gesture::Click)
            raised << QStringLiteral("click");
        else if (gesture == Gesture::DoubleClick)
            raised << QStringLiteral("double");
        else if (gesture == Gesture::Menu)
            raised << QStringLiteral("menu");
    }
    return raised.join(u' ');
}

} // namespace

class tst_TrayClicks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gestures_data();
    void gestures();
};

void tst_TrayClicks::gestures_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("raised");

    // D-Bus tray: each click of the host is one activation.
    QTest::newRow("one activation is a click") << 400 << "T0"
                                               << "click";
    QTest::newRow("second activation within the interval is the double click")
        << 400 << "T1000 T1080"
        << "click double";
    QTest::newRow("the interval's last millisecond still counts") << 400 << "T0 T400"
                                                                  << "click double";
    QTest::newRow("a slower second activation is another click") << 400 << "T0 T401"
                                                                 << "click click";
    QTest::newRow("the desktop's own interval is used") << 200 << "T0 T300"
                                                        << "click click";
    QTest::newRow("a third activation starts over") << 400 << "T0 T80 T160"
                                                    << "click double click";
    QTest::newRow("four quick activations are two double clicks") << 400 << "T0 T80 T160 T240"
                                                                  << "click double click double";
    QTest::newRow("a time before the last one is no double click") << 400 << "T500 T100"
                                                                   << "click click";
    // A GTK host reports the second press of a double click twice.
    QTest::newRow("second press reported twice") << 400 << "T0 T80 T81"
                                                 << "click double";
    QTest::newRow("triple click with its doubled reports") << 400 << "T0 T80 T80 T160 T160"
                                                           << "click double click";
    QTest::newRow("two quick double clicks with doubled reports")
        << 400 << "T0 T80 T80 T300 T380 T380"
        << "click double click double";
    QTest::newRow("the host's context request opens the menu") << 400 << "C0"
                                                               << "menu";
    QTest::newRow("a context request between two clicks parts them") << 400 << "T0 C50 T100"
                                                                     << "click menu click";
    QTest::newRow("another button between two clicks parts them") << 400 << "T0 M50 T100"
                                                                  << "click click";
    // Qt reporting its own double click: one double click gives exactly one.
    QTest::newRow("Qt's click and double click") << 400 << "T0 D80"
                                                 << "click double";
    QTest::newRow("Qt's double click after two activations of the same double click")
        << 400 << "T0 T80 D81"
        << "click double";
    QTest::newRow("an activation right after Qt's double click is the same press")
        << 400 << "T0 D80 T81"
        << "click double";
    QTest::newRow("Qt's double clicks of a quadruple click both count")
        << 400 << "T0 D80 T160 D240"
        << "click double click double";

    // X11 tray: the icon window's own button events.
    QTest::newRow("left press and release on the icon") << 400 << "lp lr"
                                                        << "click";
    QTest::newRow("left press alone is no click yet") << 400 << "lp"
                                                      << "";
    QTest::newRow("released off the icon") << 400 << "lp lr-"
                                           << "";
    QTest::newRow("a release without its press") << 400 << "lr"
                                                 << "";
    QTest::newRow("double click: the click first, nothing on the last release")
        << 400 << "lp lr ld lr"
        << "click double";
    QTest::newRow("triple click") << 400 << "lp lr ld lr lp lr"
                                  << "click double click";
    QTest::newRow("right release opens the menu, the press does not") << 400 << "rp rr"
                                                                      << "menu";
    QTest::newRow("right released off the icon") << 400 << "rp rr-"
                                                 << "";
    QTest::newRow("a quick second right click opens the menu again") << 400 << "rp rr rd rr"
                                                                     << "menu menu";
    QTest::newRow("right button during a left click") << 400 << "lp rp rr lr"
                                                      << "menu click";
    QTest::newRow("middle button does nothing") << 400 << "mp mr md mr"
                                                << "";
}

void tst_TrayClicks::gestures() {
    QFETCH(int, interval);
    QFETCH(QString, steps);
    QFETCH(QString, raised);

    TrayClicks clicks(interval);
    QCOMPARE(play(clicks, steps), raised);
}

QTEST_GUILESS_MAIN(tst_TrayClicks)
#include "tst_TrayClicks.moc"

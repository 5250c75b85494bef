#include "core/program/TrayClicks.h"

#include <QStringList>
#include <QTest>

namespace {

using Gesture = TrayClicks::Gesture;
using Button = TrayClicks::Button;
using Activation = TrayClicks::Activation;

// Feeds a sequence written as blank-separated steps and names the gestures raised.
// Activations at a time in ms: "T80" trigger, "D80" Qt's double click, "C80" context.
// The icon window's events: "lp" left press, "ld" left double-click press, "lr" left
// release on the icon, "lr-" off it; "r" for the right button.
QString play(TrayClicks& clicks, const QString& steps) {
    QStringList raised;
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
        Gesture gesture = Gesture::None;
        const QChar kind = step.at(0);
        if (kind.isUpper()) {
            const qint64 at = step.mid(1).toLongLong();
            const Activation activation = kind == u'T'   ? Activation::Trigger
                                          : kind == u'D' ? Activation::DoubleClick
                                                         : Activation::Context;
            gesture = clicks.activation(activation, at);
        } else {
            const Button button = kind == u'l' ? Button::Left : Button::Right;
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

void row(const char* name, const char* steps, const char* raised) {
    QTest::newRow(name) << QString::fromLatin1(steps) << QString::fromLatin1(raised);
}

} // namespace

class tst_TrayClicks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gestures_data();
    void gestures();
};

void tst_TrayClicks::gestures_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("raised");

    // D-Bus tray: each click of the host is one activation.
    row("one activation is a click", "T0", "click");
    row("second activation within the interval is the double click", "T1000 T1080", "click double");
    row("the interval's last millisecond still counts", "T0 T400", "click double");
    row("a slower second activation is another click", "T0 T401", "click click");
    row("a third activation starts over", "T0 T80 T160", "click double click");
    // A GTK host reports the second press of a double click twice.
    row("second press reported twice", "T0 T80 T81", "click double");
    row("triple click with its doubled reports", "T0 T80 T80 T160 T160", "click double click");
    row("two quick double clicks with doubled reports", "T0 T80 T80 T300 T380 T380",
        "click double click double");
    row("the host's context request opens the menu", "C0", "menu");
    row("a context request between two clicks parts them", "T0 C50 T100", "click menu click");
    // Qt reporting its own double click: one double click gives exactly one.
    row("Qt's click and double click", "T0 D80", "click double");
    row("Qt's double click after two activations of the same double click", "T0 T80 D81",
        "click double");
    row("an activation right after Qt's double click is the same press", "T0 D80 T81",
        "click double");
    row("Qt's double clicks of a quadruple click both count", "T0 D80 T160 D240",
        "click double click double");

    // X11 tray: the icon window's own button events.
    row("left press and release on the icon", "lp lr", "click");
    row("released off the icon", "lp lr-", "");
    row("double click: the click first, nothing on the last release", "lp lr ld lr",
        "click double");
    row("triple click", "lp lr ld lr lp lr", "click double click");
    row("right release opens the menu, the press does not", "rp rr", "menu");
    row("right released off the icon", "rp rr-", "");
    row("a quick second right click opens the menu again", "rp rr rd rr", "menu menu");
}

void tst_TrayClicks::gestures() {
    QFETCH(QString, steps);
    QFETCH(QString, raised);

    TrayClicks clicks(400);
    QCOMPARE(play(clicks, steps), raised);
}

QTEST_GUILESS_MAIN(tst_TrayClicks)
#include "tst_TrayClicks.moc"

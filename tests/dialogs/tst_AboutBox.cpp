#include "core/program/ProductInfo.h"
#include "gui/dialogs/TfrmSobre.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>

namespace {

using Entries = QMap<QString, QString>;

QString pt(const char* name) {
    return VersionInfo::stringPath(VersionInfo::PortugueseBrazil, QString::fromLatin1(name));
}

// Shows the box modally as the tray menu does and runs action on it once it is up;
// true when the box closed by itself, false when the test had to close it.
bool showModal(TfrmSobre& box, const std::function<void()>& action) {
    bool closedByAction = false;
    QTimer::singleShot(0, &box, [&] {
        action();
        closedByAction = !box.isVisible();
        if (box.isVisible())
            box.reject();
    });
    box.exec();
    return closedByAction;
}

} // namespace

class tst_AboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
    void versionShown_data();
    void versionShown();
    void window();
    void english();
};

void tst_AboutBox::clicks_data() {
    QTest::addColumn<QString>("pressOn"); // object name, or "" for the background
    QTest::addColumn<QString>("releaseOn");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("openings");

    QTest::newRow("background") << ""
                                << "" << true << 0;
    QTest::newRow("version") << "lblVersao"
                             << "lblVersao" << true << 0;
    QTest::newRow("OK") << "cmdOK"
                        << "cmdOK" << true << 0;
    QTest::newRow("address opens the page") << "Label1"
                                            << "Label1" << false << 1;
    QTest::newRow("picture") << "Image1"
                             << "Image1" << false << 0;
    QTest::newRow("version heading") << "lblVerTit"
                                     << "lblVerTit" << false << 0;
    QTest::newRow("pressed on the address, released on the background") << "Label1"
                                                                        << "" << false << 0;
    QTest::newRow("pressed on the background, released on the version")
        << ""
        << "lblVersao" << false << 0;
}

void tst_AboutBox::clicks() {
    QFETCH(QString, pressOn);
    QFETCH(QString, releaseOn);
    QFETCH(bool, closes);
    QFETCH(int, openings);
    TfrmSobre box;
    QList<QUrl> opened;
    box.openLink = [&](const QUrl& address) { opened.append(address); };
    // The events go to the part under the pointer, as the window system sends them; the
    // box's margin is its background.
    const auto partOf = [&](const QString& name) -> QWidget* {
        return name.isEmpty() ? &box : box.findChild<QWidget*>(name);
    };
    const auto pointIn = [](QWidget* part, QWidget* box) {
        return part == box ? QPoint(4, 4) : part->rect().center();
    };
    const bool closed = showModal(box, [&] {
        QVERIFY(box.isVisible());
        QWidget* pressed = partOf(pressOn);
        QWidget* released = partOf(releaseOn);
        QTest::mousePress(pressed, Qt::LeftButton, {}, pointIn(pressed, &box));
        QTest::mouseRelease(released, Qt::LeftButton, {}, pointIn(released, &box));
    });
    QCOMPARE(closed, closes);
    QCOMPARE(opened.size(), openings);
    if (openings)
        QCOMPARE(opened.first(), QUrl(ProductInfo::webAddress()));
}

void tst_AboutBox::versionShown_data() {
    QTest::addColumn<VersionInfo>("info");
    QTest::addColumn<QString>("expected");

    QTest::newRow("the program's own") << VersionInfo::ofProgram() << "v1.30 (build 215)";
    QTest::newRow("Portuguese entry") << VersionInfo(Entries{{pt("ProductVersion"), "1.3.0.215"},
                                                             {pt("FileVersion"), "1.3.0.215"}})
                                      << "1.3.0.215  (Build 130215)";
    QTest::newRow("none keeps the design text") << VersionInfo() << "Aqui fica a versão";
    // Shown as it stands, never as markup.
    QTest::newRow("markup stays text")
        << VersionInfo(Entries{{pt("ProductVersion"), "<b>2</b>"}}) << "<b>2</b> ";
}

void tst_AboutBox::versionShown() {
    QFETCH(VersionInfo, info);
    QFETCH(QString, expected);
    TfrmSobre box(info);
    // Created once and shown again and again.
    for (int showing = 0; showing < 2; ++showing) {
        box.show();
        QCOMPARE(box.lblVersao->text(), expected);
        QCOMPARE(box.lblVersao->textFormat(), Qt::PlainText);
        box.hide();
    }
}

// A tool window without title-bar buttons, centred on the screen at every showing, also
// when the version text changed its size in between.
void tst_AboutBox::window() {
    TfrmSobre box{VersionInfo()};
    const Qt::WindowFlags flags = box.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    for (const QString& version : {QStringLiteral("1"), QString(80, QLatin1Char('9'))}) {
        box.lblVersao->setText(version);
        box.show();
        const QPoint offset =
            box.frameGeometry().center() - box.screen()->availableGeometry().center();
        QVERIFY2(
            offset.manhattanLength() <= 1,
            qPrintable(
                QStringLiteral("%1 off by %2,%3").arg(version).arg(offset.x()).arg(offset.y())));
        box.hide();
    }
}

// The box follows a switch of the interface language while it is open.
void tst_AboutBox::english() {
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(TACKNOTE_PROGRAM_DIR "/tacknote.ENU")));
    TfrmSobre box{VersionInfo()};
    box.show();
    QCoreApplication::installTranslator(&english);
    // The change reaches the windows as a posted event.
    QTRY_COMPARE(box.windowTitle(), QStringLiteral("About Tacknote"));
    QCOMPARE(box.lblVerTit->text(), QStringLiteral("Version:"));
    QCOMPARE(box.lblVersao->text(), QStringLiteral("unknown"));
    QCoreApplication::removeTranslator(&english);
    QTRY_COMPARE(box.windowTitle(), QStringLiteral("Sobre o Sistema"));
}

QTEST_MAIN(tst_AboutBox)
#include "tst_AboutBox.moc"

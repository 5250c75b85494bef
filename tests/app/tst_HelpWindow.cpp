// The help and the product page in the program's own window, on a desktop that opens
// nothing: from the tray menu, from the about box and with F1, in the interface language
// and at the place that speaks of the window the key was pressed in, also while a dialog
// waits for its answer.

#include "gui/alarm/TfrmMostraAlarmes.h"
#include "gui/dialogs/TfrmConfNota.h"
#include "gui/dialogs/TfrmSobre.h"
#include "gui/note/NoteEdit.h"
#include "gui/program/NoteCommands.h"
#include "gui/program/TfrmAjuda.h"
#include "tests/support/ModalWindows.h"

#include "../support/ProgramHarness.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

using Language = HiddenMainWindow::Language;

// Counts the mouse presses that reach a window.
class PressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        return false;
    }
};

// True when a click on window reaches it as the window system's would: a window that a
// modal dialog blocks gets none.
bool takesClicks(QWidget* window) {
    PressCounter counter;
    window->windowHandle()->installEventFilter(&counter);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, QPoint(8, 8));
    window->windowHandle()->removeEventFilter(&counter);
    return counter.presses > 0;
}

QString helpDir() {
    return ProgramHarness::seedDir() + QStringLiteral("/help/");
}

} // namespace

class tst_HelpWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helpAndProductPageOpenWithoutTheDesktop();
    void aboutBoxLinkShowsTheProductPage_data();
    void aboutBoxLinkShowsTheProductPage();
    void f1OpensTheHelpAtItsPlace_data();
    void f1OpensTheHelpAtItsPlace();
};

// The desktop opens nothing here: the shipped pages show in the program's own window,
// their links between them work, and an outside address that fails is reported.
void tst_HelpWindow::helpAndProductPageOpenWithoutTheDesktop() {
    ProgramHarness p;
    p.shell.refuses = true;
    p.start();

    p.main->trayMenu().Ajuda1->trigger();
    TfrmAjuda* window = p.main->commands().frmAjuda();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->page(), QUrl::fromLocalFile(helpDir() + "tacknote.html"));
    window->memAjudaAnchorClicked(QUrl(QStringLiteral("tacknote_enu.html#alarms")));
    QCOMPARE(window->page().fileName(), QStringLiteral("tacknote_enu.html"));
    window->memAjudaAnchorClicked(QUrl(QStringLiteral("index_enu.html")));
    QCOMPARE(window->page(), QUrl::fromLocalFile(helpDir() + "index_enu.html"));
    QVERIFY(p.shell.opened.isEmpty());
    QVERIFY(p.boxes.shown.isEmpty());

    window->memAjudaAnchorClicked(QUrl(QStringLiteral("https://example.org/tacknote")));
    QCOMPARE(p.shell.opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/tacknote"))});
    QCOMPARE(p.boxes.shown.size(), 1);
    QVERIFY(p.boxes.shown[0].text.contains(QStringLiteral("https://example.org/tacknote")));

    window->hide();
    p.main->trayMenu().mnuWeb->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(window->page(), QUrl::fromLocalFile(helpDir() + "index.html"));
}

void tst_HelpWindow::aboutBoxLinkShowsTheProductPage_data() {
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("shipped"); // the product page ships beside the program

    QTest::newRow("shipped page") << ProgramHarness::seedDir() << true;
    QTest::newRow("no shipped page") << QStringLiteral("/nonexistent/program") << false;
}

// The shipped product page shows in the help window, which answers the user while the
// about box is still open; without it, the web address goes to the desktop, and a
// desktop that cannot open it is reported.
void tst_HelpWindow::aboutBoxLinkShowsTheProductPage() {
    QFETCH(QString, programDir);
    QFETCH(bool, shipped);
    ProgramHarness p(QStringLiteral("pt_BR"), programDir);
    p.shell.refuses = true;
    p.start();
    whenModal([&] { p.main->trayMenu().mnuSobre->trigger(); },
              [&](QWidget* modal) {
                  auto* about = qobject_cast<TfrmSobre*>(modal);
                  QVERIFY(about);
                  about->Label1Click();
                  TfrmAjuda* window = p.main->commands().frmAjuda();
                  QCOMPARE(window && window->isVisible(), shipped);
                  if (shipped) {
                      QCOMPARE(window->page(), QUrl::fromLocalFile(helpDir() + "index.html"));
                      QVERIFY(takesClicks(window));
                  }
                  QVERIFY(about->isVisible());
              });
    QCOMPARE(p.shell.opened.size(), shipped ? 0 : 1);
    QCOMPARE(p.boxes.shown.size(), shipped ? 0 : 1);
}

void tst_HelpWindow::f1OpensTheHelpAtItsPlace_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("topic");

    QTest::newRow("note") << "note" << false << "note";
    QTest::newRow("note, English") << "note" << true << "note";
    QTest::newRow("note's menu") << "note menu" << false << "note-menu";
    QTest::newRow("tray menu") << "tray menu" << true << "tray-menu";
    QTest::newRow("today's tasks") << "today's tasks" << false << "today";
    QTest::newRow("preferences, network page") << "preferences" << true << "network";
    QTest::newRow("title dialog") << "title" << false << "title";
}

void tst_HelpWindow::f1OpensTheHelpAtItsPlace() {
    QFETCH(QString, window);
    QFETCH(bool, english);
    QFETCH(QString, topic);
    ProgramHarness p;
    p.shell.refuses = true;
    p.start();
    if (english)
        p.main->SwitchLanguage(Language::English);
    TfPostIt* note = p.newNote();
    QUrl expected =
        QUrl::fromLocalFile(helpDir() + (english ? "tacknote_enu.html" : "tacknote.html"));
    expected.setFragment(topic);
    const auto helpShown = [&] {
        TfrmAjuda* help = p.main->commands().frmAjuda();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->page(), expected);
        // Usable at once, also while a dialog waits for its answer.
        QVERIFY(takesClicks(help));
    };

    if (window == QLatin1String("note")) {
        QTest::keyClick(note->findChild<NoteEdit*>(), Qt::Key_F1);
        helpShown();
    } else if (window == QLatin1String("note menu") || window == QLatin1String("tray menu")) {
        QMenu* menu = window == QLatin1String("note menu") ? note->findChild<QMenu*>()
                                                           : p.main->trayMenu().popPrincipal;
        menu->popup(QPoint(20, 20));
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_F1);
        QVERIFY(!menu->isVisible());
        helpShown();
    } else if (window == QLatin1String("today's tasks")) {
        p.main->frmMostraAlarmes().show();
        QTest::keyClick(&p.main->frmMostraAlarmes(), Qt::Key_F1);
        helpShown();
    } else if (window == QLatin1String("preferences")) {
        whenModal([&] { p.main->trayMenu().mnuPreferencias->trigger(); },
                  [&](QWidget* modal) {
                      auto* dialog = qobject_cast<TfrmConfNota*>(modal);
                      QVERIFY(dialog);
                      dialog->pagGeral->setCurrentIndex(TfrmConfNota::PageRede);
                      QTest::keyClick(dialog->pagGeral->currentWidget(), Qt::Key_F1);
                      helpShown();
                  });
    } else if (window == QLatin1String("title")) {
        QString caption;
        whenModal([&] { p.main->commands().editCaption(caption); },
                  [&](QWidget* modal) {
                      QTest::keyClick(modal, Qt::Key_F1);
                      helpShown();
                  });
    } else {
        QFAIL("unknown window");
    }
    QVERIFY(p.shell.opened.isEmpty());
    QVERIFY(p.boxes.shown.isEmpty());
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"

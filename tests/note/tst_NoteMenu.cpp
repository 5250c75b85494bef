// The note's menu and shortcuts: which commands it offers, and what each asks of the
// program around the note.

#include "core/notes/UrlSelection.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/note/TfPostIt.h"
#include "tests/note/NoteUnderTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QTest>

using TestNote = NoteUnderTest;

class tst_NoteMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void networkOffBlocksSendingAndMail();
    void rightClickOnIconAreaOpensMenu();
    void popupRules_data();
    void popupRules();
    void openUrl_data();
    void openUrl();
    void acknowledgements_data();
    void acknowledgements();
    void deleteAndHide();
    void commandsReachTheirDialogs_data();
    void commandsReachTheirDialogs();
    void titleDialogResult();
    void menuShortcutsWinOverTheTextArea();
    void copyAndPaste();
};

void tst_NoteMenu::networkOffBlocksSendingAndMail() {
    TestNote note;
    note.host.network = false;
    note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    note.window->show();
    note.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(note.window.get()));
    note.memPostit()->setFocus();
    QTest::keyClick(note.memPostit(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(note.memPostit(), Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(note.memPostit(), Qt::Key_E, Qt::ControlModifier);
    note.window->popPrincipal->EnviarpelaRede1->trigger();
    QCOMPARE(note.host.calls, QStringList{});

    // With the network on, the reply shortcut works on a received note at once.
    note.host.network = true;
    note.window->setReplyAddress(QStringLiteral("10.0.0.7"));
    QTest::keyClick(note.memPostit(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(note.host.calls, QStringList{"send 4 [10.0.0.7]"});
}

void tst_NoteMenu::rightClickOnIconAreaOpensMenu() {
    TestNote note;
    note.window->setAlarmIconVisible(true);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    // Over the caption, over the alarm icon and over the empty part of the icon panel.
    for (const char* name : {"lblCaption", "imgAlarme", "Panel1"}) {
        QWidget* part = note.part<QWidget>(name);
        // What the window makes of a right click (QTest's clicks go to the widget alone).
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(13, 6),
                                part->mapToGlobal(QPoint(13, 6)));
        QApplication::sendEvent(part, &click);
        QVERIFY2(note.window->popPrincipal->isVisible(), name);
        note.window->popPrincipal->close();
    }
}

void tst_NoteMenu::popupRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<bool>("footer");
    QTest::addColumn<bool>("network");
    QTest::addColumn<bool>("urlItem");

    const QString text = QStringLiteral("veja  www.tacknote.example  e http://a.net");
    QTest::newRow("www. with blanks around") << text << 4 << 24 << false << true << true;
    QTest::newRow("no selection") << text << 0 << 0 << false << true << false;
    QTest::newRow("selected plain word") << text << 0 << 4 << true << true << false;
    QTest::newRow("HTTP:// in capitals")
        << QStringLiteral("HTTP://EXAMPLE.NET") << 0 << 18 << false << false << false;
    QTest::newRow("only .com") << QStringLiteral("loja.com") << 0 << 8 << false << true << true;
    QTest::newRow(".Com is another case")
        << QStringLiteral("loja.Com") << 0 << 8 << false << true << false;
    QTest::newRow("received, network off")
        << QStringLiteral("ftp://x.example/") << 0 << 16 << true << false << true;
}

void tst_NoteMenu::popupRules() {
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(bool, footer);
    QFETCH(bool, network);
    QFETCH(bool, urlItem);

    TestNote note;
    note.host.network = network;
    note.window->setNote(text);
    if (footer)
        note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    QTextCursor cursor = note.memPostit()->textCursor();
    cursor.setPosition(selectionStart);
    cursor.setPosition(selectionStart + selectionLength, QTextCursor::KeepAnchor);
    note.memPostit()->setTextCursor(cursor);

    note.window->popPrincipalPopup();
    QCOMPARE(note.window->popPrincipal->mnuURL->isVisible(), urlItem);
    QCOMPARE(note.window->popPrincipal->sepURL->isVisible(), urlItem);
    QCOMPARE(note.window->popPrincipal->mnuResponder->isVisible(), footer);
    QCOMPARE(note.window->popPrincipal->mnuEnviar->menuAction()->isEnabled(), network);
    QVERIFY(note.window->popPrincipal->mnuEnviar->menuAction()->isVisible());
}

void tst_NoteMenu::openUrl_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("opened"); // empty: nothing is opened

    QTest::newRow("www. with blanks") << QStringLiteral("  www.tacknote.example \t")
                                      << QStringLiteral("http://www.tacknote.example");
    QTest::newRow("http") << QStringLiteral("http://a.example/p?q=1#f")
                          << QStringLiteral("http://a.example/p?q=1#f");
    QTest::newRow("https") << QStringLiteral("https://a.example.org")
                           << QStringLiteral("https://a.example.org");
    QTest::newRow("ftp") << QStringLiteral("ftp://ftp.x.edu/pub")
                         << QStringLiteral("ftp://ftp.x.edu/pub");
    QTest::newRow("mailto") << QStringLiteral("mailto:ana@x.org")
                            << QStringLiteral("mailto:ana@x.org");
    QTest::newRow("local file") << QStringLiteral("file:///etc/passwd.com") << QString();
    QTest::newRow("program path") << QStringLiteral("/usr/bin/xterm.com") << QString();
    QTest::newRow("script") << QStringLiteral("javascript:alert(1)//.com") << QString();
    QTest::newRow("other scheme") << QStringLiteral("smb://host.com/share") << QString();
    QTest::newRow("no host") << QStringLiteral("http://") << QString();
    QTest::newRow("bare domain") << QStringLiteral("loja.com") << QString();
    QTest::newRow("words around") << QStringLiteral("abra http://a.com agora") << QString();
    QTest::newRow("only a blank") << QStringLiteral(" ") << QString();
}

void tst_NoteMenu::openUrl() {
    QFETCH(QString, selection);
    QFETCH(QString, opened);

    TestNote note;
    note.window->setNote(selection);
    note.memPostit()->selectAll();
    note.window->mnuURLClick();
    if (opened.isEmpty()) {
        QVERIFY(note.host.opened.isEmpty());
    } else {
        QCOMPARE(note.host.opened, QList<QUrl>{QUrl(opened)});
    }
    // The same decision without a window.
    const std::optional<QUrl> url = UrlSelection::openableUrl(selection);
    QCOMPARE(url.has_value(), !opened.isEmpty());
}

void tst_NoteMenu::acknowledgements_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("ringing");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("alarmIconAfter");
    QTest::addColumn<bool>("stopPosted");

    QTest::newRow("ringing icon, reminder") << "icon" << true << true << true << true;
    QTest::newRow("ringing icon, one-time") << "icon" << true << false << false << true;
    QTest::newRow("text, reminder") << "text" << true << true << false << true;
    QTest::newRow("text, nothing ringing") << "text" << false << false << false << true;
    QTest::newRow("caption, reminder") << "caption" << true << true << false << true;
    QTest::newRow("caption bar, nothing ringing") << "bar" << false << true << false << false;
    QTest::newRow("hide, reminder") << "hide" << true << true << false << true;
    QTest::newRow("hide, nothing ringing") << "hide" << false << false << false << false;
}

void tst_NoteMenu::acknowledgements() {
    QFETCH(QString, action);
    QFETCH(bool, ringing);
    QFETCH(bool, remember);
    QFETCH(bool, alarmIconAfter);
    QFETCH(bool, stopPosted);

    TestNote note;
    note.window->setBounds(300, 300, 170, 120);
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    NoteRecord record = note.window->toRecord();
    record.Remember = remember;
    record.alarm = remember;
    note.window->applyRecord(record);
    note.window->setAlarmIconVisible(false);
    note.window->setRingingIconVisible(ringing);

    if (action == QLatin1String("icon"))
        QTest::mouseClick(note.part<QLabel>("imgAlarmeOn"), Qt::LeftButton, {}, QPoint(5, 5));
    else if (action == QLatin1String("text"))
        QTest::mouseClick(note.memPostit()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    else if (action == QLatin1String("caption"))
        QTest::mouseClick(note.lblCaption(), Qt::LeftButton, {}, QPoint(1, 5));
    else if (action == QLatin1String("bar"))
        QTest::mouseClick(note.part<QWidget>("pnlCaption"), Qt::LeftButton, {}, QPoint(100, 5));
    else
        QTest::mouseClick(note.part<QPushButton>("cmdEsconder"), Qt::LeftButton);

    QVERIFY(!note.window->ringingIconVisible());
    QCOMPARE(note.window->alarmIconVisible(), alarmIconAfter);
    QCOMPARE(note.sink.take(), stopPosted ? QStringList{"stop"} : QStringList{});
    QCOMPARE(note.window->isHidden(), action == QLatin1String("hide"));
    QCOMPARE(note.window->alarm(), remember);
}

void tst_NoteMenu::deleteAndHide() {
    TestNote note;
    note.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
    QTest::mouseClick(note.part<QPushButton>("cmdApagarPostit"), Qt::LeftButton);
    note.window->popPrincipal->Sair1->trigger();
    // Posted, never acted on inside the click.
    QCOMPARE(note.sink.received, QStringList{});
    QCOMPARE(note.sink.take(), (QStringList{"delete 4", "delete 4"}));
    QVERIFY(note.window->isVisible());

    note.window->setNote(QStringLiteral("fica tudo"));
    note.window->cmdEsconderClick();
    QVERIFY(note.window->isHidden());
    QCOMPARE(note.window->note(), QStringLiteral("fica tudo"));
    QVERIFY(!note.window->toRecord().visible);
}

void tst_NoteMenu::commandsReachTheirDialogs_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("call");
    QTest::newRow("configure") << "mnuConfigurar"
                               << "configure 0 2";
    QTest::newRow("alarm") << "mnuAlarme"
                           << "configure 1 3";
    QTest::newRow("send") << "EnviarpelaRede1"
                          << "send 4 []";
    QTest::newRow("reply") << "mnuResponder"
                           << "send 4 [10.0.0.7]";
    QTest::newRow("mail") << "EMail1"
                          << "mail [Tacknote - Compras] [leite\r\npão]";
}

void tst_NoteMenu::commandsReachTheirDialogs() {
    QFETCH(QString, item);
    QFETCH(QString, call);

    TestNote note;
    note.window->setCaption(QStringLiteral("Compras"));
    note.window->setNote(QStringLiteral("leite\r\npão"));
    note.window->setReplyAddress(QStringLiteral("10.0.0.7"));
    note.window->setFooter(QStringLiteral("De Ana (10.0.0.7)"));
    auto* action = note.window->findChild<QAction*>(item);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(note.host.calls, QStringList{call});

    // The alarm icons open the alarm page on a double click.
    if (item == QLatin1String("mnuAlarme")) {
        note.host.calls.clear();
        note.window->setAlarmIconVisible(true);
        note.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(note.window.get()));
        QTest::mouseDClick(note.part<QLabel>("imgAlarme"), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(note.host.calls, QStringList{call});
    }
}

void tst_NoteMenu::titleDialogResult() {
    TestNote note;
    note.window->setCaption(QStringLiteral("Antigo"));
    note.window->popPrincipal->mnuMudaCaption->trigger();
    QCOMPARE(note.host.editedCaption, QStringLiteral("Antigo"));
    QCOMPARE(note.window->caption(), QStringLiteral("Antigo"));

    note.host.confirmTitle = true;
    note.host.newTitle = QStringLiteral("Novo título");
    note.window->popPrincipal->mnuMudaCaption->trigger();
    QCOMPARE(note.window->caption(), QStringLiteral("Novo título"));
}

void tst_NoteMenu::menuShortcutsWinOverTheTextArea() {
    TestNote note;
    note.window->setNote(QStringLiteral("texto"));
    note.window->show();
    note.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(note.window.get()));
    note.memPostit()->setFocus();

    QTest::keyClick(note.memPostit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(note.memPostit(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(note.memPostit(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(note.host.calls, (QStringList{"configure 1 3", "mail [Tacknote - ] [texto]", "find"}));
    // Ctrl+A opened the alarm page instead of selecting the text.
    QVERIFY(!note.memPostit()->textCursor().hasSelection());
    QTest::keyClick(note.memPostit(), Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(note.sink.take(), QStringList{"delete 4"});
}

void tst_NoteMenu::copyAndPaste() {
    TestNote note;
    note.window->setNote(QStringLiteral("copiar isto"));
    QTextCursor cursor = note.memPostit()->textCursor();
    cursor.setPosition(7);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    note.memPostit()->setTextCursor(cursor);
    note.window->mnuCopiarClick();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("isto"));

    QGuiApplication::clipboard()->setText(QStringLiteral("aquilo"));
    cursor.setPosition(0);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    note.memPostit()->setTextCursor(cursor);
    note.window->mnuColarClick();
    QCOMPARE(note.window->note(), QStringLiteral("aquilo isto"));
}

QTEST_MAIN(tst_NoteMenu)
#include "tst_NoteMenu.moc"

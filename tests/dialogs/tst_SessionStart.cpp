#include "gui/dialogs/TtabGeral.h"
#include "platform/system/XdgAutostart.h"

#include "../support/TestFiles.h"
#include "ConfNotaHarness.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// The check box "Iniciar o Tacknote com a sessão" of page "Geral", on the desktop's
// autostart folder in a configuration folder of the test's own.
class tst_SessionStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void primedAndApplied_data();
    void primedAndApplied();
    void cancelChangesNothing();
    void entryOfAnotherCopyIsRepaired();
    void launcherIsTheInstallationsLink_data();
    void launcherIsTheInstallationsLink();
    void withoutAutostart();
    void refused();
};

void tst_SessionStart::primedAndApplied_data() {
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("click");
    QTest::addColumn<bool>("after");

    QTest::newRow("off, left alone") << false << false << false;
    QTest::newRow("off, turned on") << false << true << true;
    QTest::newRow("on, left alone") << true << false << true;
    QTest::newRow("on, turned off") << true << true << false;
}

void tst_SessionStart::primedAndApplied() {
    QFETCH(bool, before);
    QFETCH(bool, click);
    QFETCH(bool, after);
    QTemporaryDir config;
    XdgAutostart autostart(config.path(), QStringLiteral("/usr/lib/tacknote/tacknote"));
    autostart.setEnabled(before);
    ConfNotaHarness h;
    h.autostart = &autostart;
    TfrmConfNota& dialog = h.openPreferences();
    QCheckBox* box = dialog.tabGeral->chkIniciaSessao;
    QVERIFY(!box->isHidden());
    QCOMPARE(box->isChecked(), before);
    if (click)
        box->click();
    // Nothing changes before OK.
    QCOMPARE(autostart.isEnabled(), before);
    QVERIFY(h.pressOk());
    QCOMPARE(autostart.isEnabled(), after);
    QCOMPARE(h.applied, 1);
    QVERIFY(h.messages.shown.isEmpty());
}

void tst_SessionStart::cancelChangesNothing() {
    QTemporaryDir config;
    XdgAutostart autostart(config.path(), QStringLiteral("/usr/lib/tacknote/tacknote"));
    ConfNotaHarness h;
    h.autostart = &autostart;
    TfrmConfNota& dialog = h.openPreferences();
    dialog.tabGeral->chkIniciaSessao->click();
    dialog.cmdCancelar->click();
    QVERIFY(!autostart.isEnabled());
    QVERIFY(!QFile::exists(autostart.entryPath()));
}

// An entry an older install or a build folder wrote: OK with the box on makes it start
// this copy.
void tst_SessionStart::entryOfAnotherCopyIsRepaired() {
    QTemporaryDir config;
    XdgAutostart old(config.path(), QStringLiteral("/home/ana/tacknote/build/app/tacknote"));
    old.setEnabled(true);
    XdgAutostart autostart(config.path(), QStringLiteral("/usr/bin/tacknote"));
    ConfNotaHarness h;
    h.autostart = &autostart;
    TfrmConfNota& dialog = h.openPreferences();
    QVERIFY(dialog.tabGeral->chkIniciaSessao->isChecked());
    QVERIFY(h.pressOk());
    QCOMPARE(readBytes(autostart.entryPath()),
             XdgAutostart::entryText(QStringLiteral("/usr/bin/tacknote")));
}

void tst_SessionStart::launcherIsTheInstallationsLink_data() {
    QTest::addColumn<bool>("linked");
    QTest::newRow("installed with its bin link") << true;
    QTest::newRow("a build folder") << false;
}

void tst_SessionStart::launcherIsTheInstallationsLink() {
    QFETCH(bool, linked);
    QTemporaryDir prefix;
    const QString program = prefix.filePath(QStringLiteral("lib/tacknote/tacknote"));
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("lib/tacknote"))));
    QVERIFY(QDir().mkpath(prefix.filePath(QStringLiteral("bin"))));
    writeBytes(program, "program");
    const QString link = prefix.filePath(QStringLiteral("bin/tacknote"));
    if (linked)
        QVERIFY(QFile::link(QStringLiteral("../lib/tacknote/tacknote"), link));
    else
        writeBytes(link, "another program of that name");
    QCOMPARE(XdgAutostart::launcherFor(program), linked ? link : program);
}

void tst_SessionStart::withoutAutostart() {

    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openPreferences();
    QVERIFY(dialog.tabGeral->chkIniciaSessao->isHidden());
    QVERIFY(h.pressOk());
    QCOMPARE(h.applied, 1);
}

// A configuration folder that cannot take the entry: the error is shown, every other
// setting is applied and the dialog closes.
void tst_SessionStart::refused() {
    QTemporaryDir config;
    QFile blocker(config.filePath(QStringLiteral("autostart")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    XdgAutostart autostart(config.path(), QStringLiteral("/usr/lib/tacknote/tacknote"));
    ConfNotaHarness h;
    h.autostart = &autostart;
    TfrmConfNota& dialog = h.openPreferences();
    dialog.tabGeral->chkIniciaSessao->click();
    dialog.tabGeral->txtIDUsuario->setText(QStringLiteral("Maria da Silva"));
    QVERIFY(h.pressOk());
    QVERIFY(!autostart.isEnabled());
    QCOMPARE(h.recGeral.User, QStringLiteral("Maria da Silva"));
    QCOMPARE(h.applied, 1);
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
    QVERIFY(h.messages.shown[0].text.contains(autostart.entryPath()));
}

QTEST_MAIN(tst_SessionStart)
#include "tst_SessionStart.moc"

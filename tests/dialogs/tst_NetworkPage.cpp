// The preferences page "Rede": authentication, the network switch, the block list and
// the listener it starts and stops.

#include "gui/dialogs/TfrmInsereBloq.h"
#include "gui/dialogs/TtabGeral.h"
#include "gui/dialogs/TtabSons.h"
#include "gui/dialogs/TtbsRede.h"

#include "ConfNotaHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

class tst_NetworkPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void authentication_data();
    void authentication();
    void networkSwitch();
    void blockModes_data();
    void blockModes();
    void deleteEntry_data();
    void deleteEntry();
    void insertDialog();
    void listener_data();
    void listener();
};

void tst_NetworkPage::authentication_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("user");

    QTest::newRow("Nenhuma empties the account") << 2 << 0 << "";
    QTest::newRow("back to a method before OK") << 0 << 1 << "maria";
    QTest::newRow("MD5 kept") << 3 << 3 << "maria";
}

// "Nenhuma" disables user name and password but keeps their text until OK empties them.
void tst_NetworkPage::authentication() {
    QFETCH(int, stored);
    QFETCH(int, chosen);
    QFETCH(QString, user);
    ConfNotaHarness h;
    h.recRede.Enabled = true;
    h.recRede.Authtype = stored;
    h.recRede.Username = QStringLiteral("maria");
    h.recRede.Password = QStringLiteral("segredo");
    TfrmConfNota& dialog = h.openPreferences();
    TtbsRede* page = dialog.tbsRede;
    // Stored without a method, the account is shown neither filled nor usable.
    QCOMPARE(page->UsernameEdit->text(), stored ? QStringLiteral("maria") : QString());
    QCOMPARE(page->UsernameEdit->isEnabled(), stored != 0);

    page->AuthComboBox->setCurrentIndex(0);
    QVERIFY(!page->UsernameEdit->isEnabled());
    QVERIFY(!page->PasswordEdit->isEnabled());
    if (stored) {
        QCOMPARE(page->UsernameEdit->text(), QStringLiteral("maria"));
        QCOMPARE(page->PasswordEdit->text(), QStringLiteral("segredo"));
    }
    page->AuthComboBox->setCurrentIndex(chosen);
    if (!stored) {
        page->UsernameEdit->setText(QStringLiteral("maria"));
        page->PasswordEdit->setText(QStringLiteral("segredo"));
    }
    QCOMPARE(page->UsernameEdit->isEnabled(), chosen != 0);

    QVERIFY(h.pressOk());
    QCOMPARE(h.recRede.Authtype, chosen);
    QCOMPARE(h.recRede.Username, user);
    QCOMPARE(h.recRede.Password, user.isEmpty() ? QString() : QStringLiteral("segredo"));
}

// The network switch enables and disables the page together; the account fields and
// the list keep following their own choices.
void tst_NetworkPage::networkSwitch() {
    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openPreferences();
    TtbsRede* page = dialog.tbsRede;
    const QList<QWidget*> controls = {
        page->grpSMTP,         page->grpRedeLocal,        page->txtSMTPServer,
        page->txtPortaSMTP,    page->AuthComboBox,        page->radNaoBloqueia,
        page->radBloqueiaTudo, page->radBloqueiaSel,      page->txtSeuEmail,
        page->txtPortaTCP,     page->cmdAdicionaBloqueio, page->cmdApagaBloqueio};
    for (QWidget* control : controls)
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));

    page->chkHabilitaRede->click();
    for (QWidget* control : controls)
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    QVERIFY(!page->UsernameEdit->isEnabled());
    QVERIFY(!page->lstBloqueio->isEnabled());
    page->radBloqueiaSel->click();
    QVERIFY(page->lstBloqueio->isEnabled());

    page->chkHabilitaRede->click();
    for (QWidget* control : controls + QList<QWidget*>{page->lstBloqueio})
        QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
}

void tst_NetworkPage::blockModes_data() {
    QTest::addColumn<int>("storedType");
    QTest::addColumn<QStringList>("storedList");
    QTest::addColumn<QString>("mode"); // radio button clicked, or empty
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<int>("deleted"); // entries deleted from the top
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("notice");

    const QStringList stored = {"192.168.0.7", "10.0.0.1"};
    QTest::newRow("nobody blocked, list kept")
        << 0 << stored << "" << QStringList() << 0 << 0 << stored << false;
    QTest::newRow("selective chosen keeps the stored list")
        << 0 << stored << "radBloqueiaSel" << QStringList() << 0 << 2 << stored << false;
    QTest::newRow("selective chosen, one entry added")
        << 1 << stored << "radBloqueiaSel" << QStringList{" 192.168.0.9 "} << 0 << 2
        << stored + QStringList{" 192.168.0.9 "} << false;
    QTest::newRow("selective chosen, the stored entries deleted")
        << 0 << stored << "radBloqueiaSel" << QStringList() << 2 << 2 << QStringList() << true;
    QTest::newRow("selective, entries as shown")
        << 2 << stored << "" << QStringList{"", "10.0.0.1"} << 1 << 2
        << QStringList{"10.0.0.1", "", "10.0.0.1"} << false;
    QTest::newRow("selective emptied")
        << 2 << stored << "" << QStringList() << 2 << 2 << QStringList() << true;
    QTest::newRow("selective without entries") << 0 << QStringList() << "radBloqueiaSel"
                                               << QStringList() << 0 << 2 << QStringList() << true;
    QTest::newRow("blocking everybody keeps the stored list")
        << 2 << stored << "radBloqueiaTudo" << QStringList{"x"} << 0 << 1 << stored << false;
    QTest::newRow("back to nobody")
        << 1 << stored << "radNaoBloqueia" << QStringList() << 0 << 0 << stored << false;
}

void tst_NetworkPage::blockModes() {
    QFETCH(int, storedType);
    QFETCH(QStringList, storedList);
    QFETCH(QString, mode);
    QFETCH(QStringList, added);
    QFETCH(int, deleted);
    QFETCH(int, type);
    QFETCH(QStringList, list);
    QFETCH(bool, notice);
    ConfNotaHarness h;
    h.recRede.Enabled = true;
    h.recRede.Blocktype = storedType;
    h.recRede.BlockList = storedList;
    TfrmConfNota& dialog = h.openPreferences();
    TtbsRede* page = dialog.tbsRede;
    // The selective mode shows the stored list, from the opening or from its choice.
    QCOMPARE(ConfNotaHarness::itemTexts(page->lstBloqueio),
             storedType == 2 ? storedList : QStringList());
    QCOMPARE(page->lstBloqueio->isEnabled(), storedType == 2);

    if (!mode.isEmpty())
        page->findChild<QRadioButton*>(mode)->click();
    QCOMPARE(page->lstBloqueio->isEnabled(), page->radBloqueiaSel->isChecked());
    if (page->radBloqueiaSel->isChecked())
        QCOMPARE(ConfNotaHarness::itemTexts(page->lstBloqueio), storedList);
    for (int i = 0; i < deleted; ++i) {
        page->lstBloqueio->setCurrentRow(0);
        h.messages.answerNext(true);
        page->cmdApagaBloqueio->click();
    }
    for (const QString& entry : added) {
        ConfNotaHarness::whenModal([&] { page->cmdAdicionaBloqueio->click(); },
                                   [&] {
                                       QTest::keyClicks(page->frmInsereBloq()->txtBloq, entry);
                                       page->frmInsereBloq()->cmdOK->click();
                                   });
    }

    QVERIFY(h.pressOk());
    QCOMPARE(h.recRede.Blocktype, type);
    QCOMPARE(h.recRede.BlockList, list);
    QCOMPARE(h.messages.shown.size(), notice ? 1 : 0);
    if (notice) {
        QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Information);
        QCOMPARE(h.messages.shown[0].title, QStringLiteral("Aviso"));
        QCOMPARE(h.messages.shown[0].text,
                 QStringLiteral("Você não inseriu nenhum elemento na lista de bloqueio. O "
                                "sistema aceitará todas as mensagens."));
    }
}

void tst_NetworkPage::deleteEntry_data() {
    QTest::addColumn<int>("selected"); // -1: none
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("no selection") << -1 << false << QStringList{"a", "b", "c"};
    QTest::newRow("answered No") << 1 << false << QStringList{"a", "b", "c"};
    QTest::newRow("answered Yes") << 1 << true << QStringList{"a", "c"};
}

void tst_NetworkPage::deleteEntry() {
    QFETCH(int, selected);
    QFETCH(bool, yes);
    QFETCH(QStringList, left);
    ConfNotaHarness h;
    h.recRede.Enabled = true;
    h.recRede.Blocktype = 2;
    h.recRede.BlockList = {"a", "b", "c"};
    TfrmConfNota& dialog = h.openPreferences();
    TtbsRede* page = dialog.tbsRede;
    if (selected >= 0) {
        page->lstBloqueio->setCurrentRow(selected);
        h.messages.answerNext(yes);
    }
    page->cmdApagaBloqueio->click();
    QCOMPARE(ConfNotaHarness::itemTexts(page->lstBloqueio), left);
    if (selected < 0) {
        QCOMPARE(h.messages.shown.size(), 1);
        QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
        QCOMPARE(h.messages.shown[0].text, QStringLiteral("Selecione um ítem para exclusão!"));
        QVERIFY(h.messages.asked.isEmpty());
    } else {
        QCOMPARE(h.messages.asked.size(), 1);
        QCOMPARE(h.messages.asked[0].title, QStringLiteral("Atenção"));
        QCOMPARE(h.messages.asked[0].text, QStringLiteral("Confirma Exclusão deste ítem?"));
    }
}

// The insert dialog starts empty at each showing and offers the text as typed.
void tst_NetworkPage::insertDialog() {
    TfrmInsereBloq dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Inserir Remetente Bloqueado"));
    std::optional<QString> entry;
    ConfNotaHarness::whenModal([&] { entry = dialog.ask(); },
                               [&] {
                                   QTest::keyClicks(dialog.txtBloq, "  pc-da-ana ");
                                   dialog.cmdOK->click();
                               });
    QCOMPARE(entry, std::optional<QString>(QStringLiteral("  pc-da-ana ")));
    ConfNotaHarness::whenModal([&] { entry = dialog.ask(); },
                               [&] {
                                   QCOMPARE(dialog.txtBloq->text(), QString());
                                   QTest::keyClicks(dialog.txtBloq, "x");
                                   dialog.cmdCancelar->click();
                               });
    QCOMPARE(entry, std::nullopt);
}

void tst_NetworkPage::listener_data() {
    QTest::addColumn<bool>("wasEnabled");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("network on starts it") << false << true << "7801"
                                          << "" << QStringList{"start"};
    QTest::newRow("network off stops it") << true << false << "7801"
                                          << "" << QStringList{"stop"};
    QTest::newRow("a failed start is told") << false << true << "7801"
                                            << "Address already in use" << QStringList{"start"};
    QTest::newRow("the same port goes on listening") << true << true << "7801"
                                                     << "" << QStringList{"start"};
    QTest::newRow("a new port is listened on at once") << true << true << "7802"
                                                       << "" << QStringList{"stop", "start"};
    QTest::newRow("a new port with the network off") << true << false << "7802"
                                                     << "" << QStringList{"stop"};
}

void tst_NetworkPage::listener() {
    QFETCH(bool, wasEnabled);
    QFETCH(bool, enabled);
    QFETCH(QString, port);
    QFETCH(QString, failure);
    QFETCH(QStringList, calls);
    ConfNotaHarness h;
    h.recRede.Enabled = wasEnabled;
    h.server.failure = failure;
    TfrmConfNota& dialog = h.openPreferences();
    if (enabled != wasEnabled)
        dialog.tbsRede->chkHabilitaRede->click();
    dialog.tbsRede->txtPortaTCP->setText(port);
    dialog.tabSons->radUsaSom->click();
    dialog.tabGeral->chkPerguntaExclui->click();

    QVERIFY(h.pressOk());
    QCOMPARE(h.server.calls, calls);
    QCOMPARE(h.recRede.Enabled, enabled);
    QCOMPARE(h.recRede.PortTCP, port);
    // What comes after the listener is applied all the same.
    QVERIFY(h.recGeral.UseSounds);
    QVERIFY(!h.recGeral.AskDelete);
    QCOMPARE(h.messages.shown.size(), failure.isEmpty() ? 0 : 1);
    if (!failure.isEmpty()) {
        QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
        QCOMPARE(h.messages.shown[0].text, failure);
    }
}

QTEST_MAIN(tst_NetworkPage)
#include "tst_NetworkPage.moc"

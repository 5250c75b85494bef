// The preferences dialog: priming, what OK takes from each page, the autosave check,
// the sounds page and the backup folder.

#include "gui/dialogs/TfrmConfSom.h"
#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/TtabFonteCor.h"
#include "gui/dialogs/TtabGeral.h"
#include "gui/dialogs/TtabSons.h"
#include "gui/dialogs/TtbsRede.h"

#include "ConfNotaHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

// Double-clicks a row of the sounds list and runs action on the sound dialog it opens.
void doubleClickRow(TtabSons* page, int row, const std::function<void(TfrmConfSom*)>& action) {
    TfrmConfSom* sound = page->frmConfSom();
    ConfNotaHarness::whenModal(
        [&] { Q_EMIT page->lstSom->itemDoubleClicked(page->lstSom->topLevelItem(row), 0); },
        [=] {
            QVERIFY(sound->isVisible());
            action(sound);
            if (sound->isVisible())
                sound->cmdCancelar->click();
        });
}

} // namespace

class tst_Preferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void priming();
    void untouchedOkKeepsTheSettings_data();
    void untouchedOkKeepsTheSettings();
    void okTakesEveryPage();
    void autoSave_data();
    void autoSave();
    void backupOnExitNeedsAFolder();
    void soundRows_data();
    void soundRows();
    void soundDialog_data();
    void soundDialog();
    void testButton();
    void backupFolder_data();
    void backupFolder();
};

// Every page shows, primed from the settings.
void tst_Preferences::priming() {
    ConfNotaHarness h;
    h.recGeral.UseSounds = false;
    h.recRede.Authtype = 1;
    h.recRede.Username = QStringLiteral("maria");
    h.recRede.Password = QStringLiteral("segredo");
    TfrmConfNota& dialog = h.openPreferences();
    QCOMPARE(dialog.ConfiguredNote, -1);
    for (int page = 0; page < TfrmConfNota::PageCount; ++page)
        QVERIFY(dialog.pagGeral->isTabVisible(page));
    for (int page = 0; page < TfrmConfNota::PageCount; ++page) {
        dialog.pagGeral->setCurrentIndex(page);
        QCOMPARE(dialog.helpContext(), page + 2);
    }

    TtabFonteCor* look = dialog.tabFonteCor;
    QCOMPARE(look->previewColor(), 0x80FFFF);
    QCOMPARE(look->captionColor(), 0x80FFFF);
    QCOMPARE(look->captionText(), QStringLiteral("25/12/2002 14:30:05"));
    QVERIFY(look->chkDataCaption->isEnabled());
    QVERIFY(!look->TrackBar1->isEnabled());
    QCOMPARE(look->TrackBar1->value(), 12);

    // The alarm page, all disabled, lists the weekdays as a note's alarm page does.
    TtabAlarme* alarm = dialog.tabAlarme;
    QCOMPARE(ConfNotaHarness::itemTexts(alarm->chkDiasDaSemana),
             (QStringList{"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"}));

    TtabSons* sounds = dialog.tabSons;
    QVERIFY(sounds->radNaoUsaSom->isChecked());
    QVERIFY(!sounds->lstSom->isEnabled());
    QVERIFY(!sounds->cmdPlay->isEnabled());
    QCOMPARE(sounds->lstSom->headerItem()->text(0), QStringLiteral("Evento"));
    QCOMPARE(sounds->lstSom->headerItem()->text(1), QStringLiteral("Caminho Completo"));
    QCOMPARE(sounds->lstSom->topLevelItem(2)->text(0), QStringLiteral("Recebimento de Nota"));
    QCOMPARE(sounds->path(TtabSons::RowReceivedNote), h.recGeral.SoundRecSticky);

    TtabGeral* general = dialog.tabGeral;
    QCOMPARE(general->lblDirDados->text(), ConfNotaHarness::DataDir);
    QCOMPARE(general->txtIDUsuario->text(), QStringLiteral("maria"));
    QCOMPARE(general->txtAutoSave->text(), QStringLiteral("10"));
    QVERIFY(!general->txtLocalBackup->isEnabled());

    TtbsRede* network = dialog.tbsRede;
    QVERIFY(!network->grpSMTP->isEnabled());
    QCOMPARE(network->AuthComboBox->currentText(), QStringLiteral("Texto Plano"));
    QCOMPARE(network->PasswordEdit->text(), QStringLiteral("segredo"));
    QCOMPARE(network->PasswordEdit->displayText(), QStringLiteral("*******"));
    QCOMPARE(network->txtPortaTCP->text(), QStringLiteral("7801"));
}

void tst_Preferences::untouchedOkKeepsTheSettings_data() {
    QTest::addColumn<GeneralSettings>("general");
    QTest::addColumn<NetworkSettings>("network");

    ConfNotaHarness fresh;
    QTest::newRow("a fresh notes file") << fresh.recGeral << fresh.recRede;

    GeneralSettings general = fresh.recGeral;
    general.UseSounds = true;
    general.DefaultColor = 0x00C08040;
    general.DefaultFont = NoteFont{QStringLiteral("Courier New"), 14, 0x00FF00, true, true};
    general.ScrollBar = true;
    general.DarkCaption = true;
    general.TrackPosition = 20;
    general.ShowDate = false;
    general.AutoSave = false;
    general.TimeAutoSave = 3;
    general.NoteDaily = true;
    general.BackupOnExit = true;
    general.BackupPath = QStringLiteral("/srv/copias/");
    general.SoundDelSticky.clear();
    NetworkSettings network = fresh.recRede;
    network.Enabled = true;
    network.SMTPServer = QStringLiteral("smtp.exemplo.com.br");
    network.SMTPPort = QStringLiteral("587");
    network.Authtype = 3;
    network.Email = QStringLiteral("maria@exemplo.com.br");
    network.Username = QStringLiteral("maria");
    network.Password = QStringLiteral("s3gr3do");
    network.Blocktype = 2;
    network.BlockList = {QStringLiteral("192.168.0.7"), QString(), QStringLiteral("10.0.0.1")};
    network.PortTCP = QStringLiteral("7900");
    network.SMTPSecurity = 2;
    QTest::newRow("every setting away from its default") << general << network;

    network.Blocktype = 1;
    QTest::newRow("blocking everybody keeps the list") << general << network;
}

// OK without a change leaves every setting as it was, whatever they hold.
void tst_Preferences::untouchedOkKeepsTheSettings() {
    QFETCH(GeneralSettings, general);
    QFETCH(NetworkSettings, network);
    ConfNotaHarness h;
    h.recGeral = general;
    h.recRede = network;
    h.openPreferences();
    QVERIFY(h.pressOk());
    QCOMPARE(h.recGeral, general);
    QCOMPARE(h.recRede, network);
    QCOMPARE(h.applied, 1);
    QVERIFY(!h.configured);
    QVERIFY(h.messages.shown.isEmpty());
}

void tst_Preferences::okTakesEveryPage() {
    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openPreferences();
    h.dialogs.answerColor(0x00FFC0C0);
    dialog.tabFonteCor->cmdCordeFundo->click();
    h.dialogs.answerFont(NoteFont{QStringLiteral("Verdana"), 9, 0x000080, false, true});
    dialog.tabFonteCor->cmdFonte->click();
    dialog.tabFonteCor->chkScroll->click();
    dialog.tabFonteCor->chkCorCaption->click();
    dialog.tabFonteCor->TrackBar1->setValue(18);
    dialog.tabFonteCor->chkHoraCaption->click();
    dialog.tabSons->radUsaSom->click();
    dialog.tabGeral->txtIDUsuario->setText(QStringLiteral("Maria da Silva"));
    dialog.tabGeral->txtAutoSave->setText(QStringLiteral("15"));
    dialog.tabGeral->chkPerguntaExclui->click();
    dialog.tabGeral->chkCriaNotaAlarme->click();
    dialog.tabGeral->chkLocalBackup->click();
    dialog.tabGeral->txtLocalBackup->setText(QStringLiteral("/srv/copias/"));
    TtbsRede* network = dialog.tbsRede;
    network->chkHabilitaRede->click();
    network->txtSMTPServer->setText(QStringLiteral("smtp.exemplo.com.br"));
    network->txtPortaSMTP->setText(QStringLiteral("465"));
    network->txtSeuEmail->setText(QStringLiteral("maria@exemplo.com.br"));
    network->AuthComboBox->setCurrentIndex(2);
    network->UsernameEdit->setText(QStringLiteral("maria"));
    network->PasswordEdit->setText(QStringLiteral("segredo"));
    network->txtPortaTCP->setText(QStringLiteral("7802"));
    network->SecurityComboBox->setCurrentIndex(1);

    GeneralSettings general = h.recGeral;
    general.UseSounds = true;
    general.DefaultColor = 0x00FFC0C0;
    general.DefaultFont = NoteFont{QStringLiteral("Verdana"), 9, 0x000080, false, true};
    general.ScrollBar = true;
    general.DarkCaption = true;
    general.TrackPosition = 18;
    general.ShowTime = false;
    general.User = QStringLiteral("Maria da Silva");
    general.TimeAutoSave = 15;
    general.AskDelete = false;
    general.NoteDaily = true;
    general.BackupOnExit = true;
    general.BackupPath = QStringLiteral("/srv/copias/");
    NetworkSettings rede = h.recRede;
    rede.Enabled = true;
    rede.SMTPServer = QStringLiteral("smtp.exemplo.com.br");
    rede.SMTPPort = QStringLiteral("465");
    rede.Email = QStringLiteral("maria@exemplo.com.br");
    rede.Authtype = 2;
    rede.Username = QStringLiteral("maria");
    rede.Password = QStringLiteral("segredo");
    rede.PortTCP = QStringLiteral("7802");
    rede.SMTPSecurity = 1;

    QVERIFY(h.pressOk());
    QCOMPARE(h.recGeral, general);
    QCOMPARE(h.recRede, rede);
}

void tst_Preferences::autoSave_data() {
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: refused

    QTest::newRow("4") << true << "4" << -1;
    QTest::newRow("5") << true << "5" << 5;
    QTest::newRow("60") << true << "60" << 60;
    QTest::newRow("61") << true << "61" << -1;
    QTest::newRow("not a number") << true << "dez" << -1;
    QTest::newRow("empty") << true << "" << -1;
    QTest::newRow("4 without autosave") << false << "4" << 4;
    QTest::newRow("61 without autosave") << false << "61" << 61;
    QTest::newRow("not a number without autosave") << false << "1O" << -1;
}

void tst_Preferences::autoSave() {
    QFETCH(bool, autoSave);
    QFETCH(QString, text);
    QFETCH(int, stored);
    ConfNotaHarness h;
    const GeneralSettings before = h.recGeral;
    const NetworkSettings network = h.recRede;
    TfrmConfNota& dialog = h.openPreferences();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TtabGeral* page = dialog.tabGeral;
    page->chkAutoSave->setChecked(autoSave);
    page->txtAutoSave->setText(text);
    dialog.tabGeral->txtIDUsuario->setText(QStringLiteral("outra"));

    QCOMPARE(h.pressOk(), stored >= 0);
    if (stored >= 0) {
        QCOMPARE(h.recGeral.TimeAutoSave, stored);
        QCOMPARE(h.recGeral.AutoSave, autoSave);
        return;
    }
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
    QCOMPARE(h.messages.shown[0].text,
             QStringLiteral("O tempo de salvamento automático deve estar entre 5 e 60 minutos!"));
    QCOMPARE(dialog.pagGeral->currentIndex(), int(TfrmConfNota::PageGeral));
    QCOMPARE(QApplication::focusWidget(), page->txtAutoSave);
    QCOMPARE(h.recGeral, before);
    QCOMPARE(h.recRede, network);
    QVERIFY(h.server.calls.isEmpty());
    QCOMPARE(h.applied, 0);
}

// Without a folder every backup on exit would fail: OK refuses it until one is named.
void tst_Preferences::backupOnExitNeedsAFolder() {
    ConfNotaHarness h;
    const GeneralSettings before = h.recGeral;
    TfrmConfNota& dialog = h.openPreferences();
    TtabGeral* page = dialog.tabGeral;
    page->chkLocalBackup->setChecked(true);
    page->txtLocalBackup->setText(QStringLiteral("  "));
    QVERIFY(!h.pressOk());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text,
             QStringLiteral("Escolha a pasta para o backup na saída do programa!"));
    QCOMPARE(h.recGeral, before);

    page->txtLocalBackup->setText(QStringLiteral("/backup"));
    QVERIFY(h.pressOk());
    QVERIFY(h.recGeral.BackupOnExit);
    QCOMPARE(h.recGeral.BackupPath, QStringLiteral("/backup"));
}

void tst_Preferences::soundRows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::newRow("new note") << 0 << "Evento Nova Nota: ";
    QTest::newRow("deleted note") << 1 << "Evento Excluir Nota: ";
    QTest::newRow("received note") << 2 << "Evento Recebimento de Nota: ";
}

// A double click opens the event's sound dialog, only while sounds are used; its OK
// changes that row, and the preferences' OK that setting.
void tst_Preferences::soundRows() {
    QFETCH(int, row);
    QFETCH(QString, caption);
    ConfNotaHarness h;
    h.recGeral.UseSounds = true;
    const GeneralSettings before = h.recGeral;
    TfrmConfNota& dialog = h.openPreferences();
    TtabSons* page = dialog.tabSons;
    const QString old = page->path(row);

    page->radNaoUsaSom->click();
    page->lstSomDblClick(row);
    QVERIFY(!page->frmConfSom()->isVisible());
    page->radUsaSom->click();

    h.dialogs.answerPath(QStringLiteral("/sons/novo.wav"));
    doubleClickRow(page, row, [&](TfrmConfSom* sound) {
        QCOMPARE(sound->windowTitle(), QStringLiteral("Configurar Som"));
        QCOMPARE(sound->rgpEvento->title(), caption);
        QCOMPARE(sound->fleWave->text(), old);
        QVERIFY(sound->rgpEventoSom->isChecked());
        sound->cmdProcurar->click();
        sound->cmdOK->click();
    });
    QCOMPARE(h.dialogs.opened.last().start, QStringLiteral("/sounds"));
    QCOMPARE(page->path(row), QStringLiteral("/sons/novo.wav"));

    QVERIFY(h.pressOk());
    const QStringList paths = {h.recGeral.SoundNewSticky, h.recGeral.SoundDelSticky,
                               h.recGeral.SoundRecSticky};
    const QStringList oldPaths = {before.SoundNewSticky, before.SoundDelSticky,
                                  before.SoundRecSticky};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(paths[i], i == row ? QStringLiteral("/sons/novo.wav") : oldPaths[i]);
}

void tst_Preferences::soundDialog_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("choice"); // "none", "file" or "" to leave it
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("result");

    QTest::newRow("no path starts at Sem Som") << ""
                                               << ""
                                               << "" << true << false << "";
    QTest::newRow("Sem Som empties the path") << "/a.wav"
                                              << "none"
                                              << "" << true << false << "";
    QTest::newRow("Som: without a file is refused") << ""
                                                    << "file"
                                                    << "" << true << true << "";
    QTest::newRow("Som: with a typed file") << ""
                                            << "file"
                                            << "/b.wav" << true << false << "/b.wav";
    QTest::newRow("Cancel keeps the path") << "/a.wav"
                                           << ""
                                           << "/b.wav" << false << false << "/a.wav";
}

void tst_Preferences::soundDialog() {
    QFETCH(QString, path);
    QFETCH(QString, choice);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(bool, refused);
    QFETCH(QString, result);
    ConfNotaHarness h;
    h.recGeral.UseSounds = true;
    h.recGeral.SoundNewSticky = path;
    TfrmConfNota& dialog = h.openPreferences();
    TtabSons* page = dialog.tabSons;
    bool stayedOpen = false;
    doubleClickRow(page, TtabSons::RowNewNote, [&](TfrmConfSom* sound) {
        QCOMPARE(sound->rgpEventoSemSom->isChecked(), path.isEmpty());
        QCOMPARE(sound->fleWave->isEnabled(), !path.isEmpty());
        if (choice == QLatin1String("none"))
            sound->rgpEventoSemSom->click();
        else if (choice == QLatin1String("file"))
            sound->rgpEventoSom->click();
        QCOMPARE(sound->fleWave->isEnabled(), sound->rgpEventoSom->isChecked());
        if (!typed.isEmpty())
            sound->fleWave->setText(typed);
        (ok ? sound->cmdOK : sound->cmdCancelar)->click();
        stayedOpen = sound->isVisible();
    });
    QCOMPARE(stayedOpen, refused);
    QCOMPARE(page->path(TtabSons::RowNewNote), result);
    QCOMPARE(h.messages.shown.size(), refused ? 1 : 0);
    if (refused)
        QCOMPARE(h.messages.shown[0].text, QStringLiteral("Selecione um arquivo!"));
}

// "&Testar" of the sounds page plays the selected row and waits with the hourglass.
void tst_Preferences::testButton() {
    ConfNotaHarness h;
    h.recGeral.UseSounds = true;
    TfrmConfNota& dialog = h.openPreferences();
    TtabSons* page = dialog.tabSons;
    page->cmdPlay->click();
    QVERIFY(h.sound.playedSync.isEmpty());

    bool buttonWhilePlaying = true;
    bool hourglass = false;
    h.sound.whilePlayingSync = [&](const QString&) {
        buttonWhilePlaying = page->cmdPlay->isEnabled();
        hourglass = QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    h.sound.unplayable.insert(h.recGeral.SoundDelSticky);
    page->lstSom->setCurrentItem(page->lstSom->topLevelItem(TtabSons::RowDeleteNote));
    page->cmdPlay->click();
    QCOMPARE(h.sound.playedSync, QStringList{h.recGeral.SoundDelSticky});
    QVERIFY(!buttonWhilePlaying);
    QVERIFY(hourglass);
    QVERIFY(page->cmdPlay->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text, QStringLiteral("Este não é um arquivo de som válido!"));
}

void tst_Preferences::backupFolder_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("field");
    QTest::newRow("a folder gets its separator") << "/srv/copias"
                                                 << "/srv/copias/";
    QTest::newRow("one separator only") << "/srv/copias/"
                                        << "/srv/copias/";
    QTest::newRow("cancelled") << ""
                               << "/antes/";
}

void tst_Preferences::backupFolder() {
    QFETCH(QString, chosen);
    QFETCH(QString, field);
    ConfNotaHarness h;
    h.recGeral.BackupPath = QStringLiteral("/antes/");
    TfrmConfNota& dialog = h.openPreferences();
    TtabGeral* page = dialog.tabGeral;
    QVERIFY(!page->cmdLocalBackup->isEnabled());
    page->chkLocalBackup->click();
    QVERIFY(page->cmdLocalBackup->isEnabled());
    QVERIFY(page->txtLocalBackup->isEnabled());

    h.dialogs.answerPath(chosen);
    page->cmdLocalBackup->click();
    QCOMPARE(h.dialogs.opened.last().kind, QStringLiteral("folder"));
    QCOMPARE(h.dialogs.opened.last().title, QStringLiteral("Selecione o Local para Backup"));
    QCOMPARE(h.dialogs.opened.last().start, QStringLiteral("/antes/"));
    QCOMPARE(page->txtLocalBackup->text(), field);
    QVERIFY(h.pressOk());
    QCOMPARE(h.recGeral.BackupPath, field);
    QVERIFY(h.recGeral.BackupOnExit);
}

QTEST_MAIN(tst_Preferences)
#include "tst_Preferences.moc"

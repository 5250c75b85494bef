// The configuration dialog's alarm page: the alarm it proposes, the fields it shows and
// gives back, weekdays, disarming, alarms in the past, the reminder's interval, which
// controls are enabled, and the sound buttons.
#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/UpDown.h"
#include "tests/dialogs/ConfNotaHarness.h"
#include "tests/dialogs/SampleNotes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include <array>

namespace {

using Days = std::array<bool, 7>;

} // namespace

class tst_AlarmPage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void proposedAlarm_data();
    void proposedAlarm();
    void armedAlarmComesBackUnchanged();
    void weekdayItems_data();
    void weekdayItems();
    void disarm_data();
    void disarm();
    void alarmInThePast_data();
    void alarmInThePast();
    void reminderInterval_data();
    void reminderInterval();
    void alarmEnabling_data();
    void alarmEnabling();
    void intervalArrows();
    void soundButtons_data();
    void soundButtons();
};

void tst_AlarmPage::proposedAlarm_data() {
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("proposed");
    QTest::newRow("afternoon") << QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5, 500))
                               << QDateTime(QDate(2002, 12, 25), QTime(14, 35, 5));
    QTest::newRow("across midnight") << QDateTime(QDate(2002, 12, 25), QTime(23, 57, 30))
                                     << QDateTime(QDate(2002, 12, 26), QTime(0, 2, 30));
    QTest::newRow("across the year") << QDateTime(QDate(2002, 12, 31), QTime(23, 59))
                                     << QDateTime(QDate(2003, 1, 1), QTime(0, 4));
}

// A note without alarm is offered one five minutes ahead, every weekday, in minutes;
// enabling it and pressing OK arms exactly that.
void tst_AlarmPage::proposedAlarm() {
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, proposed);
    ConfNotaHarness h;
    h.clock.set(now);
    TfrmConfNota& dialog = h.openNote(plainNote());
    TtabAlarme* page = dialog.tabAlarme;

    QVERIFY(!page->chkHabAlarme->isChecked());
    QVERIFY(page->chkHabAlarme->isEnabled());
    QVERIFY(!page->dtmDataAlarme->isEnabled());
    QVERIFY(!page->dtmHoraAlarme->isEnabled());
    QCOMPARE(page->joinedDateTime(), proposed);
    QCOMPARE(ConfNotaHarness::itemTexts(page->chkDiasDaSemana),
             (QStringList{"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"}));
    QCOMPARE(page->weekdays(), (Days{true, true, true, true, true, true, true}));
    QCOMPARE(page->cboUnidade->count(), 5);
    QCOMPARE(page->cboUnidade->currentText(), QStringLiteral("minuto(s)"));
    QVERIFY(!page->chkTocaSom->isChecked());
    QCOMPARE(page->fleSom->text(), QString());

    page->chkHabAlarme->click();
    QVERIFY(page->dtmDataAlarme->isEnabled());
    QVERIFY(h.pressOk());
    QVERIFY(h.configured);
    QVERIFY(h.configured->alarm);
    QCOMPARE(h.configured->AlarmDateTime, proposed);
    QCOMPARE(h.configured->weekdays, (Days{true, true, true, true, true, true, true}));
    QCOMPARE(h.configured->RememberUnit, 0);
    QCOMPARE(h.configured->Remember, false);
    QCOMPARE(h.configured->UseSound, false);
}

// Every alarm field is shown and, untouched, comes back as it was.
void tst_AlarmPage::armedAlarmComesBackUnchanged() {
    ConfNotaHarness h;
    const NoteRecord note = armedNote();
    TfrmConfNota& dialog = h.openNote(note, 7);
    TtabAlarme* page = dialog.tabAlarme;
    QCOMPARE(page->dtmDataAlarme->date(), QDate(2003, 1, 10));
    QCOMPARE(page->dtmHoraAlarme->time(), QTime(8, 15, 30));
    QCOMPARE(page->fleSom->text(), QStringLiteral("/sons/alarme.wav"));
    QCOMPARE(page->txtCada->text(), QStringLiteral("15"));
    QCOMPARE(page->cboUnidade->currentText(), QStringLiteral("semana(s)"));
    QVERIFY(page->txtCada->isEnabled());

    QVERIFY(h.pressOk());
    QCOMPARE(h.configuredNumber, 7);
    QCOMPARE(*h.configured, note);
}

void tst_AlarmPage::weekdayItems_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("caption");
    QTest::newRow("item 0 is Dia1") << 0 << "Domingo";
    QTest::newRow("item 3 is Dia4") << 3 << "Quarta";
    QTest::newRow("item 6 is Dia7") << 6 << "Sábado";
}

void tst_AlarmPage::weekdayItems() {
    QFETCH(int, item);
    QFETCH(QString, caption);
    ConfNotaHarness h;
    NoteRecord note = armedNote();
    note.weekdays = {true, true, true, true, true, true, true};
    TfrmConfNota& dialog = h.openNote(note);
    QListWidgetItem* day = dialog.tabAlarme->chkDiasDaSemana->item(item);
    QCOMPARE(day->text(), caption);
    day->setCheckState(Qt::Unchecked);

    QVERIFY(h.pressOk());
    Days expected{true, true, true, true, true, true, true};
    expected[item] = false;
    QCOMPARE(h.configured->weekdays, expected);
}

void tst_AlarmPage::disarm_data() {
    QTest::addColumn<QDateTime>("alarmAt");
    QTest::newRow("alarm still to come") << QDateTime(QDate(2003, 1, 10), QTime(8, 15, 30));
    QTest::newRow("alarm already past") << QDateTime(QDate(2002, 12, 1), QTime(8, 0));
}

// Unchecking "Habilita Alarme" disarms the note; its other alarm fields stay, and no
// date check stands in the way.
void tst_AlarmPage::disarm() {
    QFETCH(QDateTime, alarmAt);
    ConfNotaHarness h;
    NoteRecord note = armedNote();
    note.AlarmDateTime = alarmAt;
    TfrmConfNota& dialog = h.openNote(note);
    dialog.tabAlarme->chkHabAlarme->click();
    QVERIFY(!dialog.tabAlarme->dtmDataAlarme->isEnabled());

    QVERIFY(h.pressOk());
    NoteRecord expected = note;
    expected.alarm = false;
    QCOMPARE(*h.configured, expected);
    QVERIFY(h.messages.shown.isEmpty());
}

void tst_AlarmPage::alarmInThePast_data() {
    QTest::addColumn<int>("milliseconds"); // of the clock, within 14:30:05
    QTest::addColumn<int>("offset");       // seconds from 14:30:05
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a minute ago") << 500 << -60 << false;
    QTest::newRow("the current second, at its start") << 0 << 0 << false;
    QTest::newRow("the current second, half-way through") << 500 << 0 << false;
    QTest::newRow("the next second") << 999 << 1 << true;
}

void tst_AlarmPage::alarmInThePast() {
    QFETCH(int, milliseconds);
    QFETCH(int, offset);
    QFETCH(bool, accepted);
    ConfNotaHarness h;
    h.clock.set(QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5, milliseconds)));
    TfrmConfNota& dialog = h.openNote(plainNote());
    TtabAlarme* page = dialog.tabAlarme;
    page->chkHabAlarme->click();
    const QDateTime at = QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5)).addSecs(offset);
    page->dtmDataAlarme->setDate(at.date());
    page->dtmHoraAlarme->setTime(at.time());
    dialog.pagGeral->setCurrentIndex(TfrmConfNota::PageFonteCor);

    QCOMPARE(h.pressOk(), accepted);
    if (accepted) {
        QCOMPARE(h.configured->AlarmDateTime, at);
        return;
    }
    QVERIFY(!h.configured);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.pagGeral->currentIndex(), int(TfrmConfNota::PageAlarme));
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
    QCOMPARE(h.messages.shown[0].title, QStringLiteral("Erro"));
    QCOMPARE(h.messages.shown[0].text,
             QStringLiteral("A data e hora selecionada para o alarme é mais antiga que a atual!"));
}

void tst_AlarmPage::reminderInterval_data() {
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: refused

    QTest::newRow("letters") << true << "dez" << -1;
    QTest::newRow("empty") << true << "" << -1;
    QTest::newRow("zero") << true << "0" << -1;
    QTest::newRow("negative") << true << "-3" << -1;
    QTest::newRow("1000") << true << "1000" << -1;
    QTest::newRow("a fraction") << true << "2,5" << -1;
    QTest::newRow("999") << true << "999" << 999;
    QTest::newRow("blanks around") << true << " 12 " << 12;
    QTest::newRow("no reminder keeps the old interval") << false << "dez" << 15;
}

void tst_AlarmPage::reminderInterval() {
    QFETCH(bool, remember);
    QFETCH(QString, text);
    QFETCH(int, stored);
    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openNote(armedNote());
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TtabAlarme* page = dialog.tabAlarme;
    page->chkRemarca->setChecked(remember);
    page->txtCada->setText(text);

    QCOMPARE(h.pressOk(), stored >= 0);
    if (stored >= 0) {
        QCOMPARE(h.configured->RememberNo, stored);
        QCOMPARE(h.configured->Remember, remember);
        return;
    }
    QCOMPARE(h.messages.shown.size(), 1);
    QCOMPARE(h.messages.shown[0].text,
             QStringLiteral("O intervalo de repetição deve ser um número inteiro entre 1 e 999!"));
    QCOMPARE(QApplication::focusWidget(), page->txtCada);
    QCOMPARE(page->txtCada->text(), text);
}

void tst_AlarmPage::alarmEnabling_data() {
    QTest::addColumn<QString>("opened"); // "plain", "armed" (with a reminder), "preferences"
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("enabled"); // every other control is disabled

    const QStringList alarm = {"chkHabAlarme", "dtmDataAlarme", "dtmHoraAlarme", "chkRemarca",
                               "chkTocaSom",   "fleSom",        "cmdProcurar",   "cmdTestar"};
    const QStringList reminder = {"txtCada", "updCada", "cboUnidade", "chkDiasDaSemana"};
    QTest::newRow("no alarm") << "plain" << QStringList() << QStringList{"chkHabAlarme"};
    QTest::newRow("alarm enabled") << "plain" << QStringList{"chkHabAlarme"} << alarm;
    QTest::newRow("reminder checked")
        << "plain" << QStringList{"chkHabAlarme", "chkRemarca"} << alarm + reminder;
    QTest::newRow("alarm disabled with the reminder checked")
        << "plain" << QStringList{"chkHabAlarme", "chkRemarca", "chkHabAlarme"}
        << QStringList{"chkHabAlarme"};
    QStringList soundOff = alarm;
    soundOff.removeOne("fleSom");
    QTest::newRow("sound off") << "plain" << QStringList{"chkHabAlarme", "chkTocaSom", "chkTocaSom"}
                               << soundOff;
    QTest::newRow("armed reminder") << "armed" << QStringList() << alarm + reminder;
    QTest::newRow("armed reminder, alarm disabled")
        << "armed" << QStringList{"chkHabAlarme"} << QStringList{"chkHabAlarme"};
    QTest::newRow("preferences") << "preferences" << QStringList() << QStringList();
}

// What the alarm page lets the user change: only what the alarm, as the boxes set it,
// will use.
void tst_AlarmPage::alarmEnabling() {
    QFETCH(QString, opened);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, enabled);
    ConfNotaHarness h;
    TfrmConfNota& dialog = opened == "preferences"
                               ? h.openPreferences()
                               : h.openNote(opened == "armed" ? armedNote() : plainNote());
    TtabAlarme* page = dialog.tabAlarme;
    for (const QString& name : clicks)
        page->findChild<QCheckBox*>(name)->click();

    const QList<QWidget*> controls = {
        page->chkHabAlarme, page->dtmDataAlarme, page->dtmHoraAlarme, page->chkRemarca,
        page->txtCada,      page->updCada,       page->cboUnidade,    page->chkDiasDaSemana,
        page->chkTocaSom,   page->fleSom,        page->cmdProcurar,   page->cmdTestar};
    for (QWidget* control : controls)
        QVERIFY2(control->isEnabled() == enabled.contains(control->objectName()),
                 qPrintable(control->objectName()));
}

// The interval's arrows.
void tst_AlarmPage::intervalArrows() {
    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openNote(armedNote());
    TtabAlarme* page = dialog.tabAlarme;
    // The arrows step from the typed number, within 1..999.
    page->txtCada->setText(QStringLiteral("998"));
    page->updCada->upButton()->click();
    page->updCada->upButton()->click();
    QCOMPARE(page->txtCada->text(), QStringLiteral("999"));
    page->txtCada->setText(QStringLiteral("x"));
    page->updCada->downButton()->click();
    QCOMPARE(page->txtCada->text(), QStringLiteral("998"));
}

void tst_AlarmPage::soundButtons_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("playable");
    QTest::newRow("a sound") << "/sons/alarme.wav" << true;
    QTest::newRow("not a sound") << "/sons/leiame.txt" << false;
    QTest::newRow("no file") << "" << false;
}

// "..." starts in the desktop's sound folder; "&Testar" plays the field's file and
// waits for it, and tells when it is no sound.
void tst_AlarmPage::soundButtons() {
    QFETCH(QString, file);
    QFETCH(bool, playable);
    ConfNotaHarness h;
    TfrmConfNota& dialog = h.openNote(armedNote());
    TtabAlarme* page = dialog.tabAlarme;
    h.dialogs.answerPath(file);
    page->cmdProcurar->click();
    QCOMPARE(h.dialogs.opened.last().kind, QStringLiteral("openFile"));
    QCOMPARE(h.dialogs.opened.last().start, QStringLiteral("/sounds"));
    // A cancelled choice keeps the field.
    QCOMPARE(page->fleSom->text(), file.isEmpty() ? QStringLiteral("/sons/alarme.wav") : file);
    page->fleSom->setText(file);

    if (!playable)
        h.sound.unplayable.insert(file);
    bool buttonWhilePlaying = true;
    h.sound.whilePlayingSync = [&](const QString&) {
        buttonWhilePlaying = page->cmdTestar->isEnabled();
    };
    page->cmdTestar->click();
    QCOMPARE(h.sound.playedSync, QStringList{file});
    QVERIFY(!buttonWhilePlaying);
    QVERIFY(page->cmdTestar->isEnabled());
    QCOMPARE(h.messages.shown.size(), playable ? 0 : 1);
    if (!playable) {
        QCOMPARE(h.messages.shown[0].icon, MessageBoxes::Icon::Error);
        QCOMPARE(h.messages.shown[0].title, QStringLiteral("Erro"));
        QCOMPARE(h.messages.shown[0].text, QStringLiteral("Este não é um arquivo de som válido!"));
    }
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(tst_AlarmPage)
#include "tst_AlarmPage.moc"

#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/TtabFonteCor.h"
#include "gui/dialogs/UpDown.h"

#include "ConfNotaHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

namespace {

using Days = std::array<bool, 7>;

NoteRecord plainNote() {
    NoteRecord note;
    note.caption = QStringLiteral("Comprar pão");
    note.Color = 0x80FFFF;
    note.FontName = QStringLiteral("Arial");
    note.FontSize = 10;
    note.FontColor = 0x000080;
    note.AlarmDateTime = QDateTime(QDate(2002, 1, 1), QTime(9, 0));
    return note;
}

NoteRecord armedNote() {
    NoteRecord note = plainNote();
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2003, 1, 10), QTime(8, 15, 30));
    note.UseSound = true;
    note.SoundFile = QStringLiteral("/sons/alarme.wav");
    note.weekdays = {false, true, false, true, false, true, false};
    note.Remember = true;
    note.RememberNo = 15;
    note.RememberUnit = 3;
    return note;
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

} // namespace

class tst_NoteConfiguration : public QObject {
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
    void noteModeLayout();
    void captionPreview_data();
    void captionPreview();
    void colourAndFontDialogs();
    void cancelChangesNothing();
    void soundButtons_data();
    void soundButtons();
};

void tst_NoteConfiguration::proposedAlarm_data() {
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
void tst_NoteConfiguration::proposedAlarm() {
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
    QCOMPARE(itemTexts(page->chkDiasDaSemana),
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
void tst_NoteConfiguration::armedAlarmComesBackUnchanged() {
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

void tst_NoteConfiguration::weekdayItems_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("caption");
    QTest::newRow("item 0 is Dia1") << 0 << "Domingo";
    QTest::newRow("item 3 is Dia4") << 3 << "Quarta";
    QTest::newRow("item 6 is Dia7") << 6 << "Sábado";
}

void tst_NoteConfiguration::weekdayItems() {
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

void tst_NoteConfiguration::disarm_data() {
    QTest::addColumn<QDateTime>("alarmAt");
    QTest::newRow("alarm still to come") << QDateTime(QDate(2003, 1, 10), QTime(8, 15, 30));
    QTest::newRow("alarm already past") << QDateTime(QDate(2002, 12, 1), QTime(8, 0));
}

// Unchecking "Habilita Alarme" disarms the note; its other alarm fields stay, and no
// date check stands in the way.
void tst_NoteConfiguration::disarm() {
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

void tst_NoteConfiguration::alarmInThePast_data() {
    QTest::addColumn<int>("milliseconds"); // of the clock, within 14:30:05
    QTest::addColumn<int>("offset");       // seconds from 14:30:05
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a minute ago") << 500 << -60 << false;
    QTest::newRow("the current second, at its start") << 0 << 0 << false;
    QTest::newRow("the current second, half-way through") << 500 << 0 << false;
    QTest::newRow("the next second") << 999 << 1 << true;
}

void tst_NoteConfiguration::alarmInThePast() {
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

void tst_NoteConfiguration::reminderInterval_data() {
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

void tst_NoteConfiguration::reminderInterval() {
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

void tst_NoteConfiguration::alarmEnabling_data() {
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
void tst_NoteConfiguration::alarmEnabling() {
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
void tst_NoteConfiguration::intervalArrows() {
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

// Note mode shows only "Aparência" and "Alarmes", the preview of the note itself, and
// the date and time boxes of new notes disabled.
void tst_NoteConfiguration::noteModeLayout() {
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.scrollbar = true;
    TfrmConfNota& dialog = h.openNote(note, 9);
    QCOMPARE(dialog.ConfiguredNote, 9);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configurações"));
    const QList<bool> visible = {true, true, false, false, false};
    for (int page = 0; page < TfrmConfNota::PageCount; ++page)
        QCOMPARE(dialog.pagGeral->isTabVisible(page), visible[page]);

    TtabFonteCor* look = dialog.tabFonteCor;
    QVERIFY(!look->chkDataCaption->isEnabled());
    QVERIFY(!look->chkHoraCaption->isEnabled());
    QVERIFY(!look->chkDataCaption->isChecked());
    QVERIFY(!look->chkHoraCaption->isChecked());
    QCOMPARE(look->captionText(), QStringLiteral("  01/01/2002 12:35"));
    QCOMPARE(look->previewColor(), 0x80FFFF);
    QCOMPARE(look->captionColor(), 0x80FFFF);
    QCOMPARE(look->captionTextColor(), 0x000080);
    QVERIFY(look->chkScroll->isChecked());
    QVERIFY(!look->scbExemplo->isHidden());
    look->chkScroll->click();
    QVERIFY(look->scbExemplo->isHidden());

    QCOMPARE(dialog.helpContext(), 2);
    dialog.pagGeral->setCurrentIndex(TfrmConfNota::PageAlarme);
    QCOMPARE(dialog.helpContext(), 3);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->scrollbar, false);
    QCOMPARE(h.applied, 0);
}

void tst_NoteConfiguration::captionPreview_data() {
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("darkAtOk");
    QTest::addColumn<int>("caption");

    QTest::newRow("step 25") << 0x0080FFFF << 25 << true << 0x0035B4B4;
    QTest::newRow("step 1") << 0x0080FFFF << 1 << true << 0x007DFCFC;
    QTest::newRow("zero components stay zero") << 0x000000FF << 10 << true << 0x000000E1;
    QTest::newRow("unchecked again: the note colour") << 0x0080FFFF << 25 << false << 0x0080FFFF;
}

void tst_NoteConfiguration::captionPreview() {
    QFETCH(int, color);
    QFETCH(int, step);
    QFETCH(bool, darkAtOk);
    QFETCH(int, caption);
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.Color = color;
    note.TrackPosition = 7;
    TfrmConfNota& dialog = h.openNote(note);
    TtabFonteCor* look = dialog.tabFonteCor;
    QVERIFY(!look->TrackBar1->isEnabled());

    look->chkCorCaption->click();
    QVERIFY(look->TrackBar1->isEnabled());
    look->TrackBar1->setValue(step);
    if (!darkAtOk) {
        look->chkCorCaption->click();
        QVERIFY(!look->TrackBar1->isEnabled());
    }
    QCOMPARE(look->captionColor(), caption);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->DarkCaption, darkAtOk);
    // The step of a note without darkened caption stays what it was.
    QCOMPARE(h.configured->TrackPosition, darkAtOk ? step : 7);
}

// Each dialog opens at the note's values first, then at the last choice; a cancelled
// dialog changes nothing; the caption follows colour and font.
void tst_NoteConfiguration::colourAndFontDialogs() {
    ConfNotaHarness h;
    NoteRecord note = plainNote();
    note.DarkCaption = true;
    note.TrackPosition = 10;
    TfrmConfNota& dialog = h.openNote(note);
    TtabFonteCor* look = dialog.tabFonteCor;
    QCOMPARE(look->captionColor(), 0x0062E1E1);

    h.dialogs.answerColor(0x00FFFFFF);
    h.dialogs.answerColor(std::nullopt);
    look->cmdCordeFundo->click();
    QCOMPARE(h.dialogs.opened.last().start, QString::number(0x80FFFF));
    QCOMPARE(look->previewColor(), 0x00FFFFFF);
    QCOMPARE(look->captionColor(), 0x00E1E1E1);
    look->cmdCordeFundo->click();
    QCOMPARE(h.dialogs.lastInitialColor, 0x00FFFFFF);
    QCOMPARE(look->previewColor(), 0x00FFFFFF);

    const NoteFont courier{QStringLiteral("Courier New"), 12, 0x0000FF, true, false};
    h.dialogs.answerFont(courier);
    h.dialogs.answerFont(std::nullopt);
    look->cmdFonte->click();
    QCOMPARE(h.dialogs.lastInitialFont,
             (NoteFont{QStringLiteral("Arial"), 10, 0x000080, false, false}));
    QCOMPARE(look->captionTextColor(), 0x0000FF);
    look->cmdFonte->click();
    QCOMPARE(h.dialogs.lastInitialFont, courier);
    QCOMPARE(look->previewFont(), courier);

    QVERIFY(h.pressOk());
    QCOMPARE(h.configured->Color, 0x00FFFFFF);
    QCOMPARE(h.configured->FontName, QStringLiteral("Courier New"));
    QCOMPARE(h.configured->FontSize, 12);
    QCOMPARE(h.configured->FontColor, 0x0000FF);
    QCOMPARE(h.configured->FontBold, true);
    QCOMPARE(h.configured->FontItalic, false);
    QCOMPARE(h.configured->caption, note.caption);
}

void tst_NoteConfiguration::cancelChangesNothing() {
    ConfNotaHarness h;
    const GeneralSettings settings = h.recGeral;
    TfrmConfNota& dialog = h.openNote(armedNote());
    h.dialogs.answerColor(0x00FF0000);
    dialog.tabFonteCor->cmdCordeFundo->click();
    dialog.tabAlarme->chkHabAlarme->click();
    dialog.cmdCancelar->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.dialog.isNull());
    QVERIFY(!h.configured);
    QCOMPARE(h.recGeral, settings);
    QVERIFY(h.server.calls.isEmpty());
}

void tst_NoteConfiguration::soundButtons_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("playable");
    QTest::newRow("a sound") << "/sons/alarme.wav" << true;
    QTest::newRow("not a sound") << "/sons/leiame.txt" << false;
    QTest::newRow("no file") << "" << false;
}

// "..." starts in the desktop's sound folder; "&Testar" plays the field's file and
// waits for it, and tells when it is no sound.
void tst_NoteConfiguration::soundButtons() {
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

QTEST_MAIN(tst_NoteConfiguration)
#include "tst_NoteConfiguration.moc"

#include "core/alarm/AlarmTimer.h"
#include "core/net/ReceivedNotes.h"
#include "core/notes/NoteCollection.h"
#include "core/notes/NotesKeeper.h"
#include "core/settings/EventSounds.h"
#include "core/settings/GeneralSettings.h"
#include "platform/ScreenAreas.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingSoundPlayer.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// One screen of 1280 x 1024 with a panel of 24 pixels at the bottom.
class OneScreen final : public ScreenAreas {
public:
    QList<QRect> availableAreas() const override { return {QRect(0, 0, 1280, 1000)}; }
    std::optional<QRect> primaryGeometry() const override { return QRect(0, 0, 1280, 1024); }
    std::optional<QRect> availableAreaAt(const QPoint&) const override {
        return QRect(0, 0, 1280, 1000);
    }
};

NoteRecord titled(const QString& caption) {
    NoteRecord record;
    record.caption = caption;
    return record;
}

} // namespace

// The notes without any window: numbering, alarms and received notes work on the
// collection alone.
class tst_NoteCollection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slotsAreUsedOnceThenRenumbered();
    void alarmFiresOnTheNote_data();
    void alarmFiresOnTheNote();
    void receivedNoteComesAsAWhole();
    void editsDuringBackgroundSavesReachTheFile();
};

void tst_NoteCollection::slotsAreUsedOnceThenRenumbered() {
    NoteCollection notes;
    QSignalSpy changed(&notes, &NoteCollection::notesChanged);
    for (int i = 0; i < 3; ++i)
        notes.add(titled(QString::number(i)));
    notes.remove(1);
    QCOMPARE(notes.add(titled(QStringLiteral("3")))->number(), 3);
    QCOMPARE(changed.count(), 5);

    while (notes.NoteCount() < NoteCollection::Capacity)
        notes.add(titled(QStringLiteral("filler")));
    notes.setLastAlarmNote(3);
    // Every slot was handed out: the notes close up, and the last alarm note moves along.
    Note* added = notes.add(titled(QStringLiteral("new")));
    QVERIFY(added);
    QCOMPARE(added->number(), NoteCollection::Capacity - 1);
    QCOMPARE(notes.note(2)->record().caption, QStringLiteral("3"));
    QCOMPARE(notes.LastAlarmNote(), 2);
    QVERIFY(!notes.add(titled(QStringLiteral("one too many"))));
}

void tst_NoteCollection::alarmFiresOnTheNote_data() {
    QTest::addColumn<bool>("remember");
    QTest::addColumn<bool>("armedAfter");
    QTest::addColumn<QDateTime>("nextAlarm");
    const QDateTime due(QDate(2002, 12, 25), QTime(14, 30));
    QTest::newRow("once") << false << false << due;
    QTest::newRow("every 2 hours") << true << true << due.addSecs(2 * 3600);
}

void tst_NoteCollection::alarmFiresOnTheNote() {
    QFETCH(bool, remember);
    QFETCH(bool, armedAfter);
    QFETCH(QDateTime, nextAlarm);
    FakeClock clock;
    RecordingSoundPlayer player;
    GeneralSettings settings;
    EventSounds sounds(player, settings);
    NoteCollection notes;
    notes.add(titled(QStringLiteral("quiet")));
    NoteRecord record = titled(QStringLiteral("dentist"));
    record.alarm = true;
    record.AlarmDateTime = clock.now();
    record.Remember = remember;
    record.RememberNo = 2;
    record.RememberUnit = 1; // hours
    Note* note = notes.add(record);
    AlarmTimer alarms(notes, sounds);
    QSignalSpy fired(&alarms, &AlarmTimer::alarmFired);

    QVERIFY(!alarms.fireDueAlarms(clock.now().addSecs(-60)));
    QCOMPARE(fired.count(), 0);
    QCOMPARE(alarms.fireDueAlarms(clock.now()), remember);
    QCOMPARE(fired.count(), 1);
    QCOMPARE(fired.at(0).at(0).toInt(), 1);
    QCOMPARE(notes.LastAlarmNote(), 1);
    QVERIFY(note->ringing());
    QVERIFY(!note->alarmIconShown());
    QCOMPARE(note->record().alarm, armedAfter);
    QCOMPARE(note->record().AlarmDateTime, nextAlarm);
    QCOMPARE(player.beeps, 1);
}

void tst_NoteCollection::receivedNoteComesAsAWhole() {
    FakeClock clock;
    QtLocaleInfo locale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    RecordingSoundPlayer player;
    GeneralSettings settings;
    EventSounds sounds(player, settings);
    ScriptedMessageBoxes messages;
    OneScreen screens;
    NoteCollection notes;
    ReceivedNotes received(notes, {settings, clock, locale, sounds, messages, screens});
    QSignalSpy arrived(&received, &ReceivedNotes::noteArrived);

    const int number = received.beginReceivedNote();
    QVERIFY(number >= 0);
    received.setCaption(number, QStringLiteral("Reunião"));
    received.setCaptionColor(number, 0x123456);
    received.setTextAreaWidth(number, 5000);
    received.showFooter(number, QStringLiteral("De Ana (10.0.0.7)"));
    received.appendLine(number, QStringLiteral("primeira"));
    received.appendLine(number, QStringLiteral("segunda"));
    // Until its end the note is only on its way, though it counts against the quota.
    QVERIFY(notes.isEmpty());
    QCOMPARE(received.notesHeld(), 1);

    received.endReceivedNote(number);
    QCOMPARE(arrived.count(), 1);
    QCOMPARE(notes.size(), 1);
    const Note* note = notes.note(0);
    QCOMPARE(note->record().caption, QStringLiteral("Reunião"));
    QCOMPARE(note->record().note, QStringLiteral("primeira\r\nsegunda"));
    QCOMPARE(note->record().footer, QStringLiteral("De Ana (10.0.0.7)"));
    QCOMPARE(note->captionColor(), 0x123456);
    // A peer's width is kept to the screen, and the note inside it.
    QCOMPARE(note->bounds().width(), 1280);
    QCOMPARE(note->bounds().left(), 0);
    // Steps for a note that ended do nothing.
    received.setCaption(number, QStringLiteral("later"));
    QCOMPARE(note->record().caption, QStringLiteral("Reunião"));
}

// Saves after changes write in the background; whatever the user types while one writes
// goes into the next, and nothing is reported.
void tst_NoteCollection::editsDuringBackgroundSavesReachTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stickies.tkn"));
    writeBytes(path, "[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=Antes\r\n");
    FakeClock clock;
    QtLocaleInfo locale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ScriptedMessageBoxes messages;
    GeneralSettings geral;
    NetworkSettings rede;
    NoteCollection notes;
    NotesKeeper keeper(path, {QStringLiteral("/sounds/"), QStringLiteral("ana")}, notes, geral,
                       rede, {clock, locale, messages});
    keeper.LoadNotes(false);
    keeper.changeSaveTimer()->setInterval(0);
    QSignalSpy saved(&keeper, &NotesKeeper::saved);
    for (int i = 1; i <= 20; ++i) {
        notes.note(0)->setText(QStringLiteral("versão %1").arg(i));
        if (i % 5 == 0)
            QVERIFY(saved.wait());
    }
    QTRY_VERIFY(readBytes(path).contains("note=vers\xe3o 20\r\n") &&
                !keeper.changeSaveTimer()->isActive());
    keeper.stop();
    QVERIFY(readBytes(path).contains("note=vers\xe3o 20\r\n"));
    QVERIFY(messages.shown.isEmpty());
}

QTEST_GUILESS_MAIN(tst_NoteCollection)
#include "tst_NoteCollection.moc"

#include "core/settings/EventSounds.h"
#include "core/settings/GeneralSettings.h"

#include "../support/RecordingSoundPlayer.h"

#include <QTest>

class tst_EventSounds : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void events_data();
    void events();
    void settingsChangedLaterApply();
};

void tst_EventSounds::events_data() {
    QTest::addColumn<QString>("event"); // "new", "received", "deleted", "alarm"
    QTest::addColumn<bool>("useSounds");
    QTest::addColumn<bool>("noteUseSound");
    QTest::addColumn<QStringList>("played");
    QTest::addColumn<int>("beeps");

    const QStringList none;
    QTest::newRow("new note") << "new" << true << false << QStringList{"/p/boing.wav"} << 0;
    QTest::newRow("new note, sounds off") << "new" << false << false << none << 0;
    QTest::newRow("received note")
        << "received" << true << false << QStringList{"/p/BIPECOMP.WAV"} << 0;
    QTest::newRow("received note, sounds off") << "received" << false << false << none << 0;
    QTest::newRow("deleted note") << "deleted" << true << false << QStringList{"/p/recycle.wav"}
                                  << 0;
    QTest::newRow("deleted note, sounds off") << "deleted" << false << false << none << 0;
    QTest::newRow("alarm plays its note's sound with the switch off")
        << "alarm" << false << true << QStringList{"/n/alarme.wav"} << 0;
    QTest::newRow("alarm with its sound off beeps") << "alarm" << true << false << none << 1;
}

void tst_EventSounds::events() {
    QFETCH(QString, event);
    QFETCH(bool, useSounds);
    QFETCH(bool, noteUseSound);
    QFETCH(QStringList, played);
    QFETCH(int, beeps);

    RecordingSoundPlayer player;
    GeneralSettings recGeral;
    recGeral.UseSounds = useSounds;
    recGeral.SoundNewSticky = QStringLiteral("/p/boing.wav");
    recGeral.SoundDelSticky = QStringLiteral("/p/recycle.wav");
    recGeral.SoundRecSticky = QStringLiteral("/p/BIPECOMP.WAV");
    EventSounds sounds(player, recGeral);

    if (event == QLatin1String("new"))
        sounds.newNote();
    else if (event == QLatin1String("received"))
        sounds.receivedNote();
    else if (event == QLatin1String("deleted"))
        sounds.deletedNote();
    else
        sounds.alarm(noteUseSound, QStringLiteral("/n/alarme.wav"));

    QCOMPARE(player.played, played);
    QCOMPARE(player.beeps, beeps);
    QVERIFY(player.playedSync.isEmpty());
}

// The main window keeps one EventSounds for the whole run; the preferences change the
// settings under it. An event set to no sound still reaches the player, which gives the
// desktop's default sound for an empty path.
void tst_EventSounds::settingsChangedLaterApply() {
    RecordingSoundPlayer player;
    GeneralSettings recGeral;
    EventSounds sounds(player, recGeral);
    sounds.newNote();
    QVERIFY(player.played.isEmpty());

    recGeral.UseSounds = true;
    recGeral.SoundNewSticky = QStringLiteral("/outro/novo.wav");
    sounds.newNote();
    recGeral.SoundNewSticky.clear();
    sounds.newNote();
    QCOMPARE(player.played, (QStringList{"/outro/novo.wav", ""}));
}

QTEST_GUILESS_MAIN(tst_EventSounds)
#include "tst_EventSounds.moc"

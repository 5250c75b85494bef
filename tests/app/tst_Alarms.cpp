#include "gui/alarm/TfrmMostraAlarmes.h"

#include "platform/desktop/DBusDesktopNotifier.h"

#include "tests/app/TickingProgram.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace TickingProgram;

// The desktop's notification service, played by the test on a bus of its own.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Notice> notices;

public Q_SLOTS:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        Q_UNUSED(app);
        Q_UNUSED(replaces);
        Q_UNUSED(icon);
        Q_UNUSED(hints);
        Q_UNUSED(timeout);
        notices.append({summary, body, actions});
        return uint(notices.size());
    }
};

class tst_Alarms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pastAlarmFiresOnFirstTick();
    void alarmFiresOnTheSecond();
    void reminderIsRearmedAndSaved();
    void reminderSkipsDisallowedWeekday();
    void reminderWithOnlyTodayMovesAWeek();
    void acknowledgementsThroughTheStates_data();
    void acknowledgementsThroughTheStates();
    void twoNotesInOneTickAndTheTrayClick();
    void deletingTheRingingNoteStopsTheAnimation();
    void clockJumpFiresEachDueAlarmOnce();
    void todaysTasks();
    void todaysTasksAtStart();
    void todaysTasksAfterRenumbering();
    void alarmAndTodaysTasksReachTheDesktop();
};

void tst_Alarms::pastAlarmFiresOnFirstTick() {
    Program p({{"Dentista", "25/12/2002 09:00:00", "visible=0\r\n"}, {"Sem alarme", "", ""}});
    TfPostIt* note = p.note(0);
    QVERIFY(note->alarm());
    QVERIFY(note->alarmIconVisible());
    QVERIFY(note->isHidden());

    p.tick();
    QVERIFY(!note->alarm());
    QVERIFY(!note->alarmIconVisible());
    QVERIFY(note->ringingIconVisible());
    QVERIFY(note->isVisible()); // shown although it was hidden
    QCOMPARE(p.main->registry().LastAlarmNote(), 0);
    QVERIFY(p.main->trayMenu().animating());
    QCOMPARE(p.sound.beeps, 1);
    QVERIFY(!p.note(1)->ringingIconVisible());

    // A one-time alarm fires once.
    p.tick(5);
    QCOMPARE(p.sound.beeps, 1);
}

void tst_Alarms::alarmFiresOnTheSecond() {
    Program p({{"Chá", "25/12/2002 14:30:03", "UseSound=1\r\nSoundFile=/sons/cha.wav\r\n"}});
    p.tick(2); // 14:30:02
    QVERIFY(p.note(0)->alarm());
    QVERIFY(!p.main->trayMenu().animating());
    p.tick(); // 14:30:03
    QVERIFY(!p.note(0)->alarm());
    QCOMPARE(p.sound.played, QStringList{"/sons/cha.wav"});
    QCOMPARE(p.sound.beeps, 0);
}

void tst_Alarms::reminderIsRearmedAndSaved() {
    // Every 2 days, every weekday allowed.
    Program p(
        {{"Regar", "25/12/2002 14:30:00", "Remember=1\r\nRememberNo=2\r\nRememberUnit=2\r\n"}});
    p.tick();
    TfPostIt* note = p.note(0);
    QVERIFY(note->alarm());
    QVERIFY(note->ringingIconVisible());
    QVERIFY(!note->alarmIconVisible());
    QCOMPARE(note->AlarmDateTime(), QDateTime(QDate(2002, 12, 27), QTime(14, 30)));
    QCOMPARE(note->RememberNo(), 2);
    QCOMPARE(note->RememberUnit(), 2);
    // Saved at once.
    QCOMPARE(p.stored(0, "AlarmDateTime"), QStringLiteral("27/12/2002 14:30:00"));

    // It rings again on the next date even when nobody acknowledged it.
    p.clock.set(QDateTime(QDate(2002, 12, 27), QTime(14, 29, 59)));
    p.sound.beeps = 0;
    p.tick();
    QCOMPARE(p.sound.beeps, 1);
    QCOMPARE(note->AlarmDateTime(), QDateTime(QDate(2002, 12, 29), QTime(14, 30)));
}

void tst_Alarms::reminderSkipsDisallowedWeekday() {
    // 25/12/2002 is a Wednesday (Dia4): not allowed, so today it never rings.
    Program p({{"Aula", "25/12/2002 10:00:00",
                "Remember=1\r\nRememberNo=1\r\nRememberUnit=2\r\nDia4=0\r\n"}});
    p.tick(10);
    QVERIFY(!p.main->trayMenu().animating());
    QVERIFY(p.note(0)->alarm());
    // On Thursday's first tick it rings, and moves on to Thursday 10:00.
    p.clock.set(QDateTime(QDate(2002, 12, 26), QTime(0, 0)));
    p.tick();
    QVERIFY(p.main->trayMenu().animating());
    QCOMPARE(p.note(0)->AlarmDateTime(), QDateTime(QDate(2002, 12, 26), QTime(10, 0)));
}

void tst_Alarms::reminderWithOnlyTodayMovesAWeek() {
    // Every 10 minutes, Wednesdays only, last due at 14:00: 14:10 has passed already, so
    // the next one is a week later.
    QByteArray flags = "Remember=1\r\nRememberNo=10\r\nRememberUnit=0\r\n";
    for (int day = 1; day <= 7; ++day)
        flags += "Dia" + QByteArray::number(day) + (day == 4 ? "=1\r\n" : "=0\r\n");
    Program p({{"Semanal", "25/12/2002 14:00:00", flags}});
    p.tick();
    QVERIFY(p.note(0)->ringingIconVisible());
    QVERIFY(p.note(0)->alarm());
    QCOMPARE(p.note(0)->AlarmDateTime(), QDateTime(QDate(2003, 1, 1), QTime(14, 10)));
    p.tick(3);
    QCOMPARE(p.sound.beeps, 1);
}

void tst_Alarms::acknowledgementsThroughTheStates_data() {
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("alarmAfter");
    QTest::addColumn<bool>("alarmIconAfter");

    QTest::newRow("one-time, ringing icon") << false << "icon" << false << false;
    QTest::newRow("one-time, text") << false << "text" << false << false;
    QTest::newRow("reminder, ringing icon") << true << "icon" << true << true;
    QTest::newRow("reminder, text") << true << "text" << true << false;
    QTest::newRow("reminder, hide") << true << "hide" << true << false;
    QTest::newRow("reminder, tray click") << true << "tray" << true << false;
}

void tst_Alarms::acknowledgementsThroughTheStates() {
    QFETCH(bool, remember);
    QFETCH(QString, how);
    QFETCH(bool, alarmAfter);
    QFETCH(bool, alarmIconAfter);

    const QByteArray extra = remember ? "Remember=1\r\nRememberNo=1\r\nRememberUnit=3\r\n" : "";
    Program p({{"Reunião", "25/12/2002 14:30:00", extra}});
    TfPostIt* note = p.note(0);
    p.tick();
    QVERIFY(note->ringingIconVisible());
    QVERIFY(p.main->trayMenu().animating());

    if (how == QLatin1String("icon"))
        note->imgAlarmeOnClick();
    else if (how == QLatin1String("text"))
        note->memPostitClick();
    else if (how == QLatin1String("hide"))
        note->cmdEsconderClick();
    else
        p.tray.click();
    p.deliverPosted();

    QVERIFY(!p.main->trayMenu().animating());
    QCOMPARE(note->alarm(), alarmAfter);
    QCOMPARE(note->alarmIconVisible(), alarmIconAfter);
    if (how != QLatin1String("tray"))
        QVERIFY(!note->ringingIconVisible());
    QCOMPARE(p.main->registry().LastAlarmNote(), how == QLatin1String("tray") ? -1 : 0);
}

void tst_Alarms::twoNotesInOneTickAndTheTrayClick() {
    Program p({{"Um", "25/12/2002 14:30:01", "visible=0\r\n"},
               {"Meio", "", ""},
               {"Dois", "25/12/2002 14:30:01", "visible=0\r\n"}});
    p.tick();
    QVERIFY(p.note(0)->ringingIconVisible());
    QVERIFY(p.note(2)->ringingIconVisible());
    QCOMPARE(p.sound.beeps, 2);
    QCOMPARE(p.main->registry().LastAlarmNote(), 2);

    p.note(2)->hide();
    p.tray.click();
    QVERIFY(p.note(2)->isVisible());
    QCOMPARE(p.main->registry().LastAlarmNote(), -1);
    QVERIFY(!p.main->trayMenu().animating());
    // Nothing left to bring up.
    p.note(2)->hide();
    p.tray.click();
    QVERIFY(p.note(2)->isHidden());
}

void tst_Alarms::deletingTheRingingNoteStopsTheAnimation() {
    Program p({{"Apagar", "25/12/2002 14:00:00", ""}});
    p.tick();
    QVERIFY(p.main->trayMenu().animating());
    p.note(0)->ApagarSticky();
    p.deliverPosted(); // the delete
    p.deliverPosted(); // the stop it posted
    QVERIFY(!p.note(0));
    QCOMPARE(p.main->registry().LastAlarmNote(), -1);
    QVERIFY(!p.main->trayMenu().animating());
    p.tray.click(); // does nothing
}

void tst_Alarms::clockJumpFiresEachDueAlarmOnce() {
    // The machine slept from 14:30 until 18:00.
    Program p({{"A", "25/12/2002 15:00:00", ""},
               {"B", "25/12/2002 17:59:00", "Remember=1\r\nRememberNo=10\r\nRememberUnit=0\r\n"},
               {"C", "25/12/2002 19:00:00", ""}});
    p.clock.set(QDateTime(QDate(2002, 12, 25), QTime(18, 0)));
    p.tick();
    QVERIFY(!p.note(0)->alarm());
    QVERIFY(p.note(1)->alarm());
    QVERIFY(p.note(2)->alarm());
    QCOMPARE(p.sound.beeps, 2);
    // The reminder's next date is in the future, so the next ticks stay quiet.
    QCOMPARE(p.note(1)->AlarmDateTime(), QDateTime(QDate(2002, 12, 25), QTime(18, 9)));
    p.tick(30);
    QCOMPARE(p.sound.beeps, 2);
}

void tst_Alarms::todaysTasks() {
    {
        Program none({});
        none.main->trayMenu().mnuMostrarTarefasparaHoje1->trigger();
        QCOMPARE(none.boxes.shown.size(), 1);
        QCOMPARE(none.boxes.shown[0].text,
                 QStringLiteral("Você não tem tarefas agendadas para hoje!"));
        QCOMPARE(none.boxes.shown[0].title, QStringLiteral("Aviso"));
    }

    Program p({{"Amanhã", "26/12/2002 08:00:00", ""},
               {"Dentista", "25/12/2002 23:59:30", ""},
               {"Sem alarme", "", ""},
               {"Cedo", "25/12/2002 07:00:00", "Remember=1\r\nDia4=0\r\n"}});
    p.main->ShowTodaysTasks();
    QVERIFY(p.boxes.shown.isEmpty());
    QVERIFY(p.main->frmMostraAlarmes().isVisible());
    QCOMPARE(p.main->frmMostraAlarmes().lines(),
             (QStringList{"001 - 23:59:30 - Dentista", "003 - 07:00:00 - Cedo"}));

    // Once the one-time alarm has fired it is no longer listed.
    p.clock.set(QDateTime(QDate(2002, 12, 25), QTime(23, 59, 29)));
    p.tick();
    p.main->frmMostraAlarmes().hide();
    p.main->ShowTodaysTasks();
    QCOMPARE(p.main->frmMostraAlarmes().lines(), QStringList{"003 - 07:00:00 - Cedo"});

    // Bringing up a note from the list.
    p.note(3)->hide();
    auto* list = p.main->frmMostraAlarmes().findChild<QListWidget*>();
    QVERIFY(list);
    list->setCurrentRow(0);
    p.main->frmMostraAlarmes().cmdVisualizarClick();
    QVERIFY(p.note(3)->isVisible());
}

void tst_Alarms::todaysTasksAtStart() {
    Program p({{"Nada hoje", "", ""}}, "NoteDaily=1\r\n");
    p.create();
    p.main->timerInicio()->setInterval(0);
    p.main->start();
    QTRY_COMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].text, QStringLiteral("Você não tem tarefas agendadas para hoje!"));
    QCOMPARE(p.noteCount(), 1);
}

void tst_Alarms::todaysTasksAfterRenumbering() {
    Program p({{"Primeira", "", ""}, {"Dentista", "25/12/2002 16:00:00", ""}});
    p.main->ShowTodaysTasks();
    QCOMPARE(p.main->frmMostraAlarmes().lines(), QStringList{"001 - 16:00:00 - Dentista"});
    TfPostIt* dentist = p.note(1);

    // Every slot used: the next note renumbers the notes, the dentist becomes note 0.
    p.post(NoteMessage::WM_DELETENOTE, 0);
    while (p.noteCount() < NoteRegistry::Capacity)
        QVERIFY(p.newNote());
    ProgramHarness::settle();
    QVERIFY(p.newNote());
    QCOMPARE(p.note(0), dentist);
    for (TfPostIt* note : p.registry().notes())
        note->hide();

    auto* list = p.main->frmMostraAlarmes().findChild<QListWidget*>();
    list->setCurrentRow(0);
    p.main->frmMostraAlarmes().cmdVisualizarClick();
    QVERIFY(dentist->isVisible());
    // That note alone.
    const QList<TfPostIt*> notes = p.registry().notes();
    QCOMPARE(std::count_if(notes.begin(), notes.end(),
                           [](const TfPostIt* note) { return note->isVisible(); }),
             1);
    QVERIFY(p.boxes.shown.isEmpty());
}

void tst_Alarms::alarmAndTodaysTasksReachTheDesktop() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon (Debian package dbus-daemon) is missing");
    QProcess bus;
    bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address")});
    QVERIFY(bus.waitForStarted());
    QTRY_VERIFY(bus.canReadLine());
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    auto cleanup = qScopeGuard([&] {
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        bus.terminate();
        bus.waitForFinished();
    });

    QDBusConnection serviceBus = QDBusConnection::connectToBus(address, QStringLiteral("service"));
    NotificationService service;
    QVERIFY(serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                      QDBusConnection::ExportAllSlots));
    QVERIFY(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    DBusDesktopNotifier notifier(QDBusConnection::connectToBus(address, QStringLiteral("program")));

    Program p({{"Dentista", "25/12/2002 14:30:05", ""}}, "NoteDaily=1\r\n", &notifier);
    // The start lists today's tasks in one notice.
    p.create();
    p.main->timerInicio()->setInterval(0);
    p.main->start();
    QTRY_COMPARE(service.notices.size(), 1);
    QCOMPARE(service.notices[0].summary, QStringLiteral("Tarefas para Hoje"));
    QCOMPARE(service.notices[0].body, QStringLiteral("000 - 14:30:05 - Dentista"));
    p.main->frmMostraAlarmes().hide();

    // The alarm: the title, and the first line as plain text.
    TfPostIt* note = p.note(0);
    note->setNote(QStringLiteral("\r\nLevar o <raio-x> & exames\r\nsegunda linha"));
    p.main->timerAlarme()->stop();
    p.tick(5);
    QTRY_COMPARE(service.notices.size(), 2);
    QCOMPARE(service.notices[1].summary, QStringLiteral("Dentista"));
    QCOMPARE(service.notices[1].body, QStringLiteral("Levar o &lt;raio-x&gt; &amp; exames"));
    QCOMPARE(service.notices[1].actions.size(), 2);
    QCOMPARE(service.notices[1].actions[0], QStringLiteral("default"));

    // Choosing the notice brings the note up again.
    note->hide();
    QDBusMessage chosen = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    chosen << uint(2) << QStringLiteral("default");
    QVERIFY(serviceBus.send(chosen));
    QTRY_VERIFY(note->isVisible());
    QCOMPARE(service.notices.size(), 2);
}

QTEST_MAIN(tst_Alarms)
#include "tst_Alarms.moc"

#include "core/base/TacknoteError.h"
#include "core/notes/DeletedNotes.h"
#include "core/store/IniFile.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QDateTime Start(QDate(2024, 3, 10), QTime(9, 15, 30));

// A note as a load gives it back: without an alarm its alarm fields are those of a new
// note window.
NoteRecord withoutAlarm(NoteRecord record) {
    record.weekdays.fill(false);
    record.RememberNo = 0;
    record.RememberUnit = 0;
    return record;
}

NoteRecord titled(const QString& caption) {
    NoteRecord record;
    record.caption = caption;
    return withoutAlarm(record);
}

struct Store {
    Store() : locale(QLocale(QStringLiteral("pt_BR"))), clock(Start) {}
    QString path() const { return folder.filePath(QLatin1String(DeletedNotes::FileName)); }

    QTemporaryDir folder;
    QtLocaleInfo locale;
    FakeClock clock;
    DeletedNotes deleted{path(), clock, locale};
};

} // namespace

// The deleted notes kept for restoring, in their file beside the notes file.
class tst_DeletedNotes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keptWithEveryField_data();
    void keptWithEveryField();
    void limits_data();
    void limits();
    void unreadableFileIsNeverWrittenOver_data();
    void unreadableFileIsNeverWrittenOver();
};

void tst_DeletedNotes::keptWithEveryField_data() {
    QTest::addColumn<NoteRecord>("note");
    // Whether its alarm is still on when the note is restored a day after it was deleted.
    QTest::addColumn<bool>("alarmOnRestore");

    NoteRecord alarm;
    alarm.caption = QStringLiteral("Reunião ✓ 会议");
    alarm.note = QStringLiteral("linha \\n com barra\r\nΣύσκεψη στις 9\r\n") +
                 QStringLiteral("texto longo ").repeated(200);
    alarm.alarm = true;
    alarm.AlarmDateTime = Start.addDays(3);
    alarm.UseSound = true;
    alarm.SoundFile = QStringLiteral("/home/ana/sons/aviso.wav");
    alarm.weekdays = {false, true, false, true, false, true, false};
    alarm.Remember = true;
    alarm.RememberNo = 2;
    alarm.RememberUnit = 3;
    alarm.topmost = true;
    alarm.scrollbar = true;
    alarm.DarkCaption = true;
    alarm.TrackPosition = 30;
    alarm.posx = -120;
    alarm.posy = 2400;
    alarm.Width = 300;
    alarm.Height = 260;
    alarm.FontName = QStringLiteral("DejaVu Serif");
    alarm.FontSize = 14;
    alarm.FontColor = 0x123456;
    alarm.FontItalic = true;
    alarm.Color = 0x80FF80;
    QTest::newRow("alarm still to come, text beyond the code page and long") << alarm << true;

    NoteRecord passed = alarm;
    passed.AlarmDateTime = Start.addSecs(3600);
    QTest::newRow("alarm passed by the time it is restored") << passed << false;

    NoteRecord received = withoutAlarm(NoteRecord());
    received.caption = QStringLiteral("25/12/2002 14:30:00");
    received.note = QStringLiteral("De longe & \"entre aspas\"");
    received.footer = QStringLiteral("De Ana (10.0.0.7)");
    received.FontName = QStringLiteral("Courier New");
    received.FontSize = 8;
    received.FontBold = true;
    received.FontColor = 0xFFFFFF;
    received.Color = 255;
    received.Width = 340;
    QTest::newRow("received note") << received << false;

    NoteRecord hidden = withoutAlarm(NoteRecord());
    hidden.visible = false;
    hidden.note = QStringLiteral("  brancos nas pontas  ");
    QTest::newRow("hidden note with blanks at the ends of its text") << hidden << false;
}

void tst_DeletedNotes::keptWithEveryField() {
    QFETCH(NoteRecord, note);
    QFETCH(bool, alarmOnRestore);

    Store store;
    store.deleted.keep(titled(QStringLiteral("antes")));
    store.clock.advanceSeconds(60);
    store.deleted.keep(note);
    // A new file is the user's alone.
    QCOMPARE(QFileInfo(store.path()).permissions() & QFileDevice::Permissions(0x7077),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    store.clock.advanceSeconds(24 * 3600);
    const QList<DeletedNotes::Entry> entries = store.deleted.entries();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].record, note);
    QCOMPARE(entries[0].deletedAt, Start.addSecs(60));
    QCOMPARE(entries[1].record.caption, QStringLiteral("antes"));

    NoteRecord back = note;
    back.alarm = note.alarm && alarmOnRestore;
    QCOMPARE(DeletedNotes::restored(entries[0], store.clock.now()), back);

    store.deleted.forget({entries[0]});
    QCOMPARE(store.deleted.entries(), QList<DeletedNotes::Entry>{entries[1]});
}

void tst_DeletedNotes::limits_data() {
    QTest::addColumn<int>("deletions");
    QTest::addColumn<int>("minutesApart");
    QTest::addColumn<int>("kept");
    // The clock is then moved on by this many days, with no further deletion.
    QTest::addColumn<int>("laterDays");
    QTest::addColumn<int>("keptLater");

    QTest::newRow("the last 50") << 55 << 1 << 50 << 0 << 50;
    QTest::newRow("one a day: the last 30 days") << 40 << 24 * 60 << 31 << 0 << 31;
    QTest::newRow("older ones go without a new deletion") << 3 << 1 << 3 << 31 << 0;
}

void tst_DeletedNotes::limits() {
    QFETCH(int, deletions);
    QFETCH(int, minutesApart);
    QFETCH(int, kept);
    QFETCH(int, laterDays);
    QFETCH(int, keptLater);

    Store store;
    for (int i = 0; i < deletions; ++i) {
        if (i > 0)
            store.clock.advanceSeconds(qint64(minutesApart) * 60);
        store.deleted.keep(titled(QString::number(i)));
    }
    QList<DeletedNotes::Entry> entries = store.deleted.entries();
    QCOMPARE(entries.size(), kept);
    // The newest first.
    QCOMPARE(entries.first().record.caption, QString::number(deletions - 1));
    QCOMPARE(entries.last().record.caption, QString::number(deletions - kept));
    IniFile file(store.path(), IniFile::Mode::Batched);
    QCOMPARE(file.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), -1), kept);
    QVERIFY(!file.sectionExists(QStringLiteral("Stick%1").arg(kept)));

    store.clock.advanceSeconds(qint64(laterDays) * 24 * 3600);
    QCOMPARE(store.deleted.entries().size(), keptLater);
}

void tst_DeletedNotes::unreadableFileIsNeverWrittenOver_data() {
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("no read permission") << false;
    QTest::newRow("folder in place") << true;
}

void tst_DeletedNotes::unreadableFileIsNeverWrittenOver() {
    QFETCH(bool, folderInPlace);
    Store store;
    const QByteArray original("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=guardada\r\n");
    if (folderInPlace) {
        QVERIFY(QDir().mkpath(store.path()));
    } else {
        if (geteuid() == 0)
            QSKIP("root reads files without read permission");
        writeBytes(store.path(), original);
        QVERIFY(QFile::setPermissions(store.path(), QFileDevice::WriteOwner));
    }
    QVERIFY_THROWS_EXCEPTION(TacknoteError, store.deleted.entries());
    try {
        store.deleted.keep(titled(QStringLiteral("nova")));
        QFAIL("an unreadable file was written over");
    } catch (const TacknoteError& error) {
        QVERIFY(error.message().contains(store.path()));
    }
    if (folderInPlace) {
        QVERIFY(QFileInfo(store.path()).isDir());
    } else {
        QVERIFY(
            QFile::setPermissions(store.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(readBytes(store.path()), original);
    }
}

QTEST_GUILESS_MAIN(tst_DeletedNotes)
#include "tst_DeletedNotes.moc"

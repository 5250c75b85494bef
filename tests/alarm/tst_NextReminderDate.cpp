#include "core/alarm/NextReminderDate.h"
#include "core/base/WallClock.h"

#include <QTest>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

using Flags = std::array<bool, 7>;

// Weekday flags from a pattern of seven characters, Sunday first: "-MTWTF-".
Flags flags(const char* pattern) {
    Flags result{};
    for (int i = 0; i < 7; ++i)
        result[i] = pattern[i] != '-';
    return result;
}

// A local date-time.
QDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// A reading of the wall clock.
QDateTime wall(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

void useZone(const char* zone) {
    qputenv("TZ", zone);
    tzset();
}

// The wall clock as the C library reads it for a real instant.
QString libcWallClock(qint64 secondsSinceEpoch) {
    const std::time_t t = secondsSinceEpoch;
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return QString::fromLatin1(text);
}

// The search exactly as a user would describe it, on a calendar of its own: one step by
// the interval, then one day after another at the same time of day until the weekday is
// allowed and the date is not in the past.
namespace ref {
using namespace std::chrono;

sys_seconds toSeconds(const QDateTime& value) {
    const QDate d = value.date();
    const QTime t = value.time();
    return sys_days(year(d.year()) / d.month() / d.day()) + hours(t.hour()) + minutes(t.minute()) +
           seconds(t.second());
}

QDateTime toWall(sys_seconds value) {
    const sys_days day = floor<days>(value);
    const year_month_day ymd(day);
    const hh_mm_ss<seconds> time(value - day);
    return wall(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                int(time.hours().count()), int(time.minutes().count()),
                int(time.seconds().count()));
}

std::optional<QDateTime> nextDate(const QDateTime& alarm, int count, int unit, const Flags& dia,
                                  const QDateTime& now) {
    const sys_seconds start = toSeconds(alarm);
    const sys_seconds current = toSeconds(now);
    sys_seconds first;
    switch (unit) {
    case 0:
        first = start + minutes(count);
        break;
    case 1:
        first = start + hours(count);
        break;
    case 2:
        first = start + days(count);
        break;
    case 3:
        first = start + weeks(count);
        break;
    case 4:
        first = start + days(30 * count);
        break;
    default:
        return std::nullopt;
    }
    for (sys_seconds candidate = first;; candidate += days(1)) {
        const unsigned weekday = std::chrono::weekday(floor<days>(candidate)).c_encoding();
        if (dia[weekday] && candidate >= current)
            return toWall(candidate);
    }
}
} // namespace ref

} // namespace

Q_DECLARE_METATYPE(Flags)

class tst_NextReminderDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void nextDate_data();
    void nextDate();
    void sameAsDayByDaySearch_data();
    void sameAsDayByDaySearch();
    void remindersOverSummerTimeChanges_data();
    void remindersOverSummerTimeChanges();
    void cleanupTestCase();
};

void tst_NextReminderDate::initTestCase() {
    // A zone with summer time, so steps across its changes are covered.
    useZone("Europe/Berlin");
    QCOMPARE(at(2024, 7, 1, 12, 0).offsetFromUtc(), 2 * 3600);
    QCOMPARE(at(2024, 1, 1, 12, 0).offsetFromUtc(), 3600);
}

void tst_NextReminderDate::cleanupTestCase() {
    useZone("Europe/Berlin");
}

void tst_NextReminderDate::nextDate_data() {
    QTest::addColumn<QDateTime>("alarm");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unit");
    QTest::addColumn<Flags>("dia");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected"); // on the wall clock; invalid: no next date

    // 1 January 2024 is a Monday, 5 January a Friday. In Berlin the clocks skip from
    // 02:00 to 03:00 on 31 March 2024 and go back from 03:00 to 02:00 on 27 October.
    const Flags all = flags("SMTWTFS");
    const Flags workdays = flags("-MTWTF-");
    QTest::newRow("every 2 days: Monday to Wednesday")
        << at(2024, 1, 1, 9, 0) << 2 << 2 << all << at(2024, 1, 1, 9, 0, 1)
        << wall(2024, 1, 3, 9, 0);
    QTest::newRow("daily on workdays: Friday to Monday")
        << at(2024, 1, 5, 18, 0) << 1 << 2 << workdays << at(2024, 1, 5, 18, 0, 1)
        << wall(2024, 1, 8, 18, 0);
    QTest::newRow("10 minutes while not running: tomorrow 08:10")
        << at(2024, 1, 1, 8, 0) << 10 << 0 << all << at(2024, 1, 1, 12, 0)
        << wall(2024, 1, 2, 8, 10);
    QTest::newRow("10 minutes on workdays over midnight on Friday")
        << at(2024, 1, 5, 23, 55) << 10 << 0 << workdays << at(2024, 1, 5, 23, 55, 1)
        << wall(2024, 1, 8, 0, 5);
    QTest::newRow("a candidate equal to now is accepted")
        << at(2024, 1, 1, 9, 0) << 1 << 1 << all << at(2024, 1, 1, 10, 0)
        << wall(2024, 1, 1, 10, 0);
    QTest::newRow("one second past the candidate moves on a day")
        << at(2024, 1, 1, 9, 0) << 1 << 1 << all << at(2024, 1, 1, 10, 0, 1)
        << wall(2024, 1, 2, 10, 0);
    QTest::newRow("weekly, only its own weekday")
        << at(2024, 1, 1, 9, 0) << 1 << 3 << flags("-M-----") << at(2024, 1, 1, 9, 0, 5)
        << wall(2024, 1, 8, 9, 0);
    QTest::newRow("monthly is 30 days: 31 January to 2 March")
        << at(2023, 1, 31, 10, 0) << 1 << 4 << all << at(2023, 1, 31, 10, 0, 1)
        << wall(2023, 3, 2, 10, 0);
    QTest::newRow("monthly, that Thursday not allowed")
        << at(2023, 1, 31, 10, 0) << 1 << 4 << flags("SMTW-FS") << at(2023, 1, 31, 10, 0, 1)
        << wall(2023, 3, 3, 10, 0);
    QTest::newRow("90 minutes are a plain duration")
        << at(2024, 1, 1, 8, 0) << 90 << 0 << all << at(2024, 1, 1, 8, 0, 1)
        << wall(2024, 1, 1, 9, 30);
    QTest::newRow("36 hours are a plain duration")
        << at(2024, 1, 1, 8, 0) << 36 << 1 << all << at(2024, 1, 1, 8, 0, 1)
        << wall(2024, 1, 2, 20, 0);
    QTest::newRow("a negative count still ends after now")
        << at(2024, 1, 1, 9, 0) << -3 << 0 << all << at(2024, 1, 1, 9, 0, 1)
        << wall(2024, 1, 2, 8, 57);
    QTest::newRow("the largest count does not overflow")
        << at(2024, 1, 1, 9, 0) << INT_MAX << 0 << all << at(2024, 1, 1, 9, 0, 1)
        << wall(2024, 1, 1, 9, 0).addSecs(qint64(INT_MAX) * 60);
    QTest::newRow("last fired decades ago") << at(1990, 6, 15, 7, 45) << 1 << 2 << workdays
                                            << at(2024, 1, 6, 12, 0) << wall(2024, 1, 8, 7, 45);
    QTest::newRow("daily into the skipped hour keeps its time of day")
        << at(2024, 3, 30, 2, 30) << 1 << 2 << all << at(2024, 3, 30, 2, 30, 1)
        << wall(2024, 3, 31, 2, 30);
    QTest::newRow("daily out of the skipped hour comes back to its time of day")
        << QDateTime(QDate(2024, 3, 31), QTime(2, 30), Qt::OffsetFromUTC, 3600) << 1 << 2 << all
        << at(2024, 3, 31, 3, 0) << wall(2024, 4, 1, 2, 30);
    QTest::newRow("hourly into the repeated hour")
        << at(2024, 10, 27, 1, 30) << 1 << 1 << all << at(2024, 10, 27, 1, 30, 1)
        << wall(2024, 10, 27, 2, 30);
    QTest::newRow("hourly out of the repeated hour does not come back to 02:30")
        << at(2024, 10, 27, 2, 30) << 1 << 1 << all
        << QDateTime(QDate(2024, 10, 27), QTime(0, 30, 1), Qt::UTC).toLocalTime()
        << wall(2024, 10, 27, 3, 30);
    QTest::newRow("no weekday allowed") << at(2024, 1, 1, 9, 0) << 1 << 2 << flags("-------")
                                        << at(2024, 1, 1, 9, 0, 1) << QDateTime();
    QTest::newRow("unit 5") << at(2024, 1, 1, 9, 0) << 1 << 5 << all << at(2024, 1, 1, 9, 0, 1)
                            << QDateTime();
    QTest::newRow("unit -1") << at(2024, 1, 1, 9, 0) << 1 << -1 << all << at(2024, 1, 1, 9, 0, 1)
                             << QDateTime();
    QTest::newRow("no alarm date")
        << QDateTime() << 1 << 2 << all << at(2024, 1, 1, 9, 0, 1) << QDateTime();
}

void tst_NextReminderDate::nextDate() {
    QFETCH(QDateTime, alarm);
    QFETCH(int, count);
    QFETCH(int, unit);
    QFETCH(Flags, dia);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);

    const std::optional<QDateTime> next = NextReminderDate(alarm, count, unit, dia, now);
    QCOMPARE(next.has_value(), expected.isValid());
    if (next) {
        QVERIFY(next->isValid());
        QCOMPARE(WallClock::reading(*next), expected);
    }
}

void tst_NextReminderDate::sameAsDayByDaySearch_data() {
    QTest::addColumn<QDateTime>("alarm");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unit");
    QTest::addColumn<Flags>("dia");
    QTest::addColumn<QDateTime>("now");

    const QList<QDateTime> alarms{at(1899, 12, 30, 0, 0), at(1990, 6, 15, 7, 45),
                                  at(2024, 3, 27, 2, 30), at(2024, 10, 26, 2, 30, 59),
                                  at(2024, 12, 31, 23, 59, 59)};
    const QList<QDateTime> nows{at(2024, 3, 31, 3, 0), at(2024, 4, 3, 2, 29, 59),
                                at(2024, 10, 27, 2, 30), at(2025, 1, 1, 0, 0)};
    const char* patterns[] = {"SMTWTFS", "S------", "-MTWTF-", "S-----S", "---W---"};
    const struct {
        int count;
        int unit;
    } intervals[] = {{1, 0}, {90, 0}, {1, 1}, {30, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 4}};
    for (const QDateTime& alarm : alarms)
        for (const QDateTime& now : nows)
            for (const char* pattern : patterns)
                for (const auto& interval : intervals)
                    QTest::addRow("%s every %d of unit %d on %s at %s",
                                  qPrintable(alarm.toString(Qt::ISODate)), interval.count,
                                  interval.unit, pattern, qPrintable(now.toString(Qt::ISODate)))
                        << alarm << interval.count << interval.unit << flags(pattern) << now;
}

void tst_NextReminderDate::sameAsDayByDaySearch() {
    QFETCH(QDateTime, alarm);
    QFETCH(int, count);
    QFETCH(int, unit);
    QFETCH(Flags, dia);
    QFETCH(QDateTime, now);

    const std::optional<QDateTime> expected = ref::nextDate(alarm, count, unit, dia, now);
    const std::optional<QDateTime> next = NextReminderDate(alarm, count, unit, dia, now);
    QVERIFY(expected && next);
    QCOMPARE(WallClock::reading(*next), *expected);
}

void tst_NextReminderDate::remindersOverSummerTimeChanges_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("alarm"); // on the wall clock
    QTest::addColumn<int>("unit");
    QTest::addColumn<QDateTime>("until"); // UTC
    QTest::addColumn<QStringList>("fired");

    // Berlin skips 02:00-03:00 on 31 March 2024 and repeats 02:00-03:00 on 27 October.
    QTest::newRow("Berlin, daily 02:30 over the spring change")
        << QByteArray("Europe/Berlin") << wall(2024, 3, 29, 2, 30) << 2
        << QDateTime(QDate(2024, 4, 2), QTime(12, 0), Qt::UTC)
        << QStringList{"2024-03-29 02:30", "2024-03-30 02:30", "2024-03-31 03:00",
                       "2024-04-01 02:30", "2024-04-02 02:30"};
    QTest::newRow("Berlin, hourly over the autumn change")
        << QByteArray("Europe/Berlin") << wall(2024, 10, 27, 0, 30) << 1
        << QDateTime(QDate(2024, 10, 27), QTime(3, 45), Qt::UTC)
        << QStringList{"2024-10-27 00:30", "2024-10-27 01:30", "2024-10-27 02:30",
                       "2024-10-27 03:30", "2024-10-27 04:30"};
    // Sao Paulo skipped from 00:00 to 01:00 on 4 November 2018 and went back from
    // 00:00 to 23:00 on the night of 16 to 17 February 2019.
    QTest::newRow("Sao Paulo, daily 00:30 over the spring change")
        << QByteArray("America/Sao_Paulo") << wall(2018, 11, 3, 0, 30) << 2
        << QDateTime(QDate(2018, 11, 6), QTime(12, 0), Qt::UTC)
        << QStringList{"2018-11-03 00:30", "2018-11-04 01:00", "2018-11-05 00:30",
                       "2018-11-06 00:30"};
    QTest::newRow("Sao Paulo, hourly over the autumn change")
        << QByteArray("America/Sao_Paulo") << wall(2019, 2, 16, 21, 30) << 1
        << QDateTime(QDate(2019, 2, 17), QTime(4, 0), Qt::UTC)
        << QStringList{"2019-02-16 21:30", "2019-02-16 22:30", "2019-02-16 23:30",
                       "2019-02-17 00:30"};
}

// The alarm timer's rule run minute by minute through real time: fire when the wall
// clock has reached the alarm, then arm the reminder for its next date. What the clock
// on the wall showed at each firing is read by the C library, not by Qt.
void tst_NextReminderDate::remindersOverSummerTimeChanges() {
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, alarm);
    QFETCH(int, unit);
    QFETCH(QDateTime, until);
    QFETCH(QStringList, fired);

    useZone(zone.constData());
    QDateTime next = WallClock::local(alarm);
    QVERIFY(next.isValid());
    QStringList seen;
    const qint64 end = until.toSecsSinceEpoch();
    // From an hour before the first alarm (its UTC offset is at most 12 hours).
    for (qint64 t = alarm.toSecsSinceEpoch() - 13 * 3600; t <= end; t += 60) {
        const QDateTime now = QDateTime::fromSecsSinceEpoch(t);
        if (!WallClock::reached(now, next))
            continue;
        seen.append(libcWallClock(t));
        const std::optional<QDateTime> armed =
            NextReminderDate(next, 1, unit, flags("SMTWTFS"), now);
        QVERIFY(armed && armed->isValid());
        next = *armed;
    }
    QCOMPARE(seen, fired);
}

QTEST_GUILESS_MAIN(tst_NextReminderDate)
#include "tst_NextReminderDate.moc"

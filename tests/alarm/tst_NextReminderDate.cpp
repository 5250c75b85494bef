#include "alarm/NextReminderDate.h"

#include <QTest>

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

QDateTime at(int year, int month, int day, int hour, int minute, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// The search exactly as a user would describe it: one step by the interval, then one
// day after another, the same time of day, until the weekday is allowed and the date
// is not in the past.
std::optional<QDateTime> dayByDay(const QDateTime& alarm, int count, int unit, const Flags& dia,
                                  const QDateTime& now) {
    QDateTime first;
    switch (unit) {
    case 0:
        first = alarm.addSecs(qint64(count) * 60);
        break;
    case 1:
        first = alarm.addSecs(qint64(count) * 3600);
        break;
    case 2:
        first = alarm.addDays(count);
        break;
    case 3:
        first = alarm.addDays(qint64(count) * 7);
        break;
    case 4:
        first = alarm.addDays(qint64(count) * 30);
        break;
    default:
        return std::nullopt;
    }
    for (qint64 day = 0; day < 1000000; ++day) {
        const QDateTime candidate = first.addDays(day);
        if (dia[candidate.date().dayOfWeek() % 7] && candidate >= now)
            return candidate;
    }
    return std::nullopt;
}

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
};

void tst_NextReminderDate::initTestCase() {
    // A zone with summer time, so steps across its changes are covered.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCOMPARE(at(2024, 7, 1, 12, 0).offsetFromUtc(), 2 * 3600);
    QCOMPARE(at(2024, 1, 1, 12, 0).offsetFromUtc(), 3600);
}

void tst_NextReminderDate::nextDate_data() {
    QTest::addColumn<QDateTime>("alarm");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unit");
    QTest::addColumn<Flags>("dia");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected"); // invalid: no next date

    // 1 January 2024 is a Monday, 5 January a Friday.
    const Flags all = flags("SMTWTFS");
    const Flags workdays = flags("-MTWTF-");
    QTest::newRow("every 2 days: Monday to Wednesday")
        << at(2024, 1, 1, 9, 0) << 2 << 2 << all << at(2024, 1, 1, 9, 0, 1) << at(2024, 1, 3, 9, 0);
    QTest::newRow("daily on workdays: Friday to Monday")
        << at(2024, 1, 5, 18, 0) << 1 << 2 << workdays << at(2024, 1, 5, 18, 0, 1)
        << at(2024, 1, 8, 18, 0);
    QTest::newRow("10 minutes while not running: tomorrow 08:10")
        << at(2024, 1, 1, 8, 0) << 10 << 0 << all << at(2024, 1, 1, 12, 0) << at(2024, 1, 2, 8, 10);
    QTest::newRow("10 minutes on workdays over midnight on Friday")
        << at(2024, 1, 5, 23, 55) << 10 << 0 << workdays << at(2024, 1, 5, 23, 55, 1)
        << at(2024, 1, 8, 0, 5);
    QTest::newRow("a candidate equal to now is accepted")
        << at(2024, 1, 1, 9, 0) << 1 << 1 << all << at(2024, 1, 1, 10, 0) << at(2024, 1, 1, 10, 0);
    QTest::newRow("one second past the candidate moves on a day")
        << at(2024, 1, 1, 9, 0) << 1 << 1 << all << at(2024, 1, 1, 10, 0, 1)
        << at(2024, 1, 2, 10, 0);
    QTest::newRow("weekly, only its own weekday")
        << at(2024, 1, 1, 9, 0) << 1 << 3 << flags("-M-----") << at(2024, 1, 1, 9, 0, 5)
        << at(2024, 1, 8, 9, 0);
    QTest::newRow("every 3 weeks") << at(2024, 1, 1, 9, 0) << 3 << 3 << all
                                   << at(2024, 1, 1, 9, 0, 5) << at(2024, 1, 22, 9, 0);
    QTest::newRow("monthly is 30 days: 31 January to 2 March")
        << at(2023, 1, 31, 10, 0) << 1 << 4 << all << at(2023, 1, 31, 10, 0, 1)
        << at(2023, 3, 2, 10, 0);
    QTest::newRow("monthly, that Thursday not allowed")
        << at(2023, 1, 31, 10, 0) << 1 << 4 << flags("SMTW-FS") << at(2023, 1, 31, 10, 0, 1)
        << at(2023, 3, 3, 10, 0);
    QTest::newRow("90 minutes are a plain duration")
        << at(2024, 1, 1, 8, 0) << 90 << 0 << all << at(2024, 1, 1, 8, 0, 1)
        << at(2024, 1, 1, 9, 30);
    QTest::newRow("999 minutes") << at(2024, 1, 1, 8, 0) << 999 << 0 << all
                                 << at(2024, 1, 1, 8, 0, 1) << at(2024, 1, 2, 0, 39);
    QTest::newRow("36 hours are a plain duration")
        << at(2024, 1, 1, 8, 0) << 36 << 1 << all << at(2024, 1, 1, 8, 0, 1)
        << at(2024, 1, 2, 20, 0);
    QTest::newRow("a count of 0 moves on by days")
        << at(2024, 1, 1, 9, 0) << 0 << 2 << all << at(2024, 1, 1, 9, 0, 1) << at(2024, 1, 2, 9, 0);
    QTest::newRow("a negative count still ends after now")
        << at(2024, 1, 1, 9, 0) << -3 << 0 << all << at(2024, 1, 1, 9, 0, 1)
        << at(2024, 1, 2, 8, 57);
    QTest::newRow("the largest count does not overflow")
        << at(2024, 1, 1, 9, 0) << INT_MAX << 0 << all << at(2024, 1, 1, 9, 0, 1)
        << at(2024, 1, 1, 9, 0).addSecs(qint64(INT_MAX) * 60);
    QTest::newRow("last fired decades ago") << at(1990, 6, 15, 7, 45) << 1 << 2 << workdays
                                            << at(2024, 1, 6, 12, 0) << at(2024, 1, 8, 7, 45);
    QTest::newRow("last fired decades ago, due later today")
        << at(1990, 6, 15, 7, 45) << 1 << 0 << all << at(2024, 1, 3, 7, 0) << at(2024, 1, 3, 7, 46);
    QTest::newRow("daily across the start of summer time: the skipped hour")
        << at(2024, 3, 29, 2, 30) << 1 << 2 << all << at(2024, 3, 31, 1, 0)
        << at(2024, 3, 31, 3, 30);
    QTest::newRow("daily across the start of summer time keeps its time of day")
        << at(2024, 3, 29, 2, 30) << 1 << 2 << all << at(2024, 4, 1, 0, 0) << at(2024, 4, 1, 2, 30);
    QTest::newRow("hourly across the end of summer time counts real hours")
        << at(2024, 10, 27, 1, 30) << 1 << 1 << all << at(2024, 10, 27, 1, 30, 1)
        << QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC);
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
        QCOMPARE(*next, expected);
        QCOMPARE(next->timeSpec(), Qt::LocalTime);
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

    const std::optional<QDateTime> expected = dayByDay(alarm, count, unit, dia, now);
    QVERIFY(expected.has_value());
    QCOMPARE(NextReminderDate(alarm, count, unit, dia, now), expected);
}

QTEST_GUILESS_MAIN(tst_NextReminderDate)
#include "tst_NextReminderDate.moc"

#include "core/store/Rotinas.h"
#include "platform/SystemPaths.h"
#include "platform/system/QtLocaleInfo.h"

#include <QTest>

#include <ctime>

class tst_LocaleInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void windowsFormats_data();
    void windowsFormats();
    void parsesWhatItWrites_data();
    void parsesWhatItWrites();
    void rejectsOtherText();
    void keepsTimesSkippedBySummerTime();
    void addBackslash_data();
    void addBackslash();
    void userName_data();
    void userName();
};

void tst_LocaleInfo::windowsFormats_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("lcid");
    QTest::addColumn<QString>("afternoon");
    QTest::addColumn<QString>("midnight");

    QTest::newRow("pt_BR") << "pt_BR" << 1046 << "25/12/2002 14:30:00"
                           << "25/12/2002";
    QTest::newRow("en_US") << "en_US" << 1033 << "12/25/2002 2:30:00 PM"
                           << "12/25/2002";
    QTest::newRow("de_DE: four-digit year, no zone") << "de_DE" << 1031 << "25.12.2002 14:30:00"
                                                     << "25.12.2002";
    QTest::newRow("fr_FR") << "fr_FR" << 1036 << "25/12/2002 14:30:00"
                           << "25/12/2002";
    QTest::newRow("C stands for US English") << "C" << 1033 << "12/25/2002 2:30:00 PM"
                                             << "12/25/2002";
    QTest::newRow("unknown identifier") << "eo" << 4096 << QString() << QString();
}

void tst_LocaleInfo::windowsFormats() {
    QFETCH(QString, locale);
    QFETCH(int, lcid);
    QFETCH(QString, afternoon);
    QFETCH(QString, midnight);
    const QtLocaleInfo info{QLocale(locale)};
    QCOMPARE(info.lcid(), lcid);
    if (afternoon.isEmpty())
        return;
    const QDate christmas(2002, 12, 25);
    QCOMPARE(info.formatDateTime(QDateTime(christmas, QTime(14, 30))), afternoon);
    QCOMPARE(info.formatDateTime(QDateTime(christmas, QTime(0, 0))), midnight);
    QVERIFY(!info.longTimeFormat().contains(QLatin1Char('t')));
}

void tst_LocaleInfo::parsesWhatItWrites_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("value");
    for (const char* name : {"pt_BR", "en_US", "de_DE", "ja_JP"}) {
        QTest::addRow("%s afternoon", name)
            << QString::fromLatin1(name) << QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5));
        QTest::addRow("%s midnight", name)
            << QString::fromLatin1(name) << QDateTime(QDate(2031, 1, 2), QTime(0, 0));
        QTest::addRow("%s just after midnight", name)
            << QString::fromLatin1(name) << QDateTime(QDate(2031, 1, 2), QTime(0, 0, 1));
        QTest::addRow("%s noon", name)
            << QString::fromLatin1(name) << QDateTime(QDate(2031, 7, 9), QTime(12, 0));
    }
}

void tst_LocaleInfo::parsesWhatItWrites() {
    QFETCH(QString, locale);
    QFETCH(QDateTime, value);
    const QtLocaleInfo info{QLocale(locale)};
    QCOMPARE(info.parseDateTime(info.formatDateTime(value)), std::optional<QDateTime>(value));
}

void tst_LocaleInfo::rejectsOtherText() {
    const QtLocaleInfo info{QLocale(QStringLiteral("pt_BR"))};
    for (const char* text : {"", "amanhã", "31/02/2002", "25/12/2002 25:00:00", "2002-12-25"})
        QVERIFY2(!info.parseDateTime(QString::fromUtf8(text)).has_value(), text);
}

void tst_LocaleInfo::keepsTimesSkippedBySummerTime() {
    // Berlin's clocks skip from 02:00 to 03:00 on 31 March 2024; an alarm stored at 02:30
    // that day is read back as 02:30 of that day, not as an unreadable date.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QtLocaleInfo info{QLocale(QStringLiteral("pt_BR"))};
    const QString stored = QStringLiteral("31/03/2024 02:30:00");
    const std::optional<QDateTime> read = info.parseDateTime(stored);
    QVERIFY(read && read->isValid());
    QCOMPARE(read->date(), QDate(2024, 3, 31));
    QCOMPARE(read->time(), QTime(2, 30));
    QCOMPARE(info.formatDateTime(*read), stored);
}

void tst_LocaleInfo::addBackslash_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("adds one") << "/home/u"
                              << "/home/u/";
    QTest::newRow("keeps one") << "/home/u/"
                               << "/home/u/";
    QTest::newRow("empty") << ""
                           << "/";
}

void tst_LocaleInfo::addBackslash() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Rotinas::AddBackslash(path), expected);
}

void tst_LocaleInfo::userName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ordinary") << "maria"
                              << "maria";
    QTest::newRow("254 characters fit") << QString(254, 'a') << QString(254, 'a');
    QTest::newRow("255 do not fit the buffer") << QString(255, 'a') << "Default";
    QTest::newRow("none") << ""
                          << "Default";
}

void tst_LocaleInfo::userName() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(SystemPaths::usableUserName(name), expected);
}

QTEST_GUILESS_MAIN(tst_LocaleInfo)
#include "tst_LocaleInfo.moc"

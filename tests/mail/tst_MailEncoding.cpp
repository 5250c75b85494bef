#include "core/mail/MailDate.h"
#include "core/mail/MailEncoding.h"
#include "core/mail/SystemUtcOffset.h"

#include <QLocale>
#include <QtTest>

class MailEncodingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void base64_data();
    void base64();
    void hmacMd5_data();
    void hmacMd5();
    void cramMd5Rfc2195();
    void wireText();
    void dateText_data();
    void dateText();
    void systemOffsetMatchesQt();
};

void MailEncodingTest::base64_data() {
    // RFC 4648, section 10.
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("f") << QByteArray("f") << QByteArray("Zg==");
    QTest::newRow("fo") << QByteArray("fo") << QByteArray("Zm8=");
    QTest::newRow("foo") << QByteArray("foo") << QByteArray("Zm9v");
    QTest::newRow("foob") << QByteArray("foob") << QByteArray("Zm9vYg==");
    QTest::newRow("fooba") << QByteArray("fooba") << QByteArray("Zm9vYmE=");
    QTest::newRow("foobar") << QByteArray("foobar") << QByteArray("Zm9vYmFy");
}

void MailEncodingTest::base64() {
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, encoded);
    QCOMPARE(MailEncoding::base64Encode(plain), encoded);
    QCOMPARE(MailEncoding::base64Decode(encoded), plain);
}

void MailEncodingTest::hmacMd5_data() {
    // RFC 2202, section 2.
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("digest");
    QByteArray key4;
    for (char c = 1; c <= 25; ++c)
        key4 += c;
    QTest::newRow("1") << QByteArray(16, 0x0b) << QByteArray("Hi There")
                       << QByteArray("9294727a3638bb1c13f48ef8158bfc9d");
    QTest::newRow("2") << QByteArray("Jefe") << QByteArray("what do ya want for nothing?")
                       << QByteArray("750c783e6ab0b503eaa86e310a5db738");
    QTest::newRow("3") << QByteArray(16, char(0xaa)) << QByteArray(50, char(0xdd))
                       << QByteArray("56be34521d144c88dbb8c733f0e8b3f6");
    QTest::newRow("4") << key4 << QByteArray(50, char(0xcd))
                       << QByteArray("697eaf0aca3a3aea3a75164746ffaa79");
    QTest::newRow("5") << QByteArray(16, 0x0c) << QByteArray("Test With Truncation")
                       << QByteArray("56461ef2342edc00f9bab995690efd4c");
    QTest::newRow("6") << QByteArray(80, char(0xaa))
                       << QByteArray("Test Using Larger Than Block-Size Key - Hash Key First")
                       << QByteArray("6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
    QTest::newRow("7") << QByteArray(80, char(0xaa))
                       << QByteArray("Test Using Larger Than Block-Size Key and Larger Than One "
                                     "Block-Size Data")
                       << QByteArray("6f630fad67cda0ee1fb1f562db3aa53e");
}

void MailEncodingTest::hmacMd5() {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, digest);
    QCOMPARE(MailEncoding::hmacMd5Hex(key, data), digest);
}

void MailEncodingTest::cramMd5Rfc2195() {
    const QByteArray challenge =
        MailEncoding::base64Decode("PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+");
    QCOMPARE(challenge, QByteArray("<1896.697170952@postoffice.reston.mci.net>"));
    const QByteArray answer = MailEncoding::cramMd5Answer(
        QStringLiteral("tim"), QStringLiteral("tanstaaftanstaaf"), challenge);
    QCOMPARE(answer, QByteArray("tim b913a602c7eda7a495b4e6e7334d3890"));
    QCOMPARE(MailEncoding::base64Encode(answer),
             QByteArray("dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw"));
}

void MailEncodingTest::wireText() {
    const QString text = QString::fromUtf8("Atenção € “aspas” ÿ");
    const QByteArray wire = MailEncoding::toWire(text);
    QCOMPARE(wire, QByteArray("Aten\xe7\xe3o \x80 \x93"
                              "aspas\x94 \xff"));
    QCOMPARE(MailEncoding::fromWire(wire), text);
    // One byte for each character, also for those the code page lacks.
    QCOMPARE(MailEncoding::toWire(QString::fromUtf8("a\u0101b")).size(), 3);
}

void MailEncodingTest::dateText_data() {
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<int>("offset"); // minutes east of UTC; -10000 unknown
    QTest::addColumn<QString>("expected");
    const QDateTime christmas(QDate(2002, 12, 25), QTime(14, 30, 5));
    QTest::newRow("three hours behind")
        << christmas << -180 << QStringLiteral("Wed, 25 Dec 2002 14:30:05 -0300");
    QTest::newRow("one hour ahead")
        << christmas << 60 << QStringLiteral("Wed, 25 Dec 2002 14:30:05 +0100");
    QTest::newRow("half hour behind")
        << christmas << -210 << QStringLiteral("Wed, 25 Dec 2002 14:30:05 -0330");
    QTest::newRow("quarter hours ahead")
        << christmas << 345 << QStringLiteral("Wed, 25 Dec 2002 14:30:05 +0545");
    QTest::newRow("UTC") << christmas << 0 << QStringLiteral("Wed, 25 Dec 2002 14:30:05 +0000");
    QTest::newRow("unknown zone") << christmas << -10000
                                  << QStringLiteral("Wed, 25 Dec 2002 14:30:05 -0000");
    QTest::newRow("single-digit day, midnight") << QDateTime(QDate(2024, 3, 3), QTime(0, 0)) << -180
                                                << QStringLiteral("Sun, 3 Mar 2024 00:00:00 -0300");
    QTest::newRow("Saturday in May") << QDateTime(QDate(2021, 5, 1), QTime(23, 59, 59)) << 0
                                     << QStringLiteral("Sat, 1 May 2021 23:59:59 +0000");
}

void MailEncodingTest::dateText() {
    QFETCH(QDateTime, local);
    QFETCH(int, offset);
    QFETCH(QString, expected);
    // Names stay English whatever the user's language.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const QString text =
        MailDate::format(local, offset == -10000 ? std::nullopt : std::optional<int>(offset));
    QLocale::setDefault(before);
    QCOMPARE(text, expected);
}

void MailEncodingTest::systemOffsetMatchesQt() {
    const QDateTime now = QDateTime::currentDateTime();
    const std::optional<int> offset = SystemUtcOffset().utcOffsetMinutes(now);
    QVERIFY(offset.has_value());
    QCOMPARE(*offset, now.offsetFromUtc() / 60);
}

QTEST_GUILESS_MAIN(MailEncodingTest)
#include "tst_MailEncoding.moc"

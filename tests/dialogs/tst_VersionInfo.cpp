#include "core/program/VersionInfo.h"

#include <QTest>

namespace {

using Entries = QMap<QString, QString>;

QString pt(const char* name) {
    return VersionInfo::stringPath(VersionInfo::PortugueseBrazil, QString::fromLatin1(name));
}
QString en(const char* name) {
    return VersionInfo::stringPath(VersionInfo::EnglishUS, QString::fromLatin1(name));
}

} // namespace

class tst_VersionInfo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aboutText_data();
    void aboutText();
    void theProgramsOwnInformation();
};

void tst_VersionInfo::aboutText_data() {
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("expected");

    const QString version = QStringLiteral("1.3.0.215");
    QTest::newRow("Portuguese product and file version")
        << Entries{{pt("ProductVersion"), version}, {pt("FileVersion"), version}} << true
        << "1.3.0.215  (Build 130215)";
    QTest::newRow("only the English-US entry")
        << Entries{{en("ProductVersion"), version}, {en("FileVersion"), version}} << true
        << "v1.30 (build 215)";
    QTest::newRow("English product version beside a Portuguese file version")
        << Entries{{en("ProductVersion"), version}, {pt("FileVersion"), version}} << true
        << "v1.30 (build 215)";
    QTest::newRow("Portuguese product version without a file version")
        << Entries{{pt("ProductVersion"), QStringLiteral("2.0")}} << true << "2.0 ";
    QTest::newRow("the file version loses every dot, the product version none")
        << Entries{{pt("ProductVersion"), QStringLiteral("2.0 beta")},
                   {pt("FileVersion"), QStringLiteral("2..0.1.")}}
        << true << "2.0 beta  (Build 201)";
    QTest::newRow("no version information keeps the box's text") << Entries{} << false << "";
}

void tst_VersionInfo::aboutText() {
    QFETCH(Entries, entries);
    QFETCH(bool, hasText);
    QFETCH(QString, expected);
    const std::optional<QString> text = VersionInfo(entries).aboutText();
    QCOMPARE(text.has_value(), hasText);
    if (hasText)
        QCOMPARE(*text, expected);
}

// The program carries its version under the English-US entry only.
void tst_VersionInfo::theProgramsOwnInformation() {
    const VersionInfo program = VersionInfo::ofProgram();
    QCOMPARE(program.value(en("ProductVersion")), QStringLiteral("1.3.0.215"));
    QCOMPARE(program.value(en("FileVersion")), QStringLiteral("1.3.0.215"));
    QVERIFY(!program.value(pt("ProductVersion")));
    QCOMPARE(program.aboutText(), QStringLiteral("v1.30 (build 215)"));
}

QTEST_GUILESS_MAIN(tst_VersionInfo)
#include "tst_VersionInfo.moc"

#include "platform/system/QtTranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

class tst_QtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void standardButtons_data();
    void standardButtons();
};

namespace {

// The text Qt's message boxes put on their Yes button.
QString yesButton() {
    return QCoreApplication::translate("QPlatformTheme", "&Yes");
}

} // namespace

void tst_QtTranslations::initTestCase() {
    if (!QFileInfo::exists(QtTranslations::defaultFolder() + QStringLiteral("/qt_pt_BR.qm")))
        QSKIP("Qt's translations are not installed (Debian package qt6-translations-l10n)");
}

void tst_QtTranslations::standardButtons_data() {
    QTest::addColumn<QStringList>("languages"); // installed one after the other
    QTest::addColumn<bool>("installed");        // the last one was found
    QTest::addColumn<QString>("yes");

    QTest::newRow("Portuguese") << QStringList{"pt_BR"} << true << "&Sim";
    QTest::newRow("English") << QStringList{"en"} << true << "&Yes";
    QTest::newRow("Portuguese, then English") << QStringList{"pt_BR", "en"} << true << "&Yes";
    QTest::newRow("English, then Portuguese") << QStringList{"en", "pt_BR"} << true << "&Sim";
    QTest::newRow("a language Qt has no catalogue for drops the one before")
        << QStringList{"pt_BR", "tlh"} << false << "&Yes";
}

void tst_QtTranslations::standardButtons() {
    QFETCH(QStringList, languages);
    QFETCH(bool, installed);
    QFETCH(QString, yes);

    {
        QtTranslations translations;
        bool found = false;
        for (const QString& language : languages)
            found = translations.install(language);
        QCOMPARE(found, installed);
        QCOMPARE(translations.language(), installed ? languages.constLast() : QString());
        QCOMPARE(yesButton(), yes);
    }
    // Gone with its owner.
    QCOMPARE(yesButton(), QStringLiteral("&Yes"));
}

QTEST_GUILESS_MAIN(tst_QtTranslations)
#include "tst_QtTranslations.moc"

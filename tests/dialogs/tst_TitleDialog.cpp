#include "core/settings/GeneralSettings.h"
#include "gui/dialogs/TfrmMudaCaption.h"
#include "platform/system/QtLocaleInfo.h"

#include "../support/FakeClock.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// A title dialog on a clock standing at 25/12/2002 14:30:05.
struct Fixture {
    explicit Fixture(const QString& localeName = QStringLiteral("pt_BR"))
        : locale(QLocale(localeName)) {}

    // Runs edit() with the caption while the action works on the shown dialog.
    bool edit(QString& caption, const std::function<void()>& action) {
        QTimer::singleShot(0, &dialog, action);
        return dialog.edit(caption);
    }

    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5))};
    QtLocaleInfo locale;
    GeneralSettings recGeral;
    TfrmMudaCaption dialog{clock, locale, recGeral};
};

QString repeated(char c, int count) {
    return QString(count, QLatin1Char(c));
}

} // namespace

class tst_TitleDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void padrao_data();
    void padrao();
    void padraoFollowsSettingsChangedLater();
    void typingLimit_data();
    void typingLimit();
    void okEnabled_data();
    void okEnabled();
    void closing_data();
    void closing();
    void reuseResetsOnlyOk();
};

void tst_TitleDialog::padrao_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("showDate");
    QTest::addColumn<bool>("showTime");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("expected");

    QTest::newRow("date and time")
        << "pt_BR" << true << true << "velho" << 1 << "25/12/2002 14:30:05";
    QTest::newRow("date and time, US")
        << "en_US" << true << true << "velho" << 1 << "12/25/2002 2:30:05 PM";
    QTest::newRow("only the date ends in a blank")
        << "pt_BR" << true << false << "velho" << 1 << "25/12/2002 ";
    QTest::newRow("only the time is appended")
        << "pt_BR" << false << true << "velho" << 1 << "velho14:30:05";
    QTest::newRow("only the time, pressed twice")
        << "pt_BR" << false << true << "velho" << 2 << "velho14:30:0514:30:06";
    QTest::newRow("date and time, pressed twice")
        << "pt_BR" << true << true << "velho" << 2 << "25/12/2002 14:30:06";
    QTest::newRow("neither changes nothing")
        << "pt_BR" << false << false << "velho" << 2 << "velho";
    QTest::newRow("the time is not cut to the typing limit")
        << "pt_BR" << false << true << repeated('x', 48) << 1 << repeated('x', 48) + "14:30:05";
}

void tst_TitleDialog::padrao() {
    QFETCH(QString, locale);
    QFETCH(bool, showDate);
    QFETCH(bool, showTime);
    QFETCH(QString, before);
    QFETCH(int, presses);
    QFETCH(QString, expected);
    Fixture f(locale);
    f.recGeral.ShowDate = showDate;
    f.recGeral.ShowTime = showTime;
    f.dialog.setCaptionText(before);
    for (int i = 0; i < presses; ++i) {
        f.dialog.cmdPadrao->click();
        f.clock.advanceSeconds(1);
    }
    QCOMPARE(f.dialog.txtCaptionNota->text(), expected);
}

// The dialog lives for the whole run; it reads the settings at each press.
void tst_TitleDialog::padraoFollowsSettingsChangedLater() {
    Fixture f;
    f.recGeral.ShowDate = false;
    f.recGeral.ShowTime = false;
    f.dialog.setCaptionText(QStringLiteral("nota"));
    f.dialog.cmdPadrao->click();
    QCOMPARE(f.dialog.txtCaptionNota->text(), QStringLiteral("nota"));
    f.recGeral.ShowDate = true;
    f.dialog.cmdPadrao->click();
    QCOMPARE(f.dialog.txtCaptionNota->text(), QStringLiteral("25/12/2002 "));
}

void tst_TitleDialog::typingLimit_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("typing stops at 50") << "" << 0 << repeated('a', 60) << repeated('a', 50);
    QTest::newRow("typing after a title")
        << repeated('b', 48) << 0 << "cde" << repeated('b', 48) + "cd";
    QTest::newRow("a longer title set by the note stays whole")
        << repeated('b', 60) << 0 << "" << repeated('b', 60);
    QTest::newRow("a longer title cannot grow")
        << repeated('b', 60) << 0 << "cd" << repeated('b', 60);
    QTest::newRow("a longer title can shrink, then grow to 50 only")
        << repeated('b', 60) << 15 << repeated('c', 10) << repeated('b', 45) + "ccccc";
    QTest::newRow("a longer title shortened stays shorter")
        << repeated('b', 60) << 3 << "cd" << repeated('b', 57);
}

void tst_TitleDialog::typingLimit() {
    QFETCH(QString, before);
    QFETCH(int, backspaces);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Fixture f;
    f.dialog.setCaptionText(before);
    f.dialog.show();
    QLineEdit* field = f.dialog.txtCaptionNota;
    field->setFocus();
    field->end(false);
    for (int i = 0; i < backspaces; ++i)
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, typed);
    QCOMPARE(field->text(), expected);
}

void tst_TitleDialog::okEnabled_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("a title") << "Nota" << 0 << "" << true;
    QTest::newRow("an empty title right after opening") << "" << 0 << "" << true;
    QTest::newRow("deleting the whole title") << "ab" << 2 << "" << false;
    QTest::newRow("deleting part of it") << "ab" << 1 << "" << true;
    QTest::newRow("typing into an empty field") << "" << 0 << "x" << true;
    QTest::newRow("deleting and typing again") << "ab" << 2 << "c" << true;
}

void tst_TitleDialog::okEnabled() {
    QFETCH(QString, caption);
    QFETCH(int, backspaces);
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    Fixture f;
    bool okWhenDone = false;
    f.edit(caption, [&] {
        QLineEdit* field = f.dialog.txtCaptionNota;
        field->end(false);
        for (int i = 0; i < backspaces; ++i)
            QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, typed);
        okWhenDone = f.dialog.cmdOK->isEnabled();
        f.dialog.cmdCancelar->click();
    });
    QCOMPARE(okWhenDone, enabled);
}

void tst_TitleDialog::closing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("close"); // "ok", "cancel", "escape" or "enter"
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("caption");

    QTest::newRow("OK takes the field") << " nova"
                                        << "ok" << true << "Nota nova";
    QTest::newRow("Enter is OK") << "!"
                                 << "enter" << true << "Nota!";
    QTest::newRow("Cancel keeps the caption") << " nova"
                                              << "cancel" << false << "Nota";
    QTest::newRow("Escape keeps the caption") << " nova"
                                              << "escape" << false << "Nota";
    QTest::newRow("OK without changes") << ""
                                        << "ok" << true << "Nota";
}

void tst_TitleDialog::closing() {
    QFETCH(QString, typed);
    QFETCH(QString, close);
    QFETCH(bool, accepted);
    QFETCH(QString, caption);
    Fixture f;
    QString edited = QStringLiteral("Nota");
    const bool result = f.edit(edited, [&] {
        QLineEdit* field = f.dialog.txtCaptionNota;
        field->end(false);
        QTest::keyClicks(field, typed);
        if (close == QLatin1String("ok"))
            f.dialog.cmdOK->click();
        else if (close == QLatin1String("cancel"))
            f.dialog.cmdCancelar->click();
        else if (close == QLatin1String("escape"))
            QTest::keyClick(field, Qt::Key_Escape);
        else
            QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(result, accepted);
    QCOMPARE(edited, caption);
    QVERIFY(!f.dialog.isVisible());
}

// Showing the dialog again enables OK and leaves everything else as it was.
void tst_TitleDialog::reuseResetsOnlyOk() {
    Fixture f;
    QString caption = QStringLiteral("ab");
    f.edit(caption, [&] {
        f.dialog.txtCaptionNota->clear();
        QVERIFY(!f.dialog.cmdOK->isEnabled());
        f.dialog.cmdCancelar->click();
    });
    QCOMPARE(caption, QStringLiteral("ab"));
    QVERIFY(!f.dialog.cmdOK->isEnabled());

    f.dialog.show();
    QVERIFY(f.dialog.cmdOK->isEnabled());
    QCOMPARE(f.dialog.txtCaptionNota->text(), QString());
    f.dialog.hide();

    QString second = QStringLiteral("cd");
    QVERIFY(f.edit(second, [&] { f.dialog.cmdOK->click(); }));
    QCOMPARE(second, QStringLiteral("cd"));
}

QTEST_MAIN(tst_TitleDialog)
#include "tst_TitleDialog.moc"

// The e-mail composer's window on test doubles for the address book, the message boxes
// and the clock: what it shows when it opens, picking addresses, the recipients it makes
// of the field, and a sending cancelled or timed out against a scripted server.
#include "tests/mail/Composer.h"
#include "tests/mail/ScriptedSmtpServer.h"
#include "tests/mail/SignalWait.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

class tst_EnviarEmail : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingResetsOnlyTheRecipients();
    void addressPicking_data();
    void addressPicking();
    void recipients_data();
    void recipients();
    void cancelDuringSending_data();
    void cancelDuringSending();
};

void tst_EnviarEmail::openingResetsOnlyTheRecipients() {
    Composer c;
    c.dialog.txtPara->setText(QStringLiteral("left@example.org"));
    QStringList seen;
    QTimer::singleShot(0, &c.dialog, [&] {
        // "&Enviar" is on although the field is empty; typing decides from then on.
        seen << c.dialog.txtPara->text() << c.dialog.lblAssunto->text()
             << c.dialog.memTexto->toPlainText();
        QVERIFY(c.dialog.cmdEnviar->isEnabled());
        QVERIFY(!c.dialog.cmdCancelar->isEnabled());
        QTest::keyClicks(c.dialog.txtPara, QStringLiteral("a"));
        QVERIFY(c.dialog.cmdEnviar->isEnabled());
        QTest::keyClick(c.dialog.txtPara, Qt::Key_Backspace);
        QVERIFY(!c.dialog.cmdEnviar->isEnabled());
        // Esc belongs to "&Cancelar", which is off: the window stays.
        QTest::keyClick(&c.dialog, Qt::Key_Escape);
        QVERIFY(c.dialog.isVisible());
        c.dialog.cmdFechar->click();
    });
    QCOMPARE(c.dialog.sendNote(QStringLiteral("Tacknote - <b>Título</b>"),
                               QStringLiteral("linha 1\nlinha 2")),
             int(QDialog::Rejected));
    QCOMPARE(seen, (QStringList{"", "Tacknote - <b>Título</b>", "linha 1\nlinha 2"}));
    QCOMPARE(c.dialog.lblAssunto->textFormat(), Qt::PlainText);
    QVERIFY(c.boxes.shown.isEmpty());
}

void tst_EnviarEmail::addressPicking_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QString>("after");
    QTest::newRow("nothing picked") << "ann@example.org" << QStringList{} << "ann@example.org";
    QTest::newRow("picked addresses merged")
        << "xann@example.org" << QStringList{"ann@example.org", "bob@example.org"}
        << "xann@example.org,bob@example.org";
}

void tst_EnviarEmail::addressPicking() {
    QFETCH(QString, before);
    QFETCH(QStringList, picks);
    QFETCH(QString, after);
    Composer c;
    c.picker.picks = picks;
    c.dialog.txtPara->setText(before);
    c.dialog.cmdAddress->click();
    QCOMPARE(c.dialog.txtPara->text(), after);
}

void tst_EnviarEmail::recipients_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one address, blanks kept")
        << " ann@example.org" << QStringList{" ann@example.org"};
    QTest::newRow("empty field: one empty recipient") << "" << QStringList{""};
    QTest::newRow("comma and blank")
        << "ann@example.org, bob@example.org" << QStringList{"ann@example.org", " bob@example.org"};
    QTest::newRow("empty and blank pieces dropped")
        << "ann@example.org,, ,bob@example.org, "
        << QStringList{"ann@example.org", "bob@example.org"};
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("recipient%1@example.org").arg(i);
    QTest::newRow("beyond 255 characters nobody is lost") << many.join(',') << many;
}

void tst_EnviarEmail::recipients() {
    QFETCH(QString, field);
    QFETCH(QStringList, expected);
    QCOMPARE(TfrmEnviarEmail::Recipients(field), expected);
}

void tst_EnviarEmail::cancelDuringSending_data() {
    QTest::addColumn<QByteArray>("silentAt"); // the command the server never answers
    QTest::addColumn<bool>("byEscape");
    QTest::addColumn<int>("timeOutMs"); // 0: "&Cancelar" ends it, else the time-out
    QTest::newRow("cancel while the greeting is awaited") << QByteArray("HELO") << false << 0;
    QTest::newRow("Esc while the message is being accepted") << QByteArray(".") << true << 0;
    QTest::newRow("time-out") << QByteArray("MAIL FROM") << false << 100;
}

void tst_EnviarEmail::cancelDuringSending() {
    QFETCH(QByteArray, silentAt);
    QFETCH(bool, byEscape);
    QFETCH(int, timeOutMs);
    ScriptedSmtpServer scripted;
    if (silentAt == ".")
        scripted.messageReply = "<silent>";
    else
        scripted.on(silentAt, "<silent>");
    Composer c;
    c.rede.SMTPServer = QStringLiteral("127.0.0.1");
    c.rede.SMTPPort = QString::number(scripted.port());
    if (timeOutMs > 0) {
        c.dialog.tmrTimeOut->setInterval(timeOutMs);
    } else {
        // Pressed once the unanswered command has gone out.
        QObject::connect(&scripted, &ScriptedSmtpServer::lineHandled, &c.dialog, [&] {
            const bool silent = silentAt == "." ? scripted.messageComplete
                                                : scripted.commands.last().startsWith(silentAt);
            if (!silent || !c.dialog.cmdCancelar->isEnabled())
                return;
            if (byEscape)
                QTest::keyClick(&c.dialog, Qt::Key_Escape);
            else
                c.dialog.cmdCancelar->click();
        });
    }

    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastFailed(), qPrintable(c.shown()));
    QCOMPARE(c.status(), timeOutMs > 0 ? QStringLiteral("Timeout!!!")
                                       : QStringLiteral("426 Operation aborted."));
    QVERIFY(c.readyForNextSending());
    QVERIFY(waitUntil(&scripted, &ScriptedSmtpServer::clientDisconnected,
                      [&] { return scripted.disconnections == 1; }));
    QVERIFY(!scripted.messageComplete || silentAt == ".");

    // The same dialog sends the next mail.
    QObject::disconnect(&scripted, nullptr, &c.dialog, nullptr);
    scripted.messageReply = "250 queued";
    scripted.messageLines.clear();
    c.dialog.tmrTimeOut->setInterval(TfrmEnviarEmail::TimeOutInterval);
    QCOMPARE(c.send(), int(QDialog::Accepted));
    QVERIFY2(c.lastSent(), qPrintable(c.shown()));
    QCOMPARE(scripted.messageLines.first(), QByteArray("From: me@example.org"));
}

QTEST_MAIN(tst_EnviarEmail)
#include "tst_EnviarEmail.moc"

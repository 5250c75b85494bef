#include "core/base/TacknoteError.h"
#include "platform/system/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Program = QStringLiteral("/usr/lib/tacknote/tacknote");

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_XdgAutostart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void turnedOnAndOff();
    void existingEntry_data();
    void existingEntry();
    void refusedWrite();
    void execArgument_data();
    void execArgument();
    void entryIsValid();
};

void tst_XdgAutostart::turnedOnAndOff() {
    QTemporaryDir config;
    XdgAutostart autostart(config.path(), Program);
    const QString entry = config.filePath(QStringLiteral("autostart/tacknote.desktop"));
    QCOMPARE(autostart.entryPath(), entry);
    QVERIFY(!autostart.isEnabled());

    // The autostart folder does not exist yet in a fresh configuration folder.
    autostart.setEnabled(true);
    QVERIFY(autostart.isEnabled());
    const QByteArray text = readFile(entry);
    QVERIFY(text.startsWith("[Desktop Entry]\n"));
    QVERIFY(text.contains("\nExec=/usr/lib/tacknote/tacknote\n"));
    QVERIFY(text.contains("\nType=Application\n"));

    autostart.setEnabled(true);
    QCOMPARE(readFile(entry), text);

    autostart.setEnabled(false);
    QVERIFY(!QFile::exists(entry));
    QVERIFY(!autostart.isEnabled());
    autostart.setEnabled(false);
    QVERIFY(!autostart.isEnabled());
}

void tst_XdgAutostart::existingEntry_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("enabled");

    const QByteArray head = "[Desktop Entry]\nType=Application\nExec=tacknote\n";
    QTest::newRow("a plain entry") << head << true;
    QTest::newRow("hidden by the desktop's settings") << head + "Hidden=true\n" << false;
    QTest::newRow("switched off by GNOME") << head + "X-GNOME-Autostart-enabled = false\n" << false;
    QTest::newRow("switched on by GNOME") << head + "X-GNOME-Autostart-enabled=true\n" << true;
    QTest::newRow("Hidden in another group counts for nothing")
        << head + "[Desktop Action new-note]\nHidden=true\n"
        << true;
    QTest::newRow("Windows line ends") << QByteArray("[Desktop Entry]\r\nHidden=true\r\n") << false;
}

// An entry left by an earlier run or changed by the desktop's own settings.
void tst_XdgAutostart::existingEntry() {
    QFETCH(QByteArray, text);
    QFETCH(bool, enabled);
    QTemporaryDir config;
    XdgAutostart autostart(config.path(), Program);
    writeFile(autostart.entryPath(), text);
    QCOMPARE(autostart.isEnabled(), enabled);

    // Turning it on makes it ours and on, whatever it said.
    autostart.setEnabled(true);
    QVERIFY(autostart.isEnabled());
    QCOMPARE(readFile(autostart.entryPath()), XdgAutostart::entryText(Program));
}

// A configuration folder that cannot hold the entry: the failure is reported and
// nothing changes.
void tst_XdgAutostart::refusedWrite() {
    QTemporaryDir config;
    writeFile(config.filePath(QStringLiteral("autostart")), "not a folder");
    XdgAutostart autostart(config.path(), Program);
    QVERIFY_THROWS_EXCEPTION(TacknoteError, autostart.setEnabled(true));
    QVERIFY(!autostart.isEnabled());
}

void tst_XdgAutostart::execArgument_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain path") << "/usr/lib/tacknote/tacknote"
                                << "/usr/lib/tacknote/tacknote";
    QTest::newRow("a blank") << "/home/maria/meus programas/tacknote"
                             << "\"/home/maria/meus programas/tacknote\"";
    QTest::newRow("quote and dollar") << "/opt/a\"b$c/tacknote"
                                      << "\"/opt/a\\\\\"b\\\\$c/tacknote\"";
    QTest::newRow("backslash") << "/opt/a\\b/tacknote"
                               << "\"/opt/a\\\\\\\\b/tacknote\"";
    QTest::newRow("percent is no field code") << "/opt/100%/tacknote"
                                              << "/opt/100%%/tacknote";
    QTest::newRow("non-ASCII stays") << "/opt/área/tacknote"
                                     << "/opt/área/tacknote";
}

void tst_XdgAutostart::execArgument() {
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QCOMPARE(XdgAutostart::execArgument(argument), expected);
}

// The entry written is one the desktop accepts, also for a path that needs quoting.
void tst_XdgAutostart::entryIsValid() {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate (desktop-file-utils) is not installed");
    QTemporaryDir config;
    XdgAutostart autostart(config.path(),
                           QStringLiteral("/home/maria/meus \"programas\"/tacknote"));
    autostart.setEnabled(true);
    QProcess validate;
    validate.start(validator, {autostart.entryPath()});
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray output = validate.readAllStandardOutput() + validate.readAllStandardError();
    QVERIFY2(validate.exitCode() == 0 && output.isEmpty(), output.constData());
}

QTEST_GUILESS_MAIN(tst_XdgAutostart)
#include "tst_XdgAutostart.moc"

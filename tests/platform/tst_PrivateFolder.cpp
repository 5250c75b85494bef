// The local socket's folder without a desktop runtime folder: one of the user's own in
// the temporary folder, never one another user could have made or reached.

#include "platform/system/PrivateFolder.h"
#include "platform/system/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class tst_PrivateFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void socketFolderIsTheUsersAlone_data();
    void socketFolderIsTheUsersAlone();
};

void tst_PrivateFolder::socketFolderIsTheUsersAlone_data() {
    QTest::addColumn<QString>("found"); // what is in the folder's place beforehand
    QTest::addColumn<bool>("used");
    QTest::newRow("nothing: made") << "nothing" << true;
    QTest::newRow("own folder others may enter: closed") << "open folder" << true;
    QTest::newRow("link to an own folder") << "link" << false;
    QTest::newRow("a file") << "file" << false;
    QTest::newRow("another user's folder") << "foreign folder" << false;
}

void tst_PrivateFolder::socketFolderIsTheUsersAlone() {
    QFETCH(QString, found);
    QFETCH(bool, used);
    QTemporaryDir temp;
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    const QString folder = temp.filePath(QStringLiteral("tacknote-%1").arg(::getuid()));
    if (found == QLatin1String("open folder") || found == QLatin1String("foreign folder")) {
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        if (found == QLatin1String("foreign folder") && ::chown(qPrintable(folder), 65534, 65534))
            QSKIP("only the superuser can give a folder to another user");
    } else if (found == QLatin1String("link")) {
        QVERIFY(QDir().mkdir(temp.filePath(QStringLiteral("mine"))));
        QVERIFY(QFile::link(temp.filePath(QStringLiteral("mine")), folder));
    } else if (found == QLatin1String("file")) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QString server =
        SingleInstance::serverName(QStringLiteral("/data"), QStringLiteral("ana"));
    QCOMPARE(!server.isEmpty(), used);
    if (used) {
        QCOMPARE(QFileInfo(server).absolutePath(), folder);
        QCOMPARE(QFileInfo(folder).permissions() & QFileDevice::Permissions(0x0077),
                 QFileDevice::Permissions());
    }
    qunsetenv("TMPDIR");
}

QTEST_GUILESS_MAIN(tst_PrivateFolder)
#include "tst_PrivateFolder.moc"

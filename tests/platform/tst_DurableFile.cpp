// Whole-file writes that survive crashes: checked with a failing disk (the FailSync
// library preloaded into this test), with permissions and with leftovers of a kill.

#include "core/base/TacknoteError.h"
#include "core/store/IniFile.h"
#include "platform/system/DurableFile.h"

#include "../support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class tst_DurableFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void replacesContent();
    void failedSyncKeepsOldFile_data();
    void failedSyncKeepsOldFile();
    void permissions();
    void removesOnlyItsOwnLeftovers();
    void folderInPlaceIsNotReplaced();
    void writesThroughSymbolicLink_data();
    void writesThroughSymbolicLink();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void tst_DurableFile::init() {
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("stickies.tkn"));
    QFile::remove(m_path);
}

void tst_DurableFile::cleanup() {
    qunsetenv("TACKNOTE_FAIL_SYNC");
}

void tst_DurableFile::replacesContent() {
    writeBytes(m_path, "old");
    QVERIFY(DurableFile::write(m_path, "new content"));
    QCOMPARE(readBytes(m_path), QByteArray("new content"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("stickies.tkn")});
}

void tst_DurableFile::failedSyncKeepsOldFile_data() {
    QTest::addColumn<bool>("throughIniFile");
    QTest::newRow("file") << false;
    QTest::newRow("notes file") << true;
}

void tst_DurableFile::failedSyncKeepsOldFile() {
    QFETCH(bool, throughIniFile);
    const QByteArray old("[General]\r\nNumStickies=1\r\n");
    writeBytes(m_path, old);
    qputenv("TACKNOTE_FAIL_SYNC", "1");
    if (throughIniFile) {
        IniFile file(m_path, IniFile::Mode::Batched);
        file.writeInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 2);
        try {
            file.flush();
            QFAIL("the write should have failed");
        } catch (const TacknoteError& error) {
            QVERIFY2(error.message().endsWith(QStringLiteral(": erro de entrada e saída")),
                     qPrintable(error.message()));
        }
    } else {
        QString error;
        QVERIFY(!DurableFile::write(m_path, "new", &error));
        QCOMPARE(error, QStringLiteral("erro de entrada e saída"));
    }
    QCOMPARE(readBytes(m_path), old);
    // No temporary copy stays behind.
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("stickies.tkn")});
}

void tst_DurableFile::permissions() {
    const QFileDevice::Permissions ownerGroupOther(0x7077);
    QVERIFY(DurableFile::write(m_path, "x"));
    QCOMPARE(QFileInfo(m_path).permissions() & ownerGroupOther,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup));
    QVERIFY(DurableFile::write(m_path, "y"));
    QCOMPARE(QFileInfo(m_path).permissions() & ownerGroupOther,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
}

void tst_DurableFile::removesOnlyItsOwnLeftovers() {
    const QStringList keep{QStringLiteral("stickies.tkn"), QStringLiteral("stickies.tkn.backup"),
                           QStringLiteral("stickies.tkn.recuperado-20261209_0712"),
                           QStringLiteral("stickies.tkn.lock"),
                           QStringLiteral("other.tkn.tmp-abc123")};
    for (const QString& name : keep)
        writeBytes(m_dir.filePath(name), "keep");
    writeBytes(m_dir.filePath(QStringLiteral("stickies.tkn.tmp-Ab12Cd")), "a whole copy");
    QCOMPARE(DurableFile::removeLeftovers(m_path), 1);
    QStringList left = QDir(m_dir.path()).entryList(QDir::Files);
    QStringList expected = keep;
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
    for (const QString& name : keep)
        QFile::remove(m_dir.filePath(name));
}

void tst_DurableFile::folderInPlaceIsNotReplaced() {
    QVERIFY(QDir().mkpath(m_path));
    QVERIFY(!DurableFile::write(m_path, "x"));
    QVERIFY(QFileInfo(m_path).isDir());
    QVERIFY(QDir(m_path).removeRecursively());
}

void tst_DurableFile::writesThroughSymbolicLink_data() {
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("absolute link") << m_dir.filePath(QStringLiteral("synced/notes.tkn")) << true;
    QTest::newRow("relative link") << QStringLiteral("synced/notes.tkn") << true;
    QTest::newRow("link to a file not made yet") << QStringLiteral("synced/notes.tkn") << false;
}

// A notes file kept in another folder through a link: the saves reach that folder, and
// the link and what an interrupted save leaves are where they belong.
void tst_DurableFile::writesThroughSymbolicLink() {
    QFETCH(QString, linkTarget);
    QFETCH(bool, targetExists);
    const QString synced = m_dir.filePath(QStringLiteral("synced"));
    QVERIFY(QDir().mkpath(synced));
    const QString real = synced + QStringLiteral("/notes.tkn");
    if (targetExists)
        writeBytes(real, "old");
    QVERIFY(QFile::link(linkTarget, m_path));

    QVERIFY(DurableFile::write(m_path, "new content"));
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(readBytes(real), QByteArray("new content"));
    QCOMPARE(QDir(synced).entryList(QDir::Files), QStringList{QStringLiteral("notes.tkn")});

    writeBytes(synced + QStringLiteral("/notes.tkn.tmp-Ab12Cd"), "left by a kill");
    QCOMPARE(DurableFile::removeLeftovers(m_path), 1);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(QDir(synced).removeRecursively());
}

QTEST_GUILESS_MAIN(tst_DurableFile)

#include "tst_DurableFile.moc"

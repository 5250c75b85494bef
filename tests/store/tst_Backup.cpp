#include "core/base/TacknoteError.h"
#include "core/store/Backup.h"

#include "../support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <unistd.h>

namespace {

// Every file in a folder with its contents, hidden ones included.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> result;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        result.insert(name, readBytes(dir.filePath(name)));
    return result;
}

const QDateTime Christmas(QDate(2002, 12, 25), QTime(14, 30, 5));
const QByteArray Notes("[General]\r\nLCID=1046\r\n[Stick0]\r\ncaption=Caf\xe9 \xa2\r\n\r\n");

} // namespace

class tst_Backup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void fileName_data();
    void fileName();
    void copiesIntoFolder_data();
    void copiesIntoFolder();
    void twoBackupsInOneMinuteLeaveTheLaterCopy();
    void failureLeavesNothingBehind_data();
    void failureLeavesNothingBehind();
    void readOnlyFolderFails();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_notesFile;
    QString m_folder;
};

void tst_Backup::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_notesFile = m_dir->filePath(QStringLiteral("stickies.tkn"));
    writeBytes(m_notesFile, Notes);
    m_folder = m_dir->filePath(QStringLiteral("backups"));
    QVERIFY(QDir().mkpath(m_folder));
}

void tst_Backup::fileName_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("afternoon") << Christmas << "sticky-20021225_1430.tkn";
    QTest::newRow("padded, seconds left out")
        << QDateTime(QDate(2003, 1, 5), QTime(9, 7, 59)) << "sticky-20030105_0907.tkn";
    QTest::newRow("midnight") << QDateTime(QDate(2031, 7, 9), QTime(0, 0))
                              << "sticky-20310709_0000.tkn";
    QTest::newRow("last minute of the day")
        << QDateTime(QDate(2031, 7, 9), QTime(23, 59, 59, 999)) << "sticky-20310709_2359.tkn";
}

void tst_Backup::fileName() {
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    QCOMPARE(Backup::BackupFileName(when), name);
}

void tst_Backup::copiesIntoFolder_data() {
    QTest::addColumn<bool>("trailingSeparator");
    QTest::newRow("folder without a separator at the end") << false;
    QTest::newRow("folder with a separator at the end") << true;
}

void tst_Backup::copiesIntoFolder() {
    QFETCH(bool, trailingSeparator);
    const QString folder = trailingSeparator ? m_folder + QDir::separator() : m_folder;
    const QString expected = QDir(m_folder).filePath(QStringLiteral("sticky-20021225_1430.tkn"));

    QCOMPARE(Backup::MakeBackup(m_notesFile, folder, Christmas), expected);
    QCOMPARE(contentsOf(m_folder),
             (QMap<QString, QByteArray>{{QStringLiteral("sticky-20021225_1430.tkn"), Notes}}));
    // The notes file may hold passwords; so does every copy of it.
    const QFileDevice::Permissions permissions = QFileInfo(expected).permissions();
    QVERIFY(!(permissions & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    QCOMPARE(readBytes(m_notesFile), Notes);
}

void tst_Backup::twoBackupsInOneMinuteLeaveTheLaterCopy() {
    const QString first = Backup::MakeBackup(m_notesFile, m_folder, Christmas);
    const QByteArray later = Notes + "[Stick1]\r\ncaption=later\r\n";
    writeBytes(m_notesFile, later);
    const QString second = Backup::MakeBackup(m_notesFile, m_folder, Christmas.addSecs(50));
    QCOMPARE(second, first);
    QCOMPARE(contentsOf(m_folder),
             (QMap<QString, QByteArray>{{QStringLiteral("sticky-20021225_1430.tkn"), later}}));
    // A minute later is another file.
    const QString third = Backup::MakeBackup(m_notesFile, m_folder, Christmas.addSecs(60));
    QCOMPARE(QFileInfo(third).fileName(), QStringLiteral("sticky-20021225_1431.tkn"));
    QCOMPARE(contentsOf(m_folder).size(), 2);
}

void tst_Backup::failureLeavesNothingBehind_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("blamesNotesFile");
    QTest::newRow("missing folder") << "missing" << false;
    QTest::newRow("folder is a file") << "file" << false;
    QTest::newRow("backup name taken by a folder") << "taken" << false;
    QTest::newRow("disk full, older backup of that name kept") << "full" << false;
    QTest::newRow("notes file missing") << "no notes" << true;
}

void tst_Backup::failureLeavesNothingBehind() {
    QFETCH(QString, setup);
    QFETCH(bool, blamesNotesFile);
    QString folder = m_folder;
    if (setup == QLatin1String("missing")) {
        folder = m_dir->filePath(QStringLiteral("nowhere"));
    } else if (setup == QLatin1String("file")) {
        folder = m_dir->filePath(QStringLiteral("plain"));
        writeBytes(folder, "not a folder");
    } else if (setup == QLatin1String("taken")) {
        QVERIFY(QDir(m_folder).mkdir(QStringLiteral("sticky-20021225_1430.tkn")));
    } else if (setup == QLatin1String("full")) {
        writeBytes(QDir(m_folder).filePath(QStringLiteral("sticky-20021225_1430.tkn")), "old");
        writeBytes(m_notesFile, QByteArray(64 * 1024, 'x'));
    } else if (setup == QLatin1String("no notes")) {
        QVERIFY(QFile::remove(m_notesFile));
    }
    const QMap<QString, QByteArray> before = contentsOf(m_dir->path());
    const QMap<QString, QByteArray> backupsBefore = contentsOf(m_folder);
    const QString target = QDir(folder).filePath(QStringLiteral("sticky-20021225_1430.tkn"));

    try {
        std::optional<FileSizeLimit> limit;
        if (setup == QLatin1String("full"))
            limit.emplace(1024);
        Backup::MakeBackup(m_notesFile, folder, Christmas);
        QFAIL("the backup should have failed");
    } catch (const TacknoteError& error) {
        QVERIFY2(error.message().contains(blamesNotesFile ? m_notesFile : target),
                 qPrintable(error.message()));
    }
    QCOMPARE(contentsOf(m_dir->path()), before);
    QCOMPARE(contentsOf(m_folder), backupsBefore);
}

void tst_Backup::readOnlyFolderFails() {
    if (geteuid() == 0)
        QSKIP("folder permissions do not stop root; the full disk case covers the failure");
    QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QVERIFY_THROWS_EXCEPTION(TacknoteError, Backup::MakeBackup(m_notesFile, m_folder, Christmas));
    QFile::setPermissions(m_folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(contentsOf(m_folder).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Backup)
#include "tst_Backup.moc"

#include "core/base/TacknoteError.h"
#include "core/store/IniFile.h"
#include "platform/system/QtLocaleInfo.h"

#include "../support/TestFiles.h"

#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class tst_IniFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("test%1.ini").arg(++m_counter));
    }

    void writesExactLayout_data();
    void writesExactLayout();
    void reading_data();
    void reading();
    void integers_data();
    void integers();
    void booleans_data();
    void booleans();
    void unchangedWriteLeavesFileUntouched();
    void eraseAndDelete();
    void windows1252RoundTrip();
    void untouchedBytesSurviveAWrite();
    void unencodableCharactersBecomeQuestionMarks();
    void lineBreaksInValuesCannotStartLines();
    void batchedWritesReachDiskOnlyOnFlush();
    void twoWritersKeepEachOthersKeys();
    void externalRewriteIsNoticed();
    void failedWriteKeepsOldFile();
    void unreadableFileIsNeverReplaced_data();
    void unreadableFileIsNeverReplaced();
    void failedWriteInReadOnlyFolder();
    void newFileIsPrivate();
    void dateTimes();
    void garbageFilesLoad();

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
};

// Each row starts from a file, makes one change, and names the exact bytes expected.
void tst_IniFile::writesExactLayout_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "General"
                              << "NumStickies"
                              << "3" << QByteArray("[General]\r\nNumStickies=3\r\n");
    QTest::newRow("new section goes last, no blank line")
        << QByteArray("[A]\r\nx=1\r\n") << "B"
        << "y"
        << "2" << QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    QTest::newRow("new key after the section's last line")
        << QByteArray("[A]\r\nx=1\r\n;note\r\n[B]\r\nz=3\r\n") << "a"
        << "y"
        << "2" << QByteArray("[A]\r\nx=1\r\n;note\r\ny=2\r\n[B]\r\nz=3\r\n");
    QTest::newRow("replace keeps place and spelling")
        << QByteArray("[Sec]\r\nWidth=1\r\nb=2\r\n") << "SEC"
        << "width"
        << "9" << QByteArray("[Sec]\r\nWidth=9\r\nb=2\r\n");
    QTest::newRow("real change normalises the whole file")
        << QByteArray("\r\n[A]  \n\n  x = 1 \n\nno equals\n[B]\ny=2") << "B"
        << "y"
        << "3" << QByteArray("[A]\r\nx=1\r\nno equals\r\n[B]\r\ny=3\r\n");
    QTest::newRow("duplicate sections: first one written")
        << QByteArray("[A]\r\nx=1\r\n[a]\r\nx=2\r\n") << "A"
        << "x"
        << "5" << QByteArray("[A]\r\nx=5\r\n[a]\r\nx=2\r\n");
    QTest::newRow("duplicate keys: first one written")
        << QByteArray("[A]\r\nx=1\r\nX=2\r\n") << "A"
        << "x"
        << "5" << QByteArray("[A]\r\nx=5\r\nX=2\r\n");
    QTest::newRow("lines before the first header are kept")
        << QByteArray("top=1\r\n[A]\r\n") << "A"
        << "k"
        << "v" << QByteArray("top=1\r\n[A]\r\nk=v\r\n");
    QTest::newRow("quotes and blanks inside written as given")
        << QByteArray() << "A"
        << "k"
        << "a \"quoted\" b" << QByteArray("[A]\r\nk=a \"quoted\" b\r\n");
    QTest::newRow("blanks at the ends kept inside quotes")
        << QByteArray() << "A"
        << "k"
        << " spaced \"quoted\" " << QByteArray("[A]\r\nk=\" spaced \"quoted\" \"\r\n");
    QTest::newRow("a quoted value keeps its quotes") << QByteArray() << "A"
                                                     << "k"
                                                     << "'x'" << QByteArray("[A]\r\nk=\"'x'\"\r\n");
    QTest::newRow("header name runs to the last bracket") << QByteArray("[a]b]junk\r\n") << "a]b"
                                                          << "k"
                                                          << "1" << QByteArray("[a]b]\r\nk=1\r\n");
}

void tst_IniFile::writesExactLayout() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        writeBytes(m_path, before);
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.writeString(section, key, value);
    QCOMPARE(readBytes(m_path), after);
}

void tst_IniFile::reading_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString def = QStringLiteral("<default>");
    QTest::newRow("absent key gives default") << QByteArray("[A]\r\nx=1\r\n") << "A"
                                              << "y" << def;
    QTest::newRow("absent section gives default") << QByteArray("[A]\r\nx=1\r\n") << "B"
                                                  << "x" << def;
    QTest::newRow("empty value is the value") << QByteArray("[A]\r\nx=\r\n") << "A"
                                              << "x" << QString("");
    QTest::newRow("case-insensitive names") << QByteArray("[Network]\r\nEnabled=1\r\n") << "network"
                                            << "ENABLED"
                                            << "1";
    QTest::newRow("trimmed of blanks and control characters")
        << QByteArray("[A]\r\n\t x \x0b= \t value \x0c\x1a\r\n") << "A"
        << "x"
        << "value";
    QTest::newRow("double quotes removed") << QByteArray("[A]\r\nx=\" a b \"\r\n") << "A"
                                           << "x"
                                           << " a b ";
    QTest::newRow("single quotes removed") << QByteArray("[A]\r\nx='q'\r\n") << "A"
                                           << "x"
                                           << "q";
    QTest::newRow("mismatched quotes kept") << QByteArray("[A]\r\nx=\"q'\r\n") << "A"
                                            << "x"
                                            << "\"q'";
    QTest::newRow("a lone quote is kept") << QByteArray("[A]\r\nx=\"\r\n") << "A"
                                          << "x"
                                          << "\"";
    QTest::newRow("value keeps later equals signs") << QByteArray("[A]\r\nx=a=b\r\n") << "A"
                                                    << "x"
                                                    << "a=b";
    QTest::newRow("first duplicate seen")
        << QByteArray("[A]\r\nx=1\r\n[A]\r\nx=2\r\nx=3\r\n") << "A"
        << "x"
        << "1";
    QTest::newRow("any run of CR and LF breaks lines")
        << QByteArray("[A]\rx=1\n\r\ny=2\r\r\rz=3") << "A"
        << "z"
        << "3";
    QTest::newRow("bracket line without closing is a key") << QByteArray("[A]\r\n[B=5\r\n") << "A"
                                                           << "[B"
                                                           << "5";
    QTest::newRow("cut at 2047 characters")
        << (QByteArray("[A]\r\nx=") + QByteArray(3000, 'v')) << "A"
        << "x" << QString(2047, QLatin1Char('v'));
}

void tst_IniFile::reading() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(m_path, content);
    IniFile file(m_path, IniFile::Mode::Batched);
    QCOMPARE(file.readString(section, key, QStringLiteral("<default>")), expected);
}

void tst_IniFile::integers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -777 stands for "the default"

    QTest::newRow("decimal") << "8454143" << 8454143;
    QTest::newRow("negative") << "-5" << -5;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("0x hex") << "0x00FF00" << 0xFF00;
    QTest::newRow("0X hex") << "0XfF" << 255;
    QTest::newRow("dollar hex") << "$7BFFFF" << 0x7BFFFF;
    QTest::newRow("hex is a 32-bit pattern") << "$FFFFFFFF" << -1;
    QTest::newRow("int max") << "2147483647" << 2147483647;
    QTest::newRow("int min") << "-2147483648" << int(-2147483648LL);
    QTest::newRow("overflow") << "2147483648" << -777;
    QTest::newRow("hex overflow") << "$100000000" << -777;
    QTest::newRow("bare 0x") << "0x" << -777;
    QTest::newRow("bare dollar") << "$" << -777;
    QTest::newRow("trailing junk") << "12abc" << -777;
    QTest::newRow("inner blank") << "1 2" << -777;
    QTest::newRow("decimal point") << "1.5" << -777;
    QTest::newRow("empty") << "" << -777;
    QTest::newRow("word") << "abc" << -777;
    QTest::newRow("quoted number") << "\"42\"" << 42;
}

void tst_IniFile::integers() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    writeBytes(m_path, "[A]\r\nn=" + text.toUtf8() + "\r\n");
    IniFile file(m_path, IniFile::Mode::Batched);
    QCOMPARE(file.readInteger(QStringLiteral("A"), QStringLiteral("n"), -777), expected);
}

void tst_IniFile::booleans_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");

    QTest::newRow("1") << "1" << false << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("any non-zero integer") << "-3" << false << true;
    QTest::newRow("hex non-zero") << "0x10" << false << true;
    QTest::newRow("word gives default true") << "true" << true << true;
    QTest::newRow("word gives default false") << "yes" << false << false;
    QTest::newRow("empty gives default") << "" << true << true;
}

void tst_IniFile::booleans() {
    QFETCH(QString, text);
    QFETCH(bool, def);
    QFETCH(bool, expected);
    IniFile file(m_path, IniFile::Mode::Batched);
    file.writeString(QStringLiteral("A"), QStringLiteral("b"), text);
    QCOMPARE(file.readBool(QStringLiteral("A"), QStringLiteral("b"), def), expected);
}

void tst_IniFile::unchangedWriteLeavesFileUntouched() {
    const QByteArray original("\r\n[General]\r\n  NumStickies = 2 \r\n\r\n[x]\r\n");
    writeBytes(m_path, original);
    const QDateTime modified = QFileInfo(m_path).lastModified();
    {
        IniFile file(m_path, IniFile::Mode::Batched);
        file.writeString(QStringLiteral("general"), QStringLiteral("numstickies"),
                         QStringLiteral("2"));
        file.eraseSection(QStringLiteral("Missing"));
        file.deleteKey(QStringLiteral("General"), QStringLiteral("Missing"));
        file.flush();
    }
    IniFile direct(m_path, IniFile::Mode::WriteThrough);
    direct.writeString(QStringLiteral("General"), QStringLiteral("NumStickies"),
                       QStringLiteral("2"));
    QCOMPARE(readBytes(m_path), original);
    QCOMPARE(QFileInfo(m_path).lastModified(), modified);
}

void tst_IniFile::eraseAndDelete() {
    writeBytes(m_path, "[A]\r\nx=1\r\n[Stick0]\r\na=1\r\nb=2\r\n[B]\r\ny=2\r\n[stick0]\r\nc=3\r\n");
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.eraseSection(QStringLiteral("STICK0"));
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nx=1\r\n[B]\r\ny=2\r\n[stick0]\r\nc=3\r\n"));
    // The duplicate comes into view once the first section of the name is gone.
    QCOMPARE(file.readString(QStringLiteral("Stick0"), QStringLiteral("c"), QString()),
             QStringLiteral("3"));
    file.deleteKey(QStringLiteral("a"), QStringLiteral("X"));
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\n[B]\r\ny=2\r\n[stick0]\r\nc=3\r\n"));
    QCOMPARE(file.readSection(QStringLiteral("b")), QStringList{QStringLiteral("y")});
}

void tst_IniFile::windows1252RoundTrip() {
    // Every byte but the line breaks, including the five the code page leaves undefined
    // and 0x1A, comes back as it was.
    QByteArray all("x");
    for (int i = 1; i < 256; ++i) {
        if (i != '\r' && i != '\n')
            all.append(char(i));
    }
    all.append('x');
    writeBytes(m_path, QByteArray("[A]\r\nv=") + all + "\r\n");
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    const QString value = file.readString(QStringLiteral("A"), QStringLiteral("v"), QString());
    QVERIFY(value.contains(QChar(0x20AC))); // 0x80 is the euro sign
    QVERIFY(value.contains(QChar(0x00E3))); // 0xE3 is a with tilde
    file.writeString(QStringLiteral("A"), QStringLiteral("w"), value);
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nv=") + all + "\r\nw=" + all + "\r\n");
}

void tst_IniFile::untouchedBytesSurviveAWrite() {
    const QByteArray untouched("[Contatos]\r\nNome1=a\x1a\x81"
                               "b\r\n[Other]\r\nx\x1a\x9d"
                               "y\r\n");
    writeBytes(m_path, untouched);
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.writeInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0);
    QCOMPARE(readBytes(m_path), untouched + "[General]\r\nNumStickies=0\r\n");
}

void tst_IniFile::unencodableCharactersBecomeQuestionMarks() {
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.writeString(QStringLiteral("A"), QStringLiteral("v"),
                     QString::fromUtf8("a\u4e2db\U0001F600c\u2028d\u00e9"));
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nv=a?b?c?d\xe9\r\n"));
}

void tst_IniFile::lineBreaksInValuesCannotStartLines() {
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.writeString(QStringLiteral("A"), QStringLiteral("v"),
                     QStringLiteral("x\r\n[General]\nNumStickies=100000"));
    IniFile reread(m_path, IniFile::Mode::Batched);
    QVERIFY(!reread.valueExists(QStringLiteral("General"), QStringLiteral("NumStickies")));
    QCOMPARE(reread.readSection(QStringLiteral("A")), QStringList{QStringLiteral("v")});
}

void tst_IniFile::batchedWritesReachDiskOnlyOnFlush() {
    IniFile file(m_path, IniFile::Mode::Batched);
    file.writeInteger(QStringLiteral("A"), QStringLiteral("n"), 1);
    file.writeBool(QStringLiteral("A"), QStringLiteral("b"), true);
    QVERIFY(!QFileInfo::exists(m_path));
    QCOMPARE(file.readInteger(QStringLiteral("A"), QStringLiteral("n"), 0), 1);
    file.flush();
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nn=1\r\nb=1\r\n"));
}

void tst_IniFile::twoWritersKeepEachOthersKeys() {
    writeBytes(m_path, "[General]\r\nNumStickies=0\r\n");
    IniFile batched(m_path, IniFile::Mode::Batched);
    batched.writeString(QStringLiteral("Stick0"), QStringLiteral("caption"), QStringLiteral("a"));
    {
        IniFile contacts(m_path, IniFile::Mode::WriteThrough);
        contacts.writeString(QStringLiteral("Contatos"), QStringLiteral("Ana"),
                             QStringLiteral("1"));
    }
    // The batched writer sees the other's key before it flushes, and keeps it after.
    QCOMPARE(batched.readString(QStringLiteral("Contatos"), QStringLiteral("Ana"), QString()),
             QStringLiteral("1"));
    batched.writeInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 1);
    batched.flush();
    QCOMPARE(readBytes(m_path), QByteArray("[General]\r\nNumStickies=1\r\n[Contatos]\r\nAna=1"
                                           "\r\n[Stick0]\r\ncaption=a\r\n"));
}

void tst_IniFile::externalRewriteIsNoticed() {
    writeBytes(m_path, "[A]\r\nx=1\r\n");
    IniFile file(m_path, IniFile::Mode::Batched);
    file.writeString(QStringLiteral("A"), QStringLiteral("y"), QStringLiteral("2"));
    writeBytes(m_path, "[A]\r\nx=changed\r\n[Other]\r\nz=3\r\n");
    // Rewritten later, as another program would: its modification time moves on.
    QFile rewritten(m_path);
    QVERIFY(rewritten.open(QIODevice::ReadWrite));
    QVERIFY(rewritten.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                  QFileDevice::FileModificationTime));
    rewritten.close();
    file.flush();
    QCOMPARE(readBytes(m_path), QByteArray("[A]\r\nx=changed\r\ny=2\r\n[Other]\r\nz=3\r\n"));
}

void tst_IniFile::unreadableFileIsNeverReplaced_data() {
    QTest::addColumn<QString>("form");
    QTest::newRow("no read permission") << "unreadable";
    QTest::newRow("folder in place") << "folder";
    QTest::newRow("larger than any notes file") << "huge";
    QTest::newRow("named pipe in place (reading would wait forever)") << "pipe";
}

void tst_IniFile::unreadableFileIsNeverReplaced() {
    QFETCH(QString, form);
    const QByteArray old("[General]\r\nNumStickies=3\r\n");
    if (form == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(m_path));
    } else if (form == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(QFile::encodeName(m_path).constData(), 0600), 0);
    } else {
        if (form == QLatin1String("unreadable") && geteuid() == 0)
            QSKIP("root reads files without read permission");
        writeBytes(m_path, old);
        if (form == QLatin1String("huge"))
            QVERIFY(QFile::resize(m_path, IniFile::MaxFileSize + 1)); // sparse: costs no disk
        else
            QVERIFY(QFile::setPermissions(m_path, QFileDevice::WriteOwner));
    }
    IniFile file(m_path, IniFile::Mode::Batched);
    QVERIFY(!file.readError().isEmpty());
    QCOMPARE(file.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), -1), -1);
    file.writeInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0);
    QVERIFY_THROWS_EXCEPTION(TacknoteError, file.flush());
    IniFile writeThrough(m_path, IniFile::Mode::WriteThrough);
    QVERIFY_THROWS_EXCEPTION(TacknoteError, writeThrough.writeString(QStringLiteral("Contatos"),
                                                                     QStringLiteral("Count"),
                                                                     QStringLiteral("0")));
    if (form == QLatin1String("folder")) {
        QVERIFY(QFileInfo(m_path).isDir());
        QVERIFY(QDir(m_path).removeRecursively());
    } else if (form == QLatin1String("pipe")) {
        QVERIFY(!QFileInfo(m_path).isFile());
        QVERIFY(QFile::remove(m_path));
    } else {
        QVERIFY(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(QFileInfo(m_path).size(),
                 form == QLatin1String("huge") ? IniFile::MaxFileSize + 1 : qint64(old.size()));
        QCOMPARE(readBytes(m_path).left(old.size()), old);
        QVERIFY(QFile::remove(m_path));
    }
}

void tst_IniFile::failedWriteKeepsOldFile() {
    const QByteArray original("[A]\r\nx=1\r\n");
    writeBytes(m_path, original);
    IniFile file(m_path, IniFile::Mode::Batched);
    file.writeString(QStringLiteral("A"), QStringLiteral("big"), QString(4096, QLatin1Char('z')));
    try {
        FileSizeLimit limit(64);
        file.flush();
        QFAIL("the write should have failed");
    } catch (const TacknoteError& error) {
        QCOMPARE(error.message(), QStringLiteral("Não foi possível gravar em ") +
                                      QFileInfo(m_path).absoluteFilePath() +
                                      QStringLiteral(": o arquivo excede o tamanho permitido"));
    }
    QCOMPARE(readBytes(m_path), original);
    QCOMPARE(QDir(m_dir.path())
                 .entryList(QDir::Files | QDir::Hidden)
                 .filter(QFileInfo(m_path).fileName()),
             QStringList{QFileInfo(m_path).fileName()});
    // The change is still pending and lands once writing works again.
    file.flush();
    QVERIFY(readBytes(m_path).contains("big=zzzz"));
}

void tst_IniFile::failedWriteInReadOnlyFolder() {
    if (geteuid() == 0)
        QSKIP("folder permissions do not stop root; covered by failedWriteKeepsOldFile");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stickies.tkn"));
    writeBytes(path, "[A]\r\nx=1\r\n");
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    IniFile file(path, IniFile::Mode::WriteThrough);
    QVERIFY_THROWS_EXCEPTION(
        TacknoteError,
        file.writeString(QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2")));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(readBytes(path), QByteArray("[A]\r\nx=1\r\n"));
}

void tst_IniFile::newFileIsPrivate() {
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    file.writeString(QStringLiteral("network"), QStringLiteral("Password"), QStringLiteral("s"));
    const QFileDevice::Permissions permissions = QFileInfo(m_path).permissions();
    QVERIFY(permissions.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(!(permissions & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                             QFileDevice::ReadOther | QFileDevice::WriteOther)));
}

void tst_IniFile::dateTimes() {
    const QtLocaleInfo brazil(QLocale(QStringLiteral("pt_BR")));
    const QtLocaleInfo us(QLocale(QStringLiteral("en_US")));
    IniFile file(m_path, IniFile::Mode::Batched);
    const QDateTime afternoon(QDate(2002, 12, 25), QTime(14, 30));
    const QDateTime midnight(QDate(2002, 12, 25), QTime(0, 0));
    file.writeDateTime(QStringLiteral("A"), QStringLiteral("br"), afternoon, brazil);
    file.writeDateTime(QStringLiteral("A"), QStringLiteral("us"), afternoon, us);
    file.writeDateTime(QStringLiteral("A"), QStringLiteral("mid"), midnight, brazil);
    file.writeString(QStringLiteral("A"), QStringLiteral("bad"), QStringLiteral("31/02/2002"));
    QCOMPARE(file.readString(QStringLiteral("A"), QStringLiteral("br"), QString()),
             QStringLiteral("25/12/2002 14:30:00"));
    QCOMPARE(file.readString(QStringLiteral("A"), QStringLiteral("us"), QString()),
             QStringLiteral("12/25/2002 2:30:00 PM"));
    QCOMPARE(file.readString(QStringLiteral("A"), QStringLiteral("mid"), QString()),
             QStringLiteral("25/12/2002"));
    const QDateTime def(QDate(2000, 1, 1), QTime(1, 2, 3));
    QCOMPARE(file.readDateTime(QStringLiteral("A"), QStringLiteral("br"), def, brazil), afternoon);
    QCOMPARE(file.readDateTime(QStringLiteral("A"), QStringLiteral("us"), def, us), afternoon);
    QCOMPARE(file.readDateTime(QStringLiteral("A"), QStringLiteral("mid"), def, brazil), midnight);
    QCOMPARE(file.readDateTime(QStringLiteral("A"), QStringLiteral("bad"), def, brazil), def);
    QCOMPARE(file.readDateTime(QStringLiteral("A"), QStringLiteral("none"), def, brazil), def);
}

void tst_IniFile::garbageFilesLoad() {
    QByteArray noise;
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.append(char(seed >> 24));
    }
    writeBytes(m_path, noise);
    IniFile file(m_path, IniFile::Mode::Batched);
    file.readString(QStringLiteral("General"), QStringLiteral("NumStickies"), QString());
    file.writeString(QStringLiteral("General"), QStringLiteral("NumStickies"), QStringLiteral("1"));
    file.flush();
    IniFile reread(m_path, IniFile::Mode::Batched);
    QCOMPARE(reread.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0), 1);
}

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_IniFile.moc"

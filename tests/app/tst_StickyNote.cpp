#include "core/base/TacknoteError.h"
#include "core/notes/NoteGeometry.h"
#include "core/notes/NoteStore.h"
#include "core/store/IniFile.h"

#include "../support/ProgramHarness.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString SeedDir = ProgramHarness::seedDir();
using Harness = ProgramHarness;

QByteArray noteSection(int index, const QByteArray& caption) {
    return "[Stick" + QByteArray::number(index) + "]\r\ncaption=" + caption + "\r\nnote=text " +
           caption + "\r\nposx=10\r\nposy=20\r\nWidth=200\r\nHeight=100\r\n";
}

} // namespace

class tst_StickyNote : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paths();
    void seedingByLocale_data();
    void seedingByLocale();
    void installedProgramReadsShareFolder();
    void missingLanguageSetChangesNothing();
    void existingNotesFileIsNeverOverwritten();
    void secondStartReusesFolders();
    void startLanguage_data();
    void startLanguage();
    void loadCreatesWindows();
    void saveRenumbersAfterDeletes();
    void saveKeepsWhatItDoesNotWrite();
    void strangeNoteCounts_data();
    void strangeNoteCounts();
    void garbageFilesLoad_data();
    void garbageFilesLoad();
    void saveIsHeldOffDuringLoad();
    void failedSaveKeepsFileAndReports();
    void closeSavesEveryNote();
    void closeBeforeLoadKeepsFile();
};

void tst_StickyNote::paths() {
    Harness h(QStringLiteral("pt_BR"), SeedDir, QString(300, QLatin1Char('u')));
    HiddenMainWindow& main = h.create();
    QCOMPARE(main.location().ProgramDir, SeedDir + "/");
    QCOMPARE(main.location().SharedDir, SeedDir + "/"); // a build folder: all beside the program
    QCOMPARE(main.location().DocumentsDir, h.documents.path() + "/");
    QCOMPARE(main.location().LogonUser, QStringLiteral("Default")); // longer than the 255 buffer
    QCOMPARE(main.location().DataDir, h.documents.path() + "/Tacknote/Default/data/");
    QCOMPARE(main.location().NotesFile, main.location().DataDir + "stickies.tkn");
    const QFileDevice::Permissions dirPermissions =
        QFileInfo(main.location().DataDir).permissions();
    QVERIFY(!(dirPermissions & (QFileDevice::ReadOther | QFileDevice::ReadGroup)));
    const QFileDevice::Permissions filePermissions =
        QFileInfo(main.location().NotesFile).permissions();
    QVERIFY(!(filePermissions & (QFileDevice::ReadOther | QFileDevice::ReadGroup)));
}

void tst_StickyNote::seedingByLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("seed");
    QTest::addColumn<int>("language");

    QTest::newRow("Brazilian Portuguese")
        << "pt_BR"
        << "default_ptb.tkn" << int(StartLanguage::Language::Portuguese);
    QTest::newRow("US English") << "en_US"
                                << "default_enu.tkn" << int(StartLanguage::Language::English);
    QTest::newRow("German") << "de_DE"
                            << "default_enu.tkn" << int(StartLanguage::Language::None);
}

void tst_StickyNote::seedingByLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, seed);
    QFETCH(int, language);
    Harness h(locale);
    HiddenMainWindow& main = h.create();
    QCOMPARE(readBytes(main.location().NotesFile), readBytes(SeedDir + "/" + seed));
    QCOMPARE(int(main.markedLanguage()), language);
    QCOMPARE(int(main.startLanguage().browserEntry), language);
    QCOMPARE(main.helpFile(),
             main.location().ProgramDir + (language == int(StartLanguage::Language::Portuguese)
                                               ? "help/tacknote.html"
                                               : "help/tacknote_enu.html"));
    QVERIFY(QFileInfo(main.helpFile()).isFile());
    // The interface speaks the language chosen; the built-in texts are Portuguese.
    QCOMPARE(main.trayMenu().cmdNovaNota->text(), language == int(StartLanguage::Language::English)
                                                      ? QStringLiteral("&New Note")
                                                      : QStringLiteral("&Nova Nota"));
    main.LoadNotes();
    QCOMPARE(main.registry().NoteCount(), 1); // the welcome note
    QVERIFY(!main.registry().note(0)->caption().isEmpty());
}

// Installed, the program lives in <prefix>/lib/tacknote/ and its seed files, language
// sets, help and sounds in <prefix>/share/tacknote/.
void tst_StickyNote::installedProgramReadsShareFolder() {
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath("lib/tacknote") && root.mkpath("share/tacknote/help"));
    const QString shared = root.filePath("share/tacknote/");
    for (const char* file : {"default_ptb.tkn", "tacknote.PTB", "help/tacknote.html"})
        QVERIFY(QFile::copy(SeedDir + "/" + file, shared + file));
    Harness h(QStringLiteral("pt_BR"), root.filePath("lib/tacknote"));
    HiddenMainWindow& main = h.create();
    QCOMPARE(main.location().SharedDir, shared);
    QCOMPARE(readBytes(h.notesFile()), readBytes(SeedDir + "/default_ptb.tkn"));
    QCOMPARE(int(main.markedLanguage()), int(StartLanguage::Language::Portuguese));
    QCOMPARE(main.helpFile(), shared + "help/tacknote.html");
    main.LoadNotes();
    QCOMPARE(main.recGeral().SoundNewSticky, shared + "boing.wav");
}

void tst_StickyNote::missingLanguageSetChangesNothing() {
    QTemporaryDir program;
    QVERIFY(QFile::copy(SeedDir + "/default_enu.tkn", program.filePath("default_enu.tkn")));
    Harness h(QStringLiteral("en_US"), program.path());
    HiddenMainWindow& main = h.create();
    QCOMPARE(int(main.markedLanguage()), int(StartLanguage::Language::None));
    QCOMPARE(main.trayMenu().cmdNovaNota->text(), QStringLiteral("&Nova Nota"));
}

void tst_StickyNote::existingNotesFileIsNeverOverwritten() {
    Harness h;
    h.writeNotesFile("[General]\r\nNumStickies=0\r\n");
    h.create();
    QCOMPARE(readBytes(h.notesFile()), QByteArray("[General]\r\nNumStickies=0\r\n"));
}

void tst_StickyNote::secondStartReusesFolders() {
    Harness h(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent"));
    h.create();
    QVERIFY(QFileInfo(QFileInfo(h.notesFile()).path()).isDir());
    QVERIFY(!QFileInfo::exists(h.notesFile())); // no seed file: no notes file yet
    h.create();
    h.main->LoadNotes();
    h.main->SaveNotes(); // the first save creates the file
    QVERIFY(QFileInfo::exists(h.notesFile()));
}

void tst_StickyNote::startLanguage_data() {
    QTest::addColumn<QString>("defaultLang");
    QTest::addColumn<int>("lcid");
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("entryFirst");

    using L = StartLanguage::Language;
    QTest::newRow("Port on an English system") << "Port" << 1033 << int(L::Portuguese) << true;
    QTest::newRow("port any case") << "pORt" << 1031 << int(L::Portuguese) << true;
    QTest::newRow("Eng on a Portuguese system") << "Eng" << 1046 << int(L::English) << true;
    QTest::newRow("any other value is English") << "x" << 1046 << int(L::English) << true;
    QTest::newRow("empty, 1033") << "" << 1033 << int(L::English) << false;
    QTest::newRow("empty, 1046") << "" << 1046 << int(L::Portuguese) << false;
    QTest::newRow("empty, 1031") << "" << 1031 << int(L::None) << false;
}

void tst_StickyNote::startLanguage() {
    QFETCH(QString, defaultLang);
    QFETCH(int, lcid);
    QFETCH(int, language);
    QFETCH(bool, entryFirst);
    const StartLanguage choice = StartLanguage::decide(defaultLang, lcid);
    QCOMPARE(int(choice.language), language);
    QCOMPARE(int(choice.browserEntry), language);
    QCOMPARE(choice.entryBeforeSwitch, entryFirst);
}

void tst_StickyNote::loadCreatesWindows() {
    Harness h;
    h.writeNotesFile("[General]\r\nNumStickies=3\r\nTimeAutoSave=7\r\n"
                     "[Stick0]\r\ncaption=Um\r\nvisible=0\r\nnote=a\\nb\r\nposx=15\r\nposy=25\r\n"
                     "width=210\r\nheight=110\r\nColor=255\r\nDarkCaption=1\r\nTrackPosition=12\r\n"
                     "FontName=Courier New\r\nFontSize=8\r\nFontColor=16777215\r\nFontBold=1\r\n"
                     "alarm=1\r\nAlarmDateTime=26/12/2002 09:00:00\r\nRemember=1\r\nDia1=0\r\n"
                     "Rodape=De Ana (10.0.0.1)\r\n"
                     "[Stick1]\r\ncaption=Dois\r\ntopmost=1\r\n"
                     "[Stick2]\r\ncaption=Enorme\r\nposx=0\r\nposy=0\r\nWidth=30000\r\n"
                     "Height=30000\r\n");
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    QCOMPARE(main.registry().NoteCount(), 3);
    TfPostIt* first = main.registry().note(0);
    QCOMPARE(first->Tag, 0);
    QCOMPARE(first->caption(), QStringLiteral("Um"));
    QCOMPARE(first->note(), QStringLiteral("a\r\nb"));
    QVERIFY(first->isHidden());
    QCOMPARE(first->bounds(), QRect(15, 25, 210, 110));
    QCOMPARE(first->Color(), 255);
    QCOMPARE(first->captionColor(), 0xDB);
    QCOMPARE(first->memoFont(), (NoteFont{"Courier New", 8, 0xFFFFFF, true, false}));
    QCOMPARE(first->footer(), QStringLiteral("De Ana (10.0.0.1)"));
    QVERIFY(first->alarm());
    QVERIFY(first->alarmIconVisible());
    QCOMPARE(first->AlarmDateTime(), QDateTime(QDate(2002, 12, 26), QTime(9, 0)));
    QVERIFY(first->Remember());
    QVERIFY(!first->weekdays()[0]);
    QVERIFY(first->weekdays()[1]);
    TfPostIt* second = main.registry().note(1);
    QVERIFY(!second->isHidden());
    QVERIFY(second->topmost());
    QVERIFY(!second->alarmIconVisible());
    QCOMPARE(second->bounds(), QRect(400, 100, 180, 147));
    // A size no desktop has heals: the window is as large as the screen, and the next
    // save writes the largest size a desktop has (a note larger than the screens of the
    // moment keeps its size for when the large monitor is back).
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QCOMPARE(main.registry().note(2)->bounds().size(), screen);
    main.SaveNotes();
    QCOMPARE(h.stored(2, QStringLiteral("Width")), QString::number(NoteGeometry::MaxWidth));
    QCOMPARE(h.stored(2, QStringLiteral("Height")), QString::number(NoteGeometry::MaxHeight));
}

void tst_StickyNote::saveRenumbersAfterDeletes() {
    Harness h;
    QByteArray file = "[General]\r\nNumStickies=5\r\n";
    for (int i = 0; i < 5; ++i)
        file += noteSection(i, "n" + QByteArray::number(i));
    h.writeNotesFile(file);
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    main.recGeral().AskDelete = false;
    main.deleteNote(1);
    main.deleteNote(3);
    main.SaveNotes();

    IniFile saved(h.notesFile(), IniFile::Mode::Batched);
    QCOMPARE(saved.readInteger("General", "NumStickies", -1), 3);
    QCOMPARE(saved.readString("Stick0", "caption", {}), QStringLiteral("n0"));
    QCOMPARE(saved.readString("Stick1", "caption", {}), QStringLiteral("n2"));
    QCOMPARE(saved.readString("Stick2", "caption", {}), QStringLiteral("n4"));
    QVERIFY(!saved.sectionExists("Stick3"));
    QVERIFY(!saved.sectionExists("Stick4"));

    Harness again;
    again.paths = FakeSystemPaths(h.documents.path(), SeedDir, "maria");
    HiddenMainWindow& reloaded = again.create();
    reloaded.LoadNotes();
    QCOMPARE(reloaded.registry().NoteCount(), 3);
    QCOMPARE(reloaded.registry().note(1)->caption(), QStringLiteral("n2"));
    QCOMPARE(reloaded.registry().note(1)->Tag, 1);
}

void tst_StickyNote::saveKeepsWhatItDoesNotWrite() {
    Harness h;
    h.writeNotesFile("[General]\r\nNumStickies=1\r\nFuture=kept\r\n" + noteSection(0, "a") +
                     "[network]\r\nListcount=1\r\nList0=x\r\nList1=old\r\n"
                     "[Stick101]\r\ncaption=beyond\r\n"
                     "[Contatos]\r\nAna=10.0.0.1\r\n[Mine]\r\nk=v\r\n");
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    main.SaveNotes();
    const QByteArray bytes = readBytes(h.notesFile());
    for (const char* kept : {"Future=kept\r\n", "List1=old\r\n", "[Stick101]\r\ncaption=beyond\r\n",
                             "[Contatos]\r\nAna=10.0.0.1\r\n", "[Mine]\r\nk=v\r\n"})
        QVERIFY2(bytes.contains(kept), kept);
    QVERIFY(bytes.contains("\r\nWidth=200\r\nHeight=100\r\n"));
}

void tst_StickyNote::strangeNoteCounts_data() {
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("loaded");
    // A count lower than the note sections present loses none of them.
    QTest::newRow("negative") << QByteArray("NumStickies=-5\r\n") << 3 << 3;
    QTest::newRow("zero") << QByteArray("NumStickies=0\r\n") << 3 << 3;
    QTest::newRow("not a number") << QByteArray("NumStickies=abc\r\n") << 3 << 3;
    QTest::newRow("missing") << QByteArray() << 3 << 3;
    QTest::newRow("too low") << QByteArray("NumStickies=1\r\n") << 3 << 3;
    // A higher count gives notes with every default, as always.
    QTest::newRow("higher than the sections") << QByteArray("NumStickies=5\r\n") << 3 << 5;
    // The registry holds 101; sections beyond stay in the file.
    QTest::newRow("huge") << QByteArray("NumStickies=100000\r\n") << 103 << 101;
    QTest::newRow("exactly 101") << QByteArray("NumStickies=101\r\n") << 103 << 101;
    QTest::newRow("negative over many") << QByteArray("NumStickies=-1\r\n") << 103 << 101;
}

void tst_StickyNote::strangeNoteCounts() {
    QFETCH(QByteArray, count);
    QFETCH(int, sections);
    QFETCH(int, loaded);
    Harness h;
    QByteArray file = "[General]\r\n" + count;
    for (int i = 0; i < sections; ++i)
        file += noteSection(i, "n" + QByteArray::number(i));
    h.writeNotesFile(file);
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    QCOMPARE(main.registry().NoteCount(), loaded);
    for (int i = 0; i < std::min(sections, loaded); ++i)
        QCOMPARE(main.registry().note(i)->caption(), QStringLiteral("n%1").arg(i));
    main.SaveNotes();
    IniFile saved(h.notesFile(), IniFile::Mode::Batched);
    QCOMPARE(saved.readInteger("General", "NumStickies", -1), loaded);
    for (int i = 0; i < std::min(sections, loaded); ++i)
        QCOMPARE(saved.readString(NoteStore::sectionName(i), "caption", {}),
                 QStringLiteral("n%1").arg(i));
    // Notes the registry cannot hold stay in the file.
    if (sections > NoteStore::MaxNotes)
        QCOMPARE(saved.readString("Stick102", "caption", {}), QStringLiteral("n102"));
}

void tst_StickyNote::garbageFilesLoad_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray noise;
    quint32 seed = 7;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.append(char(seed >> 24));
    }
    QTest::newRow("random bytes") << noise;
    QTest::newRow("truncated") << QByteArray("[General]\r\nNumStickies=3\r\n[Stick0]\r\ncapt");
    QTest::newRow("10 MB") << (QByteArray("[General]\r\nNumStickies=2\r\n[Stick0]\r\nnote=") +
                               QByteArray(10 * 1024 * 1024, 'x'));
    QTest::newRow("binary zeros") << QByteArray(5000, '\0');
}

void tst_StickyNote::garbageFilesLoad() {
    QFETCH(QByteArray, content);
    Harness h;
    h.writeNotesFile(content);
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    QVERIFY(main.registry().NoteCount() >= 0 && main.registry().NoteCount() <= 101);
    for (int i = 0; i < main.registry().NoteCount(); ++i)
        QVERIFY(main.registry().note(i)->note().size() <= 2047 * 2);
    main.SaveNotes();
}

void tst_StickyNote::saveIsHeldOffDuringLoad() {
    Harness h;
    QByteArray file = "[General]\r\nNumStickies=3\r\n";
    for (int i = 0; i < 3; ++i)
        file += noteSection(i, "n" + QByteArray::number(i));
    h.writeNotesFile(file);
    HiddenMainWindow& main = h.create();
    // Events that run while the load lets pending events through try to save and close.
    bool sawLoading = false;
    QTimer::singleShot(0, &main, [&] {
        sawLoading = main.keeper().isLoading();
        main.SaveNotes();
        main.FormCloseQuery();
    });
    main.LoadNotes();
    QVERIFY(sawLoading);
    // The save asked for during the load followed it, with every note.
    for (int i = 0; i < 3; ++i)
        QCOMPARE(IniFile(h.notesFile(), IniFile::Mode::Batched)
                     .readString(NoteStore::sectionName(i), "caption", QString()),
                 "n" + QString::number(i));
    QVERIFY(!main.isClosed());
    QTRY_VERIFY(main.isClosed()); // the close runs once the load is complete
    IniFile saved(h.notesFile(), IniFile::Mode::Batched);
    QCOMPARE(saved.readInteger("General", "NumStickies", -1), 3);
    QCOMPARE(saved.readString("Stick2", "caption", {}), QStringLiteral("n2"));
}

void tst_StickyNote::failedSaveKeepsFileAndReports() {
    Harness h;
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    main.registry().note(0)->setNote(QString(100000, QLatin1Char('y')));
    const QByteArray before = readBytes(main.location().NotesFile);
    QString message;
    {
        FileSizeLimit limit(1024);
        try {
            main.SaveNotes();
        } catch (const TacknoteError& error) {
            message = error.message();
        }
    }
    QCOMPARE(message, QStringLiteral("Não foi possível gravar em ") + main.location().NotesFile +
                          QStringLiteral(": o arquivo excede o tamanho permitido"));
    QCOMPARE(readBytes(main.location().NotesFile), before);
    main.SaveNotes(); // the guard was released
    QVERIFY(readBytes(main.location().NotesFile).contains("yyyy"));
}

void tst_StickyNote::closeSavesEveryNote() {
    Harness h;
    HiddenMainWindow& main = h.create();
    main.LoadNotes();
    main.registry().note(0)->setCaption(QStringLiteral("changed before closing"));
    main.FormCloseQuery();
    QVERIFY(main.isClosed());
    QCOMPARE(main.registry().NoteCount(), 0);
    QVERIFY(readBytes(h.notesFile()).contains("caption=changed before closing\r\n"));
}

void tst_StickyNote::closeBeforeLoadKeepsFile() {
    Harness h;
    HiddenMainWindow& main = h.create();
    const QByteArray seeded = readBytes(h.notesFile());
    main.start();
    main.FormCloseQuery(); // before the start step has loaded anything
    QVERIFY(main.isClosed());
    QCOMPARE(readBytes(h.notesFile()), seeded);
}

QTEST_MAIN(tst_StickyNote)
#include "tst_StickyNote.moc"

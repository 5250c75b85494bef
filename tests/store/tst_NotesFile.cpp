#include "core/notes/NoteGeometry.h"
#include "core/notes/NoteStore.h"
#include "core/notes/NotesFile.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "platform/system/QtLocaleInfo.h"

#include "../support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const SettingsStore::Context Context{QStringLiteral("/opt/tacknote/"), QStringLiteral("maria")};

} // namespace

class tst_NotesFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_path = m_dir.filePath(QStringLiteral("n%1.tkn").arg(++m_counter)); }

    void exampleNoteBytes();
    void alarmAndFooterKeys();
    void noteRoundTrip_data();
    void noteRoundTrip();
    void editByAnotherProgramWins();
    void textEncoding_data();
    void textEncoding();
    void unreadableNoteValues_data();
    void unreadableNoteValues();
    void missingSectionGivesDefaults();
    void emptyFileGivesDefaultSettings();
    void settingsRoundTrip();
    void settingsLayout();
    void settingsBytes_data();
    void settingsBytes();
    void blockListShrinks();
    void blockListCount_data();
    void blockListCount();
    void saveLeavesNoCopyOfANoteSection();

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
    const QtLocaleInfo m_brazil{QLocale(QStringLiteral("pt_BR"))};
    const QDateTime m_now{QDate(2002, 12, 25), QTime(14, 30)};
};

void tst_NotesFile::exampleNoteBytes() {
    NoteRecord note;
    note.caption = QStringLiteral("25/12/2002 14:30:00");
    note.note = QStringLiteral("Comprar pão\r\nLigar para o banco");
    note.TrackPosition = 0;
    note.posx = 3;
    note.posy = 0;
    note.Width = 170;
    note.Height = 120;
    note.Color = 8454143;
    IniFile file(m_path, IniFile::Mode::Batched);
    NoteStore::write(file, 0, note, m_brazil);
    file.flush();
    QCOMPARE(readBytes(m_path), QByteArray("[Stick0]\r\n"
                                           "caption=25/12/2002 14:30:00\r\n"
                                           "visible=1\r\n"
                                           "topmost=0\r\n"
                                           "note=Comprar p\xe3o\\nLigar para o banco\r\n"
                                           "scrollbar=0\r\n"
                                           "DarkCaption=0\r\n"
                                           "TrackPosition=0\r\n"
                                           "posx=3\r\n"
                                           "posy=0\r\n"
                                           "Width=170\r\n"
                                           "Height=120\r\n"
                                           "FontName=Arial\r\n"
                                           "FontSize=10\r\n"
                                           "FontColor=0\r\n"
                                           "FontBold=0\r\n"
                                           "FontItalic=0\r\n"
                                           "Color=8454143\r\n"));
}

void tst_NotesFile::alarmAndFooterKeys() {
    NoteRecord note;
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2003, 1, 2), QTime(8, 5, 9));
    note.SoundFile = QStringLiteral("/snd/a.wav");
    note.weekdays = {true, false, true, false, true, false, true};
    note.Remember = true;
    note.RememberNo = 3;
    note.RememberUnit = 2;
    note.footer = QStringLiteral("De Ana (10.0.0.7)");
    IniFile file(m_path, IniFile::Mode::Batched);
    NoteStore::write(file, 4, note, m_brazil);
    QCOMPARE(
        file.readSection(QStringLiteral("Stick4")),
        QStringList({"caption",       "visible",      "topmost",   "alarm",     "AlarmDateTime",
                     "UseSound",      "SoundFile",    "Dia1",      "Dia2",      "Dia3",
                     "Dia4",          "Dia5",         "Dia6",      "Dia7",      "Remember",
                     "RememberNo",    "RememberUnit", "note",      "scrollbar", "DarkCaption",
                     "TrackPosition", "posx",         "posy",      "Width",     "Height",
                     "FontName",      "FontSize",     "FontColor", "FontBold",  "FontItalic",
                     "Color",         "Rodape"}));
    QCOMPARE(file.readString(QStringLiteral("Stick4"), QStringLiteral("AlarmDateTime"), QString()),
             QStringLiteral("02/01/2003 08:05:09"));

    // Switching the alarm off and saving afresh leaves no alarm key behind.
    note.alarm = false;
    note.footer.clear();
    for (int i = 0; i < 5; ++i)
        file.eraseSection(NoteStore::sectionName(i));
    NoteStore::write(file, 0, note, m_brazil);
    const QStringList keys = file.readSection(QStringLiteral("Stick0"));
    QVERIFY(!keys.contains(QStringLiteral("alarm")));
    QVERIFY(!keys.contains(QStringLiteral("Dia1")));
    QVERIFY(!keys.contains(QStringLiteral("Rodape")));
    QVERIFY(!file.sectionExists(QStringLiteral("Stick4")));
}

void tst_NotesFile::noteRoundTrip_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");

    QTest::newRow("markup and a Windows-1252 dash")
        << QStringLiteral("Título & <b>x</b>") << QStringLiteral("linha 1\r\n\r\nlinha 3 – ação");
    QTest::newRow("blanks at the ends")
        << QStringLiteral("  título ") << QStringLiteral("  texto  ");
    QTest::newRow("enclosed in quotes") << QStringLiteral("\"x\"") << QStringLiteral("'y'");
    QTest::newRow("beyond Windows-1252") << QStringLiteral("Привет ✓ 🙂 日本")
                                         << QStringLiteral("🙂 ✓ Привет\r\nlinha 2");
    QTest::newRow("a typed backslash n") << QStringLiteral("c:\\new") << QStringLiteral("c:\\new");
    QTest::newRow("longer than a value holds")
        << QStringLiteral("título") << QStringLiteral("ab\r\n").repeated(1000);
}

void tst_NotesFile::noteRoundTrip() {
    QFETCH(QString, caption);
    QFETCH(QString, text);
    NoteRecord note;
    note.caption = caption;
    note.visible = false;
    note.topmost = true;
    note.alarm = true;
    note.AlarmDateTime = QDateTime(QDate(2010, 6, 30), QTime(23, 59, 58));
    note.UseSound = true;
    note.SoundFile = QStringLiteral("/home/u/alarme.wav");
    note.weekdays = {false, true, true, true, true, true, false};
    note.Remember = true;
    note.RememberNo = 15;
    note.RememberUnit = 0;
    note.note = text;
    note.scrollbar = true;
    note.DarkCaption = true;
    note.TrackPosition = 25;
    note.posx = -20;
    note.posy = 1500;
    note.Width = 80;
    note.Height = 40;
    note.FontName = QStringLiteral("Courier New");
    note.FontSize = 8;
    note.FontColor = 0xFFFFFF;
    note.FontBold = true;
    note.FontItalic = true;
    note.Color = 255;
    note.footer = QStringLiteral("De José (192.168.0.2)");
    {
        IniFile file(m_path, IniFile::Mode::Batched);
        NoteStore::write(file, 7, note, m_brazil);
        file.flush();
    }
    IniFile file(m_path, IniFile::Mode::Batched);
    QCOMPARE(NoteStore::read(file, 7, m_brazil, m_now), note);
    // The keys every reader knows hold what they can: "?" for what the code page lacks.
    QCOMPARE(file.readString(QStringLiteral("Stick7"), QStringLiteral("caption"), QString()),
             IniFile::readBackOf(caption));
}

// A note edited by a program that knows only the usual keys: its edit wins over the exact
// text this program kept, which no longer matches.
void tst_NotesFile::editByAnotherProgramWins() {
    NoteRecord note;
    note.caption = QStringLiteral("日本");
    note.note = QStringLiteral("🙂 olá");
    {
        IniFile file(m_path, IniFile::Mode::Batched);
        NoteStore::write(file, 0, note, m_brazil);
        file.flush();
    }
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    QCOMPARE(file.readString(QStringLiteral("Stick0"), QStringLiteral("note"), QString()),
             QStringLiteral("? olá"));
    file.writeString(QStringLiteral("Stick0"), QStringLiteral("note"), QStringLiteral("? olá!"));
    const NoteRecord loaded = NoteStore::read(file, 0, m_brazil, m_now);
    QCOMPARE(loaded.note, QStringLiteral("? olá!"));
    QCOMPARE(loaded.caption, QStringLiteral("日本"));
}

void tst_NotesFile::textEncoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");

    QTest::newRow("two lines") << "a\r\nb"
                               << "a\\nb"
                               << "a\r\nb";
    QTest::newRow("typed backslash n becomes a break") << "c:\\new"
                                                       << "c:\\new"
                                                       << "c:\r\new";
    QTest::newRow("lone CR keeps the next character") << "a\rb"
                                                      << "a\\nb"
                                                      << "a\r\nb";
    QTest::newRow("lone LF") << "a\nb"
                             << "a\\nb"
                             << "a\r\nb";
    QTest::newRow("CR at the end") << "a\r"
                                   << "a\\n"
                                   << "a\r\n";
    QTest::newRow("line and paragraph separators")
        << QString::fromUtf8("a\u2028b\u2029c") << "a\\nb\\nc"
        << "a\r\nb\r\nc";
    QTest::newRow("other backslashes untouched") << "a\\tb\\"
                                                 << "a\\tb\\"
                                                 << "a\\tb\\";
}

void tst_NotesFile::textEncoding() {
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QString, loaded);
    QCOMPARE(NoteStore::encodeText(text), stored);
    QCOMPARE(NoteStore::decodeText(stored), loaded);
}

void tst_NotesFile::unreadableNoteValues_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("FontBold 2 is not bold")
        << QByteArray("FontBold=2") << "FontBold" << QVariant(false);
    QTest::newRow("FontItalic 1") << QByteArray("FontItalic=1") << "FontItalic" << QVariant(true);
    QTest::newRow("hex colour") << QByteArray("Color=0x00FF00") << "Color" << QVariant(0xFF00);
    QTest::newRow("posx not a number") << QByteArray("posx=abc") << "posx" << QVariant(400);
    QTest::newRow("posx far beyond any screen is brought within window coordinates")
        << QByteArray("posx=-2147483648") << "posx" << QVariant(-NoteStore::MaxPosition);
    QTest::newRow("posy far beyond any screen")
        << QByteArray("posy=2147483647") << "posy" << QVariant(NoteStore::MaxPosition);
    QTest::newRow("width read in any case") << QByteArray("WIDTH=321") << "Width" << QVariant(321);
    QTest::newRow("width no screen can show")
        << QByteArray("Width=30000") << "Width" << QVariant(NoteGeometry::MaxWidth);
    QTest::newRow("height below the window's minimum")
        << QByteArray("Height=-7") << "Height" << QVariant(NoteGeometry::MinHeight);
    QTest::newRow("visible empty") << QByteArray("visible=") << "visible" << QVariant(true);
    QTest::newRow("text blanks trimmed")
        << QByteArray("note=  hi  ") << "note" << QVariant(QStringLiteral("hi"));
    QTest::newRow("text quotes removed")
        << QByteArray("note=\"hi\"") << "note" << QVariant(QStringLiteral("hi"));
    QTest::newRow("long text cut at 2047") << (QByteArray("note=") + QByteArray(3000, 'x'))
                                           << "note" << QVariant(QString(2047, QLatin1Char('x')));
    QTest::newRow("unreadable alarm time is the moment of reading")
        << QByteArray("alarm=1\r\nAlarmDateTime=yesterday") << "AlarmDateTime"
        << QVariant(QDateTime(QDate(2002, 12, 25), QTime(14, 30)));
    QTest::newRow("weekdays default to on") << QByteArray("alarm=1") << "Dia3" << QVariant(true);
    QTest::newRow("no alarm: weekdays off") << QByteArray("Dia3=1") << "Dia3" << QVariant(false);
}

void tst_NotesFile::unreadableNoteValues() {
    QFETCH(QByteArray, line);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    writeBytes(m_path, "[Stick0]\r\n" + line + "\r\n");
    IniFile file(m_path, IniFile::Mode::Batched);
    const NoteRecord note = NoteStore::read(file, 0, m_brazil, m_now);
    const QHash<QString, QVariant> fields{
        {"FontBold", note.FontBold}, {"FontItalic", note.FontItalic},
        {"Color", note.Color},       {"posx", note.posx},
        {"posy", note.posy},         {"Width", note.Width},
        {"Height", note.Height},     {"visible", note.visible},
        {"note", note.note},         {"AlarmDateTime", note.AlarmDateTime},
        {"Dia3", note.weekdays[2]},
    };
    QCOMPARE(fields.value(field), expected);
}

void tst_NotesFile::missingSectionGivesDefaults() {
    IniFile file(m_path, IniFile::Mode::Batched);
    const NoteRecord note = NoteStore::read(file, 3, m_brazil, m_now);
    QCOMPARE(note.caption, QString());
    QCOMPARE(note.note, QString());
    QCOMPARE(QRect(note.posx, note.posy, note.Width, note.Height), QRect(400, 100, 180, 147));
    QCOMPARE(note.Color, 0x7BFFFF);
    QCOMPARE(note.FontName, QStringLiteral("Arial"));
    QCOMPARE(note.FontSize, 10);
    QVERIFY(note.visible);
    QVERIFY(!note.alarm);
}

void tst_NotesFile::emptyFileGivesDefaultSettings() {
    writeBytes(m_path, QByteArray());
    IniFile file(m_path, IniFile::Mode::Batched);
    GeneralSettings geral;
    NetworkSettings rede;
    rede.BlockList = QStringList{QStringLiteral("stale")};
    SettingsStore::read(file, Context, geral, rede);
    QCOMPARE(geral, SettingsStore::defaultGeral(Context));
    QCOMPARE(rede, SettingsStore::defaultRede());
    QCOMPARE(geral.SoundNewSticky, QStringLiteral("/opt/tacknote/boing.wav"));
    QCOMPARE(geral.SoundRecSticky, QStringLiteral("/opt/tacknote/BIPECOMP.WAV"));
    QCOMPARE(geral.User, QStringLiteral("maria"));
    QCOMPARE(geral.DefaultColor, 0x80FFFF);
    QCOMPARE(rede.PortTCP, QStringLiteral("7801"));
    QCOMPARE(SettingsStore::readNumStickies(file), 0);
    QCOMPARE(SettingsStore::readDefaultLang(file), QString());
}

void tst_NotesFile::settingsRoundTrip() {
    GeneralSettings geral = SettingsStore::defaultGeral(Context);
    geral.UseSounds = true;
    geral.SoundNewSticky = QString(); // present but empty: stays empty on reading
    geral.User = QStringLiteral("Zé");
    geral.AskDelete = false;
    geral.DefaultColor = 0x123456;
    geral.DefaultFont = NoteFont{QStringLiteral("Verdana"), 14, 0xFF, true, false};
    geral.DarkCaption = true;
    geral.TrackPosition = 3;
    geral.ShowDate = false;
    geral.AutoSave = false;
    geral.TimeAutoSave = 30;
    geral.NoteDaily = true;
    geral.BackupOnExit = true;
    geral.BackupPath = QStringLiteral("/mnt/backup");
    NetworkSettings rede = SettingsStore::defaultRede();
    rede.Enabled = true;
    rede.SMTPServer = QStringLiteral("smtp.example.org");
    rede.SMTPPort = QStringLiteral("587");
    rede.Authtype = 3;
    rede.Email = QStringLiteral("a@example.org");
    rede.Username = QStringLiteral("a");
    rede.Password = QStringLiteral("s3cr=t");
    rede.Blocktype = 2;
    rede.BlockList = QStringList{QStringLiteral("10.0.0.1"), QString(), QStringLiteral("h")};
    rede.PortTCP = QStringLiteral("7900");
    rede.SMTPSecurity = 2;
    rede.TrustedCerts = {{QStringLiteral("smtp.example.org:587"), QString(64, QLatin1Char('a'))},
                         {QStringLiteral("10.0.0.2:465"), QString(64, QLatin1Char('0'))}};
    {
        IniFile file(m_path, IniFile::Mode::Batched);
        SettingsStore::write(file, geral, rede, true);
        file.flush();
    }
    IniFile file(m_path, IniFile::Mode::Batched);
    GeneralSettings geralBack;
    NetworkSettings redeBack;
    SettingsStore::read(file, Context, geralBack, redeBack);
    QCOMPARE(geralBack, geral);
    QCOMPARE(redeBack, rede);
    QCOMPARE(SettingsStore::readDefaultLang(file), QStringLiteral("Port"));
}

void tst_NotesFile::settingsLayout() {
    IniFile file(m_path, IniFile::Mode::Batched);
    SettingsStore::write(file, SettingsStore::defaultGeral(Context), SettingsStore::defaultRede(),
                         false);
    file.flush();
    const QByteArray bytes = readBytes(m_path);
    QVERIFY(bytes.startsWith("[General]\r\nUseSounds=0\r\nSoundNewSticky=/opt/tacknote/boing.wav"
                             "\r\nDefaultLang=Eng\r\nUser=maria\r\n"));
    QVERIFY(bytes.contains("TimeAutoSave=10\r\n[Network]\r\nEnabled=0\r\nPortTCP=7801\r\n"));
    QVERIFY(bytes.endsWith("Authtype=0\r\nListcount=0\r\nSMTPSecurity=0\r\n"));
    QVERIFY(!bytes.contains("[network]"));
}

// Notes files in tests/store/settings/: "defaults.tkn" and "loose_forms_written.tkn" are
// what the program of commit dcf499a wrote, each key still written out by hand.
void tst_NotesFile::settingsBytes_data() {
    QTest::addColumn<QString>("stored"); // empty: no file
    QTest::addColumn<QString>("written");
    QTest::newRow("every setting away from its default")
        << QStringLiteral("every_setting.tkn") << QStringLiteral("every_setting.tkn");
    QTest::newRow("no settings") << QString() << QStringLiteral("defaults.tkn");
    // Other letter cases and order, "-1", hexadecimal and unreadable numbers, font styles
    // other than 1, a notice not yet shown, a damaged list count, fingerprints in capitals
    // or empty.
    QTest::newRow("forms written otherwise")
        << QStringLiteral("loose_forms.tkn") << QStringLiteral("loose_forms_written.tkn");
}

// What is read from a notes file, written into an empty one, gives these bytes: the same
// keys in the same sections and order, each value in the same form.
void tst_NotesFile::settingsBytes() {
    QFETCH(QString, stored);
    QFETCH(QString, written);
    const QString data = QStringLiteral(SETTINGS_DATA_DIR "/");
    if (!stored.isEmpty())
        QVERIFY(QFile::copy(data + stored, m_path));
    IniFile file(m_path, IniFile::Mode::Batched);
    GeneralSettings geral;
    NetworkSettings rede;
    SettingsStore::read(file, Context, geral, rede);
    const bool portuguese = SettingsStore::readDefaultLang(file) == QStringLiteral("Port");

    const QString copy = m_path + QStringLiteral(".copy");
    IniFile out(copy, IniFile::Mode::Batched);
    SettingsStore::write(out, geral, rede, portuguese);
    out.flush();
    const QByteArray expected = readBytes(data + written);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(readBytes(copy), expected);
}

void tst_NotesFile::blockListShrinks() {
    GeneralSettings geral = SettingsStore::defaultGeral(Context);
    NetworkSettings rede = SettingsStore::defaultRede();
    rede.BlockList = QStringList{"a", "b", "c"};
    IniFile file(m_path, IniFile::Mode::WriteThrough);
    SettingsStore::write(file, geral, rede, false);
    rede.BlockList = QStringList{"z"};
    SettingsStore::write(file, geral, rede, false);
    QVERIFY(readBytes(m_path).contains("Listcount=1\r\nList0=z\r\nList1=b\r\nList2=c\r\n"));
    NetworkSettings back;
    SettingsStore::read(file, Context, geral, back);
    QCOMPARE(back.BlockList, QStringList{"z"});
}

void tst_NotesFile::blockListCount_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("missing entry in the middle")
        << QByteArray("Listcount=3\r\nList0=a\r\nList2=c\r\n") << QStringList{"a", "", "c"};
    QTest::newRow("entries beyond the count")
        << QByteArray("Listcount=1\r\nList0=a\r\nList1=b\r\n") << QStringList{"a"};
    QTest::newRow("damaged count")
        << QByteArray("Listcount=2000000000\r\nList0=x\r\n") << QStringList{"x"};
    QTest::newRow("count without entries") << QByteArray("Listcount=50\r\n") << QStringList{};
    QTest::newRow("negative count") << QByteArray("Listcount=-1\r\nList0=x\r\n") << QStringList{};
}

void tst_NotesFile::blockListCount() {
    QFETCH(QByteArray, section);
    QFETCH(QStringList, expected);
    writeBytes(m_path, "[network]\r\n" + section);
    IniFile file(m_path, IniFile::Mode::Batched);
    GeneralSettings geral;
    NetworkSettings rede;
    SettingsStore::read(file, Context, geral, rede);
    QCOMPARE(rede.BlockList, expected);
}

void tst_NotesFile::saveLeavesNoCopyOfANoteSection() {
    // A damaged file holds a note's section twice; readers see only the first copy.
    writeBytes(m_path, "[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=a\r\nnote=texto\r\n"
                       "[stick0]\r\ncaption=old\r\nalarm=1\r\nRodape=De Ana (10.0.0.1)\r\n");
    NotesFile file(m_path, m_brazil, Context);
    const NotesFile::Contents loaded = file.load(m_now);
    QCOMPARE(loaded.notes.size(), 1);
    QVERIFY(!loaded.notes[0].alarm);
    file.save(loaded.geral, loaded.rede, true, loaded.notes);

    // The save wrote the note whole: no key of the second copy has joined it.
    const NotesFile::Contents reloaded = NotesFile(m_path, m_brazil, Context).load(m_now);
    QCOMPARE(reloaded.notes, loaded.notes);
    QVERIFY(!readBytes(m_path).contains("De Ana"));
}

QTEST_GUILESS_MAIN(tst_NotesFile)
#include "tst_NotesFile.moc"

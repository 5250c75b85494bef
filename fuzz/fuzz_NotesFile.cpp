// Loading a whole notes file from any bytes, with the Brazilian locale: the load must
// not fail, take at most the registry's 101 notes, and whatever it took must come back
// unchanged from a save and a second load, blanks and quotes at the ends of values
// included. Notes the first load left in the file come back as they were.

#include "core/base/TacknoteError.h"
#include "core/notes/NoteStore.h"
#include "core/notes/NotesFile.h"
#include "core/store/IniFile.h"
#include "fuzz/FuzzEnvironment.h"
#include "platform/system/QtLocaleInfo.h"

namespace {

using Fuzz = FuzzEnvironment;

const SettingsStore::Context Context{QStringLiteral("/opt/tacknote/"), QStringLiteral("maria")};

QString describe(const NoteRecord& a, const NoteRecord& b) {
    QString text;
    const auto field = [&](const char* name, const QString& x, const QString& y) {
        if (x != y)
            text += QStringLiteral("%1: %2 != %3\n")
                        .arg(QLatin1String(name), Fuzz::visible(x), Fuzz::visible(y));
    };
    field("caption", a.caption, b.caption);
    field("note", a.note, b.note);
    field("AlarmDateTime", a.AlarmDateTime.toString(Qt::ISODate),
          b.AlarmDateTime.toString(Qt::ISODate));
    field("SoundFile", a.SoundFile, b.SoundFile);
    field("FontName", a.FontName, b.FontName);
    field("Rodape", a.footer, b.footer);
    return text.isEmpty() ? QStringLiteral("a number or a flag differs") : text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static const QtLocaleInfo brazil(QLocale(QStringLiteral("pt_BR")));
    const QDateTime now(QDate(2002, 12, 25), QTime(14, 30));
    const QString path = Fuzz::scratchFile(QStringLiteral("stickies.tkn"));
    const QString originalPath = Fuzz::scratchFile(QStringLiteral("original.tkn"));
    const QByteArray content(reinterpret_cast<const char*>(bytes), qsizetype(size));
    Fuzz::writeFile(path, content);
    Fuzz::writeFile(originalPath, content);

    NotesFile first(path, brazil, Context);
    const NotesFile::Contents loaded = first.load(now);
    if (loaded.notes.size() > NoteStore::MaxNotes)
        Fuzz::fail("more notes than the registry holds", QString::number(loaded.notes.size()));
    try {
        first.save(loaded.geral, loaded.rede, true, loaded.notes);
    } catch (const TacknoteError& error) {
        Fuzz::fail("save failed", error.message());
    }

    NotesFile second(path, brazil, Context);
    const NotesFile::Contents reloaded = second.load(now);
    const NotesFile::Contents& expected = loaded;
    // Note sections the first load did not take (after a gap the save has since filled)
    // stay in the file untouched, and the second load may take them.
    if (reloaded.notes.size() < expected.notes.size())
        Fuzz::fail("notes lost by a save", QStringLiteral("%1 instead of %2")
                                               .arg(reloaded.notes.size())
                                               .arg(expected.notes.size()));
    IniFile original(originalPath, IniFile::Mode::Batched);
    for (qsizetype i = 0; i < reloaded.notes.size(); ++i) {
        const NoteRecord wanted = i < expected.notes.size()
                                      ? expected.notes[i]
                                      : NoteStore::read(original, int(i), brazil, now);
        if (!(reloaded.notes[i] == wanted))
            Fuzz::fail("note after a save",
                       QStringLiteral("Stick%1\n").arg(i) + describe(reloaded.notes[i], wanted));
    }
    if (!(reloaded.geral == expected.geral))
        Fuzz::fail("General settings after a save");
    if (!(reloaded.rede == expected.rede))
        Fuzz::fail("Network settings after a save");
    return 0;
}

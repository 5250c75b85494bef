#include "tests/crash/CrashNotes.h"

#include "core/base/TacknoteError.h"
#include "core/notes/DeletedNotes.h"
#include "core/store/IniFile.h"
#include "platform/Clock.h"
#include "platform/system/QtLocaleInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The text of one note: a first line naming it, then lines of ordinary writing up to
// exactly IniFile::MaxValueLength characters once stored. Its only line breaks are
// CR LF, stored as the two characters "\n", so its stored length is its length.
QString noteText(qint64 generation, int note) {
    QString text = QStringLiteral("Nota %1, salvamento %2\r\n").arg(note).arg(generation);
    static const QString lines[] = {
        QStringLiteral("Comprar pão, café e açúcar às 9h; pagar € 12,50 na padaria.\r\n"),
        QStringLiteral("Ligar para o banco \"antes\" do almoço = confirmar a transferência.\r\n"),
        QStringLiteral("Reunião de revisão: ênfase em prazos, custos & riscos (ver ata nº 7).\r\n"),
    };
    text.reserve(IniFile::MaxValueLength + 100);
    for (int i = 0; text.size() < IniFile::MaxValueLength; ++i)
        text += lines[(i + note) % 3];
    // Cut to the exact length, never inside a line break nor on a blank (the file would
    // lose blanks at the end of a value).
    text.truncate(IniFile::MaxValueLength - 1);
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    while (text.size() < IniFile::MaxValueLength)
        text += QLatin1Char('#');
    return text;
}

} // namespace

NoteRecord CrashNotes::record(qint64 generation, int note) {
    NoteRecord r;
    r.caption = QStringLiteral("Nota %1 gravação %2").arg(note).arg(generation);
    r.note = noteText(generation, note);
    r.posx = 10 + note * 7;
    r.posy = 20 + note * 3;
    r.Width = 180 + note % 40;
    r.Height = 147 + note % 30;
    r.Color = 0x7BFFFF - note;
    r.FontName = QStringLiteral("DejaVu Sans");
    r.FontSize = 9 + note % 4;
    r.FontBold = note % 2 == 0;
    r.topmost = note % 17 == 0;
    r.visible = note % 13 != 5;
    if (note % 10 == 0) {
        r.alarm = true;
        r.AlarmDateTime = QDateTime(QDate(2030, 1, 2), QTime(8, 30, 15));
        r.UseSound = true;
        r.SoundFile = QStringLiteral("/usr/share/sounds/aviso.wav");
        r.Remember = true;
        r.RememberNo = 2;
        r.RememberUnit = 1;
        r.weekdays = {false, true, true, true, true, true, false};
    } else {
        // The fields of a note without an alarm, as a load gives them.
        r.weekdays.fill(false);
        r.RememberNo = 0;
        r.RememberUnit = 0;
    }
    if (note % 5 == 1)
        r.footer = QStringLiteral("De Ana (192.168.0.%1)").arg(note);
    return r;
}

QList<NoteRecord> CrashNotes::records(qint64 generation) {
    QList<NoteRecord> notes;
    for (int i = 0; i < Count; ++i)
        notes << record(generation, i);
    return notes;
}

GeneralSettings CrashNotes::settings(const SettingsStore::Context& context) {
    GeneralSettings geral = SettingsStore::defaultGeral(context);
    geral.UseSounds = false;
    geral.AutoSave = false;
    geral.BackupOnExit = false;
    geral.NoteDaily = false;
    geral.TrayNoticeShown = true;
    return geral;
}

NetworkSettings CrashNotes::network() {
    NetworkSettings rede = SettingsStore::defaultRede();
    rede.Enabled = false;
    return rede;
}

const LocaleInfo& CrashNotes::locale() {
    static const QtLocaleInfo brazil(QLocale(QStringLiteral("pt_BR")));
    return brazil;
}

std::optional<qint64> CrashNotes::savedGeneration(const QString& path,
                                                  const SettingsStore::Context& context,
                                                  QString* problem) {
    NotesFile file(path, locale(), context);
    const NotesFile::Contents contents = file.load(QDateTime(QDate(2001, 1, 1), QTime(0, 0)));
    if (!file.readError().isEmpty()) {
        *problem = QStringLiteral("unreadable: ") + file.readError();
        return std::nullopt;
    }
    if (contents.notes.size() != Count) {
        *problem = QStringLiteral("%1 notes instead of %2").arg(contents.notes.size()).arg(Count);
        return std::nullopt;
    }
    static const QRegularExpression pattern(QStringLiteral("^Nota 0 gravação (\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(contents.notes.first().caption);
    if (!match.hasMatch()) {
        *problem =
            QStringLiteral("the first note's caption is '%1'").arg(contents.notes.first().caption);
        return std::nullopt;
    }
    const qint64 generation = match.captured(1).toLongLong();
    for (int i = 0; i < Count; ++i) {
        if (!(contents.notes.at(i) == record(generation, i))) {
            *problem = QStringLiteral("note %1 is not that of save %2").arg(i).arg(generation);
            return std::nullopt;
        }
    }
    return generation;
}

namespace {

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

} // namespace

QDateTime CrashNotes::deletedAt(qint64 generation) {
    return QDateTime(QDate(2030, 1, 2), QTime(8, 0)).addSecs(generation);
}

std::optional<qint64> CrashNotes::deletedGeneration(const QString& path, QString* problem) {
    if (!QFileInfo::exists(path))
        return 0;
    // Read at the first save's moment: no note is too old then.
    const FixedClock clock(deletedAt(0));
    QList<DeletedNotes::Entry> entries;
    try {
        entries = DeletedNotes(path, clock, locale()).entries();
    } catch (const TacknoteError& error) {
        *problem = error.message();
        return std::nullopt;
    }
    static const QRegularExpression pattern(QStringLiteral("^Nota \\d+ gravação (\\d+)$"));
    const QRegularExpressionMatch match =
        entries.isEmpty() ? QRegularExpressionMatch() : pattern.match(entries[0].record.caption);
    if (!match.hasMatch()) {
        *problem = QStringLiteral("no deleted note names its save");
        return std::nullopt;
    }
    const qint64 generation = match.captured(1).toLongLong();
    const qsizetype expected = std::min<qint64>(generation, DeletedNotes::MaxKept);
    if (entries.size() != expected) {
        *problem =
            QStringLiteral("%1 deleted notes instead of %2").arg(entries.size()).arg(expected);
        return std::nullopt;
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const qint64 save = generation - i;
        if (!(entries[i] ==
              DeletedNotes::Entry{record(save, int(save % Count)), deletedAt(save)})) {
            *problem = QStringLiteral("deleted note %1 is not that of save %2").arg(i).arg(save);
            return std::nullopt;
        }
    }
    return generation;
}

QStringList CrashNotes::leftovers(const QString& notesFile) {
    const QFileInfo info(notesFile);
    return info.dir().entryList({info.fileName() + QStringLiteral(".tmp-*")},
                                QDir::Files | QDir::Hidden | QDir::System);
}

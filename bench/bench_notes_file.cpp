// Measures the file work of saving and loading a full notes file: 101 notes of 2047
// characters each, key by key through the INI layer as the program does it.
//
//   bench_notes_file [iterations]

#include "core/notes/NoteStore.h"
#include "core/notes/NotesFile.h"
#include "core/settings/SettingsStore.h"
#include "core/store/IniFile.h"
#include "platform/system/QtLocaleInfo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

struct Figures {
    double median;
    double best;
};

Figures summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front()};
}

QString noteText(int index) {
    QString text;
    while (text.size() < 2047 - 2) {
        text += QStringLiteral("Linha %1 da nota %2 com acentuação: ação, pão, café. ")
                    .arg(text.size())
                    .arg(index);
        if (text.size() % 5 == 0)
            text += QStringLiteral("\r\n");
    }
    return NoteStore::decodeText(NoteStore::encodeText(text).left(2047));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stickies.tkn"));
    const QtLocaleInfo locale(QLocale(QStringLiteral("pt_BR")));
    const SettingsStore::Context context{QStringLiteral("/opt/tacknote/"), QStringLiteral("u")};
    const GeneralSettings geral = SettingsStore::defaultGeral(context);
    const NetworkSettings rede = SettingsStore::defaultRede();

    QList<NoteRecord> notes(NoteStore::MaxNotes);
    for (int i = 0; i < NoteStore::MaxNotes; ++i) {
        notes[i].caption = QStringLiteral("Nota %1").arg(i);
        notes[i].note = noteText(i);
        notes[i].alarm = i % 3 == 0;
        notes[i].AlarmDateTime = QDateTime(QDate(2026, 12, 8), QTime(10, i % 60));
        notes[i].posx = i;
    }

    std::vector<double> saves;
    std::vector<double> loads;
    for (int run = 0; run < iterations; ++run) {
        // Alternate a detail so every save really rewrites the file.
        notes[0].posx = run;
        QElapsedTimer timer;
        timer.start();
        NotesFile(path, locale, context).save(geral, rede, true, notes);
        saves.push_back(timer.nsecsElapsed() / 1e6);

        timer.restart();
        NotesFile(path, locale, context).load(QDateTime::currentDateTime());
        loads.push_back(timer.nsecsElapsed() / 1e6);
    }

    const Figures save = summarise(saves);
    const Figures load = summarise(loads);
    QTextStream out(stdout);
    out << "notes file: " << QFileInfo(path).size() << " bytes, " << NoteStore::MaxNotes
        << " notes, " << iterations << " runs\n";
    out << QStringLiteral("save: median %1 ms, best %2 ms\n")
               .arg(save.median, 0, 'f', 2)
               .arg(save.best, 0, 'f', 2);
    out << QStringLiteral("load: median %1 ms, best %2 ms\n")
               .arg(load.median, 0, 'f', 2)
               .arg(load.best, 0, 'f', 2);
    return 0;
}

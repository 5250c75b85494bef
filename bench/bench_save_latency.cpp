// Measures how much the saves after changes hold up the interface thread: a full
// collection of 101 notes of 2047 characters kept by a NotesKeeper on a temporary notes
// file, one note changed every 50 ms and the save after changes due at once, so saves run
// back to back. A 1 ms timer records how late each of its events comes. The same run is
// made with the saves written in the background and written at once.
//
//   bench_save_latency [seconds]

#include "core/notes/NoteCollection.h"
#include "core/notes/NoteStore.h"
#include "core/notes/NotesFile.h"
#include "core/notes/NotesKeeper.h"
#include "core/settings/SettingsStore.h"
#include "platform/MessageBoxes.h"
#include "platform/system/QtLocaleInfo.h"
#include "platform/system/SystemClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class PrintedMessages final : public MessageBoxes {
public:
    void show(Icon, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return false; }
};

// Times every event the keeper and its change-save timer handle on this thread: the
// snapshot and start of a save (or the whole save when it is written at once), and the
// taking of a finished background save's result.
class TimingApplication final : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;

    const QObject* keeper = nullptr;
    const QObject* saveTimer = nullptr;
    qint64 wallNs = 0;
    qint64 cpuNs = 0;
    qint64 worstWallNs = 0;

    bool notify(QObject* receiver, QEvent* event) override {
        if (receiver != keeper && receiver != saveTimer)
            return QCoreApplication::notify(receiver, event);
        QElapsedTimer wall;
        wall.start();
        const qint64 cpu = threadCpuNs();
        const bool handled = QCoreApplication::notify(receiver, event);
        const qint64 spent = wall.nsecsElapsed();
        wallNs += spent;
        cpuNs += threadCpuNs() - cpu;
        worstWallNs = std::max(worstWallNs, spent);
        return handled;
    }
};

QString noteText(int index) {
    QString text;
    while (text.size() < 2047)
        text += QStringLiteral("Nota %1, linha %2: texto de exemplo. ").arg(index).arg(text.size());
    return text.left(2047);
}

struct Result {
    double worstLateMs = 0;
    double p99LateMs = 0;
    int saves = 0;
    double wallPerSaveMs = 0;
    double cpuPerSaveMs = 0;
    double worstEventMs = 0;
};

Result run(TimingApplication& app, const QString& path, bool background, int seconds) {
    const SettingsStore::Context context{QCoreApplication::applicationDirPath() + QLatin1Char('/'),
                                         QStringLiteral("bench")};
    const QtLocaleInfo locale(QLocale(QStringLiteral("pt_BR")));
    {
        QList<NoteRecord> records(NoteStore::MaxNotes);
        for (int i = 0; i < NoteStore::MaxNotes; ++i) {
            records[i].caption = QStringLiteral("Nota %1").arg(i);
            records[i].note = noteText(i);
            records[i].Width = 250;
            records[i].Height = 200;
        }
        NotesFile(path, locale, context)
            .save(SettingsStore::defaultGeral(context), SettingsStore::defaultRede(), true,
                  records);
    }

    const SystemClock clock;
    PrintedMessages messages;
    NoteCollection notes;
    GeneralSettings geral;
    NetworkSettings rede;
    NotesKeeper keeper(path, context, notes, geral, rede, {clock, locale, messages});
    keeper.LoadNotes(false);
    keeper.setSavesInBackground(background);
    keeper.changeSaveTimer()->setInterval(0);
    app.keeper = &keeper;
    app.saveTimer = keeper.changeSaveTimer();
    app.wallNs = app.cpuNs = app.worstWallNs = 0;

    Result result;
    QObject::connect(&keeper, &NotesKeeper::saved, [&result] { ++result.saves; });

    std::vector<qint64> lateness;
    QElapsedTimer since;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        lateness.push_back(std::max<qint64>(0, since.nsecsElapsed() - 1000000));
        since.restart();
    });

    int changes = 0;
    QTimer change;
    change.setInterval(50);
    QObject::connect(&change, &QTimer::timeout, [&] {
        Note* note = notes.note(changes % notes.NoteCount());
        note->setText(note->record().note.left(2000) + QString::number(changes));
        ++changes;
    });

    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    since.start();
    tick.start();
    change.start();
    loop.exec();
    change.stop();
    tick.stop();
    keeper.stop();
    app.keeper = app.saveTimer = nullptr;

    std::sort(lateness.begin(), lateness.end());
    if (!lateness.empty()) {
        result.worstLateMs = lateness.back() / 1e6;
        result.p99LateMs = lateness[lateness.size() * 99 / 100] / 1e6;
    }
    if (result.saves > 0) {
        result.wallPerSaveMs = app.wallNs / 1e6 / result.saves;
        result.cpuPerSaveMs = app.cpuNs / 1e6 / result.saves;
    }
    result.worstEventMs = app.worstWallNs / 1e6;
    return result;
}

} // namespace

int main(int argc, char** argv) {
    TimingApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stickies.tkn"));

    std::printf("%d notes of 2047 characters, a note changed every 50 ms for %d s, "
                "saves due at once\n",
                NoteStore::MaxNotes, seconds);
    std::printf("%-12s %10s %10s %6s %16s %16s %14s\n", "saves", "worst late", "p99 late", "saves",
                "UI wall/save", "UI CPU/save", "worst UI event");
    // Alternated twice, so both see the disk and the other work alike.
    for (int round = 0; round < 2; ++round) {
        for (const bool background : {true, false}) {
            const Result r = run(app, path, background, seconds);
            std::printf("%-12s %7.2f ms %7.2f ms %6d %13.3f ms %13.3f ms %11.2f ms\n",
                        background ? "background" : "at once", r.worstLateMs, r.p99LateMs, r.saves,
                        r.wallPerSaveMs, r.cpuPerSaveMs, r.worstEventMs);
        }
    }
    return 0;
}

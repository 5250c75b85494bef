// Starts the real program with many notes under a private X server and window manager
// and reports how long the notes take to come on the screen, the memory the program
// holds once settled, and how often it wakes up while nobody uses it.
//
//   bench_startup [--notes N] [--chars C] [--wm fluxbox|openbox] [--idle SECONDS]
//                 [--program PATH]
//
// Needs Xvfb and the window manager (Debian: xvfb, fluxbox or openbox). The notes are
// told apart from the program's other windows by their size.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>

namespace {

constexpr int kNoteWidth = 170;
constexpr int kNoteHeight = 120;

struct Options {
    int notes = 101;
    int chars = 2047;
    QString wm = QStringLiteral("fluxbox");
    int idleSeconds = 30;
    QString program = QStringLiteral(TACKNOTE_EXECUTABLE);
};

Options parse(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args.at(i);
        const QString& value = args.at(i + 1);
        if (name == QLatin1String("--notes"))
            options.notes = value.toInt();
        else if (name == QLatin1String("--chars"))
            options.chars = value.toInt();
        else if (name == QLatin1String("--wm"))
            options.wm = value;
        else if (name == QLatin1String("--idle"))
            options.idleSeconds = value.toInt();
        else if (name == QLatin1String("--program"))
            options.program = value;
    }
    return options;
}

// A notes file of count notes of chars characters each (plain ASCII, one paragraph).
QByteArray notesFile(int count, int chars) {
    QByteArray text = "[General]\r\nNumStickies=" + QByteArray::number(count) +
                      "\r\nAskDelete=1\r\nNoteDaily=0\r\nAutoSave=1\r\nTimeAutoSave=10\r\n"
                      "DefaultFontName=Arial\r\nDefaultFontSize=10\r\n"
                      "[Network]\r\nEnabled=0\r\n";
    const QByteArray words = "Lorem ipsum dolor sit amet, consectetur adipiscing elit. ";
    QByteArray body;
    while (body.size() < chars)
        body += words;
    body.truncate(chars);
    for (int i = 0; i < count; ++i) {
        text += "[Stick" + QByteArray::number(i) + "]\r\ncaption=Nota " + QByteArray::number(i) +
                "\r\nnote=" + body + "\r\nposx=" + QByteArray::number(20 + (i % 10) * 80) +
                "\r\nposy=" + QByteArray::number(20 + (i / 10) * 60) +
                "\r\nWidth=" + QByteArray::number(kNoteWidth) +
                "\r\nHeight=" + QByteArray::number(kNoteHeight) +
                "\r\nColor=8454143\r\nFontName=Arial\r\nFontSize=10\r\nFontColor=0\r\n"
                "visible=1\r\ntopmost=0\r\n";
    }
    return text;
}

int freeDisplay() {
    for (int display = 140; display < 200; ++display) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) &&
            !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
            return display;
    }
    return -1;
}

// Voluntary and involuntary context switches of each thread of a process, by thread id.
QMap<QString, qint64> contextSwitches(qint64 pid) {
    QMap<QString, qint64> switches;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task) + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        qint64 total = 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") ||
                line.startsWith("nonvoluntary_ctxt_switches:"))
                total += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
        switches.insert(task, total);
    }
    return switches;
}

// The wake-ups of each thread that lived through the whole period, main thread first.
QString wakeUps(qint64 pid, const QMap<QString, qint64>& before,
                const QMap<QString, qint64>& after) {
    const QString main = QString::number(pid);
    qint64 total = 0;
    QStringList others;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (!before.contains(it.key()))
            continue;
        const qint64 delta = it.value() - before.value(it.key());
        total += delta;
        if (it.key() != main)
            others.append(QString::number(delta));
    }
    return QStringLiteral("%1 in all; main thread %2, other threads %3")
        .arg(total)
        .arg(after.value(main) - before.value(main))
        .arg(others.join(QLatin1Char(' ')));
}

QByteArray statusField(qint64 pid, const QByteArray& field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).simplified();
    }
    return {};
}

// Watches the X server for the note windows being mapped.
class MapWatcher {
public:
    explicit MapWatcher(const QByteArray& display) {
        m_connection = xcb_connect(display.constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ok = true;
    }
    ~MapWatcher() {
        if (m_connection)
            xcb_disconnect(m_connection);
    }
    bool ok() const { return m_ok; }
    int fd() const { return xcb_get_file_descriptor(m_connection); }
    int mapped() const { return m_mapped.size(); }

    void process() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (create->parent == m_root && create->width == kNoteWidth &&
                    create->height == kNoteHeight)
                    watch(create->window);
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (m_watched.contains(map->window))
                    m_mapped.insert(map->window);
            }
            std::free(event);
        }
    }

private:
    void watch(xcb_window_t window) {
        m_watched.insert(window);
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        // Mapped before the watch began: counted now.
        auto* attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            m_mapped.insert(window);
        std::free(attributes);
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    bool m_ok = false;
    QSet<xcb_window_t> m_watched;
    QSet<xcb_window_t> m_mapped;
};

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());

    QTemporaryDir home;
    const QString documents = home.filePath(QStringLiteral("Documents"));
    QDir().mkpath(documents + QStringLiteral("/Tacknote/bench/data"));
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(home.filePath(QStringLiteral(".fluxbox")));
    {
        QFile overlay(home.filePath(QStringLiteral(".fluxbox/overlay")));
        overlay.open(QIODevice::WriteOnly);
        overlay.write("background: none\n");
    }

    const int display = freeDisplay();
    const QByteArray displayName = ":" + QByteArray::number(display);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(displayName));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("USER"), QStringLiteral("bench"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DOCUMENTS_DIR"), documents);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("tacknote.startup.debug=true"));

    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QString::fromLatin1(displayName), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!xvfb.waitForStarted()) {
        std::fprintf(stderr, "Xvfb could not be started (Debian package xvfb)\n");
        return 1;
    }
    for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display));
         ++i)
        QThread::msleep(50);
    QProcess wm;
    wm.setProcessEnvironment(environment);
    wm.start(options.wm, {});
    if (!wm.waitForStarted()) {
        std::fprintf(stderr, "%s could not be started\n", qPrintable(options.wm));
        stop(xvfb);
        return 1;
    }
    QThread::msleep(1500);

    // The program's data folder is named after the user: find it by starting from its
    // notes file in every user folder it could choose.
    const QByteArray notes = notesFile(options.notes, options.chars);
    const QString user =
        QString::fromLocal8Bit(qgetenv("USER").isEmpty() ? "root" : qgetenv("USER"));
    for (const QString& name : {QStringLiteral("bench"), user, QStringLiteral("root")}) {
        QDir().mkpath(documents + QStringLiteral("/Tacknote/") + name + QStringLiteral("/data"));
        QFile file(documents + QStringLiteral("/Tacknote/") + name +
                   QStringLiteral("/data/stickies.tkn"));
        file.open(QIODevice::WriteOnly);
        file.write(notes);
    }

    MapWatcher watcher(displayName);
    if (!watcher.ok()) {
        std::fprintf(stderr, "cannot connect to the X server %s\n", displayName.constData());
        stop(wm);
        stop(xvfb);
        return 1;
    }

    QProcess program;
    program.setProcessEnvironment(environment);
    QElapsedTimer clock;
    qint64 startStep = -1;
    qint64 loaded = -1;
    QByteArray errors;
    clock.start();
    program.start(options.program, {});
    if (!program.waitForStarted()) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(options.program));
        stop(wm);
        stop(xvfb);
        return 1;
    }
    qint64 allMapped = -1;
    while (clock.elapsed() < 60000) {
        pollfd fds{watcher.fd(), POLLIN, 0};
        ::poll(&fds, 1, 5);
        watcher.process();
        program.waitForReadyRead(0);
        errors += program.readAllStandardError();
        if (startStep < 0 && errors.contains("start step begins"))
            startStep = clock.elapsed();
        if (loaded < 0 && errors.contains("notes loaded"))
            loaded = clock.elapsed();
        if (watcher.mapped() >= options.notes) {
            allMapped = clock.elapsed();
            break;
        }
        if (program.state() == QProcess::NotRunning)
            break;
    }

    // Settled: text cursors stop blinking after ten seconds without input.
    QThread::msleep(12000);
    const QByteArray rss = statusField(program.processId(), "VmRSS");
    const QMap<QString, qint64> switchesBefore = contextSwitches(program.processId());
    QThread::msleep(1000 * options.idleSeconds);
    const QMap<QString, qint64> switchesAfter = contextSwitches(program.processId());

    std::printf("notes: %d of %d characters, window manager %s\n", options.notes, options.chars,
                qPrintable(options.wm));
    if (allMapped < 0) {
        std::printf("only %d notes mapped within 60 s\n", watcher.mapped());
    } else {
        std::printf("all notes mapped: %lld ms after the program started\n", allMapped);
        if (startStep >= 0)
            std::printf("                  %lld ms after the start step began\n",
                        allMapped - startStep);
        else
            std::printf("                  about %lld ms after the start step (start - 500 ms)\n",
                        allMapped - 500);
    }
    if (startStep >= 0 && loaded >= 0)
        std::printf("notes loaded: %lld ms after the start step began\n", loaded - startStep);
    std::printf("RSS after settling: %s\n", rss.constData());
    std::printf("idle wake-ups (context switches) over %d s: %s\n", options.idleSeconds,
                qPrintable(wakeUps(program.processId(), switchesBefore, switchesAfter)));

    stop(program);
    stop(wm);
    stop(xvfb);
    return allMapped < 0 ? 1 : 0;
}

// Measures how the note receiver holds up under a flood: hundreds of peers on another
// thread connect again and again and send garbage (bytes without line ends, long
// command lines, notes of endless text, "help" without reading the answer, silence)
// while the main thread's event latency is sampled every 5 ms. Reports the latency,
// what happened to the connections and the memory of the process.
//
//   bench_receiver [peers] [seconds]

#include "core/net/NoteReceiver.h"
#include "core/net/ReceivedNoteSink.h"
#include "core/settings/NetworkSettings.h"
#include "platform/system/ListeningSocket.h"
#include "platform/system/QtLocaleInfo.h"
#include "platform/system/SystemClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

// A registry of 101 notes that keeps only what bounds its memory: the text length.
class CountingSink final : public ReceivedNoteSink {
public:
    int notes = 0;
    qint64 textChars = 0;

    int notesHeld() const override { return notes; }
    int beginReceivedNote() override { return notes < 101 ? notes++ : -1; }
    void setCaption(int, const QString&) override {}
    void setNoteColor(int, int) override {}
    void setCaptionColor(int, int) override {}
    void setTextAreaWidth(int, int) override {}
    void setTextAreaHeight(int, int) override {}
    void setReplyAddress(int, const QString&) override {}
    void setFontName(int, const QString&) override {}
    void setFontSize(int, int) override {}
    void setFontColor(int, int) override {}
    void setFontBold(int, bool) override {}
    void setFontItalic(int, bool) override {}
    void showFooter(int, const QString&) override {}
    void setAlarm(int) override {}
    void setAlarmDateTime(int, const QDateTime&) override {}
    void setUseSound(int, bool) override {}
    void setSoundFile(int, const QString&) override {}
    void setRemember(int, bool) override {}
    void setRememberNo(int, int) override {}
    void setRememberUnit(int, int) override {}
    void setDay(int, int, bool) override {}
    void showAlarmIcon(int) override {}
    void appendLine(int, const QString& text) override { textChars += text.size(); }
    void endReceivedNote(int) override {}
};

struct FloodFigures {
    std::atomic<qint64> attempts{0};
    std::atomic<qint64> established{0};
    std::atomic<qint64> bannered{0};
    std::atomic<qint64> bytesSent{0};
};

// The hostile peers. Each keeps one connection open at a time and opens a new one as
// soon as the receiver drops it.
class Flood : public QObject {
public:
    Flood(quint16 port, int peers, FloodFigures& figures)
        : m_port(port), m_peers(peers), m_figures(figures) {}

    void start() {
        for (int i = 0; i < m_peers; ++i)
            open(i);
    }

private:
    static QByteArray makeGarbage(int kind, QRandomGenerator& random) {
        QByteArray bytes;
        switch (kind) {
        case 0: // random bytes, hardly ever a line end
            bytes.resize(4096);
            for (char& c : bytes)
                c = char(random.bounded(256));
            break;
        case 1: // long command lines, each one in a single piece
            for (int i = 0; i < 16; ++i)
                bytes += "new\xA2" + QByteArray(300, char('a' + i)) + "\r\n";
            break;
        case 2: // a note whose text never ends
            bytes = "new\xA2x\xA2t\xA2"
                    "1\xA2"
                    "2\xA2"
                    "3\xA2"
                    "4\xA2"
                    "F\xA2"
                    "8\xA2"
                    "0\xA2"
                    "bold\xA2italic\r\n";
            for (int i = 0; i < 40; ++i)
                bytes += "line\xA2" + QByteArray(70, char('a' + i % 26)) + "\r\n\r\n";
            break;
        case 3: // asks for help and never reads the answers
            for (int i = 0; i < 200; ++i)
                bytes += i % 2 ? "help\r\n" : "HELP\r\n";
            break;
        default: // silence
            break;
        }
        return bytes;
    }

    const QByteArray& garbage(int kind) {
        if (m_garbage.empty()) {
            for (int k = 0; k < 5; ++k)
                m_garbage.push_back(makeGarbage(k, m_random));
        }
        return m_garbage[size_t(kind)];
    }

    void open(int index) {
        auto* socket = new QTcpSocket(this);
        const int kind = index % 5;
        ++m_figures.attempts;
        connect(socket, &QTcpSocket::connected, this, [this, socket, kind] {
            ++m_figures.established;
            feed(socket, kind);
        });
        if (kind == 3) {
            // Takes nothing from the system: the answers pile up on the receiver's side.
            socket->setReadBufferSize(1);
        } else {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith("Tacknote"))
                    ++m_figures.bannered;
            });
        }
        connect(socket, &QTcpSocket::bytesWritten, this, [this, socket, kind](qint64 written) {
            m_figures.bytesSent += written;
            if (socket->bytesToWrite() == 0)
                feed(socket, kind);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, index] {
            socket->deleteLater();
            open(index);
        });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket, index] {
            if (socket->state() == QAbstractSocket::UnconnectedState) {
                socket->disconnect(this);
                socket->deleteLater();
                QTimer::singleShot(1, this, [this, index] { open(index); });
            }
        });
        socket->connectToHost(QHostAddress(QHostAddress::LocalHost), m_port);
    }

    void feed(QTcpSocket* socket, int kind) {
        const QByteArray& bytes = garbage(kind);
        if (!bytes.isEmpty() && socket->state() == QAbstractSocket::ConnectedState)
            socket->write(bytes);
    }

    quint16 m_port;
    int m_peers;
    FloodFigures& m_figures;
    QRandomGenerator m_random{7801};
    std::vector<QByteArray> m_garbage;
};

qint64 statusKilobytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int peers = argc > 1 ? std::max(1, atoi(argv[1])) : 400;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    QTextStream out(stdout);

    QTemporaryDir programDir;
    CountingSink sink;
    NetworkSettings settings;
    settings.PortTCP = QStringLiteral("0");
    const SystemClock clock;
    const QtLocaleInfo locale;
    NoteReceiver receiver(sink, settings, clock, locale, programDir.path());
    receiver.StartNoteServer();
    qint64 logLines = 0;
    QObject::connect(&receiver, &NoteReceiver::netEventLogged, [&logLines] { ++logLines; });
    const qint64 rssBefore = statusKilobytes("VmRSS:");

    FloodFigures figures;
    QThread floodThread;
    auto* flood = new Flood(receiver.port(), peers, figures);
    flood->moveToThread(&floodThread);
    QObject::connect(&floodThread, &QThread::finished, flood, &QObject::deleteLater);
    floodThread.start();
    QMetaObject::invokeMethod(flood, [flood] { flood->start(); });

    // The main thread's event latency: how late a 5 ms timer fires.
    constexpr int SampleMs = 5;
    std::vector<qint64> lateness;
    std::vector<qint64> rssSamples; // one a second
    int maxConnections = 0;
    QElapsedTimer sinceLast;
    sinceLast.start();
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    sampler.setInterval(SampleMs);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const qint64 elapsedUs = sinceLast.nsecsElapsed() / 1000;
        sinceLast.restart();
        lateness.push_back(std::max<qint64>(0, elapsedUs - SampleMs * 1000));
        maxConnections = std::max(maxConnections, receiver.connectionCount());
        if (lateness.size() % 200 == 0)
            rssSamples.push_back(statusKilobytes("VmRSS:"));
    });
    sampler.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    sampler.stop();
    floodThread.quit();
    floodThread.wait();

    std::sort(lateness.begin(), lateness.end());
    const auto percentile = [&lateness](double p) {
        return lateness.empty() ? 0.0 : lateness[size_t(p * double(lateness.size() - 1))] / 1000.0;
    };
    out << "peers " << peers << ", " << seconds << " s, connection limit "
        << ListeningSocket::MaxConnections << "\n";
    out << "connection attempts " << figures.attempts << ", established " << figures.established
        << ", with banner " << figures.bannered << ", most open at once " << maxConnections << "\n";
    out << "bytes sent by the peers " << figures.bytesSent / 1024 << " KiB, log lines " << logLines
        << ", notes " << sink.notes << ", note text " << sink.textChars << " characters\n";
    out << "event latency (ms): median " << percentile(0.5) << ", 99th percentile "
        << percentile(0.99) << ", worst " << percentile(1.0) << " over " << lateness.size()
        << " samples\n";
    out << "memory (receiver and peers in one process): resident " << rssBefore
        << " KiB before; during the flood, KiB:";
    for (const qint64 kib : rssSamples)
        out << ' ' << kib;
    out << "; peak " << statusKilobytes("VmHWM:") << " KiB\n";
    return 0;
}

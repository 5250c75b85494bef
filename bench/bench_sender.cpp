// Measures a sending through the send dialog: a note of many lines goes to a peer on
// loopback while the event latency of the interface thread is sampled every 5 ms. The
// peer is quiet, or talks back without pause (megabytes the sender never asked for).
// Reports how long the sending took, the latency and the growth of the process memory.
//
//   QT_QPA_PLATFORM=offscreen bench_sender [lines]

#include "core/contacts/AddressPicker.h"
#include "core/net/NoteSender.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/net/TfrmEnviaComputador.h"
#include "platform/MessageBoxes.h"
#include "platform/system/QtLocaleInfo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

class NoPicker final : public AddressPicker {
public:
    QStringList pickAddresses(QWidget*) override { return {}; }
};

class SilentBoxes final : public MessageBoxes {
public:
    void show(Icon, const QString&, const QString& text) override { shown << text; }
    bool askYesNo(const QString&, const QString&) override { return false; }
    QStringList shown;
};

qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// A peer that takes every byte and, when chatty, answers each arrival with 64 KiB.
class Peer {
public:
    explicit Peer(bool chatty) : m_chatty(chatty) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    received += socket->readAll().size();
                    if (m_chatty && socket->bytesToWrite() < (1 << 20))
                        sent += socket->write(QByteArray(64 * 1024, 'x'));
                });
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    qint64 received = 0;
    qint64 sent = 0;

private:
    bool m_chatty;
    QTcpServer m_server;
};

void run(const char* name, bool chatty, int lines, QTextStream& out) {
    Peer peer(chatty);
    GeneralSettings geral;
    geral.User = QStringLiteral("bench");
    NetworkSettings rede;
    rede.PortTCP = QString::number(peer.port());
    QtLocaleInfo locale;
    NoteSender sender(locale);
    NoPicker picker;
    SilentBoxes boxes;
    TfrmEnviaComputador dialog(geral, rede, sender, picker, boxes);

    OutgoingNote note;
    note.caption = QStringLiteral("bench");
    note.FontName = QStringLiteral("Arial");
    note.FontSize = 10;
    for (int i = 0; i < lines; ++i)
        note.lines << QStringLiteral("linha %1 de um texto de teste").arg(i);

    std::vector<qint64> latencies;
    QElapsedTimer sampleClock;
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    sampler.setInterval(5);
    QObject::connect(&sampler, &QTimer::timeout,
                     [&] { latencies.push_back(std::max<qint64>(0, sampleClock.restart() - 5)); });

    const qint64 memoryBefore = residentKiB();
    QElapsedTimer duration;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.txtPara->setText(QStringLiteral("127.0.0.1"));
        duration.start();
        sampleClock.start();
        sampler.start();
        dialog.cmdEnviar->click();
    });
    dialog.sendNote(0, note, std::nullopt);
    const qint64 took = duration.elapsed();
    sampler.stop();
    const qint64 memoryAfter = residentKiB();

    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double share) {
        return latencies.empty() ? 0
                                 : latencies[std::min(latencies.size() - 1,
                                                      size_t(share * double(latencies.size())))];
    };
    out << name << ": " << lines << " lines in " << took << " ms (at least "
        << (lines + 1) * NoteSender::PauseMs << " ms of pauses); result "
        << (boxes.shown == QStringList{QStringLiteral("Nota Enviada!")} ? "sent" : "NOT sent")
        << "; peer got " << peer.received << " bytes, sent back " << peer.sent
        << " bytes; event latency median " << at(0.5) << " ms, p99 " << at(0.99) << " ms, max "
        << (latencies.empty() ? 0 : latencies.back()) << " ms (" << latencies.size()
        << " samples); memory " << memoryBefore << " -> " << memoryAfter << " KiB\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int lines = argc > 1 ? QByteArray(argv[1]).toInt() : 100;
    QTextStream out(stdout);
    run("quiet peer", false, lines, out);
    run("chatty peer", true, lines, out);
    return 0;
}

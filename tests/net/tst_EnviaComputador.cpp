// The send dialog on test doubles for the address book and the message boxes, sending
// over loopback to test peers through the real sending engine.
#include "SenderPeers.h"

#include "core/contacts/AddressPicker.h"
#include "core/net/NoteSender.h"
#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/net/TfrmEnviaComputador.h"
#include "platform/system/QtLocaleInfo.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <optional>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

// Hands out prepared picks, as the address book does once the user has chosen.
class ScriptedPicker final : public AddressPicker {
public:
    QStringList pickAddresses(QWidget* parent) override {
        parents << parent;
        return picks;
    }
    QStringList picks;
    QList<QWidget*> parents;
};

using ScriptedBox = ScriptedMessageBoxes::Shown;

// The dialog as the program makes it, once per test.
struct Sending {
    Sending() {
        geral.User = QStringLiteral("Jo\u00E3o");
        rede.PortTCP = QStringLiteral("7801");
    }

    // Opens the dialog for sampleNote() (note number 7), runs whileOpen once it shows,
    // and returns once the dialog has closed.
    void open(const std::function<void()>& whileOpen,
              const std::optional<QString>& reply = std::nullopt) {
        QTimer::singleShot(0, &dialog, whileOpen);
        dialog.sendNote(7, sampleNote(), reply);
    }
    // Types the recipients, presses "&Enviar" and waits until the sending is over.
    void sendTo(const QString& recipients) {
        dialog.txtPara->setText(recipients);
        dialog.cmdEnviar->click();
        QVERIFY(finished.wait(10000));
    }
    QStringList statusLines() const {
        return dialog.memStatus->toPlainText().split(QLatin1Char('\n'));
    }

    GeneralSettings geral;
    NetworkSettings rede;
    QtLocaleInfo locale{QLocale(QStringLiteral("pt_BR"))};
    NoteSender sender{locale};
    ScriptedPicker picker;
    ScriptedMessageBoxes boxes;
    TfrmEnviaComputador dialog{geral, rede, sender, picker, boxes};
    QSignalSpy finished{&sender, &NoteSender::finished};
};

bool sameBox(const ScriptedBox& box, const ScriptedBox& expected) {
    return box.icon == expected.icon && box.title == expected.title && box.text == expected.text;
}

const ScriptedBox Sent{MessageBoxes::Icon::Information, QStringLiteral("Aviso"),
                       QStringLiteral("Nota Enviada!")};
const QStringList Delivered{"Transmitindo Nota...", "OK!", "Nota Enviada!"};

} // namespace

class tst_EnviaComputador : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addressPicking_data();
    void addressPicking();
    void openingFillsTheRecipients_data();
    void openingFillsTheRecipients();
    void noteGoesOutAndDialogCloses();
    void unreachableRecipientKeepsDialogOpen();
    void closingStopsTheSending();
    void statusLogKeepsItsLastLines();
};

void tst_EnviaComputador::addressPicking_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<QString>("after");
    QTest::newRow("nothing picked") << "10.0.0.5" << QStringList{} << "10.0.0.5";
    QTest::newRow("into an empty field") << "" << QStringList{"10.0.0.5", "pc2"} << "10.0.0.5,pc2";
    QTest::newRow("the same address twice") << "" << QStringList{"pc2", "pc2"} << "pc2";
    QTest::newRow("already present") << "pc1,pc2" << QStringList{"pc2", "pc3"} << "pc1,pc2,pc3";
    QTest::newRow("inside an address present")
        << "10.0.0.12" << QStringList{"10.0.0.1"} << "10.0.0.12";
    QTest::newRow("letter case counts") << "PC1" << QStringList{"pc1"} << "PC1,pc1";
}

void tst_EnviaComputador::addressPicking() {
    QFETCH(QString, before);
    QFETCH(QStringList, picks);
    QFETCH(QString, after);
    Sending s;
    s.picker.picks = picks;
    s.open([&] {
        s.dialog.txtPara->setText(before);
        s.dialog.cmdAddress->click();
        QCOMPARE(s.dialog.txtPara->text(), after);
        QCOMPARE(s.dialog.cmdEnviar->isEnabled(), !after.isEmpty());
        s.dialog.cmdCancelar->click();
    });
    QCOMPARE(s.picker.parents, QList<QWidget*>{&s.dialog});
    QVERIFY(s.boxes.shown.isEmpty());
}

void tst_EnviaComputador::openingFillsTheRecipients_data() {
    QTest::addColumn<std::optional<QString>>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("send keeps the last recipients") << std::optional<QString>() << "pc1, pc2";
    QTest::newRow("reply") << std::optional<QString>(QStringLiteral("192.168.0.5"))
                           << "192.168.0.5";
    // A note received in an earlier run has no reply address.
    QTest::newRow("reply without an address") << std::optional<QString>(QString()) << "";
}

void tst_EnviaComputador::openingFillsTheRecipients() {
    QFETCH(std::optional<QString>, reply);
    QFETCH(QString, shown);
    Sending s;
    s.open([&] {
        s.dialog.txtPara->setText(QStringLiteral("pc1, pc2"));
        s.dialog.AddStatus(QStringLiteral("of the last sending"));
        QTest::keyClick(&s.dialog, Qt::Key_Escape);
    });
    QVERIFY(!s.dialog.isVisible());
    s.open(
        [&] {
            QCOMPARE(s.dialog.Tag, 7);
            QCOMPARE(s.dialog.txtPara->text(), shown);
            QCOMPARE(s.dialog.cmdEnviar->isEnabled(), !shown.isEmpty());
            QCOMPARE(s.dialog.memStatus->toPlainText(), QString());
            // The title's arrow is not on the wire's code page: the user is told.
            QVERIFY(s.dialog.lblAviso->isVisible());
            QVERIFY(s.dialog.lblAviso->text().endsWith(QStringLiteral(": \u2192")));
            s.dialog.close();
        },
        reply);
    QCOMPARE(s.dialog.result(), int(QDialog::Rejected));
}

void tst_EnviaComputador::noteGoesOutAndDialogCloses() {
    CapturingServer peer(QHostAddress::LocalHost);
    Sending s;
    s.rede.PortTCP = QString::number(peer.server.serverPort());
    bool enviarOffWhileSending = false;
    bool hourglassWhileSending = false;
    QObject::connect(&s.sender, &NoteSender::status, &s.dialog, [&] {
        enviarOffWhileSending = !s.dialog.cmdEnviar->isEnabled();
        hourglassWhileSending = QApplication::overrideCursor() &&
                                QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    s.open([&] { s.sendTo(QStringLiteral("127.0.0.1")); });

    QCOMPARE(s.dialog.result(), int(QDialog::Accepted));
    QVERIFY(enviarOffWhileSending);
    QVERIFY(hourglassWhileSending);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(s.boxes.shown.size(), 1);
    QVERIFY(sameBox(s.boxes.shown[0], Sent));
    QCOMPARE(s.statusLines(), QStringList{"Enviando para 127.0.0.1..."} + Delivered);
    QVERIFY(s.dialog.memAux.isEmpty());
    QTRY_VERIFY(peer.connections.size() == 1 && peer.connections[0].closed);
    QCOMPARE(peer.connections[0].bytes, sampleNoteOnTheWire());
}

// Each recipient that cannot be reached gets a box and a status line; the others still
// get the note, and the dialog stays open with its log and "&Enviar" usable again.
void tst_EnviaComputador::unreachableRecipientKeepsDialogOpen() {
    CapturingServer peer(QHostAddress::LocalHost);
    Sending s;
    s.rede.PortTCP = QString::number(peer.server.serverPort());
    const QString failed = QStringLiteral("N\u00E3o foi poss\u00EDvel conectar em 127.0.0.2 !");
    s.open([&] {
        s.sendTo(QStringLiteral("127.0.0.2,127.0.0.1"));
        QVERIFY(s.dialog.isVisible());
        QVERIFY(s.dialog.cmdEnviar->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(s.dialog.lstComputador, (QStringList{"127.0.0.2", "127.0.0.1"}));
        s.dialog.cmdCancelar->click();
    });
    QCOMPARE(s.boxes.shown.size(), 1);
    QVERIFY(sameBox(s.boxes.shown[0], {MessageBoxes::Icon::Information, "Erro", failed}));
    QCOMPARE(s.statusLines(), (QStringList{failed, "Enviando para 127.0.0.1..."} + Delivered));
    QTRY_COMPARE(peer.connections.size(), 1);
    QTRY_COMPARE(peer.connections[0].bytes, sampleNoteOnTheWire());
}

// Closing the dialog during a sending, while connecting or while transmitting, stops
// it at once: nothing more goes out, nobody else is contacted, nothing is reported.
void tst_EnviaComputador::closingStopsTheSending() {
    CapturingServer peer(QHostAddress::LocalHost);
    const quint16 port = peer.server.serverPort();
    CapturingServer next(QHostAddress(QStringLiteral("127.0.0.4")), port);
    Blackhole silent("127.0.0.3", port);
    for (const char* first : {"127.0.0.3", "127.0.0.1"}) {
        peer.connections.clear();
        const bool transmitting = QLatin1String(first) == QLatin1String("127.0.0.1");
        Sending s;
        s.rede.PortTCP = QString::number(port);
        const QString recipients = QString::fromLatin1(first) + QStringLiteral(",127.0.0.4");
        s.open([&] {
            s.dialog.txtPara->setText(recipients);
            s.dialog.cmdEnviar->click();
            if (transmitting) {
                QTRY_VERIFY(s.dialog.memStatus->toPlainText().contains(
                    QStringLiteral("Transmitindo Nota...")));
            } else {
                // The first recipient is being connected to, and does not answer.
                const auto* socket = s.sender.findChild<QAbstractSocket*>();
                QTRY_COMPARE(socket->state(), QAbstractSocket::ConnectingState);
            }
            QVERIFY(s.dialog.isSending());
            s.dialog.cmdCancelar->click();
        });
        QVERIFY(!s.dialog.isSending());
        QVERIFY(!s.sender.isSending());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(s.dialog.result(), int(QDialog::Rejected));

        // Whatever the stopped sending still had coming would arrive before the end of a
        // whole sending made after it.
        QVERIFY(s.sender.send({QStringLiteral("127.0.0.1")}, sampleNote(), QStringLiteral("Ana"),
                              QString::number(port)));
        QVERIFY(s.finished.wait(5000));
        QCOMPARE(s.finished.size(), 1);
        QCOMPARE(s.finished.at(0).at(0).toBool(), false);
        QVERIFY(s.boxes.shown.isEmpty());
        QVERIFY(next.connections.isEmpty());
        const qsizetype stopped = transmitting ? 1 : 0;
        QTRY_VERIFY(peer.connections.size() == stopped + 1 && peer.connections.last().closed);
        if (transmitting) {
            QVERIFY(peer.connections[0].closed);
            QVERIFY(!peer.connections[0].bytes.contains("end\xA2"));
        }
    }
}

void tst_EnviaComputador::statusLogKeepsItsLastLines() {
    Sending s;
    s.dialog.show();
    for (int i = 1; i <= TfrmEnviaComputador::StatusLineCap + 1; ++i)
        s.dialog.AddStatus(QString::number(i));
    const QTextDocument* log = s.dialog.memStatus->document();
    QCOMPARE(log->blockCount(), TfrmEnviaComputador::StatusLineCap);
    QCOMPARE(log->firstBlock().text(), QStringLiteral("2"));
    QCOMPARE(log->lastBlock().text(), QStringLiteral("1001"));
    const QScrollBar* bar = s.dialog.memStatus->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(s.dialog.memStatus->isReadOnly());
}

QTEST_MAIN(tst_EnviaComputador)
#include "tst_EnviaComputador.moc"

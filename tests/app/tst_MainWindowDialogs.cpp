// The main window with its receiver and dialogs connected: notes arriving over the
// network, the preferences from the tray menu, a note's configuration and alarm, the
// address book and the e-mail composer, each on the real windows with the seams
// answering.

#include "core/net/NoteProtocol.h"
#include "core/net/NoteReceiver.h"
#include "core/net/ReceivedNoteQuota.h"
#include "core/store/Windows1252.h"
#include "gui/contacts/TfrmAddressBook.h"
#include "gui/dialogs/TfrmConfNota.h"
#include "gui/dialogs/TfrmMudaCaption.h"
#include "gui/dialogs/TtabAlarme.h"
#include "gui/dialogs/TtabFonteCor.h"
#include "gui/dialogs/TtabGeral.h"
#include "gui/dialogs/TtbsRede.h"
#include "gui/mail/TfrmEnviarEmail.h"
#include "gui/net/TfrmEnviaComputador.h"
#include "gui/note/NotePopupMenu.h"
#include "gui/program/NoteCommands.h"

#include "../support/ProgramHarness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace {

// A program whose notes file switches the network functions on at port (0: any free
// port), with no notes.
struct NetworkProgram : ProgramHarness {
    explicit NetworkProgram(const QByteArray& port = "0")
        : ProgramHarness(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program")) {
        writeNotesFile("[General]\r\nNumStickies=0\r\nAskDelete=0\r\n[Network]\r\nEnabled=1\r\n"
                       "PortTCP=" +
                       port + "\r\n");
        create();
        main->timerInicio()->setInterval(0);
        main->start();
        QTRY_VERIFY(main->keeper().notesLoaded());
        QCoreApplication::processEvents();
    }
};

// Runs action once the modal window that trigger opens is up, then lets it close.
void whenModal(const std::function<void()>& trigger, const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
    });
    trigger();
}

} // namespace

class tst_MainWindowDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void receivedNoteLandsOnTheDesktopAndInTheFile_data();
    void receivedNoteLandsOnTheDesktopAndInTheFile();
    void receivedNotesLeaveRoomForTheUsersOwn_data();
    void receivedNotesLeaveRoomForTheUsersOwn();
    void portTakenIsReportedAndTheProgramRunsOn();
    void closeStopsListening();
    void preferencesChangeSettingsAndStartTheListener();
    void alarmSetInTheDialogRingsAndIsSaved();
    void noteDeletedWhileItsDialogIsOpen();
    void noteDeletedWhileItsTitleIsEdited();
    void addressBookAndComposerOpenFromTheirCommands();
    void replyOpensTheSenderWithTheSendersAddress();
    void noteKeepsItsSizeOverTwoHops();
};

void tst_MainWindowDialogs::receivedNoteLandsOnTheDesktopAndInTheFile_data() {
    QTest::addColumn<QString>("size"); // the width and height fields of "new"
    QTest::addColumn<QSize>("expected");

    // A text area of 200 x 100: the window adds the margin, the caption bar and the footer.
    QTest::newRow("as sent") << "200¢100" << QSize(200 + 5, 100 + 13 + 12 + 5);
    // A peer cannot make a window no screen can show: it takes the screen at most.
    QTest::newRow("30000 x 30000")
        << "30000¢30000" << QGuiApplication::primaryScreen()->availableGeometry().size();
}

void tst_MainWindowDialogs::receivedNoteLandsOnTheDesktopAndInTheFile() {
    QFETCH(QString, size);
    QFETCH(QSize, expected);
    NetworkProgram p;
    QVERIFY(p.main->receiver().isListening());
    QTcpSocket peer;
    peer.connectToHost(QStringLiteral("127.0.0.1"), p.main->receiver().port());
    QVERIFY(peer.waitForConnected(5000));
    QTRY_VERIFY(peer.bytesAvailable() > 0);
    QCOMPARE(peer.readAll(), QByteArray("Tacknote waiting for commands...\r\n"));
    const QString wire =
        QStringLiteral("new¢Ana¢Compras¢65535¢%1¢255¢Arial¢12¢255¢bold¢noitalic\r\n\r\n"
                       "line¢Pão e café\r\n\r\nline¢_^segunda linha\r\n\r\nend¢\r\n\r\n")
            .arg(size);
    peer.write(Windows1252::encode(wire));
    QTRY_VERIFY(p.note(0) && !p.note(0)->note().isEmpty() && p.note(0)->isVisible());
    QTRY_COMPARE(p.note(0)->note(), QStringLiteral("Pão e café\r\n\r\nsegunda linha"));
    TfPostIt* note = p.note(0);
    QCOMPARE(note->caption(), QStringLiteral("Compras"));
    QCOMPARE(note->Color(), 65535);
    QCOMPARE(note->captionColor(), 255);
    QCOMPARE(note->memoFont(), (NoteFont{QStringLiteral("Arial"), 12, 255, true, false}));
    QCOMPARE(note->footer(), QStringLiteral("De Ana (127.0.0.1)"));
    QCOMPARE(note->replyAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(note->bounds().size(), expected);
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(note->bounds()));

    p.main->SaveNotes();
    QCOMPARE(p.stored(0, QStringLiteral("Rodape")), QStringLiteral("De Ana (127.0.0.1)"));
    QCOMPARE(p.stored(0, QStringLiteral("note")), QStringLiteral("Pão e café\\n\\nsegunda linha"));
    QCOMPARE(p.stored(0, QStringLiteral("Width")), QString::number(expected.width()));
}

void tst_MainWindowDialogs::receivedNotesLeaveRoomForTheUsersOwn_data() {
    QTest::addColumn<int>("senders");      // 127.0.0.2, 127.0.0.3, ...
    QTest::addColumn<int>("accepted");     // of 110 notes
    QTest::addColumn<int>("aMinuteLater"); // of one more note from the first sender
    QTest::addColumn<QString>("told");

    QTest::newRow("one sender, beyond its burst")
        << 1 << ReceivedNoteQuota::Burst << 1
        << "Uma nota enviada por 127.0.0.2 foi recusada: esse computador enviou notas demais em "
           "pouco tempo.";
    QTest::newRow("eleven senders, until the desktop is nearly full")
        << 11 << ReceivedNoteQuota::ReceivedLimit << 0
        << "as últimas vagas para notas ficam reservadas para as suas próprias notas";
}

// A peer cannot take the places the user needs: received notes stop well before the
// registry is full (and per sender beyond a burst), each refused note closes its
// connection, the user is told once, and "Nova Nota" still works.
void tst_MainWindowDialogs::receivedNotesLeaveRoomForTheUsersOwn() {
    QFETCH(int, senders);
    QFETCH(int, accepted);
    QFETCH(int, aMinuteLater);
    QFETCH(QString, told);
    NetworkProgram p;
    const QByteArray note = Windows1252::encode(
        QStringLiteral("new¢Ana¢Oi¢65535¢200¢100¢255¢Arial¢10¢0¢nobold¢noitalic\r\n\r\n"
                       "end¢\r\n\r\n"));
    const int total = 110;
    const auto connectFrom = [&p](int sender) {
        auto peer = std::make_unique<QTcpSocket>();
        const QHostAddress from(QStringLiteral("127.0.0.%1").arg(2 + sender));
        if (!peer->bind(from))
            return std::unique_ptr<QTcpSocket>();
        peer->connectToHost(QStringLiteral("127.0.0.1"), p.main->receiver().port());
        return peer;
    };
    std::vector<std::unique_ptr<QTcpSocket>> peers;
    for (int sender = 0; sender < senders; ++sender) {
        peers.push_back(connectFrom(sender));
        QVERIFY(peers.back());
        QByteArray notes;
        for (int i = sender; i < total; i += senders)
            notes += note;
        peers.back()->write(notes + "exit\r\n");
    }
    for (const auto& peer : peers)
        QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(p.main->registry().notes().size(), accepted);
    QTRY_COMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Aviso"));
    QVERIFY2(p.boxes.shown[0].text.contains(told), qPrintable(p.boxes.shown[0].text));

    // A minute later the sender has earned one note back, unless the desktop is full.
    p.clock.advanceSeconds(ReceivedNoteQuota::SecondsPerNote);
    auto again = connectFrom(0);
    QVERIFY(again);
    again->write(note + note + "exit\r\n");
    QTRY_COMPARE(again->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(p.main->registry().notes().size(), accepted + aMinuteLater);

    QVERIFY(p.newNote());
    QCoreApplication::processEvents();
    QCOMPARE(p.boxes.shown.size(), 1);
}

void tst_MainWindowDialogs::portTakenIsReportedAndTheProgramRunsOn() {
    QTcpServer occupant;
    QVERIFY(occupant.listen(QHostAddress::AnyIPv4));
    NetworkProgram p(QByteArray::number(occupant.serverPort()));
    QCOMPARE(p.boxes.shown.size(), 1);
    QCOMPARE(p.boxes.shown[0].title, QStringLiteral("Erro"));
    QVERIFY(!p.main->receiver().isListening());
    QVERIFY(p.newNote()); // the program runs on
}

void tst_MainWindowDialogs::closeStopsListening() {
    NetworkProgram p;
    QVERIFY(p.main->receiver().isListening());
    p.main->FormCloseQuery();
    QVERIFY(!p.main->receiver().isListening());
}

void tst_MainWindowDialogs::preferencesChangeSettingsAndStartTheListener() {
    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    p.start();
    TfPostIt* existing = p.newNote();
    const NoteRecord before = existing->toRecord();
    whenModal([&] { p.main->trayMenu().mnuPreferencias->trigger(); },
              [&](QWidget* modal) {
                  auto* dialog = qobject_cast<TfrmConfNota*>(modal);
                  QVERIFY(dialog);
                  QCOMPARE(dialog->ConfiguredNote, -1);
                  QCOMPARE(dialog->helpContext(), 2);
                  dialog->tabGeral->txtIDUsuario->setText(QStringLiteral("Maria da Silva"));
                  p.dialogs.answerColor(0x00C0FFC0);
                  dialog->tabFonteCor->cmdCordeFundo->click();
                  dialog->tbsRede->chkHabilitaRede->setChecked(true);
                  dialog->tbsRede->txtPortaTCP->setText(QStringLiteral("0"));
                  dialog->cmdOK->click();
              });
    QCOMPARE(p.main->recGeral().User, QStringLiteral("Maria da Silva"));
    QVERIFY(p.main->recRede().Enabled);
    QVERIFY(p.main->receiver().isListening());
    // Existing notes keep their looks; the next one takes the new default colour.
    QCOMPARE(existing->toRecord(), before);
    QCOMPARE(p.newNote()->Color(), 0x00C0FFC0);
}

void tst_MainWindowDialogs::alarmSetInTheDialogRingsAndIsSaved() {
    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    p.start();
    TfPostIt* note = p.newNote();
    const QDateTime ring = p.clock.now().addSecs(120);
    whenModal([&] { note->imgAlarmeDblClick(); },
              [&](QWidget* modal) {
                  auto* dialog = qobject_cast<TfrmConfNota*>(modal);
                  QVERIFY(dialog);
                  QCOMPARE(dialog->pagGeral->currentIndex(), int(TfrmConfNota::PageAlarme));
                  TtabAlarme* page = dialog->tabAlarme;
                  page->chkHabAlarme->setChecked(true);
                  page->dtmDataAlarme->setDate(ring.date());
                  page->dtmHoraAlarme->setTime(ring.time());
                  page->chkTocaSom->setChecked(true);
                  page->fleSom->setText(QStringLiteral("/sons/despertador.wav"));
                  dialog->cmdOK->click();
              });
    QVERIFY(note->alarm());
    QVERIFY(note->alarmIconVisible());
    p.main->SaveNotes();
    QCOMPARE(p.stored(0, QStringLiteral("alarm")), QStringLiteral("1"));
    QCOMPARE(p.stored(0, QStringLiteral("SoundFile")), QStringLiteral("/sons/despertador.wav"));

    p.tick(119);
    QVERIFY(p.sound.played.isEmpty());
    p.tick();
    QCOMPARE(p.sound.played, QStringList{QStringLiteral("/sons/despertador.wav")});
    QVERIFY(note->ringingIconVisible());
    QVERIFY(p.main->trayMenu().animating());
}

void tst_MainWindowDialogs::noteDeletedWhileItsDialogIsOpen() {
    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    p.start();
    p.main->recGeral().AskDelete = false;
    TfPostIt* note = p.newNote();
    whenModal([&] { note->mnuConfigurarClick(); },
              [&](QWidget* modal) {
                  auto* dialog = qobject_cast<TfrmConfNota*>(modal);
                  QVERIFY(dialog);
                  p.post(NoteMessage::WM_DELETENOTE, 0);
                  p.dialogs.answerColor(0x00FF0000);
                  dialog->tabFonteCor->cmdCordeFundo->click();
                  dialog->cmdOK->click();
              });
    QVERIFY(!p.note(0));
    ProgramHarness::settle();
    QVERIFY(p.registry().notes().isEmpty());
}

// Ctrl+Q and then Ctrl+T handled in one go: the deletion is carried out while the title
// dialog is open, and its OK must not reach the freed note.
void tst_MainWindowDialogs::noteDeletedWhileItsTitleIsEdited() {
    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    p.start();
    p.main->recGeral().AskDelete = false;
    QPointer<TfPostIt> note = p.newNote();
    note->ApagarSticky();
    whenModal([&] { note->popPrincipal->mnuMudaCaption->trigger(); },
              [&](QWidget* modal) {
                  auto* title = qobject_cast<TfrmMudaCaption*>(modal);
                  QVERIFY(title);
                  ProgramHarness::settle();
                  QVERIFY(note.isNull());
                  title->txtCaptionNota->setText(QStringLiteral("novo"));
                  title->accept();
              });
    QVERIFY(note.isNull());
    QVERIFY(p.registry().notes().isEmpty());
}

void tst_MainWindowDialogs::addressBookAndComposerOpenFromTheirCommands() {

    ProgramHarness p(QStringLiteral("pt_BR"), QStringLiteral("/nonexistent/program"));
    p.start();
    bool pickerShown = true;
    whenModal([&] { p.main->trayMenu().mnuAddressBook->trigger(); },
              [&](QWidget* modal) {
                  auto* book = qobject_cast<TfrmAddressBook*>(modal);
                  QVERIFY(book);
                  pickerShown = book->pnlSelecionado->isVisible();
                  book->reject();
              });
    QVERIFY(!pickerShown);

    p.main->recRede().Enabled = true;
    TfPostIt* note = p.newNote();
    note->setCaption(QStringLiteral("Lista"));
    note->setNote(QStringLiteral("leite"));
    QString text;
    whenModal([&] { note->EMail1Click(); },
              [&](QWidget* modal) {
                  auto* composer = qobject_cast<TfrmEnviarEmail*>(modal);
                  QVERIFY(composer);
                  text = composer->memTexto->toPlainText();
                  composer->cmdFechar->click();
              });
    QCOMPARE(text, QStringLiteral("leite"));
}

void tst_MainWindowDialogs::replyOpensTheSenderWithTheSendersAddress() {
    NetworkProgram p;
    QTcpSocket peer;
    peer.connectToHost(QStringLiteral("127.0.0.1"), p.main->receiver().port());
    QVERIFY(peer.waitForConnected(5000));
    peer.write(Windows1252::encode(QStringLiteral(
        "new¢Ana¢Oi¢65535¢200¢100¢255¢Arial¢10¢0¢nobold¢noitalic\r\n\r\nend¢\r\n\r\n")));
    QTRY_VERIFY(p.note(0) && p.note(0)->footerVisible());
    QString recipients;
    whenModal([&] { p.note(0)->mnuResponderClick(); },
              [&](QWidget* modal) {
                  auto* sender = qobject_cast<TfrmEnviaComputador*>(modal);
                  QVERIFY(sender);
                  recipients = sender->txtPara->text();
                  sender->cmdCancelar->click();
              });
    QCOMPARE(recipients, QStringLiteral("127.0.0.1"));
}

// A note sent on and sent back: what travels is its text area, which each hop restores.
void tst_MainWindowDialogs::noteKeepsItsSizeOverTwoHops() {
    NetworkProgram p;
    TfPostIt* original = p.newNote();
    original->setBounds(40, 40, 331, 261);
    const QSize text = original->textAreaSize();

    TfPostIt* previous = original;
    const QStringList senders{QStringLiteral("Ana"), QStringLiteral("Bia")};
    for (int hop = 1; hop <= senders.size(); ++hop) {
        QTcpSocket peer;
        peer.connectToHost(QStringLiteral("127.0.0.1"), p.main->receiver().port());
        QVERIFY(peer.waitForConnected(5000));
        peer.write(NoteProtocol::newCommand(NoteCommands::outgoing(*previous), senders[hop - 1]) +
                   "\r\n" + NoteProtocol::endCommand() + "\r\n");
        QTRY_VERIFY(p.note(hop) && p.note(hop)->footerVisible());
        QTRY_COMPARE(p.note(hop)->textAreaSize(), text);
        previous = p.note(hop);
    }
    // The first hop adds the footer; after that the window keeps its size.
    QCOMPARE(p.note(1)->bounds().size(), QSize(331, 261 + 12));
    QCOMPARE(p.note(2)->bounds().size(), p.note(1)->bounds().size());
}

QTEST_MAIN(tst_MainWindowDialogs)
#include "tst_MainWindowDialogs.moc"

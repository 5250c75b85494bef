// The browser capture on the program's side, end to end: signals through the real local
// socket of the running program, notes through the registry, text through the clipboard;
// and the browsers' registration written at the start.

#include "../support/ProgramHarness.h"

#include "core/program/CaptureRegistration.h"
#include "core/program/TacknoteMsg.h"
#include "core/store/IniFile.h"
#include "core/notes/NoteText.h"
#include "gui/program/AppMessage.h"
#include "platform/system/DesktopNativeHostFolders.h"
#include "platform/system/SingleInstance.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

using Language = StartLanguage::Language;
Q_DECLARE_METATYPE(Language)

namespace {

const QString User = QStringLiteral("maria");

// The identity of the browser extension shipped beside the program, as the browsers
// derive it from its manifest: Chromium from its public key (the first 16 bytes of the
// key's SHA-256, each hexadecimal digit written as a letter from a to p), Firefox from
// the id it declares.
struct ExtensionIdentity {
    QString chromium;
    QString firefox;
};
ExtensionIdentity shippedExtensionIdentity() {
    const QJsonObject manifest =
        QJsonDocument::fromJson(
            readBytes(QStringLiteral(TACKNOTE_PROGRAM_DIR "/browser/manifest.json")))
            .object();
    const QByteArray key = QByteArray::fromBase64(manifest.value("key").toString().toLatin1());
    const QByteArray digits =
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).left(16).toHex();
    ExtensionIdentity identity;
    for (const char digit : digits)
        identity.chromium += QLatin1Char(char('a' + QByteArray(1, digit).toInt(nullptr, 16)));
    identity.firefox = manifest.value("browser_specific_settings")
                           .toObject()
                           .value("gecko")
                           .toObject()
                           .value("id")
                           .toString();
    return identity;
}

// A started program listening on its local socket, as the executable runs it.
struct Program : ProgramHarness {
    // beforeStart runs once the channel listens, before the start step is armed.
    explicit Program(bool withTray = true, const std::function<void(Program&)>& beforeStart = {})
        : ProgramHarness(QStringLiteral("pt_BR"), QStringLiteral("/opt/tacknote"), User) {
        tray.available = withTray;
        create();
        channel = std::make_unique<SingleInstance>(dataDir(), User);
        QVERIFY(channel->claim());
        main->setMessageChannel(channel.get());
        if (beforeStart)
            beforeStart(*this);
        main->start();
        // The start step loads the notes and installs the capture.
        QTRY_VERIFY(!main->timerInicio()->isActive());
    }

    // Sends the messages as the capture host does, one connection each, and waits until
    // the program has handled every one of them.
    void send(const QList<QByteArray>& messages) {
        QSignalSpy received(channel.get(), &SingleInstance::messageReceived);
        QCOMPARE(sendMeanwhile(messages), QList<bool>(messages.size(), true));
        QCOMPARE(received.count(), messages.size());
        // The handling waits in the queue behind the arrival.
        QCoreApplication::processEvents();
    }
    void capture() { send({TacknoteMsg::Capture}); }
    // Sends the messages from another thread, as another program would, while this
    // thread's event loop runs; whether each was taken.
    QList<bool> sendMeanwhile(const QList<QByteArray>& messages) {
        const QString server = SingleInstance::serverName(dataDir(), User);
        QList<bool> taken;
        std::unique_ptr<QThread> sender(QThread::create([&] {
            for (const QByteArray& message : messages)
                taken.append(SingleInstance::send(server, message, 2000));
        }));
        QEventLoop loop;
        QObject::connect(sender.get(), &QThread::finished, &loop, &QEventLoop::quit);
        sender->start();
        loop.exec();
        sender->wait();
        return taken;
    }
    QTimer* tmrClip() const { return main->timerClip(); }

    std::unique_ptr<SingleInstance> channel;
};

QString sample(int length) {
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(u'a' + i % 26);
    return text;
}

} // namespace

class tst_Capture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QApplication::clipboard()->setText(QStringLiteral("Texto da página")); }

    void signalsMakeOneNotePerLockout_data();
    void signalsMakeOneNotePerLockout();
    void lockoutEndsWithItsTick();
    void clipboardIsPastedAsPlainText_data();
    void clipboardIsPastedAsPlainText();
    void pasteGoesToTheCapturedNote_data();
    void pasteGoesToTheCapturedNote();
    void browserEntryFollowsTheStartLanguage_data();
    void browserEntryFollowsTheStartLanguage();
    void unwritableEntryLeavesTheProgramRunning();
    void signalsBeforeTheLoadAndDuringTheNotice();
};

void tst_Capture::signalsMakeOneNotePerLockout_data() {
    QTest::addColumn<QList<QByteArray>>("messages");
    QTest::addColumn<int>("notes");
    QTest::newRow("one capture") << QList<QByteArray>{"capture"} << 1;
    QTest::newRow("a burst of five") << QList<QByteArray>(5, "capture") << 1;
    QTest::newRow("other messages")
        << QList<QByteArray>{"activate", "Capture", "capture now", ""} << 0;
}

void tst_Capture::signalsMakeOneNotePerLockout() {
    QFETCH(QList<QByteArray>, messages);
    QFETCH(int, notes);
    Program program;
    program.send(messages);
    QCOMPARE(program.registry().notes().size(), notes);
    if (notes > 0) {
        QCOMPARE(program.note(0)->note(), QStringLiteral("Texto da página"));
        // The user's kind of note: placed by the series, in the default colour.
        QCOMPARE(program.note(0)->bounds().topLeft(), QPoint(3, 0));
    }
}

void tst_Capture::lockoutEndsWithItsTick() {
    Program program;
    program.capture();
    QCOMPARE(program.registry().notes().size(), 1);
    QVERIFY(program.tmrClip()->isActive());
    QCOMPARE(program.tmrClip()->interval(), 5000);

    // Within the five seconds: lost.
    program.capture();
    QCOMPARE(program.registry().notes().size(), 1);

    // The five seconds pass (shortened): the tick ends the lockout and the next capture
    // makes a note again.
    program.tmrClip()->setInterval(1);
    QTRY_VERIFY(!program.tmrClip()->isActive());
    program.capture();
    QCOMPARE(program.registry().notes().size(), 2);
}

void tst_Capture::clipboardIsPastedAsPlainText_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain text") << "text/plain" << QByteArray("Uma linha") << "Uma linha";
    QTest::newRow("line breaks") << "text/plain" << QByteArray("um\ndois\r\ntrês")
                                 << "um\r\ndois\r\ntrês";
    QTest::newRow("empty clipboard") << QString() << QByteArray() << QString();
    QTest::newRow("markup only") << "text/html" << QByteArray("<b>negrito</b>") << QString();
    const QString longText = sample(IniFile::MaxValueLength + 500);
    QTest::newRow("longer than a note holds")
        << "text/plain" << longText.toUtf8() << longText.left(IniFile::MaxValueLength);
}

void tst_Capture::clipboardIsPastedAsPlainText() {
    QFETCH(QString, format);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    auto* data = new QMimeData;
    if (!format.isEmpty())
        data->setData(format, content);
    QApplication::clipboard()->setMimeData(data);

    Program program;
    program.capture();
    QCOMPARE(program.registry().notes().size(), 1);
    QCOMPARE(program.note(0)->note(), expected);
    QVERIFY(NoteText::storedLength(program.note(0)->note()) <= IniFile::MaxValueLength);
}

void tst_Capture::pasteGoesToTheCapturedNote_data() {
    QTest::addColumn<QString>("duringTheWait");
    QTest::newRow("nothing happens") << QString();
    QTest::newRow("a note arrives from the network") << "received";
    QTest::newRow("the user deletes the new note") << "deleted";
}

void tst_Capture::pasteGoesToTheCapturedNote() {
    QFETCH(QString, duringTheWait);
    Program program;
    TfPostIt* older = program.newNote();
    older->setNote(QStringLiteral("Nota antiga"));
    const int captured = program.noteCount();

    // Runs inside the half-second wait, which keeps the events going.
    QTimer::singleShot(AppMessage::PasteWaitSteps * AppMessage::PasteWaitStepMs / 2, [&] {
        if (duringTheWait == QLatin1String("received"))
            program.receivedNote()->setNote(QStringLiteral("De um colega"));
        else if (duringTheWait == QLatin1String("deleted")) {
            program.boxes.answerNext(true); // "Deseja realmente eliminar esta nota?"
            program.post(NoteMessage::WM_DELETENOTE, captured);
        }
    });
    program.capture();
    ProgramHarness::settle();

    QCOMPARE(older->note(), QStringLiteral("Nota antiga"));
    if (duringTheWait == QLatin1String("deleted")) {
        QCOMPARE(program.note(captured), nullptr);
        return;
    }
    QCOMPARE(program.note(captured)->note(), QStringLiteral("Texto da página"));
    if (duringTheWait == QLatin1String("received"))
        QCOMPARE(program.note(captured + 1)->note(), QStringLiteral("De um colega"));
}

void tst_Capture::browserEntryFollowsTheStartLanguage_data() {
    QTest::addColumn<QString>("defaultLang");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Language>("entry");
    QTest::newRow("saved Portuguese") << "port"
                                      << "en_US" << Language::Portuguese;
    QTest::newRow("saved English") << "Eng"
                                   << "pt_BR" << Language::English;
    QTest::newRow("Brazilian locale") << QString() << "pt_BR" << Language::Portuguese;
    QTest::newRow("American locale") << QString() << "en_US" << Language::English;
    QTest::newRow("German locale") << QString() << "de_DE" << Language::None;
}

void tst_Capture::browserEntryFollowsTheStartLanguage() {
    QFETCH(QString, defaultLang);
    QFETCH(QString, locale);
    QFETCH(Language, entry);
    ProgramHarness program(locale, QStringLiteral("/opt/tacknote"), User);
    if (!defaultLang.isEmpty())
        program.writeNotesFile("[General]\r\nDefaultLang=" + defaultLang.toLatin1() + "\r\n");

    // Chromium and Firefox were used by this user, Google Chrome never was; both entries
    // are left from earlier runs.
    const QString home = program.documents.filePath(QStringLiteral("home"));
    DesktopNativeHostFolders browsers(home, home + QStringLiteral("/.config"));
    const QString chromium = home + QStringLiteral("/.config/chromium/NativeMessagingHosts/");
    const QString firefox = home + QStringLiteral("/.mozilla/native-messaging-hosts/");
    for (const QString& folder : {chromium, firefox}) {
        QVERIFY(QDir().mkpath(folder));
        for (const Language language : {Language::Portuguese, Language::English})
            writeBytes(folder + CaptureRegistration::hostName(language) + ".json", "{}");
    }
    program.nativeHosts = &browsers;
    program.create();

    const QString chosen = CaptureRegistration::hostName(entry);
    for (const QString& folder : {chromium, firefox}) {
        QStringList expected;
        if (entry != Language::None)
            expected << chosen + QStringLiteral(".json");
        QCOMPARE(QDir(folder).entryList(QDir::Files), expected);
    }
    QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.config/google-chrome")));
    if (entry == Language::None)
        return;

    const ExtensionIdentity shippedExtension = shippedExtensionIdentity();
    QCOMPARE(shippedExtension.chromium.size(), 32);
    QVERIFY(!shippedExtension.firefox.isEmpty());
    // Each browser's dialect, pointing at the host program beside the executable.
    const QJsonObject forChromium =
        QJsonDocument::fromJson(readBytes(chromium + chosen + ".json")).object();
    const QJsonObject forFirefox =
        QJsonDocument::fromJson(readBytes(firefox + chosen + ".json")).object();
    for (const QJsonObject& manifest : {forChromium, forFirefox}) {
        QCOMPARE(manifest.value("name").toString(), chosen);
        QCOMPARE(manifest.value("type").toString(), QStringLiteral("stdio"));
        QCOMPARE(manifest.value("path").toString(),
                 QStringLiteral("/opt/tacknote/tacknote-capture"));
    }
    // The browsers start the host only for the extension it names: the one shipped.
    QCOMPARE(forChromium.value("allowed_origins").toArray(),
             QJsonArray{QStringLiteral("chrome-extension://%1/").arg(shippedExtension.chromium)});
    QCOMPARE(forFirefox.value("allowed_extensions").toArray(),
             QJsonArray{shippedExtension.firefox});
}

void tst_Capture::unwritableEntryLeavesTheProgramRunning() {
    Program program;
    const QString home = program.documents.filePath(QStringLiteral("home"));
    // A file where the browser's folder for hosts would go.
    QVERIFY(QDir().mkpath(home + QStringLiteral("/.mozilla")));
    writeBytes(home + QStringLiteral("/.mozilla/native-messaging-hosts"), "not a folder");
    DesktopNativeHostFolders browsers(home, home + QStringLiteral("/.config"));
    program.nativeHosts = &browsers;

    program.main.reset();
    program.channel.reset();
    program.start();
    QVERIFY(program.newNote());
    QCOMPARE(readBytes(home + QStringLiteral("/.mozilla/native-messaging-hosts")),
             QByteArray("not a folder"));
}

// Messages that come before the notes are loaded wait for the load; the notice of a
// desktop without a tray waits in its box after the start step, and a capture and a
// second start that come while it is open are taken and handled.
void tst_Capture::signalsBeforeTheLoadAndDuringTheNotice() {
    QList<bool> early;
    QList<bool> duringNotice;
    Program program(false, [&](Program& p) {
        early = p.sendMeanwhile({TacknoteMsg::newNoteWith(QStringLiteral("Antes da carga"))});
        p.boxes.whileShown = [&] {
            duringNotice = p.sendMeanwhile({TacknoteMsg::Capture, TacknoteMsg::Activate});
        };
    });
    QCOMPARE(early, QList<bool>{true});
    QTRY_COMPARE(program.boxes.shown.size(), 1);
    QCOMPARE(duringNotice, (QList<bool>{true, true}));
    QTRY_COMPARE(program.registry().notes().size(), 2);
    QCOMPARE(program.note(0)->note(), QStringLiteral("Antes da carga"));
    QTRY_COMPARE(program.note(1)->note(), QStringLiteral("Texto da página"));
    // The second start, without a tray, opens the menu at the pointer.
    QTRY_VERIFY(program.main->trayMenu().popPrincipal->isVisible());
}

QTEST_MAIN(tst_Capture)
#include "tst_Capture.moc"

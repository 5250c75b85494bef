#pragma once

// The main window on test doubles, with its documents folder in a temporary folder of
// its own. Shared by the tests of the main window and the parts it holds together.

#include "core/store/IniFile.h"
#include "gui/note/NoteMessage.h"
#include "gui/note/TfPostIt.h"
#include "gui/program/HiddenMainWindow.h"
#include "gui/program/NoteRegistry.h"
#include "core/notes/NotesKeeper.h"
#include "gui/program/TrayMenu.h"
#include "platform/system/QtLocaleInfo.h"

#include "FakeClock.h"
#include "FakeSystemPaths.h"
#include "FakeTrayIcon.h"
#include "RecordingShellOpener.h"
#include "RecordingSoundPlayer.h"
#include "ScriptedCommonDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>

#include <memory>

struct ProgramHarness {
    // The built program's folder, with the seed files and the language sets beside it.
    static QString seedDir() { return QStringLiteral(TACKNOTE_PROGRAM_DIR); }

    explicit ProgramHarness(const QString& localeName = QStringLiteral("pt_BR"),
                            const QString& programDir = seedDir(),
                            const QString& user = QStringLiteral("maria"))
        : locale(QLocale(localeName)), paths(documents.path(), programDir, user), m_user(user) {}

    QString dataDir() const {
        return documents.filePath(QStringLiteral("Tacknote/%1/data").arg(m_user));
    }
    QString notesFile() const { return dataDir() + QStringLiteral("/stickies.tkn"); }
    // Puts a notes file in place before the program starts.
    void writeNotesFile(const QByteArray& content) const {
        QDir().mkpath(dataDir());
        writeBytes(notesFile(), content);
    }

    // Creates the main window (FormCreate); a window created before is destroyed first.
    HiddenMainWindow& create() {
        main.reset();
        main = std::make_unique<HiddenMainWindow>(
            PlatformServices{clock, locale, paths, boxes, sound, tray, shell, dialogs, nativeHosts,
                             nullptr, nullptr, notifier});
        return *main;
    }
    // Creates the main window and loads the notes, as the start step does.
    HiddenMainWindow& start() {
        create();
        main->LoadNotes();
        return *main;
    }

    NoteRegistry& registry() const { return main->registry(); }
    TfPostIt* note(int slot) const { return main->registry().note(slot); }
    int noteCount() const { return main->registry().NoteCount(); }
    TfPostIt* newNote() { return main->tryPrincipalDblClick(main->trayMenu().cmdNovaNota); }
    TfPostIt* receivedNote() { return main->tryPrincipalDblClick(nullptr); }
    // Posts a message to the main window as a note does and lets it arrive.
    void post(QEvent::Type type, int number) {
        QCoreApplication::postEvent(main.get(), new NoteMessage(type, number));
        QCoreApplication::sendPostedEvents(main.get());
    }
    // Runs the deletions and other posted events.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    // One second of the main window's timer.
    void tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            clock.advanceSeconds(1);
            main->tmrAlarmeTimer();
        }
    }
    QString stored(int index, const QString& key) const {
        IniFile file(notesFile(), IniFile::Mode::Batched);
        return file.readString(QStringLiteral("Stick%1").arg(index), key, QString());
    }
    // The note numbers a tray list shows.
    static QList<int> listed(QMenu* menu) {
        QList<int> numbers;
        for (QAction* item : menu->actions()) {
            if (item->data().isValid())
                numbers.append(item->data().toInt());
        }
        return numbers;
    }

    QTemporaryDir documents;
    FakeClock clock;
    QtLocaleInfo locale;
    FakeSystemPaths paths;
    ScriptedMessageBoxes boxes;
    RecordingSoundPlayer sound;
    FakeTrayIcon tray;
    RecordingShellOpener shell;
    ScriptedCommonDialogs dialogs;
    // The browsers' folders for the capture's registration; none unless a test sets them.
    NativeHostFolders* nativeHosts = nullptr;
    // The desktop's notices; none unless a test sets them.
    DesktopNotifier* notifier = nullptr;
    std::unique_ptr<HiddenMainWindow> main;

private:
    QString m_user;
};

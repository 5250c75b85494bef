#pragma once

class Clock;
class CommonDialogs;
class DesktopNotifier;
class LocaleInfo;
class MessageBoxes;
class NativeHostFolders;
class SessionAutostart;
class ShellOpener;
class SoundPlayer;
class SystemPaths;
class TrayIcon;
class WindowSystemHints;

// The platform seams the main window works through; the real ones in the program,
// test doubles in the tests. All outlive the main window.
struct PlatformServices {
    Clock& clock;
    LocaleInfo& locale;
    SystemPaths& paths;
    MessageBoxes& messages;
    SoundPlayer& sound;
    TrayIcon& tray;
    ShellOpener& shell;
    CommonDialogs& dialogs;
    // Where the browsers look for the capture host's registration; none: no browser
    // entry is written or removed.
    NativeHostFolders* nativeHosts = nullptr;
    // What the window manager is told about note windows; none in tests.
    WindowSystemHints* windowHints = nullptr;
    // The start with the desktop session; none: the preferences do not offer it.
    SessionAutostart* autostart = nullptr;
    // The desktop's notices of alarms; none: alarms show only on the note and the tray.
    DesktopNotifier* notifier = nullptr;
};

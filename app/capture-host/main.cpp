// tacknote-capture: the native messaging host the browser extension talks to. It passes
// the capture signal on to the running Tacknote of the same user and data folder.

#include "core/program/CaptureHost.h"
#include "core/program/DataLocation.h"
#include "core/program/TacknoteMsg.h"
#include "platform/system/DesktopSystemPaths.h"
#include "platform/system/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <unistd.h>

namespace {
// How long a running program may take to accept the signal.
constexpr int SignalTimeoutMs = 2000;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);

    // The same socket the program listens on: same user, same data folder.
    DesktopSystemPaths paths;
    const DataLocation location = DataLocation::locate(paths);
    const QString server = SingleInstance::serverName(location.DataDir, location.LogonUser);
    const CaptureHost host(
        [&server] { return SingleInstance::send(server, TacknoteMsg::Capture, SignalTimeoutMs); });

    // Unbuffered both ways: the browser waits for each answer before it writes again.
    QFile input;
    QFile output;
    if (!input.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered) ||
        !output.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        std::fprintf(stderr, "tacknote-capture: no standard input or output\n");
        return 1;
    }
    return host.serve(input, output);
}

#pragma once

#include <QByteArray>
#include <QString>

// What every fuzz target sets up before its first input, and how it reports a fault.
//
// The process gets a core application object (for events and timers), the time zone UTC
// (so dates read the same on every machine) and a scratch folder for files, in memory
// when the system has /dev/shm, so the crash-safe writes of the notes file cost little.
class FuzzEnvironment {
public:
    // Called from LLVMFuzzerInitialize (defined beside it for every target) with the
    // arguments it is given.

    static void init(int* argc, char*** argv);

    // A file name in the scratch folder.
    static QString scratchFile(const QString& name);
    static void writeFile(const QString& path, const QByteArray& bytes);
    static QByteArray readFile(const QString& path);

    // Reports a broken rule, with what is needed to understand it, and aborts so that
    // libFuzzer keeps the input.
    [[noreturn]] static void fail(const char* rule, const QString& detail = QString());
    // Shows a text with its unprintable characters escaped, for failure reports.
    static QString visible(const QString& text);
    static QString visible(const QByteArray& bytes);
};

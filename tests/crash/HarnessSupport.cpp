#include "tests/crash/HarnessSupport.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

[[noreturn]] void fail(const QString& text) {
    std::fprintf(stderr, "FAILED: %s\n", qPrintable(text));
    std::exit(1);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + path);
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write ") + path);
}

void sleepMicroseconds(qint64 us) {
    if (us > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(us));
}

void printTally(const char* title, const Tally& tally, qint64 ms) {
    int kills = 0;
    for (const auto& [name, count] : tally)
        kills += count;
    std::printf("%s: %d kills in %.1f s\n", title, kills, double(ms) / 1000.0);
    for (const auto& [name, count] : tally)
        std::printf("  %5d  %s\n", count, name.c_str());
    std::fflush(stdout);
}

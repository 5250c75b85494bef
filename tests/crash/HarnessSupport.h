#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <string>

// What every part of the kill harness uses: its end at the first broken rule, whole files,
// short waits, and the summary of what the kills left.

// Prints the failure and ends the harness with 1.
[[noreturn]] void fail(const QString& text);

// The whole file, or the harness fails.
QByteArray readAll(const QString& path);
// Writes the file anew, or the harness fails.
void writeAll(const QString& path, const QByteArray& bytes);

void sleepMicroseconds(qint64 us);

// Outcomes of the kills, by name, for the summary.
using Tally = std::map<std::string, int>;

void printTally(const char* title, const Tally& tally, qint64 ms);

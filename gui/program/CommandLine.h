#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QStringList>

class QIODevice;

// The program's command line, read before any window system is touched:
//   tacknote                   start, or bring the running copy's notes forward
//   tacknote --new-note [TEXT] a new note, holding TEXT ("-": standard input)
//   tacknote --show            show every note (starting the program when needed)
//   tacknote --hide            hide every note of the running copy
//   tacknote --toggle          hide every note when any is visible, else show them all
//   tacknote --quit            save and end the running copy
//   tacknote --help, --version
// Help and version go to standard output and end with status 0, a wrong command line
// prints the usage to standard error and ends with status 2.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
public:
    struct Request {
        // 0 or more: nothing more to do, end with this status.
        int exitCode = -1;
        // What the running copy is told (TacknoteMsg).
        QByteArray message;
        // False for what only a running copy can do: nothing is started for it.
        bool startsProgram = true;
        // What a copy started for the request does once its notes are loaded; empty for
        // nothing more than starting.
        QByteArray afterStart;
    };

    // Reads arguments (the program's name first), and input for "--new-note -". A text
    // longer than a note holds is cut to fit, with a warning on standard error.
    static Request parse(const QStringList& arguments, QIODevice& input);
};

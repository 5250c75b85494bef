// Measures how long "Localizar Nota" takes to bring its list up to date after a key press,
// with the registry full: 101 notes of 2047 characters each (accented words, line breaks,
// a few hidden notes). Each key press goes into the text field as typing does, and the
// time runs until the events it caused (the filtering, the list's layout and painting)
// have been handled. Also times the opening of the window, when the notes are folded for
// searching the first time.
//
//   QT_QPA_PLATFORM=offscreen bench_find_note [rounds]

#include "core/notes/NoteCollection.h"
#include "gui/program/TfrmLocalizaNota.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString noteText(int index) {
    static const QString lines[] = {
        QStringLiteral("Comprar pão, café e açúcar às 9h; pagar € 12,50 na padaria.\r\n"),
        QStringLiteral("Ligar para o banco \"antes\" do almoço = confirmar a transferência.\r\n"),
        QStringLiteral("Reunião de revisão: ênfase em prazos, custos & riscos (ver ata nº 7).\r\n"),
    };
    QString text = QStringLiteral("Nota %1\r\n").arg(index);
    for (int i = 0; text.size() < 2047; ++i)
        text += lines[(i + index) % 3];
    return text.left(2047);
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    NoteCollection notes;
    for (int i = 0; i < NoteCollection::Capacity; ++i) {
        NoteRecord record;
        record.caption = QStringLiteral("Nota %1 de 12/03/2024").arg(i);
        record.note = noteText(i);
        record.visible = i % 13 != 5;
        notes.add(record);
    }

    TfrmLocalizaNota finder(notes);
    QElapsedTimer clock;
    clock.start();
    finder.showFinder();
    QCoreApplication::processEvents();
    const double openMs = double(clock.nsecsElapsed()) / 1e6;

    // Typed, then taken back key by key: words in every note, in a few, in one, in none.
    const QStringList queries = {QStringLiteral("reuniao de revisao"), QStringLiteral("nota 7 "),
                                 QStringLiteral("nota 100"), QStringLiteral("xyzw")};
    std::vector<double> times;
    qsizetype mostLines = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const QString& query : queries) {
            for (qsizetype typed = 0; typed < 2 * query.size(); ++typed) {
                clock.restart();
                if (typed < query.size())
                    finder.txtLocalizar->insert(query.at(typed));
                else
                    finder.txtLocalizar->backspace();
                QCoreApplication::processEvents();
                times.push_back(double(clock.nsecsElapsed()) / 1e6);
                mostLines = std::max<qsizetype>(mostLines, finder.lstNotas->count());
            }
        }
    }
    std::printf("101 notes of 2047 characters, %zu key presses (typing and erasing %lld "
                "queries, %d rounds), list of up to %lld lines\n",
                times.size(), static_cast<long long>(queries.size()), rounds,
                static_cast<long long>(mostLines));
    std::printf("opening the window (first folding of every note): %.2f ms\n", openMs);
    std::printf("per key press: median %.2f ms, p95 %.2f ms, worst %.2f ms\n",
                percentile(times, 0.5), percentile(times, 0.95),
                *std::max_element(times.begin(), times.end()));
    return 0;
}

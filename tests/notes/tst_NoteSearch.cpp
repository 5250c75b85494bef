#include "core/notes/NoteCollection.h"
#include "core/notes/NoteSearch.h"

#include <QTest>

namespace {

const QString Filler = QStringLiteral("uma linha qualquer de texto comum, ").repeated(8);

// What a found note shows of its match: the marked part of its context, or of its line.
QString shownMatch(const NoteSearch::Found& found) {
    const QString& shown = found.context.isEmpty() ? found.line : found.context;
    return shown.mid(found.match.start, found.match.length);
}

} // namespace

// Finding notes by what the user types, without a window.
class tst_NoteSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matching_data();
    void matching();
    void findsHiddenNotesAndFollowsEdits();
};

void tst_NoteSearch::matching_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("found");
    // The part of the line (or, when the match lies beyond it, of the context) shown as
    // the match.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("inContext");

    QTest::newRow("letter case") << "Compras"
                                 << "leite e PÃO"
                                 << "pão" << true << "PÃO" << false;
    QTest::newRow("accents typed or not, and blanks")
        << ""
        << "Reunião   às 9h"
        << "REUNIAO AS" << true << "Reunião às" << false;
    QTest::newRow("accent as a mark of its own")
        << "" << QStringLiteral("Sa\u0303o Paulo") << "são p" << true
        << QStringLiteral("Sa\u0303o P") << false;
    QTest::newRow("words across a line break") << ""
                                               << "fim do dia\r\nligar para Ana"
                                               << "dia ligar" << true << "dia ligar" << false;
    QTest::newRow("title only") << "Dentista"
                                << ""
                                << "dent" << true << "Dent" << false;
    QTest::newRow("blanks around what is typed") << "Dentista"
                                                 << ""
                                                 << "  tis " << true << "tis" << false;
    QTest::newRow("Cyrillic") << ""
                              << "Встреча в пятницу"
                              << "ПЯТ" << true << "пят" << false;
    QTest::newRow("Greek final sigma and tonos") << "ΟΔΌΣ"
                                                 << ""
                                                 << "οδος" << true << "ΟΔΌΣ" << false;
    QTest::newRow("far in the text: words around the match")
        << "Longa" << Filler + "telefone do Banco às 14h"
        << "banco" << true << "Banco" << true;
    QTest::newRow("not there") << "Compras"
                               << "leite"
                               << "pao" << false << "" << false;
    QTest::newRow("nothing typed finds every note") << "Compras"
                                                    << "leite"
                                                    << " " << true << "" << false;
}

void tst_NoteSearch::matching() {
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(bool, found);
    QFETCH(QString, shown);
    QFETCH(bool, inContext);

    const std::optional<NoteSearch::Found> result = NoteSearch::match(caption, text, query);
    QCOMPARE(result.has_value(), found);
    if (!found)
        return;
    QVERIFY(result->line.startsWith(caption));
    QCOMPARE(!result->context.isEmpty(), inContext);
    QCOMPARE(shownMatch(*result), shown);
    if (inContext) {
        // The context starts at a word and shows what it leaves out.
        QVERIFY(result->context.startsWith(QChar(0x2026)));
        QVERIFY(result->context.contains(QStringLiteral("telefone do Banco às 14h")));
    }
}

void tst_NoteSearch::findsHiddenNotesAndFollowsEdits() {
    NoteCollection notes;
    NoteRecord shown;
    shown.caption = QStringLiteral("Mercado");
    shown.note = QStringLiteral("café, açúcar");
    NoteRecord hidden;
    hidden.caption = QStringLiteral("Senha do Wi-Fi");
    hidden.note = QStringLiteral("guardar em lugar seguro");
    hidden.visible = false;
    Note* first = notes.add(shown);
    Note* second = notes.add(hidden);

    NoteSearch search;
    QList<NoteSearch::Found> found = search.find(notes.notes(), QStringLiteral("seg"));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].note.data(), second);
    QCOMPARE(search.find(notes.notes(), QString()).size(), 2);

    // A note edited since the last search is found by its new text, no longer its old one.
    first->setText(QStringLiteral("lista: pão, seguro do carro"));
    found = search.find(notes.notes(), QStringLiteral("SEG"));
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].note.data(), first);
    QVERIFY(search.find(notes.notes(), QStringLiteral("acucar")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_NoteSearch)
#include "tst_NoteSearch.moc"

#include "gui/program/CommandLine.h"

#include "core/notes/NoteText.h"
#include "core/program/TacknoteMsg.h"
#include "gui/note/NoteEdit.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <algorithm>

#include <cstdio>

namespace {

// Standard input is read up to this much: several times what a note holds, so a cut is
// seen and told, without reading a whole file given by mistake.
constexpr qint64 MaxInput = 64 * 1024;

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The arguments without the options Qt's application object takes for itself (window
// system, style, geometry), which stay in argv for it.
QStringList withoutQtOptions(const QStringList& arguments) {
    static const QStringList withValue{"platform",        "platformpluginpath",
                                       "platformtheme",   "plugin",
                                       "qwindowgeometry", "qwindowicon",
                                       "qwindowtitle",    "style",
                                       "stylesheet",      "display",
                                       "geometry",        "name",
                                       "title",           "session",
                                       "qmljsdebugger"};
    static const QStringList flags{"reverse", "widgetcount", "nograb", "dograb", "sync"};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(QLatin1Char('-'))) {
            kept.append(argument);
            continue;
        }
        QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        if (equals >= 0)
            name.truncate(equals);
        if (withValue.contains(name)) {
            if (equals < 0)
                ++i; // its value
            continue;
        }
        if (!flags.contains(name))
            kept.append(argument);
    }
    return kept;
}

} // namespace

CommandLine::Request CommandLine::parse(const QStringList& arguments, QIODevice& input) {
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Tacknote: notas adesivas para a área de trabalho."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Mostra esta ajuda e termina."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Mostra a versão do programa e termina."));
    const QCommandLineOption newNote(
        QStringLiteral("new-note"),
        tr("Cria uma nota com TEXTO, lido da entrada padrão quando TEXTO é \"-\"; sem TEXTO, "
           "uma nota vazia."));
    const QCommandLineOption show(QStringLiteral("show"), tr("Mostra todas as notas."));
    const QCommandLineOption hide(QStringLiteral("hide"),
                                  tr("Esconde todas as notas do Tacknote aberto."));
    const QCommandLineOption toggle(
        QStringLiteral("toggle"),
        tr("Esconde todas as notas quando alguma está visível; senão, mostra todas."));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  tr("Salva as notas e fecha o Tacknote aberto."));
    parser.addOptions({help, version, newNote, show, hide, toggle, quit});
    const QString textName = tr("TEXTO");
    parser.addPositionalArgument(textName, tr("O texto da nova nota (com --new-note)."),
                                 QLatin1Char('[') + textName + QLatin1Char(']'));

    Request request;
    const auto usageError = [&](const QString& error) {
        print(stderr, error + QStringLiteral("\n\n") + parser.helpText());
        request.exitCode = 2;
        return request;
    };
    if (!parser.parse(withoutQtOptions(arguments)))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        request.exitCode = 0;
        return request;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("Tacknote %1\n").arg(QStringLiteral(TACKNOTE_VERSION)));
        request.exitCode = 0;
        return request;
    }

    const QList<const QCommandLineOption*> actions{&newNote, &show, &hide, &toggle, &quit};
    const qsizetype chosen = std::count_if(
        actions.begin(), actions.end(), [&](const auto* option) { return parser.isSet(*option); });
    if (chosen > 1)
        return usageError(tr("Escolha só uma das opções --new-note, --show, --hide, --toggle e "
                             "--quit."));
    const QStringList texts = parser.positionalArguments();
    if (!texts.isEmpty() && !parser.isSet(newNote))
        return usageError(tr("Argumento inesperado: %1").arg(texts.first()));

    if (parser.isSet(newNote)) {
        QString text = texts.join(QLatin1Char(' '));
        if (texts == QStringList{QStringLiteral("-")}) {
            // More than this is more than a note holds: the cut below tells it.
            text = QString::fromUtf8(input.read(MaxInput));
            // The line break that ends what a command prints is no part of the note.
            while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
                text.chop(1);
        }
        text = NoteText::withPlainLineBreaks(text);
        const QString fitted = NoteText::fitted(text);
        if (fitted.size() < text.size())
            print(stderr, tr("Aviso: o texto foi cortado, pois não cabe numa nota.") +
                              QLatin1Char(' ') + NoteEdit::fullHint() + QLatin1Char('\n'));
        request.message =
            fitted.isEmpty() ? TacknoteMsg::NewNote : TacknoteMsg::newNoteWith(fitted);
        request.afterStart = request.message;
    } else if (parser.isSet(show)) {
        request.message = TacknoteMsg::Show;
        request.afterStart = TacknoteMsg::Show;
    } else if (parser.isSet(hide)) {
        request.message = TacknoteMsg::Hide;
        request.startsProgram = false;
    } else if (parser.isSet(toggle)) {
        request.message = TacknoteMsg::Toggle;
        request.startsProgram = false;
    } else if (parser.isSet(quit)) {
        request.message = TacknoteMsg::Quit;
        request.startsProgram = false;
    } else {
        request.message = TacknoteMsg::Activate;
    }
    return request;
}

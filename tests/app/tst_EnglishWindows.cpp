// Every window of the program speaks English under English: the program starts in
// Portuguese, switches to English, and each window is opened as the user opens it; none
// shows a Portuguese word, nor does any message shown meanwhile. The same windows before
// the switch show Portuguese, so the check finds it where there is some.

#include "gui/alarm/TfrmMostraAlarmes.h"
#include "gui/contacts/TfrmAddContato.h"
#include "gui/contacts/TfrmAddressBook.h"
#include "gui/dialogs/TfrmConfNota.h"
#include "gui/dialogs/TfrmConfSom.h"
#include "gui/dialogs/TfrmInsereBloq.h"
#include "gui/dialogs/TtabSons.h"
#include "gui/dialogs/TtbsRede.h"
#include "gui/program/NoteCommands.h"
#include "gui/program/TfrmAjuda.h"
#include "tests/support/ModalWindows.h"

#include "../support/ProgramHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

using Language = HiddenMainWindow::Language;

// Words of the program's Portuguese texts that English does not use; any letter with a
// Portuguese accent counts too.
bool isPortuguese(const QString& text) {
    static const QRegularExpression accented(QStringLiteral("[ãõçáéíóúâêôàÃÕÇÁÉÍÓÚÂÊÔÀ]"));
    static const QStringList words = {
        "de",         "da",        "das",      "dos",      "para",     "com",       "uma",
        "em",         "ao",        "nota",     "notas",    "hoje",     "tarefas",   "fechar",
        "cancelar",   "salvar",    "sair",     "ajuda",    "mostrar",  "enviar",    "apagar",
        "excluir",    "sobre",     "sistema",  "alarme",   "som",      "sons",      "rede",
        "geral",      "semana",    "dia",      "dias",     "minuto",   "hora",      "novo",
        "nova",       "editar",    "contato",  "contatos", "senha",    "porta",     "servidor",
        "cada",       "exibir",    "fonte",    "cor",      "fundo",    "testar",    "abrir",
        "arquivo",    "arquivos",  "agora",    "todos",    "todas",    "caderneta", "pasta",
        "nome",       "selecione", "aviso",    "erro",     "clique",   "criar",     "texto",
        "nenhuma",    "evento",    "caminho",  "segunda",  "quarta",   "quinta",    "sexta",
        "domingo",    "relembrar", "habilita", "toca",     "bloquear", "bloqueia",  "remetente",
        "visualizar", "idioma",    "assunto",  "programa", "usuario",  "inserir",   "padrao"};
    if (accented.match(text).hasMatch())
        return true;
    const QStringList found =
        QString(text)
            .remove(QLatin1Char('&'))
            .toLower()
            .split(QRegularExpression(QStringLiteral("[^a-z]+")), Qt::SkipEmptyParts);
    return std::any_of(found.cbegin(), found.cend(),
                       [](const QString& word) { return words.contains(word); });
}

// The texts a window shows: its title, labels, buttons, groups, tabs, lists, headers,
// menus and hints, hidden parts included; not what the user typed.
QStringList textsOf(QWidget* window) {
    QStringList texts;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        if (widget->isWindow())
            texts << widget->windowTitle();
        texts << widget->toolTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            texts << group->title();
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            texts << line->placeholderText();
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i)
                texts << list->item(i)->text();
        }
        if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
        }
        for (QAction* action : widget->actions())
            texts << action->text() << action->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class tst_EnglishWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noPortugueseUnderEnglish_data();
    void noPortugueseUnderEnglish();
};

void tst_EnglishWindows::noPortugueseUnderEnglish_data() {
    QTest::addColumn<QString>("window");
    for (const char* window : {"tray menu", "note", "note configuration", "preferences", "sound",
                               "blocked sender", "title", "about", "today's tasks", "no tasks",
                               "help", "address book", "contact", "e-mail", "send to computer"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void tst_EnglishWindows::noPortugueseUnderEnglish() {
    QFETCH(QString, window);
    ProgramHarness p;
    // A note with an alarm due today, but where the window's point is that none is.
    const QByteArray alarm = window == QLatin1String("no tasks")
                                 ? QByteArray()
                                 : QByteArray("alarm=1\r\nAlarmDateTime=25/12/2002 23:59:30\r\n");
    p.writeNotesFile("[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=Dentist\r\n"
                     "note=Call at noon\r\n" +
                     alarm);
    p.start();
    TfPostIt* note = p.note(0);
    QVERIFY(note);
    NoteCommands& commands = p.main->commands();

    // The texts of the window, opened as the user opens it.
    const auto texts = [&]() -> QStringList {
        QStringList shown;
        const auto take = [&](QWidget* widget) { shown << textsOf(widget); };
        if (window == QLatin1String("tray menu")) {
            p.main->trayMenu().popPrincipalPopup();
            take(p.main->trayMenu().popPrincipal);
        } else if (window == QLatin1String("note")) {
            take(note);
        } else if (window == QLatin1String("note configuration")) {
            whenModal([&] { commands.configureNote(*note, 1, 3); }, take);
        } else if (window == QLatin1String("preferences")) {
            whenModal([&] { commands.openPreferences(); }, take);
        } else if (window == QLatin1String("sound")) {
            whenModal([&] { commands.openPreferences(); },
                      [&](QWidget* modal) {
                          take(qobject_cast<TfrmConfNota*>(modal)->tabSons->frmConfSom());
                      });
        } else if (window == QLatin1String("blocked sender")) {
            whenModal([&] { commands.openPreferences(); },
                      [&](QWidget* modal) {
                          take(qobject_cast<TfrmConfNota*>(modal)->tbsRede->frmInsereBloq());
                      });
        } else if (window == QLatin1String("title")) {
            QString caption = note->caption();
            whenModal([&] { commands.editCaption(caption); }, take);
        } else if (window == QLatin1String("about")) {
            whenModal([&] { p.main->trayMenu().mnuSobre->trigger(); }, take);
        } else if (window == QLatin1String("today's tasks")) {
            p.main->ShowTodaysTasks();
            take(&p.main->frmMostraAlarmes());
        } else if (window == QLatin1String("no tasks")) {
            p.main->ShowTodaysTasks();
        } else if (window == QLatin1String("help")) {
            p.main->trayMenu().Ajuda1->trigger();
            take(commands.frmAjuda());
        } else if (window == QLatin1String("address book")) {
            whenModal([&] { commands.browseAddressBook(); }, take);
        } else if (window == QLatin1String("contact")) {
            take(commands.frmAddressBook()->frmAddContato);
        } else if (window == QLatin1String("e-mail")) {
            whenModal([&] { commands.mailNote(QStringLiteral("Tacknote"), note->note()); }, take);
        } else if (window == QLatin1String("send to computer")) {
            whenModal([&] { commands.sendNote(*note, false); }, take);
        }
        for (const ScriptedMessageBoxes::Shown& box : std::as_const(p.boxes.shown))
            shown << box.title << box.text;
        p.boxes.shown.clear();
        return shown;
    };
    const auto portuguese = [](const QStringList& shown) {
        QStringList found;
        std::copy_if(shown.cbegin(), shown.cend(), std::back_inserter(found), isPortuguese);
        return found;
    };

    QVERIFY2(!portuguese(texts()).isEmpty(), "no Portuguese found in the Portuguese window");
    p.main->SwitchLanguage(Language::English);
    QCOMPARE(p.main->markedLanguage(), Language::English);
    // A language switch with notes reloads them.
    QTRY_VERIFY(p.main->keeper().notesLoaded() && p.note(0));
    note = p.note(0);
    const QStringList shown = texts();
    QVERIFY(!shown.isEmpty());
    const QStringList found = portuguese(shown);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(" | "))));
}

QTEST_MAIN(tst_EnglishWindows)
#include "tst_EnglishWindows.moc"

#include "core/alarm/TodaysTasks.h"
#include "gui/alarm/TfrmMostraAlarmes.h"
#include "platform/system/QtLocaleInfo.h"

#include "../support/ScriptedMessageBoxes.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <map>
#include <memory>

using TodaysTasks::Entry;

Q_DECLARE_METATYPE(Entry)

namespace {

const QDate Today(2024, 1, 5);

Entry entry(int number, bool armed, const QDateTime& when, const QString& caption) {
    return Entry{number, armed, when, caption};
}

QDateTime today(int hour, int minute, int second = 0) {
    return QDateTime(Today, QTime(hour, minute, second));
}

const QString NoteGone =
    QStringLiteral("Não foi possível abrir a nota! Provavelmente ela já foi excluída.");

} // namespace

class tst_TodaysTasks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lines_data();
    void lines();
    void viewButtonFollowsTheList();
    void bringsUpTheSelectedNote_data();
    void bringsUpTheSelectedNote();
    void linesFollowTheirNotes();
    void nothingDueToday();
    void closingHidesForReuse();

private:
    struct Window {
        ScriptedMessageBoxes messages;
        TfrmMostraAlarmes form{messages};
        QList<int> asked;
        // Stand-ins for note windows, named by their number; the registry still holds
        // 3 and 7.
        std::map<int, std::unique_ptr<QObject>> notes;
        QList<int> existing{3, 7};

        Window() {
            form.showNote = [this](QObject* note) {
                const int number = note->objectName().toInt();
                asked.append(number);
                return existing.contains(number);
            };
        }
        QObject* note(int number) {
            std::unique_ptr<QObject>& object = notes[number];
            if (!object) {
                object = std::make_unique<QObject>();
                object->setObjectName(QString::number(number));
            }
            return object.get();
        }
        // Each line names the note of the number it starts with.
        bool show(const QStringList& lines) {
            QList<TfrmMostraAlarmes::Task> tasks;
            for (const QString& line : lines)
                tasks.append({line, note(line.left(3).toInt())});
            return form.showTasks(tasks);
        }
        QListWidget* list() { return form.findChild<QListWidget*>(QStringLiteral("lstTem")); }
        QPushButton* view() {
            return form.findChild<QPushButton*>(QStringLiteral("cmdVisualizar"));
        }
        QPushButton* close() { return form.findChild<QPushButton*>(QStringLiteral("cmdFechar")); }
        void clickLine(int row, bool twice = false) {
            QListWidget* lst = list();
            const QPoint centre = lst->visualItemRect(lst->item(row)).center();
            // A double click is the second press of two.
            QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, centre);
            if (twice)
                QTest::mouseDClick(lst->viewport(), Qt::LeftButton, {}, centre);
        }
    };
};

void tst_TodaysTasks::lines_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("the dentist") << "pt_BR"
                                 << QList<Entry>{entry(7, true, today(14, 30), "Dentista")}
                                 << QStringList{"007 - 14:30:00 - Dentista"};
    QTest::newRow("US long time") << "en_US"
                                  << QList<Entry>{entry(7, true, today(14, 30), "Dentista")}
                                  << QStringList{"007 - 2:30:00 PM - Dentista"};
    QTest::newRow("first and last moment of today, first and last slot")
        << "pt_BR"
        << QList<Entry>{entry(0, true, today(0, 0), "cedo"),
                        entry(100, true, today(23, 59, 30), "tarde")}
        << QStringList{"000 - 00:00:00 - cedo", "100 - 23:59:30 - tarde"};
    QTest::newRow("not armed, yesterday, tomorrow, no date are left out")
        << "pt_BR"
        << QList<Entry>{entry(1, false, today(10, 0), "desligado"),
                        entry(2, true, QDateTime(Today.addDays(-1), QTime(23, 59, 59)), "ontem"),
                        entry(3, true, QDateTime(Today.addDays(1), QTime(0, 0)), "amanhã"),
                        entry(4, true, QDateTime(), "sem data"),
                        entry(5, true, today(8, 0), "hoje")}
        << QStringList{"005 - 08:00:00 - hoje"};
    QTest::newRow("slot order, not time order")
        << "pt_BR"
        << QList<Entry>{entry(12, true, today(8, 0), "b"), entry(3, true, today(9, 0), "a"),
                        entry(40, true, today(7, 0), "c")}
        << QStringList{"003 - 09:00:00 - a", "012 - 08:00:00 - b", "040 - 07:00:00 - c"};
    QTest::newRow("captions as they stand")
        << "pt_BR"
        << QList<Entry>{entry(9, true, today(12, 0), "<b>Reunião</b> & café"),
                        entry(10, true, today(12, 0), QString())}
        << QStringList{"009 - 12:00:00 - <b>Reunião</b> & café", "010 - 12:00:00 - "};
    QTest::newRow("numbers that three digits cannot carry")
        << "pt_BR"
        << QList<Entry>{entry(-1, true, today(12, 0), "x"), entry(1000, true, today(12, 0), "y")}
        << QStringList{};
    QTest::newRow("nothing at all") << "pt_BR" << QList<Entry>{} << QStringList{};
}

void tst_TodaysTasks::lines() {
    QFETCH(QString, locale);
    QFETCH(QList<Entry>, entries);
    QFETCH(QStringList, expected);
    const QtLocaleInfo info{QLocale(locale)};
    QStringList result;
    for (const Entry& due : TodaysTasks::due(entries, Today))
        result.append(TodaysTasks::line(due, info));
    QCOMPARE(result, expected);
}

void tst_TodaysTasks::viewButtonFollowsTheList() {
    Window w;
    QVERIFY(w.show({"003 - 08:00:00 - a", "007 - 09:00:00 - b"}));
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QCOMPARE(w.form.windowTitle(), QStringLiteral("Tarefas para Hoje"));
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.form.lines(), QStringList({"003 - 08:00:00 - a", "007 - 09:00:00 - b"}));
    QVERIFY(!w.view()->isEnabled());
    // Taking the focus makes a line current but selects none.
    w.list()->setFocus();
    QVERIFY(!w.view()->isEnabled());
    w.view()->click();
    QVERIFY(w.asked.isEmpty());

    w.clickLine(1);
    QVERIFY(w.view()->isEnabled());

    // Shown anew, the button starts disabled again.
    w.form.hide();
    QVERIFY(w.show({"003 - 08:00:00 - a"}));
    QVERIFY(!w.view()->isEnabled());
    QCOMPARE(w.form.lines(), QStringList{"003 - 08:00:00 - a"});

    // A click into an empty list enables nothing.
    w.form.setTasks({});
    w.form.lstTemClick();
    QVERIFY(!w.view()->isEnabled());
    QVERIFY(w.messages.shown.isEmpty());
}

void tst_TodaysTasks::bringsUpTheSelectedNote_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("gone");
    QTest::newRow("button, note there") << 1 << false << 7 << false;
    QTest::newRow("double click, note there") << 0 << true << 3 << false;
    QTest::newRow("button, note deleted") << 2 << false << 42 << true;
    QTest::newRow("double click, note deleted") << 2 << true << 42 << true;
}

void tst_TodaysTasks::bringsUpTheSelectedNote() {
    QFETCH(int, row);
    QFETCH(bool, doubleClick);
    QFETCH(int, number);
    QFETCH(bool, gone);
    Window w;
    w.show({"003 - 08:00:00 - a", "007 - 09:00:00 - b", "042 - 10:00:00 - c"});
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    if (doubleClick) {
        w.clickLine(row, true);
    } else {
        w.clickLine(row);
        QTest::mouseClick(w.view(), Qt::LeftButton);
    }
    QCOMPARE(w.asked, QList<int>{number});
    if (gone) {
        QCOMPARE(w.messages.shown.size(), 1);
        QCOMPARE(w.messages.shown[0].icon, MessageBoxes::Icon::Error);
        QCOMPARE(w.messages.shown[0].title, QStringLiteral("Aviso"));
        QCOMPARE(w.messages.shown[0].text, NoteGone);
    } else {
        QVERIFY(w.messages.shown.isEmpty());
    }
    // The list stays as it was.
    QCOMPARE(w.form.lines().size(), 3);
    QVERIFY(w.form.isVisible());
}

void tst_TodaysTasks::linesFollowTheirNotes() {
    Window w;
    w.show({"003 - 08:00:00 - a", "007 - 09:00:00 - b"});
    // The notes are renumbered: the line "007" still names the same note.
    w.note(7)->setObjectName(QStringLiteral("1"));
    w.existing = {0, 1};
    w.clickLine(1);
    w.view()->click();
    QCOMPARE(w.asked, QList<int>{1});
    QVERIFY(w.messages.shown.isEmpty());

    // A note destroyed meanwhile is reported without asking the registry.
    w.notes[3].reset();
    w.clickLine(0);
    w.view()->click();
    QCOMPARE(w.asked, QList<int>{1});
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].text, NoteGone);
}

void tst_TodaysTasks::nothingDueToday() {
    Window w;
    // Open with yesterday's list.
    QVERIFY(w.show({"003 - 08:00:00 - a"}));
    w.clickLine(0);
    QVERIFY(!w.show({}));
    QCOMPARE(w.form.lines(), QStringList{});
    QVERIFY(!w.view()->isEnabled());
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].icon, MessageBoxes::Icon::Information);
    QCOMPARE(w.messages.shown[0].title, QStringLiteral("Aviso"));
    QCOMPARE(w.messages.shown[0].text, QStringLiteral("Você não tem tarefas agendadas para hoje!"));
}

void tst_TodaysTasks::closingHidesForReuse() {
    Window w;
    QPointer<TfrmMostraAlarmes> form(&w.form);
    w.show({"003 - 08:00:00 - a"});
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QTest::mouseClick(w.close(), Qt::LeftButton);
    QVERIFY(!w.form.isVisible());
    w.show({"007 - 09:00:00 - b"});
    QVERIFY(w.form.isVisible());
    QVERIFY(w.form.close());
    QVERIFY(form);
    QVERIFY(!w.form.isVisible());
    // Without a registry to ask, no note can be brought up.
    w.form.showNote = nullptr;
    w.form.show();
    w.clickLine(0);
    w.view()->click();
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].text, NoteGone);
}

QTEST_MAIN(tst_TodaysTasks)
#include "tst_TodaysTasks.moc"

#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class MessageBoxes;
class QListWidget;
class QPushButton;

// "Tarefas para Hoje": the small non-modal tool window that lists the alarms due
// today, one line per note ("007 - 14:30:00 - Dentista"), and brings up the note of
// the selected line. Created once and reused: closing only hides it. Each line holds
// its note itself, not the number it shows, so it brings up that note even after the
// registry has renumbered the notes.
class TfrmMostraAlarmes : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMostraAlarmes(MessageBoxes& messages, QWidget* parent = nullptr);

    // One line of the list and the note window it names.
    struct Task {
        QString line;
        QPointer<QObject> note;
    };

    // Brings the note to the front and shows it; false when it is no longer one of the
    // program's notes. Set by the owner of the note registry.
    std::function<bool(QObject* note)> showNote;

    // Shows the tasks, or when there are none empties the list and tells the user that
    // nothing is due today. True when the window was shown.
    bool showTasks(const QList<Task>& tasks);

    // Replaces the lines of lstTem.
    void setTasks(const QList<Task>& tasks);
    QStringList lines() const;

    // Sets every text of the window in the interface language.
    void retranslate();

    // Handlers of the window and its components.
    void FormShow();
    void lstTemClick();
    void cmdVisualizarClick();
    void cmdFecharClick();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void centreOnScreen();

    MessageBoxes& m_messages;
    QListWidget* lstTem = nullptr;
    QPushButton* cmdVisualizar = nullptr;
    QPushButton* cmdFechar = nullptr;
    // The note of each line of lstTem.
    QList<QPointer<QObject>> m_notes;
};

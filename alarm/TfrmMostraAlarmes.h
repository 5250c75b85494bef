#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class MessageBoxes;
class QListWidget;
class QPushButton;

// "Tarefas para Hoje": the small non-modal tool window that lists the alarms due
// today, one line per note ("007 - 14:30:00 - Dentista"), and brings up the note of
// the selected line. Created once and reused: closing only hides it.
class TfrmMostraAlarmes : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMostraAlarmes(MessageBoxes& messages, QWidget* parent = nullptr);

    // Brings the note with this number to the front and shows it; false when no note
    // holds that slot any more. Set by the owner of the note registry.
    std::function<bool(int noteNumber)> showNote;

    // Shows the lines, or when there are none tells the user that nothing is due
    // today. True when the window was shown.
    bool showTasks(const QStringList& lines);

    // Replaces the lines of lstTem.
    void setLines(const QStringList& lines);
    QStringList lines() const;

    // Handlers of the window and its components.
    void FormShow();
    void lstTemClick();
    void cmdVisualizarClick();
    void cmdFecharClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void centreOnScreen();

    MessageBoxes& m_messages;
    QListWidget* lstTem = nullptr;
    QPushButton* cmdVisualizar = nullptr;
    QPushButton* cmdFechar = nullptr;
};

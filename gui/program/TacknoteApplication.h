#pragma once

#include <QApplication>

class MessageBoxes;

// The application object. Errors thrown by the program's own event handlers cannot
// travel through Qt's event loop; they end here and are shown as an error message box
// with their text, and the program goes on.
class TacknoteApplication final : public QApplication {
    Q_OBJECT
public:
    TacknoteApplication(int& argc, char** argv);

    void setMessageBoxes(MessageBoxes* boxes) { m_boxes = boxes; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    MessageBoxes* m_boxes = nullptr;
};

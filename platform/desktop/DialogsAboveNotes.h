#pragma once

#include <QObject>

class QWidget;

// Every dialog and message box of the program comes up above every note, stay-on-top
// notes included, centred on the screen and with the keyboard focus, so a question is
// never hidden behind a note while the program waits for its answer. Installed once on
// the application, it catches each dialog as it is shown: the program's own dialogs,
// message boxes and the common dialogs alike.
class DialogsAboveNotes final : public QObject {
    Q_OBJECT
public:
    explicit DialogsAboveNotes(QObject* parent = nullptr);

    // Installs an instance owned by the application.
    static void install();
    // A window the rule applies to: a top-level dialog.
    static bool isDialog(const QWidget& widget);
    // Puts window into the stay-on-top band of the window system before it is mapped.
    static void keepAbove(QWidget& window);
    // Centres window on its screen and gives it the keyboard focus.
    static void present(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

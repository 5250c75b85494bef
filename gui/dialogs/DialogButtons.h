#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

// The OK and cancel buttons of a dialog, named cmdOK and cmdCancelar, OK the default
// button; the row that holds them at the right. The dialog connects and re-texts them.
struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QBoxLayout* row;

    static DialogButtons create(QDialog* dialog);
};

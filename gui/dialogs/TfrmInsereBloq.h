#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// "Inserir Remetente Bloqueado": asks for one entry of the block list. Each showing
// starts with an empty field; the text is offered exactly as typed.
class TfrmInsereBloq : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInsereBloq(QWidget* parent = nullptr);

    // Shows the dialog modally; the typed text on OK (empty text included), nothing on
    // cancel.
    std::optional<QString> ask();

    // FormShow: empties the field.
    void FormShow();

    QLabel* Label1 = nullptr;
    QLineEdit* txtBloq = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancelar = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
};

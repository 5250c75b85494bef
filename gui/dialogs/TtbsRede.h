#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class MessageBoxes;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class TfrmInsereBloq;
struct NetworkSettings;

// Page "Rede" of the preferences: the network functions switch, the SMTP account, the
// sender block list and the port of the note listener. The list box works on a copy of
// the block list, shown from the moment the mode "Bloquear notas vindas de:" is chosen;
// only OK in that mode stores it.
class TtbsRede : public QWidget {
    Q_OBJECT
public:
    TtbsRede(MessageBoxes& messages, QWidget* parent = nullptr);

    // The priming before showing.
    void prime(const NetworkSettings& recRede);
    // 0, 1 or 2 after the chosen radio button.
    int blocktype() const;
    QStringList blockEntries() const;
    // Writes the page into the settings in the order OK takes them; the listener is left
    // to the caller. True when the selective mode was confirmed with an empty list, of
    // which the caller tells the user.
    bool applyTo(NetworkSettings& recRede) const;
    // The notice for an empty selective block list.
    static QString emptyBlockListNotice();

    // Control rules.
    void chkHabilitaRedeClick();
    void AuthComboBoxChange();
    // Any of the three block radio buttons: the list is usable in the selective mode.
    void radBloqueioClick();
    // Asks for an entry and appends it as typed.
    void cmdAdicionaBloqueioClick();
    // Removes the selected entry after the question.
    void cmdApagaBloqueioClick();

    // The insert dialog, created on first use and kept for this page's lifetime.
    TfrmInsereBloq* frmInsereBloq();

    QCheckBox* chkHabilitaRede = nullptr;
    QGroupBox* grpSMTP = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtSMTPServer = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtPortaSMTP = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* txtSeuEmail = nullptr;
    QLabel* Label11 = nullptr;
    QComboBox* AuthComboBox = nullptr;
    QLabel* lblSeguranca = nullptr;
    QComboBox* SecurityComboBox = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* UsernameEdit = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QGroupBox* grpRedeLocal = nullptr;
    QRadioButton* radNaoBloqueia = nullptr;
    QRadioButton* radBloqueiaTudo = nullptr;
    QRadioButton* radBloqueiaSel = nullptr;
    QListWidget* lstBloqueio = nullptr;
    QPushButton* cmdAdicionaBloqueio = nullptr;
    QPushButton* cmdApagaBloqueio = nullptr;
    QLabel* Label13 = nullptr;
    QLineEdit* txtPortaTCP = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    MessageBoxes& m_messages;
    TfrmInsereBloq* m_frmInsereBloq = nullptr;
    // The stored block list, until the list box shows it.
    std::optional<QStringList> m_storedBlockList;
};

#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class CommonDialogs;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SessionAutostart;
class UpDown;
struct GeneralSettings;

// Page "Geral" of the preferences: the user's name, the data folder, the delete
// question, automatic saving, today's tasks at start, the backup on closing and the
// start with the desktop session.
class TtabGeral : public QWidget {
    Q_OBJECT
public:
    // The automatic save interval the check on OK accepts, in minutes.
    static constexpr int MinAutoSave = 5;
    static constexpr int MaxAutoSave = 60;

    // Without autostart the page has no check box for the start with the session.
    explicit TtabGeral(CommonDialogs& dialogs, SessionAutostart* autostart = nullptr,
                       QWidget* parent = nullptr);

    // The priming before showing: the user's name and automatic saving.
    void primePersonal(const GeneralSettings& recGeral);
    // The priming when shown: the data folder, the general options and whether the
    // program starts with the session now.
    void primeGeneral(const GeneralSettings& recGeral, const QString& dataDir);

    // The whole number in txtAutoSave, whatever its size.
    std::optional<int> autoSaveMinutes() const;
    // The check on OK: a whole number, within 5..60 while automatic saving is on.
    bool autoSaveAccepted() const;
    // With the backup on exit chosen, a folder for it is named.
    bool backupFolderAccepted() const;

    // User, AutoSave and TimeAutoSave (after a successful check).
    void applyPersonal(GeneralSettings& recGeral) const;
    // AskDelete, NoteDaily, BackupOnExit and BackupPath.
    void applyGeneral(GeneralSettings& recGeral) const;
    // The start with the session as chkIniciaSessao says, changed only when it differs;
    // throws TacknoteError when the system refuses.
    void applySessionStart() const;

    // Control rules.
    void chkLocalBackupClick();
    // The folder dialog; the chosen folder ends with the path separator.
    void cmdLocalBackupClick();

    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtIDUsuario = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblDirDados = nullptr;
    QCheckBox* chkPerguntaExclui = nullptr;
    QCheckBox* chkAutoSave = nullptr;
    QLineEdit* txtAutoSave = nullptr;
    UpDown* updTempo = nullptr;
    QLabel* Label10 = nullptr;
    QCheckBox* chkCriaNotaAlarme = nullptr;
    QCheckBox* chkLocalBackup = nullptr;
    QLineEdit* txtLocalBackup = nullptr;
    QPushButton* cmdLocalBackup = nullptr;
    QCheckBox* chkIniciaSessao = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    CommonDialogs& m_dialogs;
    SessionAutostart* m_autostart;
};

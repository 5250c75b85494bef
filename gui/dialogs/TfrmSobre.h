#pragma once

#include "core/program/VersionInfo.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QMouseEvent;
class QPushButton;

// The about box "Sobre o Sistema": the program's picture, its version and the product's
// web address. Created once and shown modally from the tray menu; each showing builds
// the version text again. A click on the background or on the version, and "&OK",
// close it; a click on the address opens the product's page through openLink.
class TfrmSobre : public QDialog {
    Q_OBJECT
public:
    // The version text is built from versionInfo, the program's own by default.
    explicit TfrmSobre(VersionInfo versionInfo = VersionInfo::ofProgram(),
                       QWidget* parent = nullptr);

    // Opens the product's page; set by the owner of the help window.
    std::function<void(const QUrl& address)> openLink;

    // FormShow: lblVersao shows the version text; without any version information it
    // keeps the text it has.
    void FormShow();
    // Opens the product's page: the copy shipped beside the program when one was given,
    // else the web address.
    void Label1Click();
    // The product's page shipped with the program, in the interface language.
    void setProductPage(const QString& file) { m_productPage = file; }

    QLabel* Image1 = nullptr;
    QLabel* lblVerTit = nullptr;
    QLabel* lblVersao = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdOK = nullptr;

    // Sets every text of the box in the interface language.
    void retranslate();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Which clickable part of the box is at a point of it; nullptr for the background.
    QWidget* clickTarget(const QPoint& position) const;
    // Centred on the screen the pointer is on.
    void centreOnScreen();

    QString m_productPage;
    const VersionInfo m_versionInfo;
    // Where the left button went down: a click is a press and a release on the same part.
    QWidget* m_pressed = nullptr;
};

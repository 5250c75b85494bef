#pragma once

#include "core/settings/GeneralSettings.h"
#include "core/settings/NetworkSettings.h"
#include "gui/mail/TfrmEnviarEmail.h"
#include "tests/mail/FixedUtcOffset.h"
#include "tests/mail/ScriptedPicker.h"
#include "tests/support/FakeClock.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

// The composer on test doubles, made once per test as the program makes it once per run.
struct Composer {
    static inline const QString Sent = QStringLiteral("O e-mail foi enviado com sucesso!");
    static inline const QString NotSent =
        QStringLiteral("O e-mail não foi enviado! Verifique as configurações de rede.");

    Composer() {
        geral.User = QStringLiteral("Maria Souza");
        rede.SMTPServer = QStringLiteral("localhost");
        rede.Email = QStringLiteral("me@example.org");
        rede.Username = QStringLiteral("user");
        rede.Password = QStringLiteral("s3cr3t");
        QObject::connect(dialog.stsEMail, &QStatusBar::messageChanged, dialog.stsEMail,
                         [this](const QString& text) {
                             if (!text.isEmpty())
                                 statuses << text;
                         });
    }

    // Opens the composer for a note, types the recipients and presses "&Enviar"; returns
    // the dialog's result once it has closed.
    int send(const QString& to, const QString& subject, const QString& text) {
        boxes.shown.clear();
        boxes.asked.clear();
        statuses.clear();
        QTimer::singleShot(0, &dialog, [this, to] {
            dialog.txtPara->setText(to);
            dialog.cmdEnviar->click();
        });
        return dialog.sendNote(subject, text);
    }
    int send(const QString& to = QStringLiteral("ann@example.org")) {
        return send(to, QStringLiteral("Tacknote - Nota"), QStringLiteral("Texto da nota"));
    }
    bool lastSent() const {
        return boxes.shown.size() == 1 && boxes.shown.first().text == Sent &&
               boxes.shown.first().title == QStringLiteral("Aviso") &&
               boxes.shown.first().icon == MessageBoxes::Icon::Information;
    }
    bool lastFailed() const {
        return boxes.shown.size() == 1 && boxes.shown.first().text == NotSent &&
               boxes.shown.first().title == QStringLiteral("Erro") &&
               boxes.shown.first().icon == MessageBoxes::Icon::Error;
    }
    QString status() const { return dialog.stsEMail->currentMessage(); }
    // The buttons as they are between two sendings.
    bool readyForNextSending() const {
        return dialog.cmdEnviar->isEnabled() && dialog.cmdFechar->isEnabled() &&
               !dialog.cmdCancelar->isEnabled();
    }
    QString shown() const {
        QStringList texts;
        for (const ScriptedMessageBoxes::Shown& box : boxes.shown)
            texts << box.title + QLatin1String(": ") + box.text;
        return texts.join(QLatin1String(" | ")) + QLatin1String(" / ") + status();
    }

    GeneralSettings geral;
    NetworkSettings rede;
    ScriptedPicker picker;
    ScriptedMessageBoxes boxes;
    FakeClock clock{QDateTime(QDate(2002, 12, 25), QTime(14, 30, 5))};
    FixedUtcOffset offset{-180};
    TfrmEnviarEmail dialog{geral, rede, picker, boxes, clock, offset};
    QStringList statuses;
};

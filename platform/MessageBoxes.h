#pragma once

#include <QCoreApplication>
#include <QString>

// Every message box the program shows goes through here, so tests can answer them.
class MessageBoxes {
public:
    enum class Icon { Information, Warning, Error, Question };

    virtual ~MessageBoxes() = default;

    virtual void show(Icon icon, const QString& title, const QString& text) = 0;
    // A Yes/No question with No as the default button; true only for Yes.
    virtual bool askYesNo(const QString& title, const QString& text) = 0;

    static QString titleNotice() { return QCoreApplication::translate("MessageBoxes", "Aviso"); }
    static QString titleError() { return QCoreApplication::translate("MessageBoxes", "Erro"); }
    static QString titleAttention() {
        return QCoreApplication::translate("MessageBoxes", "Atenção");
    }

    void information(const QString& text) { show(Icon::Information, titleNotice(), text); }
    void error(const QString& text) { show(Icon::Error, titleError(), text); }
    bool confirm(const QString& text) { return askYesNo(titleNotice(), text); }
};

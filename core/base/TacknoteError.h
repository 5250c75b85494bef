#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <exception>

// A failure whose text is meant for the user ("Não foi possível gravar em ...").
class TacknoteError : public std::exception {
public:
    explicit TacknoteError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The file at path could not be written; reason (in the interface language) says
    // why, when it is known.
    static TacknoteError unableToWrite(const QString& path, const QString& reason = QString()) {
        if (reason.isEmpty())
            return TacknoteError(
                QCoreApplication::translate("TacknoteError", "Não foi possível gravar em %1")
                    .arg(path));
        return TacknoteError(
            QCoreApplication::translate("TacknoteError", "Não foi possível gravar em %1: %2")
                .arg(path, reason));
    }

private:
    QString m_message;
    QByteArray m_utf8;
};

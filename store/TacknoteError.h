#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A failure whose text is meant for the user ("Unable to write to ...").
class TacknoteError : public std::exception {
public:
    explicit TacknoteError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static TacknoteError unableToWrite(const QString& path) {
        return TacknoteError(QStringLiteral("Unable to write to %1").arg(path));
    }

private:
    QString m_message;
    QByteArray m_utf8;
};

#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// A received command that cannot be carried out: a missing field, a number or a date
// that does not read. The receiver logs it and drops the connection.
class ProtocolError : public std::exception {
public:
    explicit ProtocolError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static ProtocolError missingField(qsizetype index) {
        return ProtocolError(QStringLiteral("Field %1 is missing").arg(index));
    }
    static ProtocolError notAnInteger(const QString& text) {
        return ProtocolError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static ProtocolError notADateTime(const QString& text) {
        return ProtocolError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    }

private:
    QString m_message;
    QByteArray m_utf8;
};

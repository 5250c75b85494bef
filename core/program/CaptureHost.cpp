#include "core/program/CaptureHost.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QtEndian>

#include <cstring>

namespace {

// Reads exactly size bytes; fewer only when the input ends.
QByteArray readExactly(QIODevice& input, qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = input.read(bytes.data() + got, size - got);
        if (n <= 0) {
            // A pipe that has nothing yet is waited for; an ended one stops the read.
            if (n == 0 && !input.atEnd() && input.waitForReadyRead(-1))
                continue;
            break;
        }
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

QJsonObject failure(const QString& error) {
    return QJsonObject{{QStringLiteral("ok"), false}, {QStringLiteral("error"), error}};
}

QByteArray compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

CaptureHost::Read CaptureHost::readMessage(QIODevice& input, QByteArray* message, QString* error) {
    const auto refuse = [error](const QString& reason) {
        if (error)
            *error = reason;
        return Read::Refused;
    };
    const QByteArray prefix = readExactly(input, sizeof(quint32));
    if (prefix.isEmpty())
        return Read::End;
    if (prefix.size() < qsizetype(sizeof(quint32)))
        return refuse(QStringLiteral("message length cut short"));
    quint32 length = 0;
    std::memcpy(&length, prefix.constData(), sizeof length);
    if (length > MaxRequest)
        return refuse(
            QStringLiteral("message of %1 bytes, more than %2").arg(length).arg(MaxRequest));
    *message = readExactly(input, length);
    if (quint32(message->size()) < length)
        return refuse(QStringLiteral("message cut short"));
    return Read::Message;
}

QByteArray CaptureHost::frame(const QByteArray& json) {
    const quint32 length = quint32(json.size());
    QByteArray bytes(sizeof length, Qt::Uninitialized);
    std::memcpy(bytes.data(), &length, sizeof length);
    return bytes + json;
}

CaptureHost::CaptureHost(std::function<bool()> captureSignal)
    : m_captureSignal(std::move(captureSignal)) {}

QJsonObject CaptureHost::answer(const QByteArray& message) const {
    QJsonParseError parsed{};
    const QJsonDocument document = QJsonDocument::fromJson(message, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject())
        return failure(QStringLiteral("malformed message"));
    const QString command = document.object().value(QStringLiteral("command")).toString();
    if (command == QLatin1String("hello"))
        return QJsonObject{{QStringLiteral("ok"), true},
                           {QStringLiteral("program"), QStringLiteral("Tacknote")}};
    if (command == QLatin1String("capture")) {
        if (m_captureSignal())
            return QJsonObject{{QStringLiteral("ok"), true}};
        return failure(QStringLiteral("Tacknote is not running"));
    }
    return failure(QStringLiteral("unknown command"));
}

int CaptureHost::serve(QIODevice& input, QIODevice& output) const {
    for (;;) {
        QByteArray message;
        QString error;
        switch (readMessage(input, &message, &error)) {
        case Read::End:
            return 0;
        case Read::Refused:
            output.write(frame(compact(failure(error))));
            return 1;
        case Read::Message:
            output.write(frame(compact(answer(message))));
            break;
        }
    }
}

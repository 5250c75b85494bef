#include "fuzz/ScriptedClientSocket.h"

#include <cstring>

void ScriptedClientSocket::startLookup(const QString&) {
    lookupRequested = true;
}

void ScriptedClientSocket::connectTo(const QHostAddress&, const QString&, const QString&) {
    connectRequested = true;
    encrypted = false;
    closeRequested = false;
}

void ScriptedClientSocket::startEncryption(const QString&, const QList<QSslCertificate>&) {
    if (isConnected() && !encrypted)
        encryptionRequested = true;
}

void ScriptedClientSocket::send(const QByteArray& data) {
    if (!isConnected())
        return;
    sent << data;
    sentEncrypted << encrypted;
    ++unacknowledged;
}

qint64 ScriptedClientSocket::read(char* into, qint64 max) {
    const qint64 count = std::min<qint64>(max, incoming.size());
    if (count <= 0)
        return 0;
    std::memcpy(into, incoming.constData(), size_t(count));
    incoming.remove(0, count);
    return count;
}

void ScriptedClientSocket::close() {
    if (connected)
        closeRequested = true;
}

void ScriptedClientSocket::abort() {
    const bool was = connected;
    connected = false;
    closeRequested = false;
    encryptionRequested = false;
    connectRequested = false;
    incoming.clear();
    unacknowledged = 0;
    if (was)
        Q_EMIT closed(0);
}

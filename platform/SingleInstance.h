#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running copy of the program per user and data folder, and the channel through
// which later starts (and other local programs of the same user) talk to it.
//
// The running copy holds a lock file in the data folder, which the system releases when
// the copy ends, also by a crash, and listens on a local socket named after
// "TacknoteMsg", the user and the data folder, reachable by that user only. A message
// is one line of at most MaxMessage bytes; each line that arrives is one
// messageReceived().
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxMessage = 4096;

    SingleInstance(const QString& dataDir, const QString& user, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and starts listening; false when another copy holds the lock.
    bool claim();

    // The name of the local socket for this user and data folder.
    static QString serverName(const QString& dataDir, const QString& user);
    // Sends one message to the running copy, waiting at most timeoutMs for it to
    // accept; false when no running copy took it.
    static bool send(const QString& serverName, const QByteArray& message, int timeoutMs);

Q_SIGNALS:
    void messageReceived(const QByteArray& message);

private:
    void accept();
    void readFrom(QLocalSocket* socket);

    QString m_dataDir;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

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
// "TacknoteMsg", the user and the data folder, in a folder only that user can enter
// (PrivateFolder::runtimeFolder()). A message is one line of at most MaxMessage bytes;
// each line that arrives is one messageReceived(), and is answered with the line "ok"
// once it was passed on, so the sender knows it reached the program.
//
// A lock file is only believed while a copy holding it is alive: one that is empty,
// damaged, left by a copy that ended, or written on another computer is taken over when
// nobody answers on the socket and no process holds the lock.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Room for the longest note text, Base64-encoded, behind the message's name.
    static constexpr int MaxMessage = 12288;

    SingleInstance(const QString& dataDir, const QString& user, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock and starts listening. False when another copy holds the lock, or
    // when no lock could be made at all; failure() then says why.
    bool claim();
    // Why the last claim() made no lock, as a system error number (errno); 0 when it
    // failed because another running copy holds the lock.
    int failure() const { return m_failure; }
    // Stops listening: later messages find no running copy.
    void close();

    // The name of the local socket for this user and data folder; empty when the user
    // has no private folder for it.
    static QString serverName(const QString& dataDir, const QString& user);
    // Sends one message to the running copy, trying to reach it for at most timeoutMs
    // (once at least: 0 asks only whether a copy listens now) and then waiting a few
    // seconds for its answer; false when no running copy confirmed it.
    static bool send(const QString& serverName, const QByteArray& message, int timeoutMs);

Q_SIGNALS:
    void messageReceived(const QByteArray& message);

private:
    void accept();
    void readFrom(QLocalSocket* socket);
    void listen();
    bool holderAlive() const;
    QString lockFailure() const;

    QString m_dataDir;
    QString m_lockPath;
    QString m_serverName;
    int m_failure = 0;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

#pragma once

#include <QString>
#include <QStringList>

// Two network namespaces of their own joined by a veth pair, one address on each side,
// for tests that run programs as two computers on one network. The namespaces (and
// with them the veth pair) are deleted when the object goes, whatever the test's
// outcome; namespaces left behind by an earlier run of this process's kind that was
// killed are deleted when the next one starts. Needs root and iproute2.
class NetworkNamespaces {
public:
    NetworkNamespaces() = default;
    ~NetworkNamespaces();
    NetworkNamespaces(const NetworkNamespaces&) = delete;
    NetworkNamespaces& operator=(const NetworkNamespaces&) = delete;

    // Makes both namespaces with addressA/24 and addressB/24 on their ends of the pair
    // and loopback up. False, with the reason in error, when that is not possible here;
    // whatever was made by then is removed.
    bool create(const QString& addressA, const QString& addressB, QString& error);

    // The command line that runs program with arguments inside namespace a or b.
    QStringList execIn(bool inA, const QString& program, const QStringList& arguments) const;
    QString ipProgram() const { return m_ip; }
    // Runs `ip` with the arguments; its exit code, with its error output in error.
    int ip(const QStringList& arguments, QString* error = nullptr, QString* output = nullptr) const;

    QString nameA;
    QString nameB;

private:
    void removeAll();
    void removeLeftovers() const;

    QString m_ip;
    QStringList m_made;
};

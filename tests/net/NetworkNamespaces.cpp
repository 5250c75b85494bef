#include "NetworkNamespaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Every name this kind of object makes starts with this, followed by the process id.
const QString Prefix = QStringLiteral("tkni");

} // namespace

NetworkNamespaces::~NetworkNamespaces() {
    removeAll();
}

int NetworkNamespaces::ip(const QStringList& arguments, QString* error, QString* output) const {
    QProcess process;
    process.start(m_ip, arguments);
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished(1000);
        if (error)
            *error = QStringLiteral("ip %1: no answer").arg(arguments.join(QLatin1Char(' ')));
        return -1;
    }
    if (error)
        *error = QStringLiteral("ip %1: %2")
                     .arg(arguments.join(QLatin1Char(' ')),
                          QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool NetworkNamespaces::create(const QString& addressA, const QString& addressB, QString& error) {
    if (::geteuid() != 0) {
        error = QStringLiteral("network namespaces need root");
        return false;
    }
    m_ip = QStandardPaths::findExecutable(QStringLiteral("ip"));
    if (m_ip.isEmpty())
        m_ip = QStandardPaths::findExecutable(
            QStringLiteral("ip"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (m_ip.isEmpty()) {
        error = QStringLiteral("the ip program (iproute2) is not installed");
        return false;
    }
    removeLeftovers();

    const QString id = Prefix + QString::number(QCoreApplication::applicationPid());
    nameA = id + QStringLiteral("a");
    nameB = id + QStringLiteral("b");
    // Interface names have at most 15 characters: the prefix, the process id and two more.
    const QString vethA = id + QStringLiteral("a0");
    const QString vethB = id + QStringLiteral("b0");
    const auto step = [&](const QStringList& arguments) {
        if (ip(arguments, &error) == 0)
            return true;
        removeAll();
        return false;
    };
    if (!step({QStringLiteral("netns"), QStringLiteral("add"), nameA}))
        return false;
    m_made << nameA;
    if (!step({QStringLiteral("netns"), QStringLiteral("add"), nameB}))
        return false;
    m_made << nameB;
    const QStringList steps[] = {
        {"link", "add", vethA, "netns", nameA, "type", "veth", "peer", "name", vethB, "netns",
         nameB},
        {"-n", nameA, "addr", "add", addressA + "/24", "dev", vethA},
        {"-n", nameB, "addr", "add", addressB + "/24", "dev", vethB},
        {"-n", nameA, "link", "set", vethA, "up"},
        {"-n", nameB, "link", "set", vethB, "up"},
        {"-n", nameA, "link", "set", "lo", "up"},
        {"-n", nameB, "link", "set", "lo", "up"},
    };
    for (const QStringList& arguments : steps) {
        if (!step(arguments))
            return false;
    }
    return true;
}

QStringList NetworkNamespaces::execIn(bool inA, const QString& program,
                                      const QStringList& arguments) const {
    return QStringList{QStringLiteral("netns"), QStringLiteral("exec"), inA ? nameA : nameB,
                       program} +
           arguments;
}

void NetworkNamespaces::removeAll() {
    // Deleting a namespace deletes its end of the veth pair, and with it the pair.
    for (const QString& name : std::as_const(m_made))
        ip({QStringLiteral("netns"), QStringLiteral("delete"), name});
    m_made.clear();
}

void NetworkNamespaces::removeLeftovers() const {
    // Namespaces of a process that no longer runs; those of other running tests stay.
    static const QRegularExpression ours(QStringLiteral("^") + Prefix +
                                         QStringLiteral("(\\d+)[ab]$"));
    QString listing;
    if (ip({QStringLiteral("netns"), QStringLiteral("list")}, nullptr, &listing) != 0)
        return;
    for (const QString& line : listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char(' '), 0, 0);
        const QRegularExpressionMatch match = ours.match(name);
        if (match.hasMatch() && !QDir(QStringLiteral("/proc/") + match.captured(1)).exists())
            ip({QStringLiteral("netns"), QStringLiteral("delete"), name});
    }
}

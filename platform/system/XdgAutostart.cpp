#include "platform/system/XdgAutostart.h"

#include "core/base/TacknoteError.h"
#include "platform/system/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// An entry is a few hundred bytes; a larger file is read only this far.
constexpr qint64 MaxEntrySize = 64 * 1024;

// The value of key in the [Desktop Entry] group, trimmed; empty when absent.
QString desktopEntryValue(const QByteArray& text, const QByteArray& key) {
    bool inEntry = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inEntry || equals < 0 || line.left(equals).trimmed() != key)
            continue;
        return QString::fromUtf8(line.mid(equals + 1).trimmed());
    }
    return QString();
}

} // namespace

XdgAutostart::XdgAutostart(QString configHome, QString programPath)
    : m_configHome(std::move(configHome)), m_programPath(std::move(programPath)) {}

QString XdgAutostart::userConfigHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString XdgAutostart::launcherFor(const QString& programPath) {
    const QFileInfo program(programPath);
    const QFileInfo link(program.absolutePath() + QStringLiteral("/../../bin/") +
                         program.fileName());
    if (link.exists() && link.canonicalFilePath() == program.canonicalFilePath())
        return QDir::cleanPath(link.absoluteFilePath());
    return programPath;
}

QString XdgAutostart::entryPath() const {

    return QDir(m_configHome).filePath(QStringLiteral("autostart/tacknote.desktop"));
}

bool XdgAutostart::isEnabled() const {
    QFile entry(entryPath());
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = entry.read(MaxEntrySize);
    return desktopEntryValue(text, "Hidden") != QLatin1String("true") &&
           desktopEntryValue(text, "X-GNOME-Autostart-enabled") != QLatin1String("false");
}

void XdgAutostart::setEnabled(bool on) {
    const QString path = entryPath();
    if (on) {
        const QByteArray wanted = entryText(m_programPath);
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.read(MaxEntrySize) == wanted)
            return;
        QString reason;
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
            !DurableFile::write(path, wanted, &reason))
            throw TacknoteError::unableToWrite(path, reason);
        return;
    }
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw TacknoteError::unableToWrite(path);
}

QString XdgAutostart::execArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = argument.isEmpty();
    for (QChar c : argument)
        quote = quote || reserved.contains(c);
    QString text;
    if (!quote) {
        text = argument;
    } else {
        // Inside quotes a backslash goes before ", `, $ and \ themselves.
        text = QStringLiteral("\"");
        for (QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                text += QLatin1Char('\\');
            text += c;
        }
        text += QLatin1Char('"');
    }
    // The value of a desktop entry key escapes its own backslashes and line breaks, and
    // "%" introduces a field code in Exec.
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return text;
}

QByteArray XdgAutostart::entryText(const QString& programPath) {
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Tacknote\n"
                                        "Comment=Sticky notes on the desktop\n"
                                        "Comment[pt_BR]=Notas autoadesivas na área de trabalho\n"
                                        "Exec=%1\n"
                                        "Icon=tacknote\n"
                                        "Terminal=false\n"
                                        "StartupNotify=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execArgument(programPath));
    return text.toUtf8();
}

#include "core/program/VersionInfo.h"

QString VersionInfo::stringPath(const QString& translation, const QString& name) {
    return QStringLiteral("StringFileInfo\\") + translation + QLatin1Char('\\') + name;
}

std::optional<QString> VersionInfo::value(const QString& path) const {
    const auto found = m_values.constFind(path);
    if (found == m_values.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> VersionInfo::aboutText() const {
    if (isEmpty())
        return std::nullopt;
    const std::optional<QString> product =
        value(stringPath(PortugueseBrazil, QStringLiteral("ProductVersion")));
    // Version labels are the same in every language and are not translated.
    if (!product)
        return QStringLiteral("v1.30 (build 215)");
    QString text = *product + QLatin1Char(' ');
    if (std::optional<QString> file =
            value(stringPath(PortugueseBrazil, QStringLiteral("FileVersion"))))
        text += QStringLiteral(" (Build ") + file->remove(QLatin1Char('.')) + QLatin1Char(')');
    return text;
}

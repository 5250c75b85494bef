#pragma once

#include <QMap>
#include <QString>

#include <optional>

// Version information embedded in the program when it is built: string values named by
// a path such as "StringFileInfo\040904E4\ProductVersion", whose middle part is the
// language and code page of the entry (040904E4 English-US, 041604E4 Portuguese-Brazil,
// both Windows-1252).
class VersionInfo {
public:
    static inline const QString EnglishUS = QStringLiteral("040904E4");
    static inline const QString PortugueseBrazil = QStringLiteral("041604E4");

    // No version information at all.
    VersionInfo() = default;
    // Values by their full path.
    explicit VersionInfo(QMap<QString, QString> values) : m_values(std::move(values)) {}

    // The version information built into this program.
    static VersionInfo ofProgram();

    // "StringFileInfo\" + translation + "\" + name.
    static QString stringPath(const QString& translation, const QString& name);

    bool isEmpty() const { return m_values.isEmpty(); }
    std::optional<QString> value(const QString& path) const;

    // The version as the about box shows it: the Portuguese-Brazil product version, a
    // blank, and " (Build " + the file version without its dots + ")" when that entry
    // exists too; without the Portuguese-Brazil product version the fixed
    // "v1.30 (build 215)". Nothing without any version information, so the box keeps
    // the text it had.
    std::optional<QString> aboutText() const;

private:
    QMap<QString, QString> m_values;
};

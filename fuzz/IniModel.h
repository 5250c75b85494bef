#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A plain model of the notes file's INI rules, written for clarity rather than speed:
// lists searched from the start, names compared case-folded. IniFile must behave exactly
// like it: the same values read, the same bytes written.
class IniModel {
public:
    explicit IniModel(const QByteArray& bytes);

    // The value as stored, untrimmed; nothing when the key is absent.
    std::optional<QString> stored(const QString& section, const QString& key) const;
    // What a reader gets back for a stored value: blanks trimmed, one pair of enclosing
    // quotes removed, at most 2047 characters.
    static QString readBack(const QString& stored);
    // Integer text: signed decimal within 32 bits, or a 32-bit hexadecimal pattern after
    // "$" or "0x"; nothing for anything else.
    static std::optional<int> integer(const QString& text);

    bool hasSection(const QString& section) const;
    // Key names of a section in file order, each name once.
    QStringList keys(const QString& section) const;
    // Names of the sections with a header, in file order.
    QStringList sectionNames() const;

    // The changes, each answering whether the content changed.
    bool write(const QString& section, const QString& key, const QString& value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);

    // The whole file as a rewrite produces it.
    QByteArray serialize() const;

private:
    struct Line {
        bool isKey = false;
        QString key; // or the whole line
        QString value;
    };
    struct Section {
        bool headed = true;
        QString name;
        QList<Line> lines;
    };

    static bool sameName(const QString& a, const QString& b);
    static bool isBlank(QChar c);
    static QString trimmed(const QString& text);
    Section* section(const QString& name);
    const Section* section(const QString& name) const;
    static const Line* keyLine(const Section& section, const QString& key);

    QList<Section> m_sections;
};

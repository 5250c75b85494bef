#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class LocaleInfo;

// An INI file read and written key by key with the semantics of the Windows private
// profile functions, so files written here and there are interchangeable byte for byte:
//
// - Section and key names compare without regard to letter case; with duplicates only
//   the first section or key of a name is seen.
// - A written value replaces the old one in place (keeping the key's spelling), or goes
//   after the last line of its section; a new section goes at the end of the file.
// - Any real change rewrites the whole file as "[name]" headers and "key=value" lines,
//   CR LF line ends and no blank lines; a write that changes nothing leaves it alone.
// - Text is Windows-1252; a character it cannot hold is written as "?".
// - Values read back are trimmed, lose a pair of enclosing quotes, and are cut at 2047
//   characters. A written value that reading would change (blanks at its ends, a pair of
//   enclosing quotes) is stored inside one more pair of double quotes, so it reads back
//   as written; every other value is stored as it is.
//
// In batched mode changes collect in memory until flush(); in write-through mode each
// change reaches the disk at once. Both modes notice when the file was rewritten since
// they read it (by another IniFile of this process or by anyone else) and apply their
// own pending changes on top of the new content, so no writer loses another's keys.
// Writes are crash-safe (DurableFile): the new content goes to a temporary file in the
// same folder, is synced to disk and renamed over the old file. A failed write throws
// TacknoteError "Unable to write to <path>" and leaves the old file intact.
class IniFile {
public:
    enum class Mode { Batched, WriteThrough };
    static constexpr int MaxValueLength = 2047;
    // A notes file with every note full holds a few hundred kilobytes; a larger file is
    // something else, and is not read into memory.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    IniFile(const QString& path, Mode mode);

    QString fileName() const { return m_path; }
    // Why the file, which exists, could not be read (no permission, an I/O error, a
    // folder, pipe or device in its place, a size beyond MaxFileSize); empty when it was
    // read or does not exist. Such a file reads

    // as empty and every write to it fails, so it is never replaced.
    QString readError() const { return m_readError; }

    QString readString(const QString& section, const QString& key, const QString& def);
    // A value cut at maxLength characters instead of 2047, for keys only this program
    // writes.
    QString readLongString(const QString& section, const QString& key, qsizetype maxLength);
    int readInteger(const QString& section, const QString& key, int def);
    bool readBool(const QString& section, const QString& key, bool def);
    QDateTime readDateTime(const QString& section, const QString& key, const QDateTime& def,
                           const LocaleInfo& locale);
    bool sectionExists(const QString& section);
    bool valueExists(const QString& section, const QString& key);
    // Key names of a section in file order, duplicates and non-key lines left out.
    QStringList readSection(const QString& section);

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void writeDateTime(const QString& section, const QString& key, const QDateTime& value,
                       const LocaleInfo& locale);
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);

    // Writes the changes made since the last flush; nothing when there are none.
    void flush();

    // Integer text as the file holds it: signed decimal, or hexadecimal after "$",
    // "0x" or "0X"; 32 bits. Nothing for any other text.
    static std::optional<int> parseInteger(const QString& text);
    // A value as it is returned to readers: trimmed, unquoted, at most maxLength
    // characters.
    static QString cleanValue(const QString& stored, qsizetype maxLength = MaxValueLength);
    // What reading gives back for a value written now: "?" for each character the code
    // page cannot hold, a blank for each line break, at most 2047 characters.
    static QString readBackOf(const QString& value);
    // Removes the characters the reader treats as blanks from both ends of a line.
    static QString trimBlanks(const QString& text);

private:
    struct Line {
        QString key;   // key name, or the whole line when it is not a key
        QString value; // as written (untrimmed when written by this program)
        bool isKey = true;
    };
    struct Section {
        QString name;
        QString folded; // name for comparisons
        bool hasHeader = true;
        QList<Line> lines;
        QHash<QString, qsizetype> keyIndex; // folded key -> first line holding it
    };
    struct Change {
        enum class Kind { Write, DeleteKey, EraseSection } kind;
        QString section;
        QString key;
        QString value;
    };
    struct DiskStamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const DiskStamp&) const = default;
    };

    void change(Change change);
    bool apply(const Change& change);
    void syncWithDisk(bool checkFileSystem);
    void load();
    void save();
    QByteArray serialize() const;
    void parse(const QString& text);
    static void reindexKeys(Section& section);
    void rebuildSectionIndex();
    Section* findSection(const QString& name);
    const Line* findLine(const QString& section, const QString& key);
    DiskStamp stampOnDisk() const;
    // The form in which names are compared without regard to letter case.
    static QString fold(const QString& name);

    QString m_path;
    Mode m_mode;
    QString m_readError;
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // folded name -> first section of that name
    QList<Change> m_pending;                  // changes not yet on disk
    bool m_dirty = false;                     // the content differs from the disk
    DiskStamp m_stamp;
    quint64 m_generation = 0;
};

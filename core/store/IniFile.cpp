#include "core/store/IniFile.h"

#include "core/base/TacknoteError.h"
#include "core/store/Windows1252.h"
#include "platform/LocaleInfo.h"
#include "platform/system/DurableFile.h"
#include "platform/system/ErrorReason.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

// How often each file was rewritten by this process, so every IniFile open on the same
// file learns of the others' writes without asking the file system.
QHash<QString, quint64>& writeGenerations() {
    static QHash<QString, quint64> generations;
    return generations;
}

bool isBlank(QChar c) {
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case 0x1A:
        return true;
    default:
        return false;
    }
}

QString withoutLineBreaks(QString value) {
    // A line break inside a value would start a new line, and so a new key, in the file.
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

// A value the reader would change (blanks at either end, or one pair of enclosing quotes
// that it would take off) goes inside one more pair of double quotes, which the reader
// removes, so it reads back exactly as written. Other values are stored as they are.
QString quotedWhereNeeded(QString value) {
    if (value.isEmpty())
        return value;
    const QChar first = value.front();
    const QChar last = value.back();
    const bool enclosed = value.size() >= 2 &&
                          (first == QLatin1Char('"') || first == QLatin1Char('\'')) &&
                          last == first;
    if (!enclosed && !isBlank(first) && !isBlank(last))
        return value;
    value.prepend(QLatin1Char('"'));
    value.append(QLatin1Char('"'));
    return value;
}

std::optional<quint32> parseDigits(QStringView digits, int base) {
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits) {
        const int digit =
            c.isDigit() ? c.unicode() - '0'
            : (base == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                ? c.toLower().unicode() - 'a' + 10
                : -1;
        if (digit < 0 || c.unicode() > 0x7F)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<quint32>(value);
}

} // namespace

IniFile::IniFile(const QString& path, Mode mode)
    : m_path(QFileInfo(path).absoluteFilePath()), m_mode(mode) {
    load();
}

QString IniFile::fold(const QString& name) {
    // Names are nearly always ASCII; lowering those by hand is much cheaper than full
    // case folding, which the rare other names still get.
    QString folded = name;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const char16_t c = folded.at(i).unicode();
        if (c >= 0x80)
            return name.toCaseFolded();
        if (c >= 'A' && c <= 'Z')
            folded[i] = QChar(c + ('a' - 'A'));
    }
    return folded;
}

QString IniFile::trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return (begin == 0 && end == text.size()) ? text : text.mid(begin, end - begin);
}

QString IniFile::cleanValue(const QString& stored, qsizetype maxLength) {
    QString value = trimBlanks(stored);
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    if (value.size() > maxLength)
        value.truncate(maxLength);
    return value;
}

std::optional<int> IniFile::parseInteger(const QString& text) {
    QStringView rest(text);
    bool negative = false;
    if (!rest.isEmpty() && (rest.front() == QLatin1Char('-') || rest.front() == QLatin1Char('+'))) {
        negative = rest.front() == QLatin1Char('-');
        rest = rest.mid(1);
    }
    std::optional<quint32> magnitude;
    if (rest.startsWith(QLatin1Char('$'))) {
        magnitude = parseDigits(rest.mid(1), 16);
    } else if (rest.size() > 2 &&
               (rest.startsWith(QLatin1String("0x")) || rest.startsWith(QLatin1String("0X")))) {
        magnitude = parseDigits(rest.mid(2), 16);
    } else {
        magnitude = parseDigits(rest, 10);
        // Decimal text must lie within the signed 32-bit range.
        if (magnitude && *magnitude > (negative ? 0x80000000u : 0x7FFFFFFFu))
            return std::nullopt;
    }
    if (!magnitude)
        return std::nullopt;
    // Hexadecimal text is a 32-bit pattern: $FFFFFFFF is -1.
    const quint32 bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<int>(bits);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    const Line* line = findLine(section, key);
    return line ? cleanValue(line->value) : def;
}

QString IniFile::readLongString(const QString& section, const QString& key, qsizetype maxLength) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    const Line* line = findLine(section, key);
    return line ? cleanValue(line->value, maxLength) : QString();
}

QString IniFile::readBackOf(const QString& value) {
    return Windows1252::decode(Windows1252::encode(withoutLineBreaks(value))).left(MaxValueLength);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) {
    return parseInteger(readString(section, key, QString())).value_or(def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) {
    const std::optional<int> value = parseInteger(readString(section, key, QString()));
    return value ? *value != 0 : def;
}

QDateTime IniFile::readDateTime(const QString& section, const QString& key, const QDateTime& def,
                                const LocaleInfo& locale) {
    return locale.parseDateTime(readString(section, key, QString())).value_or(def);
}

bool IniFile::sectionExists(const QString& section) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    return findSection(section) != nullptr;
}

bool IniFile::valueExists(const QString& section, const QString& key) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    return findLine(section, key) != nullptr;
}

QStringList IniFile::readSection(const QString& section) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    QStringList keys;
    if (const Section* found = findSection(section)) {
        for (qsizetype i = 0; i < found->lines.size(); ++i) {
            const Line& line = found->lines.at(i);
            if (line.isKey && found->keyIndex.value(fold(line.key)) == i)
                keys.append(line.key);
        }
    }
    return keys;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    change({Change::Kind::Write, section, key, quotedWhereNeeded(withoutLineBreaks(value))});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::writeDateTime(const QString& section, const QString& key, const QDateTime& value,
                            const LocaleInfo& locale) {
    writeString(section, key, locale.formatDateTime(value));
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    change({Change::Kind::DeleteKey, section, key, QString()});
}

void IniFile::eraseSection(const QString& section) {
    change({Change::Kind::EraseSection, section, QString(), QString()});
}

void IniFile::flush() {
    syncWithDisk(true);
    if (m_dirty)
        save();
    m_pending.clear();
}

void IniFile::change(Change change) {
    syncWithDisk(m_mode == Mode::WriteThrough);
    const bool changed = apply(change);
    m_dirty = m_dirty || changed;
    if (m_mode == Mode::WriteThrough) {
        if (m_dirty)
            save();
        return;
    }
    m_pending.append(std::move(change));
}

bool IniFile::apply(const Change& change) {
    Section* section = findSection(change.section);
    switch (change.kind) {
    case Change::Kind::Write: {
        if (!section) {
            Section added;
            added.name = change.section;
            added.folded = fold(change.section);
            added.lines.append({change.key, change.value, true});
            added.keyIndex.insert(fold(change.key), 0);
            m_sectionIndex.insert(added.folded, m_sections.size());
            m_sections.append(std::move(added));
            return true;
        }
        const auto it = section->keyIndex.constFind(fold(change.key));
        if (it != section->keyIndex.constEnd()) {
            Line& line = section->lines[it.value()];
            if (line.value == change.value)
                return false;
            line.value = change.value;
            return true;
        }
        section->keyIndex.insert(fold(change.key), section->lines.size());
        section->lines.append({change.key, change.value, true});
        return true;
    }
    case Change::Kind::DeleteKey: {
        if (!section)
            return false;
        const auto it = section->keyIndex.constFind(fold(change.key));
        if (it == section->keyIndex.constEnd())
            return false;
        section->lines.removeAt(it.value());
        reindexKeys(*section);
        return true;
    }
    case Change::Kind::EraseSection: {
        if (!section)
            return false;
        m_sections.removeAt(section - m_sections.data());
        rebuildSectionIndex();
        return true;
    }
    }
    return false;
}

IniFile::Section* IniFile::findSection(const QString& name) {
    const auto it = m_sectionIndex.constFind(fold(name));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[it.value()];
}

const IniFile::Line* IniFile::findLine(const QString& section, const QString& key) {
    const Section* found = findSection(section);
    if (!found)
        return nullptr;
    const auto it = found->keyIndex.constFind(fold(key));
    return it == found->keyIndex.constEnd() ? nullptr : &found->lines.at(it.value());
}

void IniFile::reindexKeys(Section& section) {
    section.keyIndex.clear();
    // Walking backwards leaves each name pointing at its first line.
    for (qsizetype i = section.lines.size() - 1; i >= 0; --i) {
        const Line& line = section.lines.at(i);
        if (line.isKey)
            section.keyIndex.insert(fold(line.key), i);
    }
}

void IniFile::rebuildSectionIndex() {
    m_sectionIndex.clear();
    for (qsizetype i = m_sections.size() - 1; i >= 0; --i) {
        if (m_sections.at(i).hasHeader)
            m_sectionIndex.insert(m_sections.at(i).folded, i);
    }
}

IniFile::DiskStamp IniFile::stampOnDisk() const {
    const QFileInfo info(m_path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.fileTime(QFileDevice::FileModificationTime)};
}

void IniFile::syncWithDisk(bool checkFileSystem) {
    const bool rewrittenHere = writeGenerations().value(m_path) != m_generation;
    if (!rewrittenHere && !(checkFileSystem && stampOnDisk() != m_stamp))
        return;
    // Someone rewrote the file: take its content and put our own changes back on top.
    load();
    for (const Change& pending : std::as_const(m_pending))
        m_dirty = apply(pending) || m_dirty;
}

void IniFile::load() {
    m_stamp = stampOnDisk();
    m_generation = writeGenerations().value(m_path);
    m_dirty = false;
    m_readError.clear();
    QByteArray bytes;
    const QFileInfo info(m_path);
    if (info.isDir()) {
        m_readError = ErrorReason::text(EISDIR);
    } else if (info.exists() && !info.isFile()) {
        // A pipe or a device would keep the program waiting, or never end.
        m_readError = QCoreApplication::translate("IniFile", "não é um arquivo comum");
    } else if (info.size() > MaxFileSize) {
        m_readError = QCoreApplication::translate("IniFile", "o arquivo tem mais de %1 MB")
                          .arg(MaxFileSize / (1024 * 1024));
    } else if (info.exists()) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            m_readError = file.errorString();
            bytes.clear();
        }
    }

    parse(Windows1252::decode(bytes));
}

void IniFile::parse(const QString& text) {
    m_sections.clear();
    m_sectionIndex.clear();
    Section* current = nullptr;
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    const auto isBreak = [](QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); };
    // A view of data[begin, end) without the blanks at either end.
    const auto trimmed = [data](qsizetype begin, qsizetype end) {
        while (begin < end && isBlank(data[begin]))
            ++begin;
        while (end > begin && isBlank(data[end - 1]))
            --end;
        return QStringView(data + begin, end - begin);
    };
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && !isBreak(data[end]))
            ++end;
        const QStringView line = trimmed(pos, end);
        pos = end;
        while (pos < size && isBreak(data[pos]))
            ++pos;
        if (line.isEmpty())
            continue;

        const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
        if (line.front() == QLatin1Char('[') && close > 0) {
            Section section;
            section.name = trimBlanks(line.mid(1, close - 1).toString());
            section.folded = fold(section.name);
            m_sections.append(std::move(section));
            current = &m_sections.last();
            continue;
        }
        if (!current) {
            // Lines before the first header belong to no section but are kept.
            Section preamble;
            preamble.hasHeader = false;
            m_sections.append(std::move(preamble));
            current = &m_sections.last();
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            current->lines.append({line.toString(), QString(), false});
            continue;
        }
        const qsizetype lineStart = line.data() - data;
        current->lines.append({trimmed(lineStart, lineStart + equals).toString(),
                               trimmed(lineStart + equals + 1, lineStart + line.size()).toString(),
                               true});
    }
    for (Section& section : m_sections)
        reindexKeys(section);
    rebuildSectionIndex();
}

QByteArray IniFile::serialize() const {
    QString text;
    qsizetype estimate = 0;
    for (const Section& section : m_sections) {
        estimate += section.name.size() + 4;
        for (const Line& line : section.lines)
            estimate += line.key.size() + line.value.size() + 3;
    }
    text.reserve(estimate);
    const QLatin1String lineEnd("\r\n");
    for (const Section& section : m_sections) {
        if (section.hasHeader) {
            text += QLatin1Char('[');
            text += section.name;
            text += QLatin1Char(']');
            text += lineEnd;
        }
        for (const Line& line : section.lines) {
            text += line.key;
            if (line.isKey) {
                text += QLatin1Char('=');
                text += line.value;
            }
            text += lineEnd;
        }
    }
    return Windows1252::encode(text);
}

void IniFile::save() {
    // A file that exists but could not be read is never written over: its content is
    // unknown here, and a write would replace it with what little this object holds.
    if (!m_readError.isEmpty())
        throw TacknoteError::unableToWrite(m_path, m_readError);
    QString reason;
    if (!DurableFile::write(m_path, serialize(), &reason))
        throw TacknoteError::unableToWrite(m_path, reason);
    m_generation = ++writeGenerations()[m_path];
    m_stamp = stampOnDisk();
    m_dirty = false;
    m_pending.clear();
}

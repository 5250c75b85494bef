#include "fuzz/IniModel.h"

#include "core/store/Windows1252.h"

#include <QSet>

bool IniModel::isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f') || c == QLatin1Char('\r') ||
           c.unicode() == 0x1A;
}

QString IniModel::trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool IniModel::sameName(const QString& a, const QString& b) {
    // Letter case folded character by character, as toCaseFolded() does.
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

IniModel::IniModel(const QByteArray& bytes) {
    const QString text = Windows1252::decode(bytes);
    QString line;
    QStringList lines;
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << line;
            line.clear();
        } else {
            line += c;
        }
    }
    lines << line;

    for (const QString& raw : std::as_const(lines)) {
        const QString content = trimmed(raw);
        if (content.isEmpty())
            continue;
        const qsizetype close = content.lastIndexOf(QLatin1Char(']'));
        if (content.startsWith(QLatin1Char('[')) && close > 0) {
            m_sections.append({true, trimmed(content.mid(1, close - 1)), {}});
            continue;
        }
        if (m_sections.isEmpty())
            m_sections.append({false, QString(), {}});
        const qsizetype equals = content.indexOf(QLatin1Char('='));
        if (equals < 0)
            m_sections.last().lines.append({false, content, QString()});
        else
            m_sections.last().lines.append(
                {true, trimmed(content.left(equals)), trimmed(content.mid(equals + 1))});
    }
}

IniModel::Section* IniModel::section(const QString& name) {
    for (Section& s : m_sections) {
        if (s.headed && sameName(s.name, name))
            return &s;
    }
    return nullptr;
}

const IniModel::Section* IniModel::section(const QString& name) const {
    return const_cast<IniModel*>(this)->section(name);
}

const IniModel::Line* IniModel::keyLine(const Section& section, const QString& key) {
    for (const Line& line : section.lines) {
        if (line.isKey && sameName(line.key, key))
            return &line;
    }
    return nullptr;
}

std::optional<QString> IniModel::stored(const QString& sectionName, const QString& key) const {
    const Section* s = section(sectionName);
    const Line* line = s ? keyLine(*s, key) : nullptr;
    if (!line)
        return std::nullopt;
    return line->value;
}

QString IniModel::readBack(const QString& stored) {
    QString value = trimmed(stored);
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.left(2047);
}

std::optional<int> IniModel::integer(const QString& text) {
    QString rest = text;
    bool negative = false;
    if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+'))) {
        negative = rest.startsWith(QLatin1Char('-'));
        rest.remove(0, 1);
    }
    int base = 10;
    if (rest.startsWith(QLatin1Char('$'))) {
        base = 16;
        rest.remove(0, 1);
    } else if (rest.size() > 2 &&
               (rest.startsWith(QLatin1String("0x")) || rest.startsWith(QLatin1String("0X")))) {
        base = 16;
        rest.remove(0, 2);
    }
    if (rest.isEmpty())
        return std::nullopt;
    for (const QChar c : rest) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hex = (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                         (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!digit && !(base == 16 && hex))
            return std::nullopt;
    }
    // At most 8 significant hexadecimal or 10 decimal digits can fit; leading zeros are
    // dropped first so any number of them is accepted.
    while (rest.size() > 1 && rest.front() == QLatin1Char('0'))
        rest.remove(0, 1);
    if (rest.size() > (base == 16 ? 8 : 10))
        return std::nullopt;
    bool ok = false;
    const qint64 magnitude = rest.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (base == 10) {
        const qint64 value = negative ? -magnitude : magnitude;
        if (value < -2147483648LL || value > 2147483647LL)
            return std::nullopt;
        return int(value);
    }
    const quint32 bits = negative ? 0u - quint32(magnitude) : quint32(magnitude);
    return int(bits);
}

bool IniModel::hasSection(const QString& name) const {
    return section(name) != nullptr;
}

QStringList IniModel::keys(const QString& name) const {
    QStringList names;
    const Section* s = section(name);
    if (!s)
        return names;
    QSet<QString> seen;
    for (const Line& line : s->lines) {
        if (line.isKey && !seen.contains(line.key.toCaseFolded())) {
            seen.insert(line.key.toCaseFolded());
            names << line.key;
        }
    }
    return names;
}

QStringList IniModel::sectionNames() const {
    QStringList names;
    for (const Section& s : m_sections) {
        if (s.headed)
            names << s.name;
    }
    return names;
}

bool IniModel::write(const QString& sectionName, const QString& key, const QString& value) {
    QString oneLine = value;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // A value that would not read back as written is stored inside double quotes.
    if (readBack(oneLine) != oneLine.left(2047))
        oneLine = QLatin1Char('"') + oneLine + QLatin1Char('"');
    Section* s = section(sectionName);
    if (!s) {
        m_sections.append({true, sectionName, {{true, key, oneLine}}});
        return true;
    }
    for (Line& line : s->lines) {
        if (line.isKey && sameName(line.key, key)) {
            if (line.value == oneLine)
                return false;
            line.value = oneLine;
            return true;
        }
    }
    s->lines.append({true, key, oneLine});
    return true;
}

bool IniModel::deleteKey(const QString& sectionName, const QString& key) {
    Section* s = section(sectionName);
    if (!s)
        return false;
    for (qsizetype i = 0; i < s->lines.size(); ++i) {
        if (s->lines[i].isKey && sameName(s->lines[i].key, key)) {
            s->lines.removeAt(i);
            return true;
        }
    }
    return false;
}

bool IniModel::eraseSection(const QString& sectionName) {
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sections[i].headed && sameName(m_sections[i].name, sectionName)) {
            m_sections.removeAt(i);
            return true;
        }
    }
    return false;
}

QByteArray IniModel::serialize() const {
    QString text;
    for (const Section& s : m_sections) {
        if (s.headed)
            text += QLatin1Char('[') + s.name + QStringLiteral("]\r\n");
        for (const Line& line : s.lines) {
            text += line.isKey ? line.key + QLatin1Char('=') + line.value : line.key;
            text += QStringLiteral("\r\n");
        }
    }
    return Windows1252::encode(text);
}

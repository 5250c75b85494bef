#include "core/contacts/ContactBook.h"

#include "core/store/IniFile.h"

#include <algorithm>

namespace {

const QString kCount = QStringLiteral("Count");
const QString kName = QStringLiteral("Nome");
const QString kAddress = QStringLiteral("Email");
const QString kRemark = QStringLiteral("Notes");

} // namespace

ContactBook::ContactBook(const QLocale& locale) : m_collator(locale) {}

bool ContactBook::lessByName(const Contact& a, const Contact& b) const {
    return m_collator.compare(a.name, b.name) < 0;
}

void ContactBook::load(IniFile& file) {
    const QString section = sectionName();
    qsizetype count = std::max(0, file.readInteger(section, kCount, 0));
    // Every contact ever saved has its three keys, so only a damaged Count goes beyond
    // the keys; it must not fill the memory with empty contacts.
    count = std::min(count, std::max(file.readSection(section).size(), MinCountLimit));

    QList<Contact> contacts;
    contacts.reserve(count);
    for (qsizetype n = 1; n <= count; ++n) {
        const QString number = QString::number(n);
        contacts.append({file.readString(section, kName + number, QString()),
                         file.readString(section, kAddress + number, QString()),
                         file.readString(section, kRemark + number, QString())});
    }
    std::stable_sort(contacts.begin(), contacts.end(),
                     [this](const Contact& a, const Contact& b) { return lessByName(a, b); });
    m_contacts = std::move(contacts);
}

void ContactBook::save(IniFile& file) const {
    const QString section = sectionName();
    file.eraseSection(section);
    for (qsizetype i = 0; i < m_contacts.size(); ++i) {
        const Contact& contact = m_contacts.at(i);
        const QString number = QString::number(i + 1);
        file.writeString(section, kName + number, contact.name);
        file.writeString(section, kAddress + number, contact.address);
        file.writeString(section, kRemark + number, contact.remark);
    }
    file.writeInteger(section, kCount, int(m_contacts.size()));
    file.flush();
}

qsizetype ContactBook::add(const Contact& contact) {
    const auto at =
        std::upper_bound(m_contacts.cbegin(), m_contacts.cend(), contact,
                         [this](const Contact& a, const Contact& b) { return lessByName(a, b); });
    const qsizetype row = at - m_contacts.cbegin();
    m_contacts.insert(row, contact);
    return row;
}

qsizetype ContactBook::replace(qsizetype row, const Contact& contact) {
    m_contacts.removeAt(row);
    return add(contact);
}

void ContactBook::remove(QList<qsizetype> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (qsizetype row : std::as_const(rows))
        m_contacts.removeAt(row);
}

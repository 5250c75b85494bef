#pragma once

#include "core/contacts/Contact.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QString>

class IniFile;

// The contacts of the address book, kept sorted by name with the text comparison of a
// locale, and their section "Contatos" of the notes file:
//
//   [Contatos]
//   Nome1=...   Email1=...   Notes1=...   (one triple per contact, from 1, in list order)
//   Count=<number of contacts>
//
// Keys are read in any letter case. Every save replaces the whole section.
class ContactBook {
public:
    static QString sectionName() { return QStringLiteral("Contatos"); }
    // However large a damaged Count is, no more contacts are made up than the section
    // has keys, or than this when that is more.
    static constexpr qsizetype MinCountLimit = 1000;

    explicit ContactBook(const QLocale& locale);

    qsizetype size() const { return m_contacts.size(); }
    bool isEmpty() const { return m_contacts.isEmpty(); }
    const Contact& at(qsizetype row) const { return m_contacts.at(row); }
    const QList<Contact>& contacts() const { return m_contacts; }

    // Replaces the contacts by those of the file. A Count beyond the stored contacts
    // gives contacts with empty fields for the missing numbers.
    void load(IniFile& file);
    // Erases the section and writes every contact and the count, then flushes. With a
    // batched IniFile this is one crash-safe rewrite of the file, merged with whatever
    // else was written to it since it was read: the address book is either wholly the
    // old one or wholly the new one, never a part.
    void save(IniFile& file) const;

    // Inserts a contact after the contacts whose names sort equal to or before its
    // name; the row it went to.
    qsizetype add(const Contact& contact);
    // Changes a contact, which may move it; the row it is in afterwards.
    qsizetype replace(qsizetype row, const Contact& contact);
    // Removes the contacts at these rows (in any order, repeats allowed).
    void remove(QList<qsizetype> rows);

private:
    bool lessByName(const Contact& a, const Contact& b) const;

    QCollator m_collator;
    QList<Contact> m_contacts;
};

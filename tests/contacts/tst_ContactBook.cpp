#include "core/base/TacknoteError.h"
#include "core/contacts/ContactBook.h"
#include "core/store/IniFile.h"

#include "../support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Section = QStringLiteral("Contatos");

QByteArray contactLines(const QList<Contact>& contacts) {
    QByteArray lines;
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        lines += "Nome" + n + "=" + contacts.at(i).name.toLatin1() + "\r\n";
        lines += "Email" + n + "=" + contacts.at(i).address.toLatin1() + "\r\n";
        lines += "Notes" + n + "=" + contacts.at(i).remark.toLatin1() + "\r\n";
    }
    return lines;
}

QStringList namesOf(const ContactBook& book) {
    QStringList names;
    for (const Contact& contact : book.contacts())
        names.append(contact.name);
    return names;
}

} // namespace

class tst_ContactBook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_path = m_dir.filePath(QStringLiteral("c%1.tkn").arg(++m_counter)); }

    void sortedByLocaleAndStoredInListOrder_data();
    void sortedByLocaleAndStoredInListOrder();
    void reading_data();
    void reading();
    void damagedCountIsBounded();
    void typedValuesComeBackUnchanged_data();
    void typedValuesComeBackUnchanged();
    void changesKeepTheOrder();
    void deletingTheOnlyContact();
    void otherWritersBetweenSavesLoseNothing_data();
    void otherWritersBetweenSavesLoseNothing();
    void failedSaveKeepsTheWholeOldBook();

private:
    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
};

void tst_ContactBook::sortedByLocaleAndStoredInListOrder_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("inFile");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("letters before case")
        << "pt_BR" << QStringList{"Zé", "ana", "Bruno"} << QStringList{"ana", "Bruno", "Zé"};
    QTest::newRow("accented letters sort with their base letter")
        << "pt_BR" << QStringList{"Zé", "Éva", "Bruno", "ábaco"}
        << QStringList{"ábaco", "Bruno", "Éva", "Zé"};
    QTest::newRow("English locale")
        << "en_US" << QStringList{"zeta", "Alpha", "beta"} << QStringList{"Alpha", "beta", "zeta"};
    QTest::newRow("empty names first")
        << "pt_BR" << QStringList{"b", "", "a"} << QStringList{"", "a", "b"};
}

void tst_ContactBook::sortedByLocaleAndStoredInListOrder() {
    QFETCH(QString, locale);
    QFETCH(QStringList, inFile);
    QFETCH(QStringList, sorted);
    QList<Contact> stored;
    for (const QString& name : inFile)
        stored.append({name, QStringLiteral("addr-") + name, QStringLiteral("rem-") + name});
    writeBytes(m_path, "[Contatos]\r\nCount=" + QByteArray::number(stored.size()) + "\r\n" +
                           contactLines(stored));

    ContactBook book{QLocale(locale)};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    QCOMPARE(namesOf(book), sorted);
    for (const Contact& contact : book.contacts()) {
        QCOMPARE(contact.address, QStringLiteral("addr-") + contact.name);
        QCOMPARE(contact.remark, QStringLiteral("rem-") + contact.name);
    }

    book.save(file);
    QCOMPARE(readBytes(m_path), QByteArray("[Contatos]\r\n") + contactLines(book.contacts()) +
                                    "Count=" + QByteArray::number(stored.size()) + "\r\n");
}

void tst_ContactBook::reading_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QList<Contact>>("expected");

    QTest::newRow("no section") << QByteArray() << QList<Contact>{};
    QTest::newRow("no Count") << QByteArray("Nome1=a\r\n") << QList<Contact>{};
    QTest::newRow("Count not a number") << QByteArray("Count=x\r\nNome1=a\r\n") << QList<Contact>{};
    QTest::newRow("negative Count") << QByteArray("Count=-3\r\nNome1=a\r\n") << QList<Contact>{};
    QTest::newRow("keys in any letter case")
        << QByteArray("COUNT=1\r\nnome1=a\r\nEMAIL1=b\r\nnOtEs1=c\r\n")
        << QList<Contact>{{"a", "b", "c"}};
    QTest::newRow("Count beyond the stored contacts gives empty ones")
        << QByteArray("Count=3\r\nNome2=b\r\nEmail2=x\r\n")
        << QList<Contact>{{"", "", ""}, {"", "", ""}, {"b", "x", ""}};
    QTest::newRow("contacts beyond Count are not read")
        << QByteArray("Count=1\r\nNome1=b\r\nNome2=a\r\n") << QList<Contact>{{"b", "", ""}};
    QTest::newRow("values trimmed and unquoted")
        << QByteArray("Count=1\r\nNome1=  \"a b\"  \r\nEmail1='x'\r\n")
        << QList<Contact>{{"a b", "x", ""}};
    QTest::newRow("Count in hexadecimal") << QByteArray("Count=$2\r\nNome1=b\r\nNome2=a\r\n")
                                          << QList<Contact>{{"a", "", ""}, {"b", "", ""}};
}

void tst_ContactBook::reading() {
    QFETCH(QByteArray, section);
    QFETCH(QList<Contact>, expected);
    writeBytes(m_path, "[General]\r\nNumStickies=0\r\n" +
                           (section.isEmpty() ? QByteArray() : "[contatos]\r\n" + section));
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    QCOMPARE(book.contacts(), expected);
}

// A Count damaged to a huge value must not make the address book fill the memory; the
// contacts that are stored are all kept.
void tst_ContactBook::damagedCountIsBounded() {
    QList<Contact> stored;
    for (int i = 0; i < 1500; ++i)
        stored.append({QStringLiteral("n%1").arg(i, 4, 10, QLatin1Char('0')), "", ""});
    writeBytes(m_path, "[Contatos]\r\nCount=2147483647\r\n" + contactLines(stored));
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    QVERIFY(book.size() >= stored.size());
    QVERIFY(book.size() <= 3 * stored.size() + 1);
    QCOMPARE(book.contacts().mid(book.size() - stored.size()), stored);

    writeBytes(m_path, "[Contatos]\r\nCount=2147483647\r\nNome1=a\r\n");
    IniFile small(m_path, IniFile::Mode::Batched);
    book.load(small);
    QCOMPARE(book.size(), ContactBook::MinCountLimit);
}

void tst_ContactBook::typedValuesComeBackUnchanged_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("plain") << "Ana Maria" << QByteArray("Ana Maria");
    QTest::newRow("empty") << "" << QByteArray("");
    QTest::newRow("leading blanks") << "  Ana" << QByteArray("\"  Ana\"");
    QTest::newRow("trailing tab") << "Ana\t" << QByteArray("\"Ana\t\"");
    QTest::newRow("enclosed in quotes") << "\"Ana\"" << QByteArray("\"\"Ana\"\"");
    QTest::newRow("enclosed in apostrophes") << "'Ana'" << QByteArray("\"'Ana'\"");
    QTest::newRow("a lone quote") << "\"" << QByteArray("\"");
    QTest::newRow("quote inside") << "a \"b\" c" << QByteArray("a \"b\" c");
    QTest::newRow("longest value with blanks") << QString(2046, QLatin1Char('x')) + " "
                                               << "\"" + QByteArray(2046, 'x') + " \"";
}

// Whatever the user typed is read back as typed, and ordinary values are written as
// they are, as every other reader of the file expects.
void tst_ContactBook::typedValuesComeBackUnchanged() {
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    book.add({value, value, value});
    {
        IniFile file(m_path, IniFile::Mode::Batched);
        book.save(file);
    }
    QVERIFY(readBytes(m_path).contains("\r\nEmail1=" + written + "\r\n"));
    ContactBook reread{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    reread.load(file);
    QCOMPARE(reread.contacts(), (QList<Contact>{{value, value, value}}));
}

void tst_ContactBook::changesKeepTheOrder() {
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    QCOMPARE(book.add({"Marta", "1", ""}), 0);
    QCOMPARE(book.add({"carlos", "2", ""}), 0);
    QCOMPARE(book.add({"Zuleica", "3", ""}), 2);
    // A name equal to one present goes after it.
    QCOMPARE(book.add({"Marta", "4", ""}), 2);
    QCOMPARE(book.at(1).address, QStringLiteral("1"));
    // carlos becomes Ursula and moves before Zuleica.
    QCOMPARE(book.replace(0, {"Ursula", "2", ""}), 2);
    QCOMPARE(namesOf(book), (QStringList{"Marta", "Marta", "Ursula", "Zuleica"}));
    // Rows in any order and repeated remove each contact once.
    book.remove({3, 0, 3});
    QCOMPARE(namesOf(book), (QStringList{"Marta", "Ursula"}));
    QCOMPARE(book.at(0).address, QStringLiteral("4"));
}

void tst_ContactBook::deletingTheOnlyContact() {
    const QByteArray before = "[General]\r\nNumStickies=0\r\n[Contatos]\r\nCount=1\r\n"
                              "Nome1=a\r\nEmail1=b\r\nNotes1=c\r\n[Stick0]\r\ncaption=x\r\n";
    writeBytes(m_path, before);
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    book.remove({0});
    book.save(file);
    QCOMPARE(readBytes(m_path), QByteArray("[General]\r\nNumStickies=0\r\n[Stick0]\r\ncaption=x\r\n"
                                           "[Contatos]\r\nCount=0\r\n"));
}

void tst_ContactBook::otherWritersBetweenSavesLoseNothing_data() {
    QTest::addColumn<bool>("notesOpenedBeforeFirstSave");
    QTest::addColumn<bool>("notesWriteThrough");

    QTest::newRow("notes read after the first save") << false << false;
    QTest::newRow("notes read before the first save") << true << false;
    QTest::newRow("notes written key by key") << true << true;
}

// The address book keeps its view of the file open while the notes are saved by
// another writer; neither loses what the other wrote.
void tst_ContactBook::otherWritersBetweenSavesLoseNothing() {
    QFETCH(bool, notesOpenedBeforeFirstSave);
    QFETCH(bool, notesWriteThrough);
    writeBytes(m_path, "[General]\r\nNumStickies=1\r\n[Stick0]\r\ncaption=old\r\n");
    const auto notesMode = notesWriteThrough ? IniFile::Mode::WriteThrough : IniFile::Mode::Batched;

    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile bookFile(m_path, IniFile::Mode::Batched);
    book.load(bookFile);
    std::unique_ptr<IniFile> notes;
    if (notesOpenedBeforeFirstSave)
        notes = std::make_unique<IniFile>(m_path, notesMode);
    book.add({"Bruno", "10.0.0.2", ""});
    book.save(bookFile);
    if (!notes)
        notes = std::make_unique<IniFile>(m_path, notesMode);

    // A notes save: settings, the note sections erased and written again.
    notes->writeInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 2);
    notes->eraseSection(QStringLiteral("Stick0"));
    notes->writeString(QStringLiteral("Stick0"), QStringLiteral("caption"), QStringLiteral("new"));
    notes->writeString(QStringLiteral("Stick1"), QStringLiteral("caption"), QStringLiteral("two"));
    notes->flush();

    book.add({"ana", "ana@example.org", "x"});
    book.save(bookFile);

    IniFile check(m_path, IniFile::Mode::Batched);
    QCOMPARE(check.readInteger(QStringLiteral("General"), QStringLiteral("NumStickies"), 0), 2);
    QCOMPARE(check.readString(QStringLiteral("Stick0"), QStringLiteral("caption"), ""),
             QStringLiteral("new"));
    QCOMPARE(check.readString(QStringLiteral("Stick1"), QStringLiteral("caption"), ""),
             QStringLiteral("two"));
    ContactBook reread{QLocale(QStringLiteral("pt_BR"))};
    reread.load(check);
    QCOMPARE(reread.contacts(),
             (QList<Contact>{{"ana", "ana@example.org", "x"}, {"Bruno", "10.0.0.2", ""}}));
}

// A save that cannot be completed (here a full disk) leaves the file as it was: the
// whole old address book, not a part of the new one or none.
void tst_ContactBook::failedSaveKeepsTheWholeOldBook() {
    QList<Contact> stored;
    for (int i = 0; i < 20; ++i)
        stored.append({QStringLiteral("n%1").arg(i, 2, 10, QLatin1Char('0')), "addr", "rem"});
    const QByteArray before = "[Contatos]\r\n" + contactLines(stored) + "Count=20\r\n";
    writeBytes(m_path, before);

    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    book.add({"novo", "x", "y"});
    try {
        FileSizeLimit limit(before.size() / 2);
        book.save(file);
        QFAIL("the save should have failed");
    } catch (const TacknoteError& error) {
        QVERIFY(error.message().startsWith(QStringLiteral("Não foi possível gravar em ")));
    }
    QCOMPARE(readBytes(m_path), before);
    book.save(file);
    ContactBook reread{QLocale(QStringLiteral("pt_BR"))};
    IniFile check(m_path, IniFile::Mode::Batched);
    reread.load(check);
    QCOMPARE(reread.contacts(), book.contacts());
}

QTEST_GUILESS_MAIN(tst_ContactBook)
#include "tst_ContactBook.moc"

#include "core/store/IniFile.h"
#include "gui/contacts/TfrmAddContato.h"
#include "gui/contacts/TfrmAddressBook.h"

#include "../support/RecordingSoundPlayer.h"
#include "../support/ScriptedMessageBoxes.h"
#include "../support/TestFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

QByteArray fileWith(const QList<Contact>& contacts) {
    QByteArray bytes = "[Contatos]\r\nCount=" + QByteArray::number(contacts.size()) + "\r\n";
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        bytes += "Nome" + n + "=" + contacts.at(i).name.toLatin1() + "\r\n" + "Email" + n + "=" +
                 contacts.at(i).address.toLatin1() + "\r\n" + "Notes" + n + "=" +
                 contacts.at(i).remark.toLatin1() + "\r\n";
    }
    return bytes;
}

// Runs the action once the next modal dialog is running.
void whenModal(const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(0, qApp, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        action(modal);
        // A failed check must not leave the test waiting for the dialog.
        if (QTest::currentTestFailed() && modal->isVisible())
            modal->close();
    });
}

} // namespace

class tst_AddressBook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { delete m_book; }

    void showListsContactsSorted();
    void picking_data();
    void picking();
    void pickedAddressesOutliveTheDialog();
    void mergeInto_data();
    void mergeInto();
    void nothingSelected_data();
    void nothingSelected();
    void addEditDelete();
    void refusedCharactersBeep_data();
    void refusedCharactersBeep();

private:
    QStringList listColumn(int column) const;
    void selectRows(const QList<int>& rows);
    void enterContact(const Contact& contact, bool ok);
    QList<Contact> contactsInFile() const;

    QTemporaryDir m_dir;
    QString m_path;
    int m_counter = 0;
    ScriptedMessageBoxes m_messages;
    RecordingSoundPlayer m_sound;
    TfrmAddressBook* m_book = nullptr;
};

void tst_AddressBook::init() {
    m_path = m_dir.filePath(QStringLiteral("b%1.tkn").arg(++m_counter));
    m_messages = {};
    m_sound = {};
    m_book = new TfrmAddressBook(m_path, QLocale(QStringLiteral("pt_BR")), m_messages, m_sound);
}

QStringList tst_AddressBook::listColumn(int column) const {
    QStringList texts;
    for (int row = 0; row < m_book->lstContato->rowCount(); ++row)
        texts.append(m_book->lstContato->item(row, column)->text());
    return texts;
}

void tst_AddressBook::selectRows(const QList<int>& rows) {
    m_book->lstContato->clearSelection();
    for (int row : rows)
        m_book->lstContato->selectionModel()->select(m_book->lstContato->model()->index(row, 0),
                                                     QItemSelectionModel::Select |
                                                         QItemSelectionModel::Rows);
}

void tst_AddressBook::enterContact(const Contact& contact, bool ok) {
    whenModal([contact, ok](QWidget* modal) {
        auto* form = qobject_cast<TfrmAddContato*>(modal);
        QVERIFY(form);
        QCOMPARE(form->focusWidget(), form->txtNome);
        form->txtNome->setText(contact.name);
        form->txtEmail->setText(contact.address);
        form->txtAnotacoes->setText(contact.remark);
        (ok ? form->cmdOK : form->cmdCancel)->click();
    });
}

QList<Contact> tst_AddressBook::contactsInFile() const {
    ContactBook book{QLocale(QStringLiteral("pt_BR"))};
    IniFile file(m_path, IniFile::Mode::Batched);
    book.load(file);
    return book.contacts();
}

void tst_AddressBook::showListsContactsSorted() {
    writeBytes(m_path,
               fileWith({{"Zé", "z@x", "zz"}, {"ana", "10.0.0.1", ""}, {"Bruno", "b", "bb"}}));
    m_book->show();
    QCOMPARE(listColumn(0), (QStringList{"ana", "Bruno", "Zé"}));
    QCOMPARE(listColumn(1), (QStringList{"10.0.0.1", "b", "z@x"}));
    QCOMPARE(listColumn(2), (QStringList{"", "bb", "zz"}));
    QCOMPARE(m_book->selectedRows(), QList<qsizetype>{0});
    m_book->close();
}

void tst_AddressBook::picking_data() {
    QTest::addColumn<QList<int>>("picks");
    QTest::addColumn<bool>("byDoubleClick");
    QTest::addColumn<QStringList>("picked");

    // Rows: ana a@x, Bruno 10.0.0.1, Carla 10.0.0.1, Davi A@X.
    QTest::newRow("the same contact twice") << QList<int>{0, 0} << false << QStringList{"a@x"};
    QTest::newRow("two contacts with one address")
        << QList<int>{1, 2} << false << QStringList{"10.0.0.1"};
    QTest::newRow("letter case counts") << QList<int>{0, 3} << false << QStringList{"a@x", "A@X"};
    QTest::newRow("picking order")
        << QList<int>{3, 1, 0} << false << QStringList{"A@X", "10.0.0.1", "a@x"};
    QTest::newRow("double clicks") << QList<int>{2, 0, 1} << true << QStringList{"10.0.0.1", "a@x"};
}

void tst_AddressBook::picking() {
    QFETCH(QList<int>, picks);
    QFETCH(bool, byDoubleClick);
    QFETCH(QStringList, picked);
    writeBytes(m_path, fileWith({{"Davi", "A@X", ""},
                                 {"Carla", "10.0.0.1", ""},
                                 {"Bruno", "10.0.0.1", ""},
                                 {"ana", "a@x", ""}}));
    whenModal([&](QWidget* modal) {
        QCOMPARE(modal, m_book);
        QVERIFY(m_book->pnlSelecionado->isVisible());
        for (int row : picks) {
            selectRows({row});
            if (byDoubleClick) {
                QWidget* viewport = m_book->lstContato->viewport();
                const QPoint at =
                    m_book->lstContato->visualItemRect(m_book->lstContato->item(row, 1)).center();
                QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
                QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
            } else {
                m_book->cmdInserir->click();
            }
        }
        m_book->close();
    });
    QCOMPARE(m_book->pickAddresses(nullptr), picked);
    QVERIFY(m_messages.shown.isEmpty());
}

// The picked list can be read after the dialog closed, until it is shown again; browsing
// hides the picker.
void tst_AddressBook::pickedAddressesOutliveTheDialog() {
    writeBytes(m_path, fileWith({{"a", "a@x", ""}, {"b", "b@x", ""}}));
    QWidget sender;
    whenModal([&](QWidget*) {
        QCOMPARE(m_book->parentWidget(), &sender);
        m_book->cmdInserir->click();
        selectRows({1});
        m_book->cmdInserir->click();
        m_book->cmdFechar->click();
    });
    QCOMPARE(m_book->pickAddresses(&sender), (QStringList{"a@x", "b@x"}));
    QCOMPARE(m_book->parentWidget(), nullptr);
    QCOMPARE(m_book->pickedAddresses(), (QStringList{"a@x", "b@x"}));

    whenModal([&](QWidget*) {
        QVERIFY(m_book->pnlSelecionado->isHidden());
        QVERIFY(m_book->pickedAddresses().isEmpty());
        m_book->close();
    });
    m_book->browse();
    QVERIFY(m_book->pickedAddresses().isEmpty());
}

void tst_AddressBook::mergeInto_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("picked");
    QTest::addColumn<QString>("merged");

    QTest::newRow("nothing picked") << "a@x," << QStringList{} << "a@x,";
    QTest::newRow("empty field") << "" << QStringList{"a@x", "b@x"} << "a@x,b@x";
    QTest::newRow("appended after a comma") << "a@x" << QStringList{"b@x"} << "a@x,b@x";
    QTest::newRow("already present") << "a@x;b@x" << QStringList{"b@x", "c@x"} << "a@x;b@x,c@x";
    QTest::newRow("all present leaves no trailing comma") << "a@x" << QStringList{"a@x"} << "a@x";
    QTest::newRow("inside a longer address")
        << "10.0.0.12" << QStringList{"10.0.0.1"} << "10.0.0.12";
    QTest::newRow("letter case counts") << "A@X" << QStringList{"a@x"} << "A@X,a@x";
}

void tst_AddressBook::mergeInto() {
    QFETCH(QString, field);
    QFETCH(QStringList, picked);
    QFETCH(QString, merged);
    QCOMPARE(AddressPicker::mergeInto(field, picked), merged);
}

void tst_AddressBook::nothingSelected_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("error");
    QTest::addColumn<int>("beeps");

    QTest::newRow("edit") << "cmdEditar" << true << 0;
    QTest::newRow("pick") << "cmdInserir" << true << 0;
    QTest::newRow("drop a pick") << "cmdRemover" << false << 1;
}

void tst_AddressBook::nothingSelected() {
    QFETCH(QString, button);
    QFETCH(bool, error);
    QFETCH(int, beeps);
    const QByteArray before = fileWith({{"a", "a@x", ""}});
    writeBytes(m_path, before);
    m_book->pnlSelecionado->show();
    m_book->show();
    m_book->lstContato->clearSelection();
    m_book->findChild<QAbstractButton*>(button)->click();

    QCOMPARE(m_messages.shown.size(), error ? 1 : 0);
    if (error) {
        QCOMPARE(m_messages.shown.first().icon, MessageBoxes::Icon::Error);
        QCOMPARE(m_messages.shown.first().title, QStringLiteral("Erro"));
        QCOMPARE(m_messages.shown.first().text, QStringLiteral("Selecione um contato!"));
    }
    QCOMPARE(m_sound.beeps, beeps);
    QVERIFY(m_book->pickedAddresses().isEmpty());
    QCOMPARE(readBytes(m_path), before);
    m_book->close();
}

// Every change reaches the file at once, sorted, and a notes save in between keeps its
// own sections.
void tst_AddressBook::addEditDelete() {
    writeBytes(m_path, fileWith({{"Bruno", "10.0.0.2", ""}}));
    m_book->show();

    enterContact({"ana", "a@x", "prima"}, true);
    m_book->cmdNovo->click();
    QCOMPARE(listColumn(0), (QStringList{"ana", "Bruno"}));
    QCOMPARE(m_book->selectedRows(), QList<qsizetype>{0});
    QCOMPARE(contactsInFile(), m_book->contacts().contacts());

    const QByteArray beforeCancel = readBytes(m_path);
    enterContact({"Carlos", "c", ""}, false);
    m_book->cmdNovo->click();
    QCOMPARE(listColumn(0), (QStringList{"ana", "Bruno"}));
    QCOMPARE(readBytes(m_path), beforeCancel);

    {
        IniFile notes(m_path, IniFile::Mode::Batched);
        notes.writeString(QStringLiteral("Stick0"), QStringLiteral("caption"), QStringLiteral("n"));
        notes.flush();
    }

    // The edit dialog shows the first selected contact; ana becomes Zé and moves down.
    selectRows({0, 1});
    whenModal([](QWidget* modal) {
        auto* form = qobject_cast<TfrmAddContato*>(modal);
        QCOMPARE(form->contact(), (Contact{"ana", "a@x", "prima"}));
        form->txtNome->setText(QStringLiteral("Zé"));
        form->cmdOK->click();
    });
    m_book->cmdEditar->click();
    QCOMPARE(listColumn(0), (QStringList{"Bruno", "Zé"}));
    QCOMPARE(m_book->selectedRows(), QList<qsizetype>{1});
    QCOMPARE(contactsInFile(), (QList<Contact>{{"Bruno", "10.0.0.2", ""}, {"Zé", "a@x", "prima"}}));

    selectRows({0});
    m_messages.answerNext(false);
    m_book->cmdExcluir->click();
    QCOMPARE(m_book->contacts().size(), 2);
    m_messages.answerNext(true);
    m_book->cmdExcluir->click();
    QCOMPARE(listColumn(0), QStringList{"Zé"});
    QCOMPARE(m_messages.asked.size(), 2);
    QCOMPARE(m_messages.asked.first().title, QStringLiteral("Aviso"));
    QCOMPARE(m_messages.asked.first().text, QStringLiteral("Confirma Exclusão deste Contato?"));

    // Deleting the only contact.
    selectRows({0});
    m_messages.answerNext(true);
    m_book->cmdExcluir->click();
    m_book->close();
    QCOMPARE(readBytes(m_path), QByteArray("[Stick0]\r\ncaption=n\r\n[Contatos]\r\nCount=0\r\n"));
}

void tst_AddressBook::refusedCharactersBeep_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("beeps");

    QTest::newRow("the code page's own letters") << "José Ção €"
                                                 << "José Ção €" << 0;
    QTest::newRow("letters it cannot hold") << "Łukasz Ω"
                                            << "ukasz " << 2;
}

// Nothing typed is turned into "?" later: characters the notes file cannot hold are
// refused as they are typed.
void tst_AddressBook::refusedCharactersBeep() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(int, beeps);
    m_book->frmAddContato->show();
    for (QLineEdit* field : {m_book->frmAddContato->txtNome, m_book->frmAddContato->txtEmail,
                             m_book->frmAddContato->txtAnotacoes}) {
        field->clear();
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
        QCOMPARE(field->text(), kept);
    }
    QCOMPARE(m_sound.beeps, 3 * beeps);
    m_book->frmAddContato->close();
}

QTEST_MAIN(tst_AddressBook)
#include "tst_AddressBook.moc"

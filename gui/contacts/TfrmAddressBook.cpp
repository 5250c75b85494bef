#include "gui/contacts/TfrmAddressBook.h"

#include "core/program/HelpTopics.h"
#include "core/store/IniFile.h"
#include "gui/contacts/AddressBookIcons.h"
#include "gui/contacts/TfrmAddContato.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum Column { ColumnName, ColumnAddress, ColumnRemark, ColumnCount };

// While alive, makes a window the child of another one (so it stays above it and
// centres on it) and afterwards gives it back to its former parent.
class BorrowedParent {
public:
    BorrowedParent(QWidget* window, QWidget* parent)
        : m_window(window), m_former(window->parentWidget()), m_flags(window->windowFlags()),
          m_active(parent && parent != m_former) {
        if (m_active)
            m_window->setParent(parent, m_flags);
    }
    ~BorrowedParent() {
        if (m_active)
            m_window->setParent(m_former, m_flags);
    }
    BorrowedParent(const BorrowedParent&) = delete;
    BorrowedParent& operator=(const BorrowedParent&) = delete;

private:
    QWidget* m_window;
    QWidget* m_former;
    Qt::WindowFlags m_flags;
    bool m_active;
};

} // namespace

TfrmAddressBook::TfrmAddressBook(const QString& notesFile, const QLocale& locale,
                                 MessageBoxes& messages, SoundPlayer& sound, QWidget* parent)
    : QDialog(parent), m_notesFile(notesFile), m_messages(messages), m_sound(sound),
      m_book(locale) {
    setObjectName(QStringLiteral("frmAddressBook"));
    setProperty(HelpTopics::property, HelpTopics::ofContext(7));
    setSizeGripEnabled(false);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    cmdNovo = addToolButton(QStringLiteral("cmdNovo"), AddressBookIcons::newContact());
    cmdEditar = addToolButton(QStringLiteral("cmdEditar"), AddressBookIcons::editContact());
    ToolBar1->addSeparator();
    cmdExcluir = addToolButton(QStringLiteral("cmdExcluir"), AddressBookIcons::deleteContact());
    ToolBar1->addSeparator();
    cmdFechar = addToolButton(QStringLiteral("cmdFechar"), AddressBookIcons::closeBook());

    lstContato = new QTableWidget(0, ColumnCount, this);
    lstContato->setObjectName(QStringLiteral("lstContato"));
    lstContato->setShowGrid(true);
    lstContato->setWordWrap(false);
    lstContato->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstContato->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstContato->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstContato->setTabKeyNavigation(false);
    lstContato->setSortingEnabled(false);
    lstContato->verticalHeader()->hide();
    lstContato->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstContato->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lstContato->horizontalHeader()->setSectionsClickable(false);
    lstContato->horizontalHeader()->setHighlightSections(false);
    lstContato->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lstContato->setColumnWidth(ColumnName, 150);
    lstContato->setColumnWidth(ColumnAddress, 200);
    lstContato->setColumnWidth(ColumnRemark, 200);

    buildPicker();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(lstContato, 1);
    layout->addWidget(pnlSelecionado);
    layout->addWidget(StatusBar1);
    resize(448, 251);

    frmAddContato = new TfrmAddContato(sound, this);

    connect(cmdNovo, &QToolButton::clicked, this, [this] { cmdNovoClick(); });
    connect(cmdEditar, &QToolButton::clicked, this, [this] { cmdEditarClick(); });
    connect(cmdExcluir, &QToolButton::clicked, this, [this] { cmdExcluirClick(); });
    connect(cmdFechar, &QToolButton::clicked, this, [this] { cmdFecharClick(); });
    connect(lstContato, &QTableWidget::itemDoubleClicked, this, [this] { cmdInserirClick(); });
    connect(cmdInserir, &QPushButton::clicked, this, [this] { cmdInserirClick(); });
    connect(cmdRemover, &QPushButton::clicked, this, [this] { cmdRemoverClick(); });
    retranslate();
}

TfrmAddressBook::~TfrmAddressBook() = default;

QToolButton* TfrmAddressBook::addToolButton(const QString& name, const QIcon& icon) {
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->addWidget(button);
    return button;
}

void TfrmAddressBook::buildPicker() {
    pnlSelecionado = new QWidget(this);
    pnlSelecionado->setObjectName(QStringLiteral("pnlSelecionado"));
    pnlSelecionado->setFixedHeight(61);
    pnlSelecionado->hide();

    Label1 = new QLabel(pnlSelecionado);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);

    QFont bold = font();
    bold.setBold(true);
    const auto smallButton = [this, &bold](const QString& name, const QString& text) {
        auto* button = new QPushButton(text, pnlSelecionado);
        button->setObjectName(name);
        button->setFont(bold);
        button->setAutoDefault(false);
        button->setFixedSize(36, 22);
        return button;
    };
    cmdInserir = smallButton(QStringLiteral("cmdInserir"), QStringLiteral(">>"));
    cmdRemover = smallButton(QStringLiteral("cmdRemover"), QStringLiteral("<<"));

    lstSelecionado = new QListWidget(pnlSelecionado);
    lstSelecionado->setObjectName(QStringLiteral("lstSelecionado"));
    lstSelecionado->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1->setBuddy(lstSelecionado);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(cmdInserir);
    buttons->addWidget(cmdRemover);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(pnlSelecionado);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(Label1, 0, Qt::AlignTop);
    layout->addLayout(buttons);
    layout->addWidget(lstSelecionado, 1);
}

void TfrmAddressBook::retranslate() {
    setWindowTitle(tr("Caderneta de Contatos"));
    cmdNovo->setText(tr("&Novo"));
    cmdNovo->setToolTip(tr("Novo Contato"));
    cmdEditar->setText(tr("&Editar"));
    cmdEditar->setToolTip(tr("Editar Contato"));
    cmdExcluir->setText(tr("E&xcluir"));
    cmdExcluir->setToolTip(tr("Excluir Contato"));
    cmdFechar->setText(tr("&Fechar"));
    cmdFechar->setToolTip(tr("Fechar Caderneta"));
    lstContato->setHorizontalHeaderLabels({tr("Nome"), tr("IP ou E-mail"), tr("Anotações")});
    Label1->setText(tr("Para:"));
    cmdInserir->setToolTip(tr("Adicionar contato com destinatário"));
    cmdRemover->setToolTip(tr("Remover Contato como Destinatário"));
}

void TfrmAddressBook::browse() {
    pnlSelecionado->hide();
    exec();
}

QStringList TfrmAddressBook::pickAddresses(QWidget* parent) {
    const BorrowedParent borrowed(this, parent ? parent->window() : nullptr);
    pnlSelecionado->show();
    exec();
    return pickedAddresses();
}

QStringList TfrmAddressBook::pickedAddresses() const {
    QStringList addresses;
    for (int i = 0; i < lstSelecionado->count(); ++i)
        addresses.append(lstSelecionado->item(i)->text());
    return addresses;
}

QList<qsizetype> TfrmAddressBook::selectedRows() const {
    QList<qsizetype> rows;
    for (const QModelIndex& index : lstContato->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

IniFile& TfrmAddressBook::file() {
    if (!m_file)
        m_file = std::make_unique<IniFile>(m_notesFile, IniFile::Mode::Batched);
    return *m_file;
}

void TfrmAddressBook::insertListRow(qsizetype row) {
    const Contact& contact = m_book.at(row);
    lstContato->insertRow(int(row));
    const auto cell = [this, row](int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        lstContato->setItem(int(row), column, item);
    };
    cell(ColumnName, contact.name);
    cell(ColumnAddress, contact.address);
    cell(ColumnRemark, contact.remark);
}

void TfrmAddressBook::selectOnly(qsizetype row) {
    lstContato->clearSelection();
    lstContato->setCurrentCell(int(row), ColumnName,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lstContato->scrollToItem(lstContato->item(int(row), ColumnName));
}

void TfrmAddressBook::FormShow() {
    // A fresh view of the file: whatever was written to it while the dialog was closed
    // is seen.
    m_file = std::make_unique<IniFile>(m_notesFile, IniFile::Mode::Batched);
    m_book.load(*m_file);
    lstContato->clearSelection();
    lstContato->setRowCount(0);
    for (qsizetype row = 0; row < m_book.size(); ++row)
        insertListRow(row);
    if (!m_book.isEmpty())
        selectOnly(0);
    lstSelecionado->clear();
}

void TfrmAddressBook::FormClose() {
    m_file.reset();
}

void TfrmAddressBook::SaveContacts() {
    m_book.save(file());
}

void TfrmAddressBook::cmdNovoClick() {
    Contact contact;
    if (!frmAddContato->edit(contact))
        return;
    const qsizetype row = m_book.add(contact);
    insertListRow(row);
    selectOnly(row);
    SaveContacts();
}

void TfrmAddressBook::cmdEditarClick() {
    const QList<qsizetype> rows = selectedRows();
    if (rows.isEmpty()) {
        m_messages.error(tr("Selecione um contato!"));
        return;
    }
    Contact contact = m_book.at(rows.first());
    if (!frmAddContato->edit(contact))
        return;
    const qsizetype row = m_book.replace(rows.first(), contact);
    lstContato->removeRow(int(rows.first()));
    insertListRow(row);
    selectOnly(row);
    SaveContacts();
}

void TfrmAddressBook::cmdExcluirClick() {
    if (!m_messages.confirm(tr("Confirma Exclusão deste Contato?")))
        return;
    const QList<qsizetype> rows = selectedRows();
    m_book.remove(rows);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        lstContato->removeRow(int(*row));
    SaveContacts();
}

void TfrmAddressBook::cmdFecharClick() {
    SaveContacts();
    accept();
}

void TfrmAddressBook::cmdInserirClick() {
    const QList<qsizetype> rows = selectedRows();
    if (rows.isEmpty()) {
        m_messages.error(tr("Selecione um contato!"));
        return;
    }
    const QString address = m_book.at(rows.first()).address;
    if (pickedAddresses().contains(address, Qt::CaseSensitive))
        return;
    lstSelecionado->addItem(address);
}

void TfrmAddressBook::cmdRemoverClick() {
    const QList<QListWidgetItem*> selected = lstSelecionado->selectedItems();
    if (selected.isEmpty()) {
        m_sound.beep();
        return;
    }
    delete lstSelecionado->takeItem(lstSelecionado->row(selected.first()));
}

void TfrmAddressBook::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmAddressBook::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TfrmAddressBook::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

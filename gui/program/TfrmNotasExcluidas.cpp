#include "gui/program/TfrmNotasExcluidas.h"

#include "core/notes/NoteListCaption.h"
#include "platform/LocaleInfo.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmNotasExcluidas::TfrmNotasExcluidas(const LocaleInfo& locale, QWidget* parent)
    : QDialog(parent), m_locale(locale) {
    setObjectName(QStringLiteral("frmNotasExcluidas"));
    lblExcluidas = new QLabel(this);
    lblExcluidas->setObjectName(QStringLiteral("lblExcluidas"));
    lblExcluidas->setWordWrap(true);
    lstExcluidas = new QTreeWidget(this);
    lstExcluidas->setObjectName(QStringLiteral("lstExcluidas"));
    lstExcluidas->setRootIsDecorated(false);
    lstExcluidas->setUniformRowHeights(true);
    lstExcluidas->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstExcluidas->setColumnCount(2);
    lstExcluidas->header()->setStretchLastSection(false);
    lstExcluidas->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstExcluidas->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    lblExcluidas->setBuddy(lstExcluidas);
    cmdRestaurar = new QPushButton(this);
    cmdRestaurar->setObjectName(QStringLiteral("cmdRestaurar"));
    cmdRestaurar->setDefault(true);
    cmdFechar = new QPushButton(this);
    cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    cmdFechar->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestaurar);
    buttons->addWidget(cmdFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExcluidas);
    layout->addWidget(lstExcluidas, 1);
    layout->addLayout(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 24);

    connect(lstExcluidas, &QTreeWidget::itemSelectionChanged, this,
            &TfrmNotasExcluidas::lstExcluidasChange);
    connect(lstExcluidas, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        lstExcluidas->clearSelection();
        item->setSelected(true);
        accept();
    });
    connect(cmdRestaurar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
    lstExcluidasChange();
}

void TfrmNotasExcluidas::retranslate() {
    setWindowTitle(tr("Notas Excluídas"));
    lblExcluidas->setText(tr("&Notas excluídas nos últimos %1 dias (no máximo as %2 últimas):")
                              .arg(DeletedNotes::MaxAgeDays)
                              .arg(DeletedNotes::MaxKept));
    lstExcluidas->setHeaderLabels({tr("Nota"), tr("Excluída em")});
    cmdRestaurar->setText(tr("&Restaurar"));
    cmdFechar->setText(tr("&Fechar"));
}

void TfrmNotasExcluidas::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TfrmNotasExcluidas::setEntries(const QList<DeletedNotes::Entry>& entries) {
    m_entries = entries;
    lstExcluidas->clear();
    for (const DeletedNotes::Entry& entry : entries) {
        auto* item = new QTreeWidgetItem(
            lstExcluidas, {NoteListCaption::plain(entry.record.caption, entry.record.note),
                           m_locale.formatDateTime(entry.deletedAt)});
        item->setToolTip(0, item->text(0));
    }
    // The note deleted last is chosen: Enter brings it back.
    if (QTreeWidgetItem* first = lstExcluidas->topLevelItem(0))
        lstExcluidas->setCurrentItem(first);
    lstExcluidasChange();
}

QList<DeletedNotes::Entry> TfrmNotasExcluidas::chosen() const {
    QList<DeletedNotes::Entry> entries;
    for (int row = 0; row < lstExcluidas->topLevelItemCount() && row < m_entries.size(); ++row) {
        if (lstExcluidas->topLevelItem(row)->isSelected())
            entries.append(m_entries.at(row));
    }
    return entries;
}

void TfrmNotasExcluidas::lstExcluidasChange() {
    cmdRestaurar->setEnabled(!lstExcluidas->selectedItems().isEmpty());
}

QList<DeletedNotes::Entry> TfrmNotasExcluidas::choose(const QList<DeletedNotes::Entry>& entries) {
    setEntries(entries);
    lstExcluidas->setFocus();
    if (exec() != QDialog::Accepted)
        return {};
    return chosen();
}

#include "gui/dialogs/TtabSons.h"

#include "core/settings/GeneralSettings.h"
#include "gui/dialogs/TfrmConfSom.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPlayer.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

TtabSons::TtabSons(MessageBoxes& messages, CommonDialogs& dialogs, SoundPlayer& sound,
                   QWidget* parent)
    : QWidget(parent), m_messages(messages), m_dialogs(dialogs), m_sound(sound) {
    setObjectName(QStringLiteral("tabSons"));

    radUsaSom = new QRadioButton(this);
    radUsaSom->setObjectName(QStringLiteral("radUsaSom"));
    radUsaSom->setChecked(true);
    radNaoUsaSom = new QRadioButton(this);
    radNaoUsaSom->setObjectName(QStringLiteral("radNaoUsaSom"));

    lstSom = new QTreeWidget(this);
    lstSom->setObjectName(QStringLiteral("lstSom"));
    lstSom->setColumnCount(2);
    lstSom->setRootIsDecorated(false);
    lstSom->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSom->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstSom->setColumnWidth(0, 110);
    lstSom->setColumnWidth(1, 200);
    lstSom->header()->setStretchLastSection(true);
    rebuildRows();

    cmdPlay = new QPushButton(this);
    cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    cmdPlay->setAutoDefault(false);

    auto* radios = new QHBoxLayout;
    radios->addWidget(radUsaSom);
    radios->addWidget(radNaoUsaSom);
    radios->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdPlay);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addWidget(lstSom, 1);
    layout->addLayout(buttons);

    connect(radUsaSom, &QRadioButton::toggled, this, [this] { radUsaSomClick(); });
    connect(lstSom, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { lstSomDblClick(lstSom->indexOfTopLevelItem(item)); });
    connect(cmdPlay, &QPushButton::clicked, this, [this] { cmdPlayClick(); });
    retranslate();
}

void TtabSons::retranslate() {
    radUsaSom->setText(tr("&Utilizar Sons"));
    radNaoUsaSom->setText(tr("Não Utilizar &Sons"));
    lstSom->setHeaderLabels({tr("Evento"), tr("Caminho Completo")});
    for (int row = 0; row < lstSom->topLevelItemCount() && row < RowCount; ++row)
        lstSom->topLevelItem(row)->setText(0, rowCaption(row));
    // At least the designed width, and wide enough for every event's name.
    int widest = 0;
    for (int row = 0; row < RowCount; ++row)
        widest = std::max(widest, lstSom->fontMetrics().horizontalAdvance(rowCaption(row)));
    lstSom->setColumnWidth(0, std::max(110, widest + 16));
    cmdPlay->setText(tr("&Testar"));
}

QString TtabSons::rowCaption(int row) const {
    switch (row) {
    case RowNewNote:
        return tr("Nova Nota");
    case RowDeleteNote:
        return tr("Excluir Nota");
    case RowReceivedNote:
        return tr("Recebimento de Nota");
    default:
        return QString();
    }
}

void TtabSons::rebuildRows() {
    lstSom->clear();
    for (int row = 0; row < RowCount; ++row)
        new QTreeWidgetItem(lstSom, {rowCaption(row), QString()});
}

void TtabSons::prime(const GeneralSettings& recGeral) {
    (recGeral.UseSounds ? radUsaSom : radNaoUsaSom)->setChecked(true);
    radUsaSomClick();
    setPath(RowNewNote, recGeral.SoundNewSticky);
    setPath(RowDeleteNote, recGeral.SoundDelSticky);
    setPath(RowReceivedNote, recGeral.SoundRecSticky);
}

void TtabSons::applyTo(GeneralSettings& recGeral) const {
    recGeral.UseSounds = radUsaSom->isChecked();
    recGeral.SoundNewSticky = path(RowNewNote);
    recGeral.SoundDelSticky = path(RowDeleteNote);
    recGeral.SoundRecSticky = path(RowReceivedNote);
}

QString TtabSons::path(int row) const {
    const QTreeWidgetItem* item = lstSom->topLevelItem(row);
    return item ? item->text(1) : QString();
}

void TtabSons::setPath(int row, const QString& path) {
    if (QTreeWidgetItem* item = lstSom->topLevelItem(row))
        item->setText(1, path);
}

void TtabSons::radUsaSomClick() {
    const bool on = radUsaSom->isChecked();
    lstSom->setEnabled(on);
    cmdPlay->setEnabled(on);
}

TfrmConfSom* TtabSons::frmConfSom() {
    if (!m_frmConfSom)
        m_frmConfSom = new TfrmConfSom(m_messages, m_dialogs, m_sound, this);
    return m_frmConfSom;
}

void TtabSons::lstSomDblClick(int row) {
    if (!radUsaSom->isChecked() || row < 0 || row >= lstSom->topLevelItemCount())
        return;
    QString soundPath = path(row);
    const QPointer<TtabSons> self(this);
    const bool accepted =
        frmConfSom()->edit(tr("Evento ") + rowCaption(row) + QStringLiteral(": "), soundPath);
    if (self && accepted)
        setPath(row, soundPath);
}

void TtabSons::cmdPlayClick() {
    const QTreeWidgetItem* item = lstSom->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString soundPath = item->text(1);
    // The dialog waits while the sound plays; it may be closed from elsewhere meanwhile.
    const QPointer<TtabSons> self(this);
    cmdPlay->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool played = m_sound.playSync(soundPath);
    QApplication::restoreOverrideCursor();
    if (!self)
        return;
    cmdPlay->setEnabled(true);
    if (!played)
        m_messages.error(tr("Este não é um arquivo de som válido!"));
}

void TtabSons::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
